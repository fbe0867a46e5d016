#include "sync/oauth.h"

#include <openssl/rand.h>
#include <openssl/sha.h>

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "base/fields.h"
#include "base/text.h"

namespace gsync {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int alphabetIndex(char c) {
  if (c == '+') c = '-';  // the standard alphabet is accepted as well
  if (c == '/') c = '_';
  const std::size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}


int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string base64Url(std::string_view bytes) {
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(v >> shift) & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    if (rest == 2) out += kAlphabet[(v >> 6) & 63];
  }
  return out;
}

std::optional<std::string> decodeBase64Url(std::string_view text) {
  while (!text.empty() && text.back() == '=') text.remove_suffix(1);
  if (text.size() % 4 == 1) return std::nullopt;
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  for (const char c : text) {
    const int value = alphabetIndex(c);
    if (value < 0) return std::nullopt;
    buffer = (buffer << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  return out;
}

std::string randomUrlText(int bytes) {
  std::string raw(static_cast<std::size_t>(bytes), '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(raw.data()), bytes) != 1)
    throw std::runtime_error("no random bytes");
  return base64Url(raw);
}

std::string pkceChallenge(std::string_view verifier) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size(), digest);
  return base64Url(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
}

std::optional<Identity> identityFromIdToken(std::string_view idToken) {
  const std::size_t first = idToken.find('.');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = idToken.find('.', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::optional<std::string> payload = decodeBase64Url(idToken.substr(first + 1, second - first - 1));
  if (!payload) return std::nullopt;
  const nlohmann::json json = nlohmann::json::parse(*payload, nullptr, false);
  if (!json.is_object()) return std::nullopt;
  const auto text = [&](const char* name) {
    const auto it = json.find(name);
    return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
  };
  if (text("email").empty()) return std::nullopt;
  return Identity{text("email"), text("name")};
}

AuthorizationRequest newAuthorizationRequest(int port, const std::string& loginHint) {
  AuthorizationRequest request;
  request.redirectUri = "http://127.0.0.1:" + std::to_string(port) + "/";
  request.state = randomUrlText(16);
  request.codeVerifier = randomUrlText(32);
  request.loginHint = loginHint;
  return request;
}

std::string authorizationUrl(const GoogleConfig& config, const AuthorizationRequest& request) {
  std::string url = config.authorizeUrl;
  url += base::contains(url, "?") ? "&" : "?";
  url += "client_id=" + base::percentEncode(config.clientId);
  url += "&redirect_uri=" + base::percentEncode(request.redirectUri);
  url += "&response_type=code";
  url += "&scope=" + base::percentEncode(config.scopes);
  url += "&state=" + base::percentEncode(request.state);
  url += "&code_challenge=" + base::percentEncode(pkceChallenge(request.codeVerifier));
  url += "&code_challenge_method=S256";
  if (!request.loginHint.empty()) url += "&login_hint=" + base::percentEncode(request.loginHint);
  return url;
}

std::string percentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::map<std::string, std::string> parseQuery(std::string_view query) {
  std::map<std::string, std::string> out;
  for (const std::string& pair : base::split(query, '&')) {
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    const std::string name = percentDecode(pair.substr(0, eq));
    out[name] = eq == std::string::npos ? std::string() : percentDecode(pair.substr(eq + 1));
  }
  return out;
}

AuthorizationAnswer readAuthorizationAnswer(const std::map<std::string, std::string>& query,
                                            const std::string& expectedState) {
  const auto value = [&](const char* name) {
    const auto it = query.find(name);
    return it == query.end() ? std::string() : it->second;
  };
  AuthorizationAnswer answer;
  if (value("state") != expectedState) {
    answer.error = "state_mismatch";
  } else if (!value("error").empty()) {
    answer.error = value("error");
  } else if (value("code").empty()) {
    answer.error = "no_code";
  } else {
    answer.code = value("code");
  }
  return answer;
}

}  // namespace gsync
