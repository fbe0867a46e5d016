// The request layer against a scripted HTTP client: addresses, headers and
// bodies of every kind, the held kind and its repeat after sign-in and
// refresh, the two error texts, token answers, paging and deletions.
#include "sync/request_layer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"
#include "fake_http.h"
#include "sync/accounts.h"
#include "sync/cache_store.h"
#include "sync/cache_text.h"
#include "sync/oauth.h"
#include "base/ini.h"

namespace gsync {
namespace {

using testing_support::FakeHttp;

const base::DateTime kNow = base::encodeDateTime(2025, 3, 10, 9, 0);

struct Host : RequestHost {
  int signIns = 0;
  int closes = 0;
  std::vector<int> pauses;
  void signInNeeded() override { ++signIns; }
  void closeConnectionWindow() override { ++closes; }
  void pause(int ms) override { pauses.push_back(ms); }
};

struct Recorder : FollowUps {
  std::vector<std::pair<RequestKind, HeldArguments>> calls;
  void followUp(RequestKind kind, const HeldArguments& held) override { calls.emplace_back(kind, held); }
};

class RequestLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::setClock([] { return kNow; });
    folder_ = std::filesystem::temp_directory_path() /
              ("request_layer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    config_.apiBase = "https://api.test";
    config_.tokenUrl = "https://auth.test/o/oauth2/token";
    config_.clientId = "client";
    config_.clientSecret = "secret";
    tokens_.authorizationCode = "code";
    tokens_.accessToken = "access-1";
    tokens_.refreshToken = "refresh-1";
    tokens_.expiry = kNow + 1.0 / 24;
    layer_ = std::make_unique<RequestLayer>(config_, folder_.string(), tokens_, http_, host_);
    layer_->setFollowUps(&followUps_);
  }
  void TearDown() override {
    base::setClock({});
    std::filesystem::remove_all(folder_);
  }
  std::string file(const std::string& name) const { return (folder_ / name).string(); }
  void writeAction(const std::string& utf8) { base::writeBytesAtomic(file(kActionFile), base::utf8ToCp949(utf8)); }

