#include "sync/google_config.h"

#include <cstdlib>

#include "base/text.h"

#ifndef DAYBOOK_OAUTH_CLIENT_ID
#define DAYBOOK_OAUTH_CLIENT_ID ""
#endif
#ifndef DAYBOOK_OAUTH_CLIENT_SECRET
#define DAYBOOK_OAUTH_CLIENT_SECRET ""
#endif

namespace gsync {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string withoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

bool GoogleConfig::usesGoogleSignInHost() const {
  return base::startsWith(authorizeUrl, "https://accounts.google.com/");
}

GoogleConfig googleConfigFromEnvironment() {
  GoogleConfig config;
  config.apiBase = "https://www.googleapis.com";
  config.authorizeUrl = "https://accounts.google.com/o/oauth2/v2/auth";
  config.tokenUrl = "https://oauth2.googleapis.com/token";
  config.clientId = DAYBOOK_OAUTH_CLIENT_ID;
  config.clientSecret = DAYBOOK_OAUTH_CLIENT_SECRET;
  config.scopes =
      "https://www.google.com/m8/feeds https://www.googleapis.com/auth/calendar "
      "https://www.googleapis.com/auth/tasks openid email profile";

  if (const std::string api = withoutTrailingSlash(environment("DAYBOOK_GOOGLE_API")); !api.empty())
    config.apiBase = api;
  if (const std::string auth = withoutTrailingSlash(environment("DAYBOOK_GOOGLE_AUTH")); !auth.empty()) {
    config.authorizeUrl = auth + "/o/oauth2/auth";
    config.tokenUrl = auth + "/o/oauth2/token";
  }
  if (const std::string id = environment("DAYBOOK_OAUTH_CLIENT_ID"); !id.empty()) config.clientId = id;
  if (const std::string secret = environment("DAYBOOK_OAUTH_CLIENT_SECRET"); !secret.empty())
    config.clientSecret = secret;
  return config;
}

}  // namespace gsync
