// One sign-in of the installed-application flow: a loopback listener at a
// free port, the authorization address the browser opens, the wait for the
// browser to come back, and the token exchange with the identity check.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sync/loopback_listener.h"
#include "sync/oauth.h"
#include "sync/request_layer.h"

namespace gsync {

class SignInAttempt {
 public:
  // Opens the listener; throws std::runtime_error when no port can be bound.
  SignInAttempt(const GoogleConfig& config, const std::string& loginHint);

  const std::string& url() const { return url_; }
  const AuthorizationRequest& request() const { return request_; }
  // Blocks until the browser comes back (or cancel(), or the time-out);
  // nothing then.  Safe to call on a worker thread.
  std::optional<AuthorizationAnswer> wait(int timeoutMs);
  void cancel() { listener_.cancel(); }

 private:
  LoopbackListener listener_;
  AuthorizationRequest request_;
  std::string url_;
};

// Takes the code of a sign-in into the session (the former tokens are
// dropped), exchanges it and reads the account's address and name.  The held
// operation is not repeated here: the caller checks the account first.
void completeSignIn(RequestLayer& requests, const AuthorizationRequest& request, const std::string& code);

// Whether the signed-in address is the one the user chose (case aside).
bool sameAccount(const std::string& signedIn, const std::string& chosen);

// "등록된 구글아이디와 다른 아이디입니다.\r\n다시 접속하시기 바랍니다."
std::string accountMismatchText();

}  // namespace gsync