  std::filesystem::path folder_;
  GoogleConfig config_;
  TokenState tokens_;
  FakeHttp http_;
  Host host_;
  Recorder followUps_;
  std::unique_ptr<RequestLayer> layer_;
};

std::string header(const base::HttpRequest& request, const std::string& name) {
  for (const auto& [key, value] : request.headers)
    if (key == name) return value;
  return "<none>";
}

TEST_F(RequestLayerTest, EachKindSendsItsRequestsAndStoresTheAnswerInItsFile) {
  struct Case {
    const char* name;
    std::function<void(RequestLayer&)> run;
    std::vector<std::string> requests;  // "METHOD url"
    const char* file;
    RequestKind kind;
  };
  const std::vector<Case> cases = {
      {"calendar list", [](RequestLayer& l) { l.calendarListDownload(); },
       {"GET https://api.test/calendar/v3/users/me/calendarList?maxResults=999999"}, "calendar.txt",
       RequestKind::CalendarListDownload},
      {"task lists", [](RequestLayer& l) { l.taskListsDownload(); },
       {"GET https://api.test/tasks/v1/users/@me/lists?maxResults=999999"}, "tasklist.txt",
       RequestKind::TaskListsDownload},
      {"events of a calendar with an awkward id",
       [](RequestLayer& l) { l.listItemsDownload(3, "ko.south_korea#holiday@group.v.calendar.google.com", false); },
       {"GET https://api.test/calendar/v3/calendars/ko.south_korea%23holiday@group.v.calendar.google.com/events?maxResults=999999"},
       "detail3.txt", RequestKind::ListItemsDownload},
      {"tasks of a list", [](RequestLayer& l) { l.listItemsDownload(5, "MDE", true); },
       {"GET https://api.test/tasks/v1/lists/MDE/tasks?maxResults=999999"}, "detail5.txt",
       RequestKind::ListItemsDownload},
      {"calendar colours", [](RequestLayer& l) { l.calendarColoursDownload(); },
       {"GET https://api.test/calendar/v3/colors?fields=calendar"}, "clr_calendar.txt",
       RequestKind::CalendarColoursDownload},
      {"event colours", [](RequestLayer& l) { l.eventColoursDownload(); },
       {"GET https://api.test/calendar/v3/colors?fields=event"}, "clr_event.txt", RequestKind::EventColoursDownload},
      {"calendar update", [](RequestLayer& l) { l.calendarUpdate("c1"); },
       {"PUT https://api.test/calendar/v3/calendars/c1", "PUT https://api.test/calendar/v3/users/me/calendarList/c1"},
       "action.txt", RequestKind::CalendarUpdate},
      {"task list insert", [](RequestLayer& l) { l.taskListInsert(); },
       {"POST https://api.test/tasks/v1/users/@me/lists"}, "action.txt", RequestKind::TaskListInsert},
      {"task list update", [](RequestLayer& l) { l.taskListUpdate("L1"); },
       {"PUT https://api.test/tasks/v1/users/@me/lists/L1"}, "action.txt", RequestKind::TaskListUpdate},
      {"event insert with notifications", [](RequestLayer& l) { l.eventInsert("c1", true); },
       {"POST https://api.test/calendar/v3/calendars/c1/events?sendNotifications=true"}, "action.txt",
       RequestKind::EventInsert},
      {"event update without", [](RequestLayer& l) { l.eventUpdate("c1", "e1", false); },
       {"PUT https://api.test/calendar/v3/calendars/c1/events/e1"}, "action.txt", RequestKind::EventUpdate},
      {"task insert", [](RequestLayer& l) { l.taskInsert("L1"); },
       {"POST https://api.test/tasks/v1/lists/L1/tasks"}, "action.txt", RequestKind::TaskInsert},
      {"task update", [](RequestLayer& l) { l.taskUpdate("L1", "t1"); },
       {"PUT https://api.test/tasks/v1/lists/L1/tasks/t1"}, "action.txt", RequestKind::TaskUpdate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    http_.sent.clear();
    followUps_.calls.clear();
    base::removeFile(file(c.file));
    writeAction("{\"summary\": \"회의\"}");
    http_.answer("{\"id\": \"new\", \"summary\": \"회의 ☃\"}");
    c.run(*layer_);
    ASSERT_EQ(http_.sent.size(), c.requests.size());
    for (std::size_t i = 0; i < c.requests.size(); ++i) {
      const base::HttpRequest& r = http_.sent[i];
      EXPECT_EQ(r.method + " " + r.url, c.requests[i]);
      EXPECT_EQ(header(r, "Authorization"), "Bearer access-1");
      EXPECT_EQ(header(r, "GData-Version"), "3.0");
      if (r.method != "GET") {
        EXPECT_EQ(header(r, "Content-Type"), "application/json; charset=utf-8");
        EXPECT_EQ(r.body, "{\"summary\": \"회의\"}");  // CP949 on disk, UTF-8 on the wire
      }
    }
    EXPECT_EQ(layer_->heldKind(), c.kind);
    ASSERT_EQ(followUps_.calls.size(), 1u);
    EXPECT_EQ(followUps_.calls[0].first, c.kind);
    // The first answer in the cache text form; a character CP949 lacks is "?".
    if (c.requests.size() == 1) {
      EXPECT_EQ(base::readTextFile(file(c.file)), "{\"id\": \"new\", \"summary\": \"회의 ?\"}\r\n");
    }
  }
  EXPECT_EQ(host_.closes, static_cast<int>(cases.size()));
}

TEST_F(RequestLayerTest, CalendarInsertSetsTheColourOfTheNewEntry) {
  writeAction("{\"summary\": \"새 달력\"}");
  http_.answer("{\"id\": \"new@group.calendar.google.com\"}");
  http_.answer("{\"id\": \"new@group.calendar.google.com\", \"colorId\": \"1\"}");
  http_.answer("{\"id\": \"new@group.calendar.google.com\", \"colorId\": \"7\"}");
  layer_->calendarInsert(7);
  ASSERT_EQ(http_.sent.size(), 3u);
  EXPECT_EQ(http_.sent[0].method + " " + http_.sent[0].url, "POST https://api.test/calendar/v3/calendars");
  EXPECT_EQ(http_.sent[1].method + " " + http_.sent[1].url,
            "GET https://api.test/calendar/v3/users/me/calendarList/new@group.calendar.google.com?");
  EXPECT_EQ(http_.sent[2].method, "PUT");
  EXPECT_EQ(http_.sent[2].body, "{\r\n \"colorId\": \"7\",\r\n \"selected\": true\r\n}");
  EXPECT_TRUE(base::contains(base::readTextFile(file(kActionFile)), "\"colorId\": \"7\""));
  ASSERT_EQ(followUps_.calls.size(), 1u);
}

TEST_F(RequestLayerTest, RequestBeforeSignInWaitsAndRepeatsWithTheSameArguments) {
  tokens_ = TokenState{};
  writeAction("{}");
  layer_->eventUpdate("c1", "e1", true);
  EXPECT_TRUE(http_.sent.empty());
  EXPECT_EQ(host_.signIns, 1);
  EXPECT_EQ(layer_->heldKind(), RequestKind::EventUpdate);

  // The sign-in brings a code; its exchange repeats the held operation.
  tokens_.authorizationCode = "fresh";
  tokens_.codeVerifier = "verifier";
  tokens_.redirectUri = "http://127.0.0.1:5000/";
  http_.answer(R"({"access_token": "a2", "expires_in": 3599, "refresh_token": "r2", "token_type": "Bearer"})");
  layer_->exchangeCode();
  ASSERT_EQ(http_.sent.size(), 2u);
  EXPECT_EQ(http_.sent[0].url, config_.tokenUrl);
  EXPECT_EQ(http_.sent[0].body,
            "code=fresh&client_id=client&client_secret=secret&redirect_uri=http%3a%2f%2f127.0.0.1%3a5000%2f"
            "&grant_type=authorization_code&code_verifier=verifier");
  EXPECT_EQ(header(http_.sent[0], "Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(http_.sent[1].method + " " + http_.sent[1].url,
            "PUT https://api.test/calendar/v3/calendars/c1/events/e1?sendNotifications=true");
  EXPECT_EQ(header(http_.sent[1], "Authorization"), "Bearer a2");
  EXPECT_EQ(tokens_.refreshToken, "r2");
  EXPECT_NEAR(tokens_.expiry, kNow + 3599.0 / 86400, 1e-9);
}

TEST_F(RequestLayerTest, RequestAfterExpiryRefreshesFirstThenRuns) {
  tokens_.expiry = kNow - 1.0 / 86400;
  http_.answer(R"({"access_token": "a2", "expires_in": 3600})");
  layer_->listItemsDownload(0, "c1", false);
  ASSERT_EQ(http_.sent.size(), 2u);
  EXPECT_EQ(http_.sent[0].body, "client_id=client&client_secret=secret&refresh_token=refresh-1&grant_type=refresh_token");
  EXPECT_EQ(header(http_.sent[1], "Authorization"), "Bearer a2");
  EXPECT_EQ(tokens_.refreshToken, "refresh-1");  // a refresh keeps the refresh token
  EXPECT_TRUE(base::fileExists(file("detail0.txt")));
}

TEST_F(RequestLayerTest, RefreshedTokenThatIsAlreadyStaleDoesNotLoop) {
  tokens_.expiry = kNow - 1;
  http_.answer(R"({"access_token": "a2", "expires_in": -10})");
  layer_->calendarListDownload();
  EXPECT_EQ(http_.sent.size(), 2u);  // one refresh, one request, no more
}

TEST_F(RequestLayerTest, FailuresCarryTheTwoTextsAndWriteNothing) {
  const std::string error = R"({"error": {"code": 404, "message": "Not Found"}})";
  http_.answer(error, 404);
  try {
    layer_->listItemsDownload(2, "missing", false);
    FAIL() << "no error";
  } catch (const RequestError& e) {
    EXPECT_EQ(std::string(e.what()), "서버 요청 실패: 404 - " + error);
    EXPECT_EQ(e.status(), 404);
  }
  http_.script.push_back(FakeHttp::cut());
  try {
    layer_->calendarColoursDownload();
    FAIL() << "no error";
  } catch (const RequestError& e) {
    EXPECT_EQ(std::string(e.what()), "알 수 없는 오류가 발생하였습니다.");
    EXPECT_EQ(e.status(), 0);
  }
  EXPECT_FALSE(base::fileExists(file("detail2.txt")));
  EXPECT_FALSE(base::fileExists(file(kCalendarColourFile)));
  EXPECT_TRUE(followUps_.calls.empty());
}

TEST_F(RequestLayerTest, AnswerWithoutTwoHundredSkipsTheFollowUp) {
  http_.answer("", 204);
  layer_->taskUpdate("L1", "t1");
  EXPECT_TRUE(followUps_.calls.empty());
  EXPECT_EQ(layer_->lastStatusLine(), "HTTP/1.1 204 X");
}

TEST_F(RequestLayerTest, TokenAnswersMissingAFieldAreRefused) {
  const std::vector<std::string> answers = {
      R"({"expires_in": 3599, "refresh_token": "r"})",
      R"({"access_token": "a", "refresh_token": "r"})",
      R"({"access_token": "a", "expires_in": "soon", "refresh_token": "r"})",
      R"({"access_token": "a", "expires_in": 3599})",
      "not json",
  };
  for (const std::string& answer : answers) {
    SCOPED_TRACE(answer);
    tokens_.accessToken = "old";
    tokens_.refreshToken.clear();
    http_.answer(answer);
    EXPECT_THROW(layer_->exchangeCode(false), RequestError);
    EXPECT_EQ(tokens_.accessToken, "old");
  }
  // A refresh answer needs no refresh token, but the other two fields.
  tokens_.refreshToken = "r";
  http_.answer(R"({"expires_in": 3599})");
  EXPECT_THROW(layer_->refreshToken(false), RequestError);
  http_.answer(R"({"access_token": "a3", "expires_in": 3599})");
  layer_->refreshToken(false);
  EXPECT_EQ(tokens_.accessToken, "a3");
}

TEST_F(RequestLayerTest, RefusedRefreshTokenEndsTheSession) {
  tokens_.expiry = kNow - 1;
  http_.answer(R"({"error": "invalid_grant"})", 400);
  EXPECT_THROW(layer_->calendarListDownload(), RequestError);
  EXPECT_TRUE(tokens_.authorizationCode.empty());
  layer_->calendarListDownload();  // the next request asks for a sign-in
  EXPECT_EQ(host_.signIns, 1);
}

TEST_F(RequestLayerTest, PagesAreJoinedIntoOneFile) {
  http_.answer(R"({"kind": "calendar#events", "summary": "큰 달력", "nextPageToken": "p 2", "items": [{"id": "a"}, {"id": "b"}]})");
  http_.answer(R"({"nextPageToken": "p3", "items": [{"id": "c"}]})");
  http_.answer(R"({"nextSyncToken": "s", "items": [{"id": "d", "summary": "끝"}]})");
  layer_->listItemsDownload(1, "c1", false);
  ASSERT_EQ(http_.sent.size(), 3u);
  EXPECT_EQ(http_.sent[1].url, "https://api.test/calendar/v3/calendars/c1/events?maxResults=999999&pageToken=p+2");
  EXPECT_EQ(http_.sent[2].url, "https://api.test/calendar/v3/calendars/c1/events?maxResults=999999&pageToken=p3");
  std::string error;
  const std::optional<Json> json = readCacheJson(file("detail1.txt"), error);
  ASSERT_TRUE(json) << error;
  EXPECT_EQ((*json)["summary"], "큰 달력");
  EXPECT_FALSE(json->contains("nextPageToken"));
  ASSERT_EQ((*json)["items"].size(), 4u);
  EXPECT_EQ((*json)["items"][3]["summary"], "끝");
  ASSERT_EQ(followUps_.calls.size(), 1u);
}

TEST_F(RequestLayerTest, EndlessPagingIsCutShort) {
  for (int i = 0; i < 5; ++i) http_.answer(R"({"nextPageToken": "same", "items": [{"id": "x"}]})");
  EXPECT_THROW(layer_->calendarListDownload(), RequestError);
  EXPECT_EQ(http_.sent.size(), 2u);  // the repeated token is noticed at once
  EXPECT_FALSE(base::fileExists(file(kCalendarFile)));
}

TEST_F(RequestLayerTest, DeletionsPauseBetweenRequestsAndStopAtAFailure) {
  layer_->setItemLookup([](const std::string& id) -> std::optional<ItemLocation> {
    if (id == "gone") return std::nullopt;
    return ItemLocation{id == "t1" ? "L1" : "c1", id == "t1"};
  });
  layer_->occurrencesDelete({"e1", "gone", "t1", "e2"});
  ASSERT_EQ(http_.sent.size(), 3u);
  EXPECT_EQ(http_.sent[0].method + " " + http_.sent[0].url, "DELETE https://api.test/calendar/v3/calendars/c1/events/e1");
  EXPECT_EQ(http_.sent[1].url, "https://api.test/tasks/v1/lists/L1/tasks/t1");
  EXPECT_EQ(header(http_.sent[0], "If-Match"), "*");
  EXPECT_EQ(host_.pauses, (std::vector<int>{100, 100, 100}));
  ASSERT_EQ(followUps_.calls.size(), 1u);

  // A refused deletion stops the operation: later ones are not sent.
  http_.sent.clear();
  http_.answer("", 204);
  http_.answer(R"({"error": {"code": 410}})", 410);
  EXPECT_THROW(layer_->itemsDelete("c1", true, false, {"e1", "e2", "e3"}), RequestError);
  EXPECT_EQ(http_.sent.size(), 2u);
}

TEST_F(RequestLayerTest, QueuedDeletionsGoOnPastARefusedLineAndKeepIt) {
  base::writeLines(file(kDeletionQueueFile), {"c1|e1", "c1|e2", "c2|e3"});
  FakeHttp second;
  second.answer("", 204);
  second.answer(R"({"error": {"code": 410}})", 410);
  second.answer("", 204);
  layer_->setDeletionClient(&second);
  EXPECT_EQ(layer_->queuedDeletions(), 1);
  EXPECT_TRUE(http_.sent.empty());
  ASSERT_EQ(second.sent.size(), 3u);
  EXPECT_EQ(second.sent[2].url, "https://api.test/calendar/v3/calendars/c2/events/e3");
  EXPECT_EQ(base::readLines(file(kDeletionQueueFile)).value(), std::vector<std::string>{"c1|e2"});
}

TEST_F(RequestLayerTest, TokenTickExchangesRefreshesOrRepeats) {
  tokens_.refreshToken.clear();
  http_.answer(R"({"access_token": "a2", "expires_in": 3599, "refresh_token": "r2"})");
  layer_->tokenTick();
  ASSERT_EQ(http_.sent.size(), 1u);
  EXPECT_TRUE(base::contains(http_.sent[0].body, "grant_type=authorization_code"));

  tokens_.expiry = kNow - 6;  // six days past: the stored session is still used
  EXPECT_TRUE(tokens_.reusable(kNow));
  http_.answer(R"({"access_token": "a3", "expires_in": 3599})");
  layer_->tokenTick();
  ASSERT_EQ(http_.sent.size(), 2u);
  EXPECT_TRUE(base::contains(http_.sent[1].body, "grant_type=refresh_token"));
  tokens_.expiry = kNow - 8;
  EXPECT_FALSE(tokens_.reusable(kNow));
}

TEST(EncodeId, KeepsTheSafeCharactersAndEncodesTheRest) {
  EXPECT_EQ(encodeId("a.b-c_d@e!$'()*"), "a.b-c_d@e!$'()*");
  EXPECT_EQ(encodeId("x y#z/ä"), "x+y%23z%2f%c3%a4");
}

TEST(OAuthPieces, PkceChallengeAndAnswers) {
  // The verifier and challenge of RFC 7636, appendix B.
  EXPECT_EQ(pkceChallenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"), "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
  const AuthorizationRequest request = newAuthorizationRequest(5555, "minji.kim@gmail.com");
  EXPECT_EQ(request.codeVerifier.size(), 43u);
  EXPECT_NE(request.state, newAuthorizationRequest(5555, "").state);

  struct Case {
    std::string query;
    std::string code, error;
  };
  const std::vector<Case> cases = {
      {"code=4%2FabC&state=" + request.state, "4/abC", ""},
      {"code=x&state=other", "", "state_mismatch"},
      {"error=access_denied&state=" + request.state, "", "access_denied"},
      {"state=" + request.state, "", "no_code"},
  };
  for (const Case& c : cases) {
    const AuthorizationAnswer answer = readAuthorizationAnswer(parseQuery(c.query), request.state);
    EXPECT_EQ(answer.code, c.code) << c.query;
    EXPECT_EQ(answer.error, c.error) << c.query;
  }
  const std::string payload = base64Url(R"({"email": "minji.kim@gmail.com", "name": "김민지"})");
  const std::optional<Identity> who = identityFromIdToken("eyJhbGciOiJub25lIn0." + payload + ".");
  ASSERT_TRUE(who);
  EXPECT_EQ(who->email, "minji.kim@gmail.com");
  EXPECT_EQ(who->name, "김민지");
  EXPECT_FALSE(identityFromIdToken("garbage"));
  EXPECT_FALSE(identityFromIdToken("a.!!!.b"));
}

TEST(Accounts, SavedAndLoadedWithTheLoginKeys) {
  const std::string path = (std::filesystem::temp_directory_path() / "accounts_test.ini").string();
  std::filesystem::remove(path);
  AccountList accounts;
  accounts.put("a@gmail.com", "pa");
  accounts.put("b@gmail.com", "pb");
  accounts.put("c@gmail.com", "pc");
  TokenState tokens;
  tokens.authorizationCode = "code";
  tokens.accessToken = "access";
  tokens.refreshToken = "refresh";
  tokens.expiry = kNow;
  tokens.myName = "김민지";
  {
    base::IniFile ini(path);
    saveAccounts(ini, accounts, tokens, "b", "pb");
    ASSERT_TRUE(ini.save(0600));
  }
  accounts.remove("c@gmail.com");
  {
    base::IniFile ini(path);
    saveAccounts(ini, accounts, tokens, "b@gmail.com", "pb");
    ASSERT_TRUE(ini.save(0600));
    EXPECT_FALSE(ini.hasKey("Login", "Id2"));  // the deleted account leaves nothing behind
    EXPECT_NE(ini.readString("Login", "AccessToken"), "access");  // stored encoded
  }
  const base::IniFile ini(path);
  AccountList loaded;
  TokenState back;
  loadAccounts(ini, loaded, back);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded.lines()[1].address, "b@gmail.com");
  EXPECT_EQ(loaded.passwordOf("a@gmail.com"), "pa");
  EXPECT_EQ(back.refreshToken, "refresh");
  EXPECT_EQ(back.myName, "김민지");
  EXPECT_DOUBLE_EQ(back.expiry, kNow);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace gsync
