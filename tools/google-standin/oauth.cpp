#include "oauth.h"

namespace standin {
namespace {

std::string field(const std::map<std::string, std::string>& form, const std::string& name) {
  const auto it = form.find(name);
  return it == form.end() ? std::string() : it->second;
}

std::string required(const std::map<std::string, std::string>& form, const std::string& name) {
  const std::string value = field(form, name);
  if (value.empty()) throw OAuthError(400, "invalid_request", "Missing required parameter: " + name);
  return value;
}

bool hasScope(const std::string& scope, const std::string& word) {
  if (scope.empty()) return true;  // no scope named: everything the account has
  size_t at = 0;
  while ((at = scope.find(word, at)) != std::string::npos) {
    const size_t end = at + word.size();
    if ((at == 0 || scope[at - 1] == ' ') && (end == scope.size() || scope[end] == ' ')) return true;
    at = end;
  }
  return false;
}

}  // namespace

bool verifyChallenge(const std::string& verifier, const std::string& challenge, const std::string& method) {
  if (method == "plain") return verifier == challenge;
  return base64Url(sha256(verifier)) == challenge;
}

std::string idToken(const Grant& grant, const std::string& issuer, int lifetimeSeconds) {
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(Clock::now().time_since_epoch()).count();
  const Json header = {{"alg", "none"}, {"typ", "JWT"}};
  Json payload = {{"iss", issuer}, {"azp", grant.clientId}, {"aud", grant.clientId},
                  {"sub", std::to_string(std::hash<std::string>{}(grant.identity.email) % 1000000000000000000ull)}};
  if (hasScope(grant.scope, "email")) {
    payload["email"] = grant.identity.email;
    payload["email_verified"] = true;
  }
  if (hasScope(grant.scope, "profile")) {
    payload["name"] = grant.identity.name;
    if (!grant.identity.givenName.empty()) payload["given_name"] = grant.identity.givenName;
    if (!grant.identity.familyName.empty()) payload["family_name"] = grant.identity.familyName;
    payload["locale"] = "ko";
  }
  payload["iat"] = now;
  payload["exp"] = now + lifetimeSeconds;
  return base64Url(header.dump()) + "." + base64Url(payload.dump()) + ".";
}

void OAuthGrants::setClient(std::string clientId, std::string clientSecret) {
  clientId_ = std::move(clientId);
  clientSecret_ = std::move(clientSecret);
}

bool OAuthGrants::knownClient(const std::string& clientId) const {
  return !clientId.empty() && (clientId_.empty() || clientId == clientId_);
}

std::string OAuthGrants::addPending(const AuthorizeRequest& request) {
  const std::string id = base64UrlId(24);
  pending_[id] = request;
  return id;
}

std::optional<AuthorizeRequest> OAuthGrants::takePending(const std::string& id) {
  const auto it = pending_.find(id);
  if (it == pending_.end()) return std::nullopt;
  AuthorizeRequest request = it->second;
  pending_.erase(it);
  return request;
}

std::string OAuthGrants::issueCode(const AuthorizeRequest& request, const Identity& identity) {
  const std::string code = "4/0A" + base64UrlId(60);
  codes_[code] = {request, identity, nowMillis() + std::chrono::minutes(10)};
  return code;
}

Json OAuthGrants::token(const std::map<std::string, std::string>& form, const std::string& issuer) {
  const std::string clientId = field(form, "client_id");
  if (clientId.empty()) throw OAuthError(400, "invalid_request", "Could not determine client ID from request.");
  if (!knownClient(clientId)) throw OAuthError(401, "invalid_client", "The OAuth client was not found.");
  if (!clientSecret_.empty() && field(form, "client_secret") != clientSecret_)
    throw OAuthError(401, "invalid_client", "Unauthorized");
  const std::string grantType = required(form, "grant_type");
  if (grantType == "authorization_code") return exchangeCode(form, issuer);
  if (grantType == "refresh_token") return refresh(form, issuer);
  throw OAuthError(400, "unsupported_grant_type", "Invalid grant_type: " + grantType);
}

Json OAuthGrants::exchangeCode(const std::map<std::string, std::string>& form, const std::string& issuer) {
  const std::string codeText = required(form, "code");
  const auto it = codes_.find(codeText);
  if (it == codes_.end()) throw OAuthError(400, "invalid_grant", "Bad Request");
  // A code is good for one attempt, successful or not.
  const Code code = it->second;
  codes_.erase(it);
  if (code.expires < nowMillis()) throw OAuthError(400, "invalid_grant", "Bad Request");
  if (code.request.clientId != field(form, "client_id")) throw OAuthError(400, "invalid_grant", "Bad Request");
  if (code.request.redirectUri != field(form, "redirect_uri"))
    throw OAuthError(400, "redirect_uri_mismatch", "Bad Request");
  if (!code.request.challenge.empty()) {
    const std::string verifier = field(form, "code_verifier");
    if (verifier.empty()) throw OAuthError(400, "invalid_grant", "Missing code verifier.");
    if (!verifyChallenge(verifier, code.request.challenge, code.request.challengeMethod))
      throw OAuthError(400, "invalid_grant", "Invalid code verifier.");
  }
  const Grant grant{code.identity, code.request.clientId, code.request.scope};
  const std::string refreshToken = "1//0e" + base64UrlId(96);
  refresh_[refreshToken] = grant;
  return answer(grant, refreshToken, issuer);
}

Json OAuthGrants::refresh(const std::map<std::string, std::string>& form, const std::string& issuer) {
  const auto it = refresh_.find(required(form, "refresh_token"));
  if (it == refresh_.end()) throw OAuthError(400, "invalid_grant", "Token has been expired or revoked.");
  if (it->second.clientId != field(form, "client_id")) throw OAuthError(400, "unauthorized_client", "Unauthorized");
  return answer(it->second, {}, issuer);
}

// A refresh answers no new refresh token, as Google does.
Json OAuthGrants::answer(const Grant& grant, const std::string& refreshToken, const std::string& issuer) {
  Json out = {{"access_token", issueAccessToken(grant)}, {"expires_in", lifetimeSeconds_}};
  if (!refreshToken.empty()) out["refresh_token"] = refreshToken;
  out["scope"] = grant.scope;
  out["token_type"] = "Bearer";
  if (hasScope(grant.scope, "openid")) out["id_token"] = idToken(grant, issuer, lifetimeSeconds_);
  return out;
}

std::string OAuthGrants::issueAccessToken(const Grant& grant) {
  const std::string token = "ya29.a0" + base64UrlId(120);
  access_[token] = {grant, nowMillis() + std::chrono::seconds(lifetimeSeconds_)};
  return token;
}

const Grant* OAuthGrants::bearer(const std::string& accessToken) const {
  const auto it = access_.find(accessToken);
  if (it == access_.end() || it->second.expires <= nowMillis()) return nullptr;
  return &it->second.grant;
}

void OAuthGrants::expireAccessTokens() {
  for (auto& [token, access] : access_) access.expires = nowMillis() - std::chrono::seconds(1);
}

}  // namespace standin
