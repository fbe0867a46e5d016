#include "google_json.h"

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <random>
#include <set>

namespace standin {
namespace {

const char* statusWord(int status) {
  switch (status) {
    case 400: return "INVALID_ARGUMENT";
    case 401: return "UNAUTHENTICATED";
    case 403: return "PERMISSION_DENIED";
    case 404: return "NOT_FOUND";
    case 409: return "ALREADY_EXISTS";
    case 410: return "NOT_FOUND";
    case 412: return "FAILED_PRECONDITION";
    case 429: return "RESOURCE_EXHAUSTED";
    case 503: return "UNAVAILABLE";
    default: return status >= 500 ? "INTERNAL" : "UNKNOWN";
  }
}

std::pair<const char*, const char*> usualReason(int status) {
  switch (status) {
    case 400: return {"badRequest", "Bad Request"};
    case 401: return {"authError", "Invalid Credentials"};
    case 403: return {"forbidden", "Forbidden"};
    case 404: return {"notFound", "Not Found"};
    case 409: return {"duplicate", "The requested identifier already exists."};
    case 410: return {"deleted", "Resource has been deleted"};
    case 429: return {"rateLimitExceeded", "Rate Limit Exceeded"};
    case 503: return {"backendError", "Backend Error"};
    default: return {"backendError", "Backend Error"};
  }
}

std::mutex idMutex;
std::mt19937_64& idGenerator() {
  static std::mt19937_64 generator(20240101);
  return generator;
}

std::string randomFrom(std::string_view alphabet, size_t length) {
  std::lock_guard lock(idMutex);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string id;
  for (size_t i = 0; i < length; ++i) id += alphabet[pick(idGenerator())];
  return id;
}

}  // namespace

ApiError notFound() { return ApiError(404, "notFound", "Not Found"); }

ApiError badRequest(const std::string& reason, const std::string& message) {
  return ApiError(400, reason, message);
}

Json googleErrorBody(int status, const std::string& reason, const std::string& message) {
  Json error = Json::object();
  error["errors"] = Json::array({Json{{"domain", "global"}, {"reason", reason}, {"message", message}}});
  error["code"] = status;
  error["message"] = message;
  error["status"] = statusWord(status);
  if (status == 401) {
    error["errors"][0]["locationType"] = "header";
    error["errors"][0]["location"] = "Authorization";
  }
  return Json{{"error", error}};
}

Json googleErrorBody(int status) {
  const auto [reason, message] = usualReason(status);
  return googleErrorBody(status, reason, message);
}

Millis nowMillis() { return std::chrono::time_point_cast<std::chrono::milliseconds>(Clock::now()); }

std::string rfc3339(Millis time) {
  const auto day = std::chrono::floor<std::chrono::days>(time);
  const std::chrono::year_month_day ymd{day};
  const std::chrono::hh_mm_ss hms{time - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(ymd.year()),
                unsigned(ymd.month()), unsigned(ymd.day()), int(hms.hours().count()),
                int(hms.minutes().count()), int(hms.seconds().count()),
                int(hms.subseconds().count()));
  return text;
}

std::string isoDate(std::chrono::sys_days day) {
  const std::chrono::year_month_day ymd{day};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()),
                unsigned(ymd.day()));
  return text;
}

std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text) {
  int y = 0;
  unsigned m = 0, d = 0;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](size_t at, size_t length, auto& out) {
    return std::from_chars(text.data() + at, text.data() + at + length, out).ptr ==
           text.data() + at + length;
  };
  if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d)) return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days(ymd);
}

// Strictly increasing, so two changes within one millisecond still differ.
std::string etagFor(Millis time) {
  static std::atomic<long long> last{0};
  long long value = time.time_since_epoch().count() * 1000;
  long long previous = last.load();
  while (!last.compare_exchange_weak(previous, std::max(value, previous + 1))) {
  }
  value = std::max(value, previous + 1);
  return "\"" + std::to_string(value) + "\"";
}

void reseedIds(unsigned seed) {
  std::lock_guard lock(idMutex);
  idGenerator().seed(seed);
}

std::string base32HexId(size_t length) { return randomFrom("0123456789abcdefghijklmnopqrstuv", length); }

std::string base64UrlId(size_t length) {
  return randomFrom("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_", length);
}

std::string base64Url(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int>(bytes.size()));
  out.resize(n);
  while (!out.empty() && out.back() == '=') out.pop_back();
  for (char& c : out) c = c == '+' ? '-' : c == '/' ? '_' : c;
  return out;
}

std::string sha256(std::string_view bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return std::string(reinterpret_cast<char*>(digest), sizeof digest);
}

std::string pageTokenFor(size_t offset) { return base64Url("standin-page:" + std::to_string(offset)); }

size_t offsetFromPageToken(const std::string& token) {
  std::string padded = token;
  for (char& c : padded) c = c == '-' ? '+' : c == '_' ? '/' : c;
  while (padded.size() % 4) padded += '=';
  std::string decoded(padded.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(decoded.data()),
                                reinterpret_cast<const unsigned char*>(padded.data()),
                                static_cast<int>(padded.size()));
  const std::string_view prefix = "standin-page:";
  if (n > 0) {
    decoded.resize(n);
    while (!decoded.empty() && decoded.back() == '\0') decoded.pop_back();
    size_t offset = 0;
    if (decoded.starts_with(prefix)) {
      const char* first = decoded.data() + prefix.size();
      const char* last = decoded.data() + decoded.size();
      const auto [end, ec] = std::from_chars(first, last, offset);
      if (ec == std::errc() && end == last && first != last) return offset;
    }
  }
  throw badRequest("invalid", "Invalid Value");
}

size_t pageSize(const std::string& maxResults, size_t defaultSize, size_t cap) {
  if (maxResults.empty()) return std::min(defaultSize, cap);
  long long value = 0;
  const auto [end, ec] = std::from_chars(maxResults.data(), maxResults.data() + maxResults.size(), value);
  if (ec == std::errc::result_out_of_range) return cap;
  if (ec != std::errc() || end != maxResults.data() + maxResults.size() || value < 1)
    throw badRequest("invalid", "Invalid value for: maxResults");
  return std::min<size_t>(static_cast<size_t>(value), cap);
}

Json selectFields(const Json& body, const std::string& fields) {
  if (fields.empty() || !body.is_object()) return body;
  std::set<std::string> wanted;
  std::string name;
  int depth = 0;
  for (char c : fields + ",") {
    if (c == '(') ++depth;
    else if (c == ')') --depth;
    else if (depth == 0 && c == ',') {
      if (!name.empty()) wanted.insert(name.substr(0, name.find('/')));
      name.clear();
    } else if (depth == 0 && c != ' ') {
      name += c;
    }
  }
  Json selected = Json::object();
  for (const auto& [key, value] : body.items())
    if (wanted.count(key)) selected[key] = value;
  return selected;
}

}  // namespace standin
