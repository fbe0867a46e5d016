// Where the program finds Google: the REST base URL, the OAuth endpoints and
// the installed-application client.  Compiled defaults are Google's hosts;
// the DAYBOOK_GOOGLE_* and DAYBOOK_OAUTH_* environment variables point the
// program at another server (the local stand-in in tests and the demo).
#pragma once

#include <string>

namespace gsync {

struct GoogleConfig {
  std::string apiBase;        // "/calendar/v3/...", "/tasks/v1/...", "/oauth2/v3/userinfo"
  std::string authorizeUrl;   // the OAuth authorization endpoint
  std::string tokenUrl;       // the OAuth token endpoint
  std::string clientId;
  std::string clientSecret;
  std::string scopes;         // separated by single spaces

  // Google's own sign-in pages refuse embedded browsers: they are shown in
  // the user's browser, any other host in the connection window.
  bool usesGoogleSignInHost() const;
  std::string userInfoUrl() const { return apiBase + "/oauth2/v3/userinfo"; }
};

// The defaults with the environment's overrides.
GoogleConfig googleConfigFromEnvironment();

}  // namespace gsync
