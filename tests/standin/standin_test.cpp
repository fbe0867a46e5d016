// The Google stand-in over real sockets, driven with the program's own HTTP client.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "account.h"
#include "base/fields.h"
#include "base/http.h"
#include "base/text.h"
#include "standin.h"

namespace {

using standin::Json;

const std::string kClient = "123456789012-standin.apps.googleusercontent.com";
// RFC 7636, appendix B.
const std::string kVerifier = "dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk";
const std::string kChallenge = "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM";
const std::string kPrimary = "minji.kim@gmail.com";

std::string seedPath() { return std::string(DAYBOOK_SOURCE_DIR) + "/tools/google-standin/seed/demo-account.json"; }

std::string form(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string body;
  for (const auto& [name, value] : fields) body += (body.empty() ? "" : "&") + name + "=" + base::urlEncode(value);
  return body;
}

std::string urlDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}

std::string queryValue(const std::string& url, const std::string& name) {
  const size_t mark = url.find('?');
  for (const std::string& pair : base::split(url.substr(mark + 1), '&'))
    if (pair.starts_with(name + "=")) return urlDecode(pair.substr(name.size() + 1));
  return {};
}

Json jwtPayload(const std::string& jwt) {
  std::string part = base::split(jwt, '.').at(1);
  for (char& c : part) c = c == '-' ? '+' : c == '_' ? '/' : c;
  while (part.size() % 4) part += '=';
  std::string bytes(part.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                reinterpret_cast<const unsigned char*>(part.data()), static_cast<int>(part.size()));
  bytes.resize(n);
  while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return Json::parse(bytes);
}

class StandinTest : public testing::Test {
 protected:
  void SetUp() override {
    standin::Options options;
    options.seedFile = seedPath();
    options.today = "2025-03-12";  // a Wednesday
    options.logFile = logFile_;
    std::filesystem::remove(logFile_);
    server_ = std::make_unique<standin::Server>(options);
    server_->start();
    token_ = server_->issueAccessToken();
  }

  base::HttpResponse send(const std::string& method, const std::string& path, const std::string& body = {},
                          const std::string& token = {}, const std::string& contentType = "application/json") {
    base::HttpRequest request;
    request.method = method;
    request.url = server_->baseUrl() + path;
    request.body = body;
    request.followRedirects = false;
    request.totalTimeoutMs = 10'000;
    if (!token.empty()) request.headers.emplace_back("Authorization", "Bearer " + token);
    if (!body.empty()) request.headers.emplace_back("Content-Type", contentType);
    return base::CurlHttpClient().send(request);
  }
  base::HttpResponse api(const std::string& method, const std::string& path, const Json& body = nullptr) {
    return send(method, path, body.is_null() ? std::string() : body.dump(), token_);
  }
  static Json json(const base::HttpResponse& response) { return Json::parse(response.body); }

  std::string authorizeQuery(const std::string& state) {
    return "/o/oauth2/auth?" + form({{"client_id", kClient}, {"redirect_uri", redirectUri()},
                                     {"response_type", "code"}, {"scope", "openid email profile https://www.googleapis.com/auth/calendar"},
                                     {"state", state}, {"code_challenge", kChallenge},
                                     {"code_challenge_method", "S256"}, {"login_hint", kPrimary}});
  }
  std::string redirectUri() const { return "http://127.0.0.1:49152/callback"; }
  base::HttpResponse exchange(const std::string& code, const std::string& verifier,
                              const std::string& redirect) {
    return send("POST", "/o/oauth2/token",
                form({{"code", code}, {"client_id", kClient}, {"client_secret", "secret"},
                      {"redirect_uri", redirect}, {"grant_type", "authorization_code"}, {"code_verifier", verifier}}),
                {}, "application/x-www-form-urlencoded");
  }
  // A code straight from the authorize endpoint, with no page in between.
  std::string quickCode() {
    const auto response = send("GET", authorizeQuery("s") + "&standin_auto_approve=1");
    EXPECT_EQ(response.status, 302);
    return queryValue(response.header("Location"), "code");
  }

  std::string logFile_ = testing::TempDir() + "standin-log.jsonl";
  std::unique_ptr<standin::Server> server_;
  std::string token_;
};

