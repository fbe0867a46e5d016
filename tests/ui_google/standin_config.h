// The Google endpoints of a running stand-in, for the connection window tests.
#pragma once

#include "standin.h"
#include "sync/google_config.h"

inline gsync::GoogleConfig standinConfig(const standin::Server& server) {
  gsync::GoogleConfig config;
  config.apiBase = server.baseUrl();
  config.authorizeUrl = server.baseUrl() + "/o/oauth2/auth";
  config.tokenUrl = server.baseUrl() + "/o/oauth2/token";
  config.clientId = "daybook-test";
  config.clientSecret = "secret";
  config.scopes = "https://www.googleapis.com/auth/calendar openid email profile";
  return config;
}
