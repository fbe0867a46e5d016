// Network calls from windows: the call runs on a worker thread while the
// window waits in a local event loop that excludes user input, so the
// window keeps painting while the logic stays sequential.
#pragma once

#include "base/http.h"

namespace ui {

class EventLoopHttpClient final : public base::HttpClient {
 public:
  explicit EventLoopHttpClient(base::HttpClient& inner) : inner_(inner) {}
  base::HttpResponse send(const base::HttpRequest& request) override;

 private:
  base::HttpClient& inner_;
};

// Waits `milliseconds` in a local event loop that excludes user input.
void waitWithoutInput(int milliseconds);

}  // namespace ui