TEST_F(StandinTest, SignInWithPkceExchangesTheCodeOnceAndRefreshes) {
  const auto page = send("GET", authorizeQuery("state-123"));
  ASSERT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("허용"), std::string::npos);
  EXPECT_NE(page.body.find(kPrimary), std::string::npos);
  const size_t at = page.body.find("name=\"request\" value=\"");
  ASSERT_NE(at, std::string::npos);
  const size_t start = at + 22;
  const std::string requestId = page.body.substr(start, page.body.find('"', start) - start);

  const auto pressed = send("POST", "/o/oauth2/approve",
                            form({{"request", requestId}, {"account", kPrimary}, {"decision", "allow"}}), {},
                            "application/x-www-form-urlencoded");
  ASSERT_EQ(pressed.status, 302);
  const std::string location = pressed.header("Location");
  EXPECT_TRUE(location.starts_with(redirectUri() + "?code=")) << location;
  EXPECT_EQ(queryValue(location, "state"), "state-123");
  const std::string code = queryValue(location, "code");

  const auto tokens = exchange(code, kVerifier, redirectUri());
  ASSERT_EQ(tokens.status, 200) << tokens.body;
  const Json answer = json(tokens);
  for (const char* key : {"access_token", "expires_in", "refresh_token", "id_token", "token_type"})
    EXPECT_TRUE(answer.contains(key)) << key;
  EXPECT_EQ(answer["token_type"], "Bearer");
  const Json identity = jwtPayload(answer["id_token"]);
  EXPECT_EQ(identity["email"], kPrimary);
  EXPECT_EQ(identity["name"], "김민지");

  const auto me = send("GET", "/oauth2/v3/userinfo", {}, answer["access_token"]);
  ASSERT_EQ(me.status, 200);
  EXPECT_EQ(json(me)["email"], kPrimary);

  const auto again = exchange(code, kVerifier, redirectUri());
  EXPECT_EQ(again.status, 400);
  EXPECT_EQ(json(again)["error"], "invalid_grant");

  const auto refreshed = send("POST", "/o/oauth2/token",
                              form({{"client_id", kClient}, {"client_secret", "secret"},
                                    {"refresh_token", answer["refresh_token"]}, {"grant_type", "refresh_token"}}),
                              {}, "application/x-www-form-urlencoded");
  ASSERT_EQ(refreshed.status, 200) << refreshed.body;
  const std::string newToken = json(refreshed)["access_token"];
  EXPECT_NE(newToken, answer["access_token"]);
  EXPECT_EQ(send("GET", "/calendar/v3/users/me/calendarList", {}, newToken).status, 200);
}

TEST_F(StandinTest, TokenEndpointRefusesBadGrants) {
  struct Case {
    const char* name;
    std::string verifier, redirect;
    const char* error;
  };
  const Case cases[] = {
      {"wrong verifier", "x" + kVerifier.substr(1), redirectUri(), "invalid_grant"},
      {"no verifier", "", redirectUri(), "invalid_grant"},
      {"other redirect", kVerifier, "http://127.0.0.1:1/other", "redirect_uri_mismatch"},
  };
  for (const Case& c : cases) {
    const auto answer = exchange(quickCode(), c.verifier, c.redirect);
    EXPECT_EQ(answer.status, 400) << c.name;
    EXPECT_EQ(json(answer)["error"], c.error) << c.name;
    EXPECT_FALSE(json(answer).contains("access_token")) << c.name;
  }
  const auto bogusRefresh = send("POST", "/o/oauth2/token",
                                 form({{"client_id", kClient}, {"refresh_token", "1//nope"}, {"grant_type", "refresh_token"}}),
                                 {}, "application/x-www-form-urlencoded");
  EXPECT_EQ(bogusRefresh.status, 400);
  EXPECT_EQ(json(bogusRefresh)["error"], "invalid_grant");
  const auto badGrant = send("POST", "/o/oauth2/token", form({{"client_id", kClient}, {"grant_type", "password"}}),
                             {}, "application/x-www-form-urlencoded");
  EXPECT_EQ(json(badGrant)["error"], "unsupported_grant_type");
  EXPECT_EQ(send("POST", "/o/oauth2/token", "", {}).status, 400);
}

