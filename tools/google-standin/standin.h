// A local stand-in for the Google endpoints the organiser calls: the OAuth
// authorize page and token endpoint, user info, Calendar v3 and Tasks v1.
// State lives in memory, seeded from a JSON account file; every request is
// logged, and faults can be injected per path.  Tests run it in-process on a
// background thread; the google-standin executable wraps the same class.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace standin {

using Json = nlohmann::ordered_json;

struct Options {
  std::string host = "127.0.0.1";
  int port = 0;                // 0: any free port
  std::string seedFile;        // JSON account file; empty: seedJson or an empty account
  std::optional<Json> seedJson;
  std::string certFile;        // both set: HTTPS, else plain HTTP
  std::string keyFile;
  std::string logFile;         // request log appended as JSON lines; empty: memory only
  std::string today;           // "YYYY-MM-DD" anchor for relative seed dates; empty: today in Seoul
  bool autoApprove = false;    // the authorize page approves at once (no page shown)
};

struct LogEntry {
  std::string time;  // RFC 3339, UTC
  std::string method;
  std::string path;
  std::string query;  // raw query text, without "?"
  int status = 0;
};

// A fault answers the next `count` requests whose path matches (exactly, or
// by prefix when `path` ends with "*"), and whose method matches when given.
struct Fault {
  std::string path;
  std::string method;     // empty: any
  int status = 0;         // 0: answer normally (after the delay)
  int count = 1;          // negative: every matching request
  int delayMs = 0;        // wait before answering
  bool cut = false;       // close the connection in the middle of the answer
  std::optional<Json> body;  // replaces Google's error body
};

class Server {
 public:
  explicit Server(Options options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and serves on a background thread.  Throws std::runtime_error when
  // the seed, the certificate or the port is unusable.
  void start();
  void stop();

  int port() const;
  std::string baseUrl() const;  // "http(s)://127.0.0.1:PORT"

  // Restores the seeded account; clears the log and the faults (tokens stay).
  void reset();
  std::vector<LogEntry> log() const;
  void clearLog();
  void addFault(const Fault& fault);
  void clearFaults();

  // Tokens: an access token valid for the account without the sign-in flow;
  // expiring every access token now; the lifetime given to new ones.
  std::string issueAccessToken();
  void expireAccessTokens();
  void setTokenLifetime(int seconds);

  // Appends events (Google's event JSON; ids generated when missing) to a
  // calendar.  Returns false when the calendar is unknown; throws
  // std::runtime_error for an event with members of the wrong type.
  bool addEvents(const std::string& calendarId, const std::vector<Json>& events);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// A throw-away certificate authority and a server certificate for
// 127.0.0.1 and localhost signed by it, written as PEM files into `dir`.
struct TestCertificates {
  std::string caFile;
  std::string certFile;
  std::string keyFile;
};
// Throws std::runtime_error when OpenSSL or the files fail.
TestCertificates makeTestCertificates(const std::string& dir);

}  // namespace standin
