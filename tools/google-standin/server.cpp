#include <csignal>
#include <iostream>
#include <sstream>

#include "impl.h"

namespace standin {
namespace {

using namespace std::chrono;

sys_days todayInSeoul() { return floor<days>(system_clock::now() + hours(9)); }

bool needsBearer(const std::string& path) {
  return path.starts_with("/calendar/") || path.starts_with("/tasks/") || path.starts_with("/oauth2/");
}

bool matches(const Fault& fault, const httplib::Request& request) {
  if (!fault.method.empty() && fault.method != request.method) return false;
  if (fault.path.ends_with("*")) return request.path.starts_with(fault.path.substr(0, fault.path.size() - 1));
  return fault.path == request.path;
}

std::string queryText(const httplib::Request& request) {
  const size_t mark = request.target.find('?');
  return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

Json readSeedFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the seed file " + path);
  std::stringstream text;
  text << in.rdbuf();
  try {
    return Json::parse(text.str());
  } catch (const Json::exception& error) {
    throw std::runtime_error("the seed file " + path + " is not JSON: " + error.what());
  }
}

// The headers go out, then the connection closes before the promised body.
constexpr const char* kCutMark = "X-Standin-Cut";

void cutConnection(httplib::Response& response) {
  response.status = 200;
  response.set_header(kCutMark, "1");
  response.set_content_provider(
      4096, "application/json; charset=UTF-8", [](size_t, size_t, httplib::DataSink& sink) {
        sink.write("{\"items\": [", 11);
        return false;
      });
}

void unauthorized(httplib::Response& response) {
  response.set_header("WWW-Authenticate", "Bearer realm=\"https://accounts.google.com/\", error=\"invalid_token\"");
  sendGoogleError(response, 401,
                  googleErrorBody(401, "authError",
                                  "Request had invalid authentication credentials. Expected OAuth 2 access "
                                  "token, login cookie or other valid authentication credential."));
}

}  // namespace

void sendJson(httplib::Response& response, int status, const Json& body) {
  response.status = status;
  response.set_content(body.dump(2), "application/json; charset=UTF-8");
}

void sendGoogleError(httplib::Response& response, int status, const Json& body) { sendJson(response, status, body); }

Query queryOf(const httplib::Request& request) {
  Query query;
  for (const auto& [name, value] : request.params) query.emplace(name, value);  // first value wins
  return query;
}

Json parseBody(const httplib::Request& request) {
  try {
    return Json::parse(request.body);
  } catch (const Json::exception&) {
    throw badRequest("parseError", "Parse Error");
  }
}

httplib::Server::Handler guarded(Server::Impl& impl, Handler handler) {
  return [&impl, handler](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(impl.mutex);
    try {
      handler(request, response);
    } catch (const ApiError& error) {
      sendGoogleError(response, error.status, googleErrorBody(error.status, error.reason, error.what()));
    } catch (const Json::exception&) {
      sendGoogleError(response, 400, googleErrorBody(400, "invalid", "Invalid Value"));
    } catch (const std::exception&) {
      sendGoogleError(response, 500, googleErrorBody(500));
    }
  };
}

void Server::Impl::loadSeed() {
  reseedIds(20240101);
  account.load(seed, today, baseUrl);
  const Json& oauth = account.seedOAuth();
  grants.setClient(oauth.value("clientId", ""), oauth.value("clientSecret", ""));
  grants.setLifetime(account.tokenLifetimeSeconds());
}

Identity Server::Impl::identityFor(const std::string& email) const {
  const Json& profile = account.profile();
  if (email == account.email())
    return {email, profile["name"], profile["givenName"], profile["familyName"]};
  return {email, email.substr(0, email.find('@')), "", ""};
}

std::optional<Fault> Server::Impl::takeFault(const httplib::Request& request) {
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    if (!matches(*it, request)) continue;
    Fault fault = *it;
    if (it->count > 0 && --it->count == 0) faults.erase(it);
    return fault;
  }
  return std::nullopt;
}

void Server::Impl::record(const httplib::Request& request, int status) {
  if (request.path.starts_with("/__standin/")) return;
  LogEntry entry{rfc3339(nowMillis()), request.method, request.path, queryText(request), status};
  if (logFile.is_open()) {
    const Json line = {{"time", entry.time}, {"method", entry.method}, {"path", entry.path},
                       {"query", entry.query}, {"status", entry.status}};
    logFile << line.dump() << '\n' << std::flush;
  }
  log.push_back(std::move(entry));
}

Server::Server(Options options) : impl_(std::make_unique<Impl>()) { impl_->options = std::move(options); }

Server::~Server() { stop(); }