TEST_F(StandinTest, DenyingSendsTheErrorAndStateBack) {
  const auto page = send("GET", authorizeQuery("st"));
  const size_t start = page.body.find("name=\"request\" value=\"") + 22;
  const std::string requestId = page.body.substr(start, page.body.find('"', start) - start);
  const auto denied = send("POST", "/o/oauth2/approve", form({{"request", requestId}, {"decision", "deny"}}), {},
                           "application/x-www-form-urlencoded");
  ASSERT_EQ(denied.status, 302);
  EXPECT_EQ(queryValue(denied.header("Location"), "error"), "access_denied");
  EXPECT_EQ(queryValue(denied.header("Location"), "state"), "st");
}

TEST_F(StandinTest, RestCallsNeedAValidBearerToken) {
  const std::string path = "/calendar/v3/users/me/calendarList";
  for (const std::string& token : {std::string(), std::string("ya29.unknown")}) {
    const auto answer = send("GET", path, {}, token);
    EXPECT_EQ(answer.status, 401);
    EXPECT_EQ(json(answer)["error"]["code"], 401);
    EXPECT_EQ(json(answer)["error"]["errors"][0]["reason"], "authError");
  }
  EXPECT_EQ(send("GET", "/tasks/v1/users/@me/lists", {}, token_).status, 200);
  server_->expireAccessTokens();
  EXPECT_EQ(send("GET", "/tasks/v1/users/@me/lists", {}, token_).status, 401);

  server_->setTokenLifetime(1);
  const std::string shortLived = server_->issueAccessToken();
  EXPECT_EQ(send("GET", path, {}, shortLived).status, 200);
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_EQ(send("GET", path, {}, shortLived).status, 401);
}

TEST_F(StandinTest, SeededAccountIsResolvedAgainstToday) {
  const Json list = json(api("GET", "/calendar/v3/users/me/calendarList?maxResults=999999"));
  ASSERT_EQ(list["items"].size(), 5u);
  EXPECT_EQ(list["items"][0]["id"], kPrimary);
  EXPECT_EQ(list["items"][0]["summary"], kPrimary);
  EXPECT_TRUE(list["items"][0]["primary"].get<bool>());
  EXPECT_NE(list["items"][3]["id"].get<std::string>().find("holiday"), std::string::npos);
  EXPECT_EQ(list["items"][3]["accessRole"], "reader");

  const Json events = json(api("GET", "/calendar/v3/calendars/" + base::urlEncode(kPrimary) + "/events?maxResults=999999"));
  std::map<std::string, Json> bySummary;
  int cancelled = 0;
  for (const Json& event : events["items"]) {
    bySummary[event.value("summary", "")] = event;
    if (event["status"] == "cancelled") {
      ++cancelled;
      EXPECT_TRUE(event.contains("recurringEventId"));
      EXPECT_EQ(event["originalStartTime"]["dateTime"], "2025-02-17T09:30:00+09:00");
    }
  }
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(bySummary["프로젝트 킥오프 회의"]["start"]["dateTime"], "2025-03-15T14:00:00+09:00");
  EXPECT_EQ(bySummary["주간 보고"]["recurrence"][0], "RRULE:FREQ=WEEKLY;BYDAY=MO");
  EXPECT_EQ(bySummary["제주도 여행"]["end"]["date"], "2025-04-05");

  const Json lists = json(api("GET", "/tasks/v1/users/@me/lists"));
  ASSERT_EQ(lists["items"].size(), 2u);
  EXPECT_EQ(lists["items"][0]["title"], "할일 목록");
  const Json tasks = json(api("GET", "/tasks/v1/lists/" + lists["items"][0]["id"].get<std::string>() + "/tasks"));
  std::set<std::string> statuses;
  for (const Json& task : tasks["items"]) statuses.insert(task["status"]);
  EXPECT_EQ(statuses, (std::set<std::string>{"completed", "needsAction"}));
}

