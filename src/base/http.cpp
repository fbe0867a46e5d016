#include "base/http.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>

#include "base/files.h"
#include "base/text.h"

namespace base {
namespace {

size_t appendBody(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

size_t appendHeader(char* data, size_t size, size_t count, void* user) {
  auto* response = static_cast<HttpResponse*>(user);
  const std::string line = trimRight(std::string_view(data, size * count));
  if (startsWith(line, "HTTP/")) {
    // A new response (after a redirect or "100 Continue") starts over.
    response->statusLine = line;
    response->headers.clear();
  } else if (const auto colon = line.find(':'); colon != std::string::npos) {
    response->headers.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }
  return size * count;
}

std::shared_ptr<HttpClient>& clientSlot() {
  static std::shared_ptr<HttpClient> client;
  return client;
}

}  // namespace

std::string HttpResponse::header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (equalsIgnoreCaseAscii(key, name)) return value;
  return {};
}

CurlHttpClient::CurlHttpClient() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpResponse CurlHttpClient::send(const HttpRequest& request) {
  HttpResponse response;
  CURL* curl = curl_easy_init();
  if (!curl) {
    response.error = "curl_easy_init failed";
    return response;
  }
  char errorBuffer[CURL_ERROR_SIZE] = {0};
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, request.totalTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  if (const char* ca = std::getenv("DAYBOOK_CA_FILE"); ca && *ca)
    curl_easy_setopt(curl, CURLOPT_CAINFO, ca);
  if (!request.userAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());

  curl_slist* headers = nullptr;
  for (const auto& [name, value] : request.headers)
    headers = curl_slist_append(headers, (name + ": " + value).c_str());
  if (headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  if (request.method == "GET") {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    if (request.method != "DELETE" || !request.body.empty()) {
      curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
      curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
  }
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, appendHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response);

  const CURLcode rc = curl_easy_perform(curl);
  if (rc == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    response.transportOk = true;
  } else {
    response.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return response;
}

HttpClient& httpClient() {
  auto& slot = clientSlot();
  if (!slot) slot = std::make_shared<CurlHttpClient>();
  return *slot;
}

void setHttpClient(std::shared_ptr<HttpClient> client) { clientSlot() = std::move(client); }

std::string decodeResponseText(std::string_view body) {
  // A byte-order mark is dropped before trimming; a "?" the text really
  // starts with is kept.
  if (startsWith(body, "\xEF\xBB\xBF")) body.remove_prefix(3);
  std::string text = cp949Lossy(trim(body));
  if (endsWith(text, "|")) text.pop_back();
  return text;
}

bool downloadLines(const std::string& url, std::vector<std::string>& lines) {
  HttpRequest request;
  request.url = url;
  request.userAgent = "qopzu";
  const HttpResponse response = httpClient().send(request);
  if (!response.success()) return false;
  // The program's own server may send UTF-8 or CP949 text; both are accepted.
  const bool utf8 = isValidUtf8(response.body);
  lines = splitLines(response.body);
  for (std::string& line : lines) line = utf8 ? cp949Lossy(line) : cp949ToUtf8(line);
  return true;
}

bool downloadFile(const std::string& url, const std::string& path) {
  HttpRequest request;
  request.url = url;
  request.userAgent = "a";
  const HttpResponse response = httpClient().send(request);
  return response.success() && writeBytesAtomic(path, response.body);
}

std::string downloadText(const std::string& url) {
  HttpRequest request;
  request.url = url;
  const HttpResponse response = httpClient().send(request);
  return response.success() ? decodeResponseText(response.body) : std::string();
}

}  // namespace base
