// The loopback end of the sign-in: a tiny HTTP listener on 127.0.0.1 at a
// free port that waits for the browser to come back with the OAuth answer
// in its query, answers it with a short Korean page, and hands the query over.
#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>

namespace gsync {

class LoopbackListener {
 public:
  // Binds 127.0.0.1 at a free port; throws std::runtime_error when it cannot.
  LoopbackListener();
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  int port() const { return port_; }

  // Blocks until a request whose query has "code", "error" or "state"
  // arrives (other requests, such as the browser's icon, get a 404), or
  // until cancel() or the time-out.  Nothing then.  Called once: the
  // listener stops listening when it returns.
  std::optional<std::map<std::string, std::string>> waitForAnswer(int timeoutMs);
  // May be called from another thread.
  void cancel() { cancelled_ = true; }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> cancelled_{false};
};

}  // namespace gsync