TEST(SeedDates, RelativeExpressions) {
  using namespace std::chrono;
  const sys_days today = sys_days(year(2025) / March / 12);  // Wednesday
  struct Case {
    const char* text;
    const char* date;  // nullptr: refused
    int minutes;
  };
  const Case cases[] = {
      {"today", "2025-03-12", -1},        {"+3d 14:00", "2025-03-15", 840},
      {"-1w", "2025-03-05", -1},          {"mon", "2025-03-10", -1},
      {"sun+1w", "2025-03-23", -1},       {"mon-8w 09:30", "2025-01-13", 570},
      {"Y/12-25", "2025-12-25", -1},      {"Y+1/02-29", "2026-02-28", -1},
      {"M+1/31", "2025-04-30", -1},       {"M-3/25", "2024-12-25", -1},
      {"+1m", "2025-04-12", -1},          {"-1y", "2024-03-12", -1},
      {"tomorrow", nullptr, 0},           {"+3x", nullptr, 0},
      {"Y/13-01", nullptr, 0},            {"+1d 25:00", nullptr, 0},
      {"2025-03-01", nullptr, 0},         {"+", nullptr, 0},
  };
  for (const Case& c : cases) {
    const auto resolved = standin::resolveSeedDate(c.text, today);
    if (!c.date) {
      EXPECT_FALSE(resolved) << c.text;
      continue;
    }
    ASSERT_TRUE(resolved) << c.text;
    EXPECT_EQ(standin::isoDate(resolved->day), c.date) << c.text;
    EXPECT_EQ(resolved->minutes, c.minutes) << c.text;
  }
}

TEST_F(StandinTest, SixThousandEventsArriveInThreePages) {
  const auto created = api("POST", "/calendar/v3/calendars", Json{{"summary", "대량 일정"}});
  ASSERT_EQ(created.status, 200);
  const std::string id = json(created)["id"];
  std::vector<Json> events;
  for (int i = 0; i < 6000; ++i)
    events.push_back({{"summary", "일정 " + std::to_string(i)},
                      {"start", {{"date", "2025-03-12"}}}, {"end", {{"date", "2025-03-13"}}}});
  ASSERT_TRUE(server_->addEvents(id, events));

  std::set<std::string> ids;
  std::vector<size_t> pages;
  std::string pageToken;
  do {
    std::string path = "/calendar/v3/calendars/" + base::urlEncode(id) + "/events?maxResults=999999";
    if (!pageToken.empty()) path += "&pageToken=" + base::urlEncode(pageToken);
    const auto page = api("GET", path);
    ASSERT_EQ(page.status, 200) << page.body;
    const Json body = json(page);
    pages.push_back(body["items"].size());
    for (const Json& event : body["items"]) ids.insert(event["id"]);
    pageToken = body.value("nextPageToken", "");
    EXPECT_EQ(body.contains("nextSyncToken"), pageToken.empty());
  } while (!pageToken.empty() && pages.size() < 10);
  EXPECT_EQ(pages, (std::vector<size_t>{2500, 2500, 1000}));
  EXPECT_EQ(ids.size(), 6000u);

  EXPECT_EQ(json(api("GET", "/calendar/v3/calendars/" + base::urlEncode(id) + "/events?maxResults=10"))["items"].size(), 10u);
  EXPECT_EQ(api("GET", "/calendar/v3/calendars/" + base::urlEncode(id) + "/events?pageToken=garbage").status, 400);
}

TEST_F(StandinTest, TasksArePagedByAHundred) {
  const auto list = api("POST", "/tasks/v1/users/@me/lists", Json{{"title", "많은 할 일"}});
  const std::string path = "/tasks/v1/lists/" + json(list)["id"].get<std::string>() + "/tasks";
  for (int i = 0; i < 130; ++i) ASSERT_EQ(api("POST", path, Json{{"title", "할 일 " + std::to_string(i)}}).status, 200);
  const Json first = json(api("GET", path + "?maxResults=999999"));
  EXPECT_EQ(first["items"].size(), 100u);
  const Json second = json(api("GET", path + "?maxResults=999999&pageToken=" + first["nextPageToken"].get<std::string>()));
  EXPECT_EQ(second["items"].size(), 30u);
  EXPECT_FALSE(second.contains("nextPageToken"));
}

