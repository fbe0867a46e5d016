// Pieces of the OAuth 2.0 sign-in of an installed application: the PKCE
// verifier and challenge (S256), the state value, the authorization address
// with a loopback redirect, the answer the browser brings back, and the
// identity in an ID token.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "sync/google_config.h"

namespace gsync {

struct Identity {
  std::string email;
  std::string name;
};

// Base64 with the URL alphabet and no padding.
std::string base64Url(std::string_view bytes);
std::optional<std::string> decodeBase64Url(std::string_view text);

// Random URL-safe text from `bytes` random bytes (43 characters for 32).
std::string randomUrlText(int bytes);
// BASE64URL(SHA-256(verifier)).
std::string pkceChallenge(std::string_view verifier);

// The identity in the payload of a JWT (the signature is not checked: the
// token came straight from the token endpoint over TLS).  Nothing when the
// text is not a JWT with an "email".
std::optional<Identity> identityFromIdToken(std::string_view idToken);

struct AuthorizationRequest {
  std::string redirectUri;  // "http://127.0.0.1:PORT/"
  std::string state;
  std::string codeVerifier;
  std::string loginHint;    // the address in the id box
};

// A request with a fresh verifier and state for the given loopback port.
AuthorizationRequest newAuthorizationRequest(int port, const std::string& loginHint);
// The address the browser opens.
std::string authorizationUrl(const GoogleConfig& config, const AuthorizationRequest& request);

// The query of an address, decoded ("+" as space).
std::map<std::string, std::string> parseQuery(std::string_view query);
std::string percentDecode(std::string_view text);

// What the browser brought back to the loopback address.
struct AuthorizationAnswer {
  std::string code;
  std::string error;  // "access_denied", or the reason the answer is refused
};
// Checks the state; an answer without code or with another state is an error.
AuthorizationAnswer readAuthorizationAnswer(const std::map<std::string, std::string>& query,
                                            const std::string& expectedState);

}  // namespace gsync
