#include "sync/loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "base/text.h"
#include "sync/oauth.h"

namespace gsync {
namespace {

constexpr int kSliceMs = 100;
constexpr std::size_t kMaxRequestBytes = 16 * 1024;
constexpr int kReadTimeoutMs = 3000;

// The request head ("GET /path?query HTTP/1.1 ... \r\n\r\n"), or "" when the
// peer sends nothing usable in time.
std::string readRequestHead(int fd) {
  std::string head;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestBytes) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return {};
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) return {};
    char buffer[2048];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  return head;
}

void sendAll(int fd, const std::string& data) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

void answer(int fd, int status, const std::string& text) {
  const std::string body =
      "<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\"><title>데이북</title></head>"
      "<body><p>" + text + "</p></body></html>";
  sendAll(fd, base::format("HTTP/1.1 %d %s\r\nContent-Type: text/html; charset=utf-8\r\n"
                           "Content-Length: %zu\r\nConnection: close\r\n\r\n",
                           status, status == 200 ? "OK" : "Not Found", body.size()) + body);
}

}  // namespace

LoopbackListener::LoopbackListener() {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 8) != 0 ||
      getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd_);
    fd_ = -1;
    throw std::runtime_error("bind");
  }
  port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
  if (fd_ >= 0) close(fd_);
}

std::optional<std::map<std::string, std::string>> LoopbackListener::waitForAnswer(int timeoutMs) {
  // Once the wait is over nobody listens: a late browser is refused at once
  // instead of waiting for an answer that never comes.
  struct CloseAtEnd {
    int& fd;
    ~CloseAtEnd() {
      if (fd >= 0) close(fd);
      fd = -1;
    }
  } closeAtEnd{fd_};
  if (fd_ < 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!cancelled_ && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, kSliceMs) <= 0) continue;
    const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    const std::string head = readRequestHead(client);
    // "GET /?code=...&state=... HTTP/1.1"
    const std::size_t lineEnd = head.find("\r\n");
    const std::string line = head.substr(0, lineEnd);
    const std::size_t firstSpace = line.find(' ');
    const std::size_t lastSpace = line.rfind(' ');
    std::string target;
    if (firstSpace != std::string::npos && lastSpace > firstSpace)
      target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    const std::size_t mark = target.find('?');
    std::map<std::string, std::string> query;
    if (mark != std::string::npos) query = parseQuery(target.substr(mark + 1));
    if (query.count("code") || query.count("error") || query.count("state")) {
      answer(client, 200, query.count("code") ? "데이북에 로그인되었습니다. 이 창을 닫고 데이북으로 돌아가세요."
                                               : "로그인이 취소되었습니다. 데이북으로 돌아가세요.");
      close(client);
      return query;
    }
    answer(client, 404, "Not Found");
    close(client);
  }
  return std::nullopt;
}

}  // namespace gsync