TEST_F(StandinTest, EventInsertUpdateDeleteRoundTrip) {
  const std::string events = "/calendar/v3/calendars/" + base::urlEncode(kPrimary) + "/events";
  const Json body = {{"summary", "회의"}, {"description", "안건 정리"},
                     {"start", {{"dateTime", "2025-03-20T10:00:00+09:00"}, {"timeZone", "Asia/Seoul"}}},
                     {"end", {{"dateTime", "2025-03-20T11:00:00+09:00"}, {"timeZone", "Asia/Seoul"}}}};
  const auto inserted = api("POST", events + "?sendNotifications=true", body);
  ASSERT_EQ(inserted.status, 200) << inserted.body;
  const Json event = json(inserted);
  const std::string id = event["id"];
  EXPECT_FALSE(id.empty());
  EXPECT_EQ(event["status"], "confirmed");
  EXPECT_EQ(event["sequence"], 0);
  EXPECT_EQ(event["summary"], "회의");

  Json changed = body;
  changed["summary"] = "회의 (변경)";
  const Json updated = json(api("PUT", events + "/" + id, changed));
  EXPECT_EQ(updated["summary"], "회의 (변경)");
  EXPECT_EQ(updated["sequence"], 1);
  EXPECT_NE(updated["etag"], event["etag"]);

  const Json patched = json(api("PATCH", events + "/" + id, Json{{"location", "7층"}}));
  EXPECT_EQ(patched["location"], "7층");
  EXPECT_EQ(patched["description"], "안건 정리");
  EXPECT_EQ(patched["sequence"], 2);
  EXPECT_EQ(json(api("GET", events + "/" + id))["location"], "7층");

  EXPECT_EQ(api("DELETE", events + "/" + id).status, 204);
  EXPECT_EQ(api("DELETE", events + "/" + id).status, 410);
  const Json listed = json(api("GET", events + "?maxResults=2500"));
  for (const Json& item : listed["items"]) EXPECT_NE(item["id"], id);

  const auto missing = api("GET", events + "/nosuchevent");
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(json(missing)["error"]["code"], 404);
  EXPECT_EQ(json(missing)["error"]["errors"][0]["reason"], "notFound");
}

TEST_F(StandinTest, DeletingAnInstanceCancelsItInTheSeries) {
  const std::string events = "/calendar/v3/calendars/primary/events";
  EXPECT_EQ(api("DELETE", events + "/3kq9c1v5m7n2p4r6s8t0u1a2b4_20250310T003000Z").status, 204);
  const Json instance = json(api("GET", events + "/3kq9c1v5m7n2p4r6s8t0u1a2b4_20250310T003000Z"));
  EXPECT_EQ(instance["status"], "cancelled");
  EXPECT_EQ(instance["recurringEventId"], "3kq9c1v5m7n2p4r6s8t0u1a2b4");
  EXPECT_EQ(instance["originalStartTime"]["dateTime"], "2025-03-10T00:30:00Z");
  EXPECT_EQ(api("DELETE", events + "/3kq9c1v5m7n2p4r6s8t0u1a2b4_2025").status, 404);
}

TEST_F(StandinTest, WriteErrorsUseGoogleShapes) {
  const std::string primary = "/calendar/v3/calendars/primary/events";
  const std::string holiday = "/calendar/v3/calendars/" + base::urlEncode("ko.south_korea#holiday@group.v.calendar.google.com") + "/events";
  const Json timed = {{"summary", "x"}, {"start", {{"date", "2025-03-20"}}}, {"end", {{"date", "2025-03-21"}}}};
  struct Case {
    const char* name;
    std::string method, path, body;
    int status;
  };
  const Case cases[] = {
      {"reader calendar", "POST", holiday, timed.dump(), 403},
      {"no end", "POST", primary, R"({"summary":"x","start":{"date":"2025-03-20"}})", 400},
      {"end before start", "POST", primary,
       R"({"start":{"date":"2025-03-20"},"end":{"date":"2025-03-10"}})", 400},
      {"bad date", "POST", primary, R"({"start":{"date":"2025-13-45"},"end":{"date":"2025-13-46"}})", 400},
      {"not JSON", "POST", primary, "{summary", 400},
      {"number summary", "POST", primary,
       R"({"summary":5,"start":{"date":"2025-03-20"},"end":{"date":"2025-03-21"}})", 400},
      {"number status", "PATCH", primary + "/3kq9c1v5m7n2p4r6s8t0u1a2b4", R"({"status":1})", 400},
      {"number task title", "POST", "/tasks/v1/lists/@default/tasks", R"({"title":["x"]})", 400},
      {"array body", "PUT", primary + "/nosuch", "[]", 400},
      {"string where object", "POST", "/calendar/v3/calendars", R"({"summary": 5})", 400},
      {"bad maxResults", "GET", primary + "?maxResults=-5", "", 400},
      {"word maxResults", "GET", primary + "?maxResults=abc", "", 400},
      {"bad timeMin", "GET", primary + "?timeMin=yesterday", "", 400},
      {"unknown calendar", "GET", "/calendar/v3/calendars/nobody/events", "", 404},
      {"unknown list", "GET", "/tasks/v1/lists/nolist/tasks", "", 404},
      {"bad task due", "POST", "/tasks/v1/lists/@default/tasks", R"({"title":"x","due":"soon"})", 400},
      {"primary delete", "DELETE", "/calendar/v3/calendars/primary", "", 400},
      {"unknown path", "GET", "/calendar/v3/nothing/here", "", 404},
  };
  for (const Case& c : cases) {
    const auto answer = send(c.method, c.path, c.body, token_);
    EXPECT_EQ(answer.status, c.status) << c.name << ": " << answer.body;
    ASSERT_NO_THROW(json(answer)) << c.name;
    EXPECT_EQ(json(answer)["error"]["code"], c.status) << c.name;
  }
  EXPECT_EQ(api("GET", primary + "?q=x").status, 200);  // nothing bad was stored
}

