#include "sync/sign_in.h"

#include "base/text.h"

namespace gsync {

SignInAttempt::SignInAttempt(const GoogleConfig& config, const std::string& loginHint)
    : request_(newAuthorizationRequest(listener_.port(), loginHint)), url_(authorizationUrl(config, request_)) {}

std::optional<AuthorizationAnswer> SignInAttempt::wait(int timeoutMs) {
  const auto query = listener_.waitForAnswer(timeoutMs);
  if (!query) return std::nullopt;
  return readAuthorizationAnswer(*query, request_.state);
}

void completeSignIn(RequestLayer& requests, const AuthorizationRequest& request, const std::string& code) {
  TokenState& tokens = requests.tokens();
  tokens.authorizationCode = code;
  tokens.accessToken.clear();
  tokens.refreshToken.clear();
  tokens.expiry = 0;
  tokens.codeVerifier = request.codeVerifier;
  tokens.redirectUri = request.redirectUri;
  requests.exchangeCode(false);
  requests.fetchIdentity();
}

bool sameAccount(const std::string& signedIn, const std::string& chosen) {
  return base::equalsIgnoreCaseAscii(base::trim(signedIn), base::trim(chosen));
}

std::string accountMismatchText() { return "등록된 구글아이디와 다른 아이디입니다.\r\n다시 접속하시기 바랍니다."; }

}  // namespace gsync
