// The authorize page, the token endpoint and user info.
#include "impl.h"

#include "base/fields.h"

namespace standin {
namespace {

std::string escapeHtml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}


bool isLoopback(const std::string& uri) {
  for (const char* prefix : {"http://127.0.0.1", "http://localhost", "http://[::1]"}) {
    const std::string p = prefix;
    if (uri.starts_with(p) && (uri.size() == p.size() || uri[p.size()] == ':' || uri[p.size()] == '/')) return true;
  }
  return false;
}

constexpr const char* kOutOfBand = "urn:ietf:wg:oauth:2.0:oob";

void sendPage(httplib::Response& response, int status, const std::string& title, const std::string& body) {
  response.status = status;
  response.set_content("<!DOCTYPE html>\n<html lang=\"ko\"><head><meta charset=\"utf-8\"><title>" + escapeHtml(title) +
                           "</title></head>\n<body>\n" + body + "</body></html>\n",
                       "text/html; charset=UTF-8");
}

void sendErrorPage(httplib::Response& response, int status, const std::string& error, const std::string& detail) {
  sendPage(response, status, "오류",
           "<h1>" + std::to_string(status) + " 오류: " + escapeHtml(error) + "</h1>\n<p>" + escapeHtml(detail) +
               "</p>\n");
}

std::string scopeList(const std::string& scope) {
  std::string items;
  size_t at = 0;
  while (at < scope.size()) {
    const size_t end = std::min(scope.find(' ', at), scope.size());
    if (end > at) items += "<li>" + escapeHtml(scope.substr(at, end - at)) + "</li>\n";
    at = end + 1;
  }
  return items;
}

void sendConsentPage(httplib::Response& response, const std::string& requestId, const std::string& account,
                     const AuthorizeRequest& request) {
  sendPage(response, 200, "Google 계정으로 로그인",
           "<h1>Google 계정으로 로그인</h1>\n"
           "<p>데이북에서 내 Google 계정에 액세스하려고 합니다.</p>\n"
           "<form method=\"post\" action=\"/o/oauth2/approve\">\n"
           "<input type=\"hidden\" name=\"request\" value=\"" + escapeHtml(requestId) + "\">\n"
           "<label for=\"account\">계정</label>\n"
           "<input id=\"account\" name=\"account\" type=\"email\" value=\"" + escapeHtml(account) + "\">\n"
           "<p>허용하면 다음 권한이 부여됩니다.</p>\n<ul>\n" + scopeList(request.scope) + "</ul>\n"
           "<button id=\"submit_approve_access\" type=\"submit\" name=\"decision\" value=\"allow\">허용</button>\n"
           "<button id=\"submit_deny_access\" type=\"submit\" name=\"decision\" value=\"deny\">취소</button>\n"
           "</form>\n");
}

// The browser goes back to the application: to the loopback URI with the
// code, or, for the out-of-band URI, to a page that shows the code.
void finishAuthorize(Server::Impl& impl, httplib::Response& response, const AuthorizeRequest& request,
                     const std::string& account, bool allowed) {
  std::string answer;
  if (allowed) {
    const std::string code = impl.grants.issueCode(request, impl.identityFor(account));
    if (request.redirectUri == kOutOfBand) {
      sendPage(response, 200, "Success code=" + code,
               "<p>이 코드를 복사하여 애플리케이션으로 전환한 다음 붙여넣으세요.</p>\n"
               "<input id=\"code\" type=\"text\" readonly value=\"" + escapeHtml(code) + "\">\n");
      return;
    }
    answer = "code=" + base::percentEncode(code) + "&scope=" + base::percentEncode(request.scope);
  } else {
    if (request.redirectUri == kOutOfBand) return sendErrorPage(response, 403, "access_denied", "요청이 거부되었습니다.");
    answer = "error=access_denied";
  }
  if (!request.state.empty()) answer += "&state=" + base::percentEncode(request.state);
  const char joiner = request.redirectUri.find('?') == std::string::npos ? '?' : '&';
  response.set_redirect(request.redirectUri + joiner + answer, 302);
}

void authorize(Server::Impl& impl, const httplib::Request& http, httplib::Response& response) {
  AuthorizeRequest request{http.get_param_value("client_id"), http.get_param_value("redirect_uri"),
                           http.get_param_value("scope"), http.get_param_value("state"),
                           http.get_param_value("code_challenge"), http.get_param_value("code_challenge_method"),
                           http.get_param_value("login_hint")};
  if (request.clientId.empty()) return sendErrorPage(response, 400, "invalid_request", "Missing required parameter: client_id");
  if (!impl.grants.knownClient(request.clientId))
    return sendErrorPage(response, 401, "invalid_client", "The OAuth client was not found.");
  if (request.redirectUri.empty())
    return sendErrorPage(response, 400, "invalid_request", "Missing required parameter: redirect_uri");
  if (!isLoopback(request.redirectUri) && request.redirectUri != kOutOfBand)
    return sendErrorPage(response, 400, "redirect_uri_mismatch", "The redirect URI is not a loopback address.");
  if (http.get_param_value("response_type") != "code")
    return sendErrorPage(response, 400, "unsupported_response_type", "Only response_type=code is supported.");
  if (!request.challenge.empty() && request.challengeMethod.empty()) request.challengeMethod = "plain";
  if (!request.challenge.empty() && request.challengeMethod != "S256" && request.challengeMethod != "plain")
    return sendErrorPage(response, 400, "invalid_request", "Invalid code_challenge_method.");

  const std::string account = request.loginHint.empty() ? impl.account.email() : request.loginHint;
  if (impl.options.autoApprove || http.get_param_value("standin_auto_approve") == "1")
    return finishAuthorize(impl, response, request, account, true);
  sendConsentPage(response, impl.grants.addPending(request), account, request);
}

void approve(Server::Impl& impl, const httplib::Request& http, httplib::Response& response) {
  const auto request = impl.grants.takePending(http.get_param_value("request"));
  if (!request) return sendErrorPage(response, 400, "invalid_request", "The sign-in request has expired.");
  std::string account = http.get_param_value("account");
  if (account.empty()) account = impl.account.email();
  finishAuthorize(impl, response, *request, account, http.get_param_value("decision") == "allow");
}

void token(Server::Impl& impl, const httplib::Request& http, httplib::Response& response) {
  std::map<std::string, std::string> form;
  for (const auto& [name, value] : http.params) form.emplace(name, value);
  try {
    sendJson(response, 200, impl.grants.token(form, impl.baseUrl));
  } catch (const OAuthError& error) {
    sendJson(response, error.status, Json{{"error", error.code}, {"error_description", error.what()}});
  }
  response.set_header("Cache-Control", "no-cache, no-store, max-age=0, must-revalidate");
}

void userInfo(Server::Impl& impl, const httplib::Request& http, httplib::Response& response) {
  const Grant* grant = impl.grants.bearer(http.get_header_value("Authorization").substr(7));
  if (!grant) throw ApiError(401, "authError", "Invalid Credentials");
  const Identity& who = grant->identity;
  Json out = {{"sub", std::to_string(std::hash<std::string>{}(who.email) % 1000000000000000000ull)},
              {"name", who.name}};
  if (!who.givenName.empty()) out["given_name"] = who.givenName;
  if (!who.familyName.empty()) out["family_name"] = who.familyName;
  out["picture"] = impl.account.profile().value("picture", "");
  out["email"] = who.email;
  out["email_verified"] = true;
  out["locale"] = "ko";
  sendJson(response, 200, out);
}

}  // namespace

void addOAuthRoutes(Server::Impl& impl) {
  using namespace std::placeholders;
  httplib::Server& http = *impl.http;
  http.Get("/o/oauth2/auth", guarded(impl, std::bind(authorize, std::ref(impl), _1, _2)));
  http.Get("/o/oauth2/v2/auth", guarded(impl, std::bind(authorize, std::ref(impl), _1, _2)));
  http.Post("/o/oauth2/approve", guarded(impl, std::bind(approve, std::ref(impl), _1, _2)));
  http.Post("/o/oauth2/token", guarded(impl, std::bind(token, std::ref(impl), _1, _2)));
  http.Get("/oauth2/v3/userinfo", guarded(impl, std::bind(userInfo, std::ref(impl), _1, _2)));
}

}  // namespace standin
