// /__standin/: the log, fault injection, tokens and bulk events for tests
// and scripts.  Not behind the bearer check.
#include "impl.h"

namespace standin {
namespace {

Fault faultFrom(const Json& body) {
  if (!body.is_object() || !body.contains("path") || !body["path"].is_string())
    throw badRequest("required", "A fault needs a \"path\".");
  Fault fault;
  fault.path = body["path"];
  fault.method = body.value("method", "");
  fault.status = body.value("status", 0);
  fault.count = body.value("count", 1);
  fault.delayMs = body.value("delayMs", 0);
  fault.cut = body.value("cut", false);
  if (body.contains("body")) fault.body = body["body"];
  if (fault.status != 0 && (fault.status < 100 || fault.status > 599)) throw badRequest("invalid", "Invalid status.");
  return fault;
}

// {"calendarId", "events": [...]} or {"calendarId", "count": N, "summary": "..."}:
// generated events are one hour long, one a day from today.
std::vector<Json> eventsFrom(const Json& body, std::chrono::sys_days today) {
  std::vector<Json> events;
  if (body.contains("events")) {
    for (const Json& event : body["events"]) events.push_back(event);
    return events;
  }
  const int count = body.value("count", 0);
  if (count < 0 || count > 100000) throw badRequest("invalid", "Invalid count.");
  const std::string summary = body.value("summary", "일정");
  for (int i = 0; i < count; ++i) {
    const std::string day = isoDate(today + std::chrono::days(i));
    events.push_back({{"summary", summary + " " + std::to_string(i + 1)},
                      {"start", {{"dateTime", day + "T09:00:00+09:00"}, {"timeZone", "Asia/Seoul"}}},
                      {"end", {{"dateTime", day + "T10:00:00+09:00"}, {"timeZone", "Asia/Seoul"}}}});
  }
  return events;
}

Json logJson(const std::vector<LogEntry>& log) {
  Json items = Json::array();
  for (const LogEntry& entry : log)
    items.push_back({{"time", entry.time}, {"method", entry.method}, {"path", entry.path},
                     {"query", entry.query}, {"status", entry.status}});
  return Json{{"items", items}};
}

}  // namespace

void addControlRoutes(Server::Impl& impl) {
  httplib::Server& http = *impl.http;
  using Request = httplib::Request;
  using Response = httplib::Response;
  const Json ok = {{"ok", true}};

  http.Get("/__standin/log", guarded(impl, [&impl](const Request&, Response& r) { sendJson(r, 200, logJson(impl.log)); }));
  http.Delete("/__standin/log", guarded(impl, [&impl, ok](const Request&, Response& r) {
    impl.log.clear();
    sendJson(r, 200, ok);
  }));
  http.Post("/__standin/fault", guarded(impl, [&impl, ok](const Request& q, Response& r) {
    impl.faults.push_back(faultFrom(parseBody(q)));
    sendJson(r, 200, ok);
  }));
  http.Delete("/__standin/faults", guarded(impl, [&impl, ok](const Request&, Response& r) {
    impl.faults.clear();
    sendJson(r, 200, ok);
  }));
  http.Post("/__standin/reset", guarded(impl, [&impl, ok](const Request&, Response& r) {
    impl.loadSeed();
    impl.log.clear();
    impl.faults.clear();
    sendJson(r, 200, ok);
  }));
  // {"lifetimeSeconds": N} for new tokens; {"expireAll": true} expires the current ones.
  http.Post("/__standin/tokens", guarded(impl, [&impl, ok](const Request& q, Response& r) {
    const Json body = parseBody(q);
    if (!body.is_object()) throw badRequest("parseError", "Parse Error");
    if (body.contains("lifetimeSeconds")) impl.grants.setLifetime(body["lifetimeSeconds"].get<int>());
    if (body.value("expireAll", false)) impl.grants.expireAccessTokens();
    sendJson(r, 200, ok);
  }));
  // An access token for the seeded account without the sign-in pages.
  http.Post("/__standin/token", guarded(impl, [&impl](const Request&, Response& r) {
    const Grant grant{impl.identityFor(impl.account.email()), "standin", ""};
    sendJson(r, 200, Json{{"access_token", impl.grants.issueAccessToken(grant)},
                          {"expires_in", impl.grants.lifetime()}});
  }));
  http.Post("/__standin/events", guarded(impl, [&impl](const Request& q, Response& r) {
    const Json body = parseBody(q);
    if (!body.is_object() || !body.contains("calendarId")) throw badRequest("required", "Missing calendarId.");
    const auto events = eventsFrom(body, impl.today);
    if (!impl.account.appendEvents(body["calendarId"], events)) throw notFound();
    sendJson(r, 200, Json{{"added", events.size()}});
  }));
}

}  // namespace standin
