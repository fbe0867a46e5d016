// Grants of the OAuth flow for installed applications: pending authorize
// requests, one-time codes bound to a PKCE challenge, access tokens with an
// expiry, refresh tokens.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "google_json.h"

namespace standin {

// An error of the token endpoint: {"error": code, "error_description": text}.
struct OAuthError : std::runtime_error {
  OAuthError(int status, std::string code, const std::string& description)
      : std::runtime_error(description), status(status), code(std::move(code)) {}
  int status;
  std::string code;
};

struct Identity {
  std::string email;
  std::string name;
  std::string givenName;
  std::string familyName;
};

struct AuthorizeRequest {
  std::string clientId;
  std::string redirectUri;
  std::string scope;
  std::string state;
  std::string challenge;
  std::string challengeMethod;  // "S256" or "plain"; empty without PKCE
  std::string loginHint;
};

struct Grant {
  Identity identity;
  std::string clientId;
  std::string scope;
};

class OAuthGrants {
 public:
  // Client identity the token endpoint insists on; empty: any client.
  void setClient(std::string clientId, std::string clientSecret);
  void setLifetime(int seconds) { lifetimeSeconds_ = seconds; }
  int lifetime() const { return lifetimeSeconds_; }
  bool knownClient(const std::string& clientId) const;

  std::string addPending(const AuthorizeRequest& request);
  std::optional<AuthorizeRequest> takePending(const std::string& id);
  std::string issueCode(const AuthorizeRequest& request, const Identity& identity);

  // The token endpoint; `form` holds the posted fields.  Throws OAuthError.
  Json token(const std::map<std::string, std::string>& form, const std::string& issuer);

  std::string issueAccessToken(const Grant& grant);
  const Grant* bearer(const std::string& accessToken) const;  // null: unknown or expired
  void expireAccessTokens();

 private:
  struct Code {
    AuthorizeRequest request;
    Identity identity;
    Millis expires;
  };
  struct Access {
    Grant grant;
    Millis expires;
  };
  Json answer(const Grant& grant, const std::string& refreshToken, const std::string& issuer);
  Json exchangeCode(const std::map<std::string, std::string>& form, const std::string& issuer);
  Json refresh(const std::map<std::string, std::string>& form, const std::string& issuer);

  std::string clientId_, clientSecret_;
  int lifetimeSeconds_ = 3599;
  std::map<std::string, AuthorizeRequest> pending_;
  std::map<std::string, Code> codes_;
  std::map<std::string, Access> access_;
  std::map<std::string, Grant> refresh_;
};

// A JWT-shaped ID token (not signed) whose payload names the account.
std::string idToken(const Grant& grant, const std::string& issuer, int lifetimeSeconds);
bool verifyChallenge(const std::string& verifier, const std::string& challenge, const std::string& method);

}  // namespace standin
