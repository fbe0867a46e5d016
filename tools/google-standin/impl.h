// The server's private state and the route tables that fill it in.
#pragma once

#include <httplib.h>

#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "account.h"
#include "oauth.h"
#include "standin.h"

namespace standin {

struct Server::Impl {
  Options options;
  std::unique_ptr<httplib::Server> http;
  std::thread thread;
  int port = 0;
  std::string baseUrl;

  // One lock for everything below; handlers run on httplib's worker threads.
  mutable std::mutex mutex;
  Json seed;
  std::chrono::sys_days today{};
  Account account;
  OAuthGrants grants;
  std::vector<LogEntry> log;
  std::vector<Fault> faults;
  std::ofstream logFile;

  void loadSeed();  // caller holds the lock
  Identity identityFor(const std::string& email) const;
  std::optional<Fault> takeFault(const httplib::Request& request);
  void record(const httplib::Request& request, int status);
};

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

// Runs `handler` under the lock; ApiError and bad JSON become Google's error bodies.
httplib::Server::Handler guarded(Server::Impl& impl, Handler handler);
void sendJson(httplib::Response& response, int status, const Json& body);
void sendGoogleError(httplib::Response& response, int status, const Json& body);
Query queryOf(const httplib::Request& request);
Json parseBody(const httplib::Request& request);  // throws ApiError 400

void addOAuthRoutes(Server::Impl& impl);
void addCalendarRoutes(Server::Impl& impl);
void addTasksRoutes(Server::Impl& impl);
void addControlRoutes(Server::Impl& impl);

}  // namespace standin
