// Blocking HTTP(S).  One interface for every request of the program; the
// libcurl implementation verifies certificates (the system store, plus the
// PEM file named by $DAYBOOK_CA_FILE) and has connect and total time-outs.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method = "GET";
  std::string url;
  HttpHeaders headers;
  std::string body;
  std::string userAgent;
  long connectTimeoutMs = 15'000;
  long totalTimeoutMs = 60'000;
  bool followRedirects = true;
};

struct HttpResponse {
  bool transportOk = false;  // a response arrived (any status)
  int status = 0;
  std::string statusLine;  // "HTTP/1.1 200 OK"
  HttpHeaders headers;
  std::string body;
  std::string error;  // transport error text when !transportOk

  bool success() const { return transportOk && status >= 200 && status < 300; }
  std::string header(std::string_view name) const;  // first match, name without case
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpResponse send(const HttpRequest& request) = 0;
};

class CurlHttpClient final : public HttpClient {
 public:
  CurlHttpClient();
  HttpResponse send(const HttpRequest& request) override;
};

// The client the helpers below use; tests may install another one.
HttpClient& httpClient();
void setHttpClient(std::shared_ptr<HttpClient> client);  // null restores libcurl

// Body text as the program stores downloaded text: a byte-order mark
// dropped, trimmed, passed through CP949 ("?" for what it lacks), and a
// trailing "|" removed.
std::string decodeResponseText(std::string_view body);

// Errors are swallowed: on failure `lines` is left as it was, no file is
// written, or the result is empty.
bool downloadLines(const std::string& url, std::vector<std::string>& lines);
bool downloadFile(const std::string& url, const std::string& path);
std::string downloadText(const std::string& url);

}  // namespace base
