// A scripted HttpClient for unit tests of the request layer: it records
// every request and answers from a queue (200 "{}" when the queue is empty).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/http.h"

namespace testing_support {

class FakeHttp final : public base::HttpClient {
 public:
  std::vector<base::HttpRequest> sent;
  std::deque<base::HttpResponse> script;

  base::HttpResponse send(const base::HttpRequest& request) override {
    sent.push_back(request);
    if (script.empty()) return ok("{}");
    base::HttpResponse next = script.front();
    script.pop_front();
    return next;
  }

  static base::HttpResponse ok(const std::string& body, int status = 200) {
    base::HttpResponse response;
    response.transportOk = true;
    response.status = status;
    response.statusLine = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " X");
    response.body = body;
    return response;
  }
  static base::HttpResponse cut() {
    base::HttpResponse response;
    response.error = "Connection reset by peer";
    return response;
  }
  void answer(const std::string& body, int status = 200) { script.push_back(ok(body, status)); }
};

}  // namespace testing_support