TEST_F(StandinTest, CalendarAndTaskListWrites) {
  const Json calendar = json(api("POST", "/calendar/v3/calendars", Json{{"summary", "독서 모임"}, {"timeZone", "Asia/Seoul"}}));
  const std::string id = calendar["id"];
  EXPECT_TRUE(id.ends_with("@group.calendar.google.com"));
  const std::string entry = "/calendar/v3/users/me/calendarList/" + base::urlEncode(id);
  EXPECT_EQ(json(api("GET", entry))["accessRole"], "owner");
  const Json coloured = json(api("PUT", entry, Json{{"colorId", "5"}}));
  EXPECT_EQ(coloured["backgroundColor"], "#ff7537");
  EXPECT_EQ(json(api("PUT", "/calendar/v3/calendars/" + base::urlEncode(id), Json{{"summary", "독서"}}))["summary"], "독서");
  EXPECT_EQ(api("DELETE", "/calendar/v3/calendars/" + base::urlEncode(id)).status, 204);
  EXPECT_EQ(api("GET", entry).status, 404);

  const Json colors = json(api("GET", "/calendar/v3/colors?fields=event"));
  EXPECT_TRUE(colors.contains("event"));
  EXPECT_FALSE(colors.contains("calendar"));
  EXPECT_EQ(colors["event"].size(), 11u);

  const std::string tasks = "/tasks/v1/lists/@default/tasks";
  const Json task = json(api("POST", tasks, Json{{"title", "우산 챙기기"}, {"due", "2025-03-14T00:00:00.000Z"}}));
  EXPECT_EQ(task["status"], "needsAction");
  const Json done = json(api("PUT", tasks + "/" + task["id"].get<std::string>(),
                             Json{{"title", "우산 챙기기"}, {"status", "completed"}}));
  EXPECT_EQ(done["status"], "completed");
  EXPECT_TRUE(done.contains("completed"));
  EXPECT_EQ(api("DELETE", tasks + "/" + task["id"].get<std::string>()).status, 204);
  EXPECT_EQ(api("GET", tasks + "/" + task["id"].get<std::string>()).status, 404);

  const Json list = json(api("POST", "/tasks/v1/users/@me/lists", Json{{"title", "여행 준비"}}));
  const std::string listPath = "/tasks/v1/users/@me/lists/" + list["id"].get<std::string>();
  EXPECT_EQ(json(api("PUT", listPath, Json{{"title", "여행"}}))["title"], "여행");
  EXPECT_EQ(api("DELETE", listPath).status, 204);
  EXPECT_EQ(api("GET", listPath).status, 404);
}

