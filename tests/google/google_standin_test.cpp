// The request layer, the sign-in and the download against the local Google
// stand-in over real sockets: HTTPS with a throw-away CA named by
// DAYBOOK_CA_FILE, the program's own libcurl client.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>

#include "app/event_extra.h"
#include "base/datetime.h"
#include "base/fields.h"
#include "base/files.h"
#include "base/http.h"
#include "base/text.h"
#include "standin.h"
#include "sync/cache_store.h"
#include "sync/cache_text.h"
#include "sync/download.h"
#include "sync/oauth.h"
#include "sync/request_layer.h"
#include "sync/sign_in.h"

namespace gsync {
namespace {

const std::string kAccount = "minji.kim@gmail.com";

struct Host : RequestHost {
  int signIns = 0;
  void signInNeeded() override { ++signIns; }
  void pause(int) override {}
};

using ChainDriver = DownloadingChain;

class GoogleStandinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    certDir_ = new std::filesystem::path(std::filesystem::temp_directory_path() / "daybook-google-certs");
    std::filesystem::create_directories(*certDir_);
    certs_ = new standin::TestCertificates(standin::makeTestCertificates(certDir_->string()));
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*certDir_);
    delete certs_;
    delete certDir_;
  }

  void SetUp() override {
    setenv("DAYBOOK_CA_FILE", certs_->caFile.c_str(), 1);
    standin::Options options;
    options.seedFile = std::string(DAYBOOK_SOURCE_DIR) + "/tools/google-standin/seed/demo-account.json";
    options.today = "2025-03-12";
    options.certFile = certs_->certFile;
    options.keyFile = certs_->keyFile;
    server_ = std::make_unique<standin::Server>(options);
    server_->start();

    folder_ = std::filesystem::temp_directory_path() /
              (std::string("daybook-google-cache-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);

    config_.apiBase = server_->baseUrl();
    config_.authorizeUrl = server_->baseUrl() + "/o/oauth2/auth";
    config_.tokenUrl = server_->baseUrl() + "/o/oauth2/token";
    config_.clientId = "123456789012-daybook.apps.googleusercontent.com";
    config_.clientSecret = "daybook-secret";
    config_.scopes = "https://www.google.com/m8/feeds https://www.googleapis.com/auth/calendar "
                     "https://www.googleapis.com/auth/tasks openid email profile";
    requests_ = std::make_unique<RequestLayer>(config_, folder_.string(), tokens_, http_, host_);
  }
  void TearDown() override {
    server_->stop();
    std::filesystem::remove_all(folder_);
    unsetenv("DAYBOOK_CA_FILE");
  }

  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  // A session without the sign-in pages (most tests are not about them).
  void signInQuickly() {
    tokens_.authorizationCode = "standin";
    tokens_.accessToken = server_->issueAccessToken();
    tokens_.refreshToken = "none";
    tokens_.expiry = base::now() + 1.0 / 24;
  }

  // The browser's part: open the authorize page, press "허용" with the
  // given account, and follow the redirect to the loopback address.
  void playBrowser(const std::string& url, const std::string& account) {
    base::CurlHttpClient browser;
    base::HttpRequest open;
    open.url = url;
    const base::HttpResponse page = browser.send(open);
    ASSERT_EQ(page.status, 200) << page.body;
    ASSERT_TRUE(base::contains(page.body, "허용"));
    ASSERT_TRUE(base::contains(page.body, "value=\"" + kAccount + "\""));  // the login hint
    const std::size_t at = page.body.find("name=\"request\" value=\"");
    ASSERT_NE(at, std::string::npos);
    const std::size_t start = at + 22;
    const std::string requestId = page.body.substr(start, page.body.find('"', start) - start);

    base::HttpRequest press;
    press.method = "POST";
    press.url = server_->baseUrl() + "/o/oauth2/approve";
    press.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    press.body = "request=" + base::urlEncode(requestId) + "&account=" + base::urlEncode(account) + "&decision=allow";
    press.followRedirects = false;
    const base::HttpResponse pressed = browser.send(press);
    ASSERT_EQ(pressed.status, 302);
    base::HttpRequest back;
    back.url = pressed.header("Location");
    const base::HttpResponse landed = browser.send(back);
    EXPECT_EQ(landed.status, 200);
    EXPECT_TRUE(base::contains(landed.body, "로그인되었습니다"));
  }

  std::vector<std::string> logLines(const std::string& prefix = "/") const {
    std::vector<std::string> lines;
    for (const standin::LogEntry& e : server_->log())
      if (base::startsWith(e.path, prefix)) lines.push_back(e.method + " " + e.path + (e.query.empty() ? "" : "?" + e.query));
    return lines;
  }

  static std::filesystem::path* certDir_;
  static standin::TestCertificates* certs_;
  std::unique_ptr<standin::Server> server_;
  std::filesystem::path folder_;
  GoogleConfig config_;
  TokenState tokens_;
  base::CurlHttpClient http_;
  Host host_;
  std::unique_ptr<RequestLayer> requests_;
};

std::filesystem::path* GoogleStandinTest::certDir_ = nullptr;
standin::TestCertificates* GoogleStandinTest::certs_ = nullptr;

TEST_F(GoogleStandinTest, SignInWithPkceThenTheWaitingRequestRunsAndRefreshes) {
  // Before any sign-in a request sends nothing and waits.
  requests_->calendarColoursDownload();
  EXPECT_EQ(host_.signIns, 1);
  EXPECT_TRUE(server_->log().empty());

  SignInAttempt attempt(config_, kAccount);
  EXPECT_TRUE(base::contains(attempt.url(), "code_challenge_method=S256"));
  EXPECT_TRUE(base::contains(attempt.url(), "redirect_uri=http%3A%2F%2F127.0.0.1%3A"));
  auto answer = std::async(std::launch::async, [&] { return attempt.wait(20'000); });
  playBrowser(attempt.url(), kAccount);
  const std::optional<AuthorizationAnswer> got = answer.get();
  ASSERT_TRUE(got);
  ASSERT_TRUE(got->error.empty()) << got->error;

  completeSignIn(*requests_, attempt.request(), got->code);
  EXPECT_TRUE(sameAccount(tokens_.signedInAddress, kAccount));
  EXPECT_EQ(tokens_.myName, "김민지");
  EXPECT_FALSE(tokens_.refreshToken.empty());
  EXPECT_FALSE(base::fileExists(file(kCalendarColourFile)));  // not before the account check

  // Session start: the token tick repeats the held request.
  requests_->tokenTick();
  EXPECT_TRUE(base::fileExists(file(kCalendarColourFile)));
  EXPECT_EQ(requests_->lastStatusLine().substr(0, 12), "HTTP/1.1 200");

  // One second after the expiry a request refreshes first.
  server_->clearLog();
  server_->expireAccessTokens();
  tokens_.expiry = base::now() - 1.0 / 86400;
  const std::string before = tokens_.accessToken;
  requests_->taskListsDownload();
  EXPECT_EQ(logLines(), (std::vector<std::string>{"POST /o/oauth2/token",
                                                   "GET /tasks/v1/users/@me/lists?maxResults=999999"}));
  EXPECT_NE(tokens_.accessToken, before);
  EXPECT_GT(tokens_.expiry, base::now());
}

TEST_F(GoogleStandinTest, AnotherAccountInTheBrowserIsNoticed) {
  SignInAttempt attempt(config_, kAccount);
  auto answer = std::async(std::launch::async, [&] { return attempt.wait(20'000); });
  playBrowser(attempt.url(), "someone.else@gmail.com");
  const std::optional<AuthorizationAnswer> got = answer.get();
  ASSERT_TRUE(got && got->error.empty());
  completeSignIn(*requests_, attempt.request(), got->code);
  EXPECT_FALSE(sameAccount(tokens_.signedInAddress, kAccount));
  EXPECT_EQ(tokens_.signedInAddress, "someone.else@gmail.com");
}

TEST_F(GoogleStandinTest, FullDownloadIntoAnEmptyCacheFollowsTheChain) {
  signInQuickly();
  Download download(*requests_);
  ChainDriver driver(download);
  app::EventExtraList extras;
  CacheStoreOptions options;
  options.folder = folder_.string() + "/";
  options.googleId = kAccount;
  options.myName = "김민지";
  options.extras = &extras;
  CacheStore store(options, driver);
  driver.setStore(&store);
  download.setStore(&store);
  requests_->setFollowUps(&download);

  store.enterChain();

  EXPECT_TRUE(driver.failures.empty()) << driver.failures.front();
  ASSERT_GE(store.calendars().size(), 4u);
  ASSERT_EQ(store.taskLists().size(), 2u);
  EXPECT_EQ(driver.slotsDone, static_cast<int>(store.listSlots().size()));
  EXPECT_GT(store.items().size(), 40u);

  std::vector<std::string> expected = {
      "GET /calendar/v3/users/me/calendarList?maxResults=999999",
      "GET /tasks/v1/users/@me/lists?maxResults=999999",
      "GET /calendar/v3/colors?fields=calendar",
      "GET /calendar/v3/colors?fields=event",
  };
  for (const ListSlot& slot : store.listSlots())
    expected.push_back(slot.list->isTaskList ? "GET /tasks/v1/lists/" + slot.list->id + "/tasks?maxResults=999999"
                                             : "GET /calendar/v3/calendars/" + slot.list->id + "/events?maxResults=999999");
  EXPECT_EQ(logLines(), expected);
  // Each detail file became its list's item file.
  for (const ListSlot& slot : store.listSlots()) {
    EXPECT_TRUE(base::fileExists(file(itemFileName(slot.list->id)))) << slot.list->id;
    EXPECT_FALSE(base::fileExists(file(detailFileName(slot.number))));
  }

  // A second entry reads the files and asks for nothing.
  server_->clearLog();
  CacheStore again(options, driver);
  driver.setStore(&again);
  download.setStore(&again);
  again.enterChain();
  EXPECT_TRUE(logLines().empty());
  EXPECT_EQ(again.items().size(), store.items().size());
}

TEST_F(GoogleStandinTest, SixThousandEventsArriveWholeThroughThreePages) {
  signInQuickly();
  requests_->listItemsDownload(0, kAccount, false);
  std::string error;
  const std::size_t seeded = readCacheItems(file("detail0.txt"), error, {"id"}).value()["items"].size();

  std::vector<standin::Json> events;
  for (int i = 0; i < 6000; ++i) {
    const base::DateTime day = base::encodeDate(2025, 1, 1) + i % 365;
    const std::string date = base::formatDate(day);
    events.push_back({{"summary", "일정 " + std::to_string(i)},
                      {"start", {{"dateTime", date + "T09:00:00+09:00"}}},
                      {"end", {{"dateTime", date + "T10:00:00+09:00"}}}});
  }
  ASSERT_TRUE(server_->addEvents(kAccount, events));
  server_->clearLog();
  requests_->listItemsDownload(1, kAccount, false);

  EXPECT_EQ(logLines().size(), 3u);
  const std::optional<Json> json = readCacheItems(file("detail1.txt"), error, {"id", "summary"});
  ASSERT_TRUE(json) << error;
  const Json& items = (*json)["items"];
  ASSERT_EQ(items.size(), seeded + 6000);
  EXPECT_EQ(items.back()["summary"], "일정 5999");
  std::set<std::string> ids;
  for (const Json& item : items) ids.insert(item["id"].get<std::string>());
  EXPECT_EQ(ids.size(), items.size());  // no page twice
}

TEST_F(GoogleStandinTest, FailuresGiveTheKoreanTextsAndWriteNothing) {
  signInQuickly();
  try {
    requests_->listItemsDownload(4, "no-such-calendar", false);
    FAIL();
  } catch (const RequestError& e) {
    const std::string text = e.what();
    EXPECT_TRUE(base::startsWith(text, "서버 요청 실패: 404 - {")) << text;
    EXPECT_TRUE(base::contains(text, "\"notFound\"")) << text;  // the server's error JSON as sent
  }
  EXPECT_FALSE(base::fileExists(file("detail4.txt")));

  standin::Fault cut;
  cut.path = "/calendar/v3/colors";
  cut.cut = true;
  server_->addFault(cut);
  try {
    requests_->eventColoursDownload();
    FAIL();
  } catch (const RequestError& e) {
    EXPECT_EQ(std::string(e.what()), "알 수 없는 오류가 발생하였습니다.");
  }
  EXPECT_FALSE(base::fileExists(file(kEventColourFile)));

  // A token answer that lacks a field is a failed request.
  standin::Fault partial;
  partial.path = "/o/oauth2/token";
  partial.status = 200;
  partial.body = standin::Json{{"access_token", "x"}, {"token_type", "Bearer"}};
  server_->addFault(partial);
  const std::string access = tokens_.accessToken;
  EXPECT_THROW(requests_->refreshToken(false), RequestError);
  EXPECT_EQ(tokens_.accessToken, access);
}

TEST_F(GoogleStandinTest, UntrustedCertificateIsRefused) {
  unsetenv("DAYBOOK_CA_FILE");
  signInQuickly();
  try {
    requests_->calendarListDownload();
    FAIL();
  } catch (const RequestError& e) {
    EXPECT_EQ(std::string(e.what()), "알 수 없는 오류가 발생하였습니다.");
  }
  EXPECT_TRUE(server_->log().empty() || server_->log().front().status == 0);
  EXPECT_FALSE(base::fileExists(file(kCalendarFile)));
}

}  // namespace
}  // namespace gsync