void Server::start() {
  Impl& impl = *impl_;
  const Options& options = impl.options;
  if (!options.certFile.empty() || !options.keyFile.empty()) {
    auto server = std::make_unique<httplib::SSLServer>(options.certFile.c_str(), options.keyFile.c_str());
    if (!server->is_valid()) throw std::runtime_error("cannot use the certificate " + options.certFile);
    impl.http = std::move(server);
  } else {
    impl.http = std::make_unique<httplib::Server>();
  }
  impl.port = options.port == 0 ? impl.http->bind_to_any_port(options.host)
                                : (impl.http->bind_to_port(options.host, options.port) ? options.port : -1);
  if (impl.port <= 0) throw std::runtime_error("cannot listen on " + options.host + ":" + std::to_string(options.port));
  const bool tls = !options.certFile.empty();
  impl.baseUrl = std::string(tls ? "https://" : "http://") + options.host + ":" + std::to_string(impl.port);

  {
    std::lock_guard lock(impl.mutex);
    impl.seed = options.seedJson ? *options.seedJson
                : options.seedFile.empty() ? Json{{"account", {{"email", "user@gmail.com"}}}}
                                           : readSeedFile(options.seedFile);
    impl.today = todayInSeoul();
    if (!options.today.empty()) {
      const auto day = parseIsoDate(options.today);
      if (!day) throw std::runtime_error("--today needs YYYY-MM-DD");
      impl.today = *day;
    }
    impl.loadSeed();
    if (!options.logFile.empty()) {
      impl.logFile.open(options.logFile, std::ios::app);
      if (!impl.logFile) throw std::runtime_error("cannot write the log file " + options.logFile);
    }
  }

  impl.http->set_pre_routing_handler([&impl](const httplib::Request& request, httplib::Response& response) {
    std::optional<Fault> fault;
    {
      std::lock_guard lock(impl.mutex);
      if (!request.path.starts_with("/__standin/")) fault = impl.takeFault(request);
    }
    if (fault) {
      if (fault->delayMs > 0) std::this_thread::sleep_for(milliseconds(fault->delayMs));
      if (fault->cut) {
        cutConnection(response);
        return httplib::Server::HandlerResponse::Handled;
      }
      if (fault->status > 0) {
        if (fault->status == 401) response.set_header("WWW-Authenticate", "Bearer error=\"invalid_token\"");
        sendGoogleError(response, fault->status, fault->body ? *fault->body : googleErrorBody(fault->status));
        return httplib::Server::HandlerResponse::Handled;
      }
    }
    if (needsBearer(request.path)) {
      const std::string header = request.get_header_value("Authorization");
      std::lock_guard lock(impl.mutex);
      if (!header.starts_with("Bearer ") || !impl.grants.bearer(header.substr(7))) {
        unauthorized(response);
        return httplib::Server::HandlerResponse::Handled;
      }
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  impl.http->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.body.empty()) sendGoogleError(response, response.status, googleErrorBody(response.status));
  });
  impl.http->set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
    sendGoogleError(response, 500, googleErrorBody(500));
  });
  impl.http->set_logger([&impl](const httplib::Request& request, const httplib::Response& response) {
    std::lock_guard lock(impl.mutex);
    // A cut connection is logged with status 0: no answer arrived whole.
    impl.record(request, response.has_header(kCutMark) ? 0 : response.status);
  });

  addOAuthRoutes(impl);
  addCalendarRoutes(impl);
  addTasksRoutes(impl);
  addControlRoutes(impl);

  impl.thread = std::thread([&impl] { impl.http->listen_after_bind(); });
}

void Server::stop() {
  if (!impl_ || !impl_->http) return;
  impl_->http->stop();
  if (impl_->thread.joinable()) impl_->thread.join();
  impl_->http.reset();
}

int Server::port() const { return impl_->port; }
std::string Server::baseUrl() const { return impl_->baseUrl; }

void Server::reset() {
  std::lock_guard lock(impl_->mutex);
  impl_->loadSeed();
  impl_->log.clear();
  impl_->faults.clear();
}

std::vector<LogEntry> Server::log() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->log;
}

void Server::clearLog() {
  std::lock_guard lock(impl_->mutex);
  impl_->log.clear();
}

void Server::addFault(const Fault& fault) {
  std::lock_guard lock(impl_->mutex);
  impl_->faults.push_back(fault);
}

void Server::clearFaults() {
  std::lock_guard lock(impl_->mutex);
  impl_->faults.clear();
}

std::string Server::issueAccessToken() {
  std::lock_guard lock(impl_->mutex);
  const Identity identity = impl_->identityFor(impl_->account.email());
  return impl_->grants.issueAccessToken({identity, "standin", ""});
}

void Server::expireAccessTokens() {
  std::lock_guard lock(impl_->mutex);
  impl_->grants.expireAccessTokens();
}

void Server::setTokenLifetime(int seconds) {
  std::lock_guard lock(impl_->mutex);
  impl_->grants.setLifetime(seconds);
}

bool Server::addEvents(const std::string& calendarId, const std::vector<Json>& events) {
  std::lock_guard lock(impl_->mutex);
  return impl_->account.appendEvents(calendarId, events);
}

}  // namespace standin