TEST_F(StandinTest, FaultsAndTheRequestLog) {
  const auto inject = [&](const Json& fault) { ASSERT_EQ(send("POST", "/__standin/fault", fault.dump()).status, 200); };
  inject({{"path", "/calendar/v3/colors"}, {"status", 500}});
  const auto failed = api("GET", "/calendar/v3/colors?fields=calendar");
  EXPECT_EQ(failed.status, 500);
  EXPECT_EQ(json(failed)["error"]["code"], 500);
  EXPECT_EQ(api("GET", "/calendar/v3/colors?fields=calendar").status, 200);  // count 1 by default

  inject({{"path", "/tasks/v1/*"}, {"method", "GET"}, {"cut", true}});
  const auto cut = api("GET", "/tasks/v1/users/@me/lists");
  EXPECT_FALSE(cut.transportOk);

  inject({{"path", "/calendar/v3/colors"}, {"delayMs", 600}});
  base::HttpRequest slow;
  slow.url = server_->baseUrl() + "/calendar/v3/colors";
  slow.headers.emplace_back("Authorization", "Bearer " + token_);
  slow.totalTimeoutMs = 200;
  EXPECT_FALSE(base::CurlHttpClient().send(slow).transportOk);

  inject({{"path", "/calendar/v3/users/me/calendarList"}, {"status", 401}, {"count", 2}});
  EXPECT_EQ(api("GET", "/calendar/v3/users/me/calendarList").status, 401);
  EXPECT_EQ(api("GET", "/calendar/v3/users/me/calendarList").status, 401);
  EXPECT_EQ(api("GET", "/calendar/v3/users/me/calendarList").status, 200);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));  // the slow answer goes out

  std::vector<std::string> seen;
  const Json log = json(send("GET", "/__standin/log"));
  for (const Json& entry : log["items"])
    seen.push_back(entry["method"].get<std::string>() + " " + entry["path"].get<std::string>() + " " +
                   entry["query"].get<std::string>() + " " + std::to_string(entry["status"].get<int>()));
  const std::vector<std::string> expected = {
      "GET /calendar/v3/colors fields=calendar 500",
      "GET /calendar/v3/colors fields=calendar 200",
      "GET /tasks/v1/users/@me/lists  0",
      "GET /calendar/v3/users/me/calendarList  401",
      "GET /calendar/v3/users/me/calendarList  401",
      "GET /calendar/v3/users/me/calendarList  200",
      "GET /calendar/v3/colors  200",
  };
  EXPECT_EQ(seen, expected);

  std::ifstream file(logFile_);
  std::string line, lastLine;
  while (std::getline(file, line)) lastLine = line;
  EXPECT_EQ(Json::parse(lastLine)["status"], 200);

  EXPECT_EQ(send("POST", "/__standin/reset", "{}").status, 200);
  EXPECT_TRUE(json(send("GET", "/__standin/log"))["items"].empty());
  EXPECT_EQ(send("POST", "/__standin/fault", R"({"status": 500})").status, 400);
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(StandinTls, VerifiesAgainstTheTestCaAndRefusesAnotherOne) {
  const std::string dir = testing::TempDir() + "standin-tls";
  const standin::TestCertificates ours = standin::makeTestCertificates(dir + "/ours");
  const standin::TestCertificates other = standin::makeTestCertificates(dir + "/other");
  standin::Options options;
  options.seedFile = seedPath();
  options.certFile = ours.certFile;
  options.keyFile = ours.keyFile;
  standin::Server server(options);
  server.start();
  ASSERT_TRUE(server.baseUrl().starts_with("https://127.0.0.1:"));

  base::HttpRequest request;
  request.url = server.baseUrl() + "/calendar/v3/users/me/calendarList";
  request.headers.emplace_back("Authorization", "Bearer " + server.issueAccessToken());
  {
    ScopedEnv ca("DAYBOOK_CA_FILE", ours.caFile);
    const auto answer = base::CurlHttpClient().send(request);
    ASSERT_TRUE(answer.transportOk) << answer.error;
    EXPECT_EQ(answer.status, 200);
    request.url = "https://localhost:" + std::to_string(server.port()) + "/calendar/v3/colors";
    EXPECT_EQ(base::CurlHttpClient().send(request).status, 200);
  }
  {
    ScopedEnv ca("DAYBOOK_CA_FILE", other.caFile);
    const auto answer = base::CurlHttpClient().send(request);
    EXPECT_FALSE(answer.transportOk);
    EXPECT_FALSE(answer.error.empty());
  }
  EXPECT_EQ(server.log().back().status, 200);  // refused handshakes never reach the log
}

// The executable prints its base URL first, serves the seed and stops on SIGTERM.
TEST(StandinProgram, PrintsItsUrlAndStopsOnTerm) {
  const std::string program = std::string(DAYBOOK_BINARY_DIR) + "/tools/google-standin/google-standin";
  const std::string seed = seedPath();
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> args = {program, "--http", "--seed", seed};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);

  std::string line;
  char c = 0;
  while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
  close(out[0]);
  EXPECT_TRUE(line.starts_with("http://127.0.0.1:")) << line;

  base::HttpRequest request;
  request.url = line + "/calendar/v3/colors";
  const auto answer = base::CurlHttpClient().send(request);
  EXPECT_EQ(answer.status, 401);  // no token: the server is up and checking

  kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
