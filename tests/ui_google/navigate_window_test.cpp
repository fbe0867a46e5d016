// The Google connection window on the offscreen platform: the account list
// and the id dialog, and the sign-in against the stand-in over HTTPS, with
// the browser's part played by the test.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "../ui_common/ui_test_support.h"
#include "app/settings.h"
#include "base/datetime.h"
#include "base/fields.h"
#include "base/files.h"
#include "base/http.h"
#include "base/ini.h"
#include "base/text.h"
#include "standin.h"
#include "standin_config.h"
#include "sync/cache_store.h"
#include "ui/google/id_input.h"
#include "ui/google/navigate_window.h"

namespace {

const std::string kAccount = "minji.kim@gmail.com";

class NavigateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::application();
    root_ = std::filesystem::temp_directory_path() /
            (std::string("daybook-navigate-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    app::settings() = app::AppSettings{};
    app::settings().googleId = kAccount;
    app::settings().googlePw = "pw";
    options_.cacheFolder = (root_ / "google").string();
    options_.settingsFile = (root_ / "daybook.ini").string();
    options_.warn = [this](const QString& text) { warnings_.push_back(text); };
    options_.askDelete = [](const QString&) { return true; };
  }
  void TearDown() override {
    if (browser_.joinable()) browser_.join();
    if (server_) server_->stop();
    std::filesystem::remove_all(root_);
    unsetenv("DAYBOOK_CA_FILE");
  }

  void startStandin() {
    const standin::TestCertificates certs = standin::makeTestCertificates((root_ / "certs").string());
    setenv("DAYBOOK_CA_FILE", certs.caFile.c_str(), 1);
    standin::Options options;
    options.seedFile = std::string(DAYBOOK_SOURCE_DIR) + "/tools/google-standin/seed/demo-account.json";
    options.today = "2025-03-12";
    options.certFile = certs.certFile;
    options.keyFile = certs.keyFile;
    server_ = std::make_unique<standin::Server>(options);
    server_->start();
    options_.config = standinConfig(*server_);
    options_.embedded = false;
    options_.openExternal = [this](const QString& url) {
      if (browser_.joinable()) browser_.join();
      browser_ = std::thread([this, u = url.toStdString()] { playBrowser(u, browserAccount_); });
    };
  }

  // The user's browser: opens the page, presses "허용", goes back to the program.
  void playBrowser(const std::string& url, const std::string& account) {
    base::CurlHttpClient browser;
    base::HttpRequest open;
    open.url = url;
    const base::HttpResponse page = browser.send(open);
    const std::size_t at = page.body.find("name=\"request\" value=\"");
    if (at == std::string::npos) {
      ADD_FAILURE() << "no authorize page: " << page.status << " " << page.error << " " << page.body;
      return;
    }
    const std::size_t start = at + 22;
    base::HttpRequest press;
    press.method = "POST";
    press.url = server_->baseUrl() + "/o/oauth2/approve";
    press.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    press.body = "request=" + page.body.substr(start, page.body.find('"', start) - start) +
                 "&account=" + base::urlEncode(account) + "&decision=allow";
    press.followRedirects = false;
    base::HttpRequest back;
    back.url = browser.send(press).header("Location");
    browser.send(back);
  }

  std::filesystem::path root_;
  ui::TFrmNavigate::Options options_;
  std::vector<QString> warnings_;
  std::unique_ptr<standin::Server> server_;
  std::thread browser_;
  std::string browserAccount_ = kAccount;
};

TEST_F(NavigateTest, AccountListEditing) {
  std::vector<std::pair<QString, QString>> answers = {{"jiho.park@gmail.com", "p2"}, {"jiho.park@gmail.com", "p3"}};
  std::vector<std::pair<QString, QString>> asked;
  options_.askAccount = [&](const QString& address, const QString& password)
      -> std::optional<std::pair<QString, QString>> {
    asked.emplace_back(address, password);
    auto next = answers.front();
    answers.erase(answers.begin());
    return next;
  };
  ui::TFrmNavigate window(options_);
  ASSERT_EQ(window.CbId->count(), 1);
  EXPECT_EQ(window.CbId->currentText().toStdString(), kAccount);
  EXPECT_EQ(window.EdGooglePw->text(), "pw");
  EXPECT_FALSE(window.BtnDel->isEnabled());

  window.BtnAdd->click();  // a new address is appended and selected
  EXPECT_EQ(asked.back(), std::make_pair(QString(), QString()));
  ASSERT_EQ(window.CbId->count(), 2);
  EXPECT_EQ(window.CbId->currentText(), "jiho.park@gmail.com");
  EXPECT_EQ(window.EdGooglePw->text(), "p2");
  EXPECT_TRUE(window.BtnDel->isEnabled());

  window.BtnEdit->click();  // a known address gets its new password
  EXPECT_EQ(asked.back(), std::make_pair(QString("jiho.park@gmail.com"), QString("p2")));
  EXPECT_EQ(window.CbId->count(), 2);
  EXPECT_EQ(window.EdGooglePw->text(), "p3");

  window.CbId->setCurrentIndex(0);
  EXPECT_EQ(window.EdGooglePw->text(), "pw");
  window.BtnDel->click();  // down to one: the delete button goes off
  ASSERT_EQ(window.CbId->count(), 1);
  EXPECT_EQ(window.CbId->currentText(), "jiho.park@gmail.com");
  EXPECT_EQ(window.EdGooglePw->text(), "p3");
  EXPECT_FALSE(window.BtnDel->isEnabled());

  base::IniFile ini(options_.settingsFile);
  window.saveAccounts(ini);
  EXPECT_EQ(ini.readInteger("Login", "Count", 0), 1);
  uitest::saveScreenshot(&window, "navigate_window");
}

TEST_F(NavigateTest, IdDialogNeedsBothFieldsAndAddsTheMailDomain) {
  struct Case {
    QString typed;
    QString stored;
  };
  for (const Case& c : {Case{"minji", "minji@gmail.com"}, Case{"minji@gmail.com", "minji@gmail.com"},
                        Case{" minji ", "minji@gmail.com"}}) {
    ui::TFrmIdInput dialog;
    EXPECT_FALSE(dialog.BtnOk->isEnabled());
    dialog.EdId->setText(c.typed);
    EXPECT_FALSE(dialog.BtnOk->isEnabled());
    dialog.EdPw->setText("   ");
    EXPECT_FALSE(dialog.BtnOk->isEnabled());
    dialog.EdPw->setText("secret");
    EXPECT_TRUE(dialog.BtnOk->isEnabled());
    EXPECT_EQ(dialog.address(), c.stored);
  }
  ui::TFrmIdInput dialog;
  dialog.setAccount("minji@gmail.com", "secret");
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.EdId->setFocus();
  QTest::keyClick(dialog.EdId, Qt::Key_Return);  // Enter moves to the password
  EXPECT_TRUE(dialog.EdPw->hasFocus());
  uitest::saveScreenshot(&dialog, "id_input");
}

TEST_F(NavigateTest, CacheFolderLivesWithTheWindow) {
  {
    ui::TFrmNavigate window(options_);
    EXPECT_TRUE(base::directoryExists(options_.cacheFolder));
    EXPECT_EQ(app::settings().cacheFolder, window.cacheFolder());
  }
  EXPECT_FALSE(base::directoryExists(options_.cacheFolder));
}

TEST_F(NavigateTest, RequestBeforeSignInShowsTheWindowAndRunsAfterTheSignIn) {
  startStandin();
  app::settings().googlePw = "old-pw";  // the account changed: the cache is emptied
  options_.askAccount = [](const QString&, const QString&) -> std::optional<std::pair<QString, QString>> {
    return std::make_pair(QString::fromStdString(kAccount), QString("new-pw"));
  };
  ui::TFrmNavigate window(options_);
  base::writeBytesAtomic(window.cacheFolder() + "calendar.txt", "{}");
  QSignalSpy signedIn(&window, &ui::TFrmNavigate::signedIn);
  window.BtnEdit->click();
  ASSERT_EQ(window.EdGooglePw->text(), "new-pw");

  window.runRequest([&] { window.requests().calendarColoursDownload(); });
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(server_->log().empty());

  // Shown with an id and a password, the window signs in by itself.
  ASSERT_TRUE(signedIn.wait(20'000));
  EXPECT_TRUE(warnings_.empty()) << warnings_.front().toStdString();
  EXPECT_EQ(app::settings().googlePw, "new-pw");
  EXPECT_EQ(window.tokens().myName, "김민지");
  EXPECT_FALSE(base::fileExists(window.cacheFolder() + "calendar.txt"));

  window.tokenTick();  // message 5280: the waiting request runs
  EXPECT_TRUE(base::fileExists(window.cacheFolder() + gsync::kCalendarColourFile));
  EXPECT_FALSE(window.isVisible());
}

TEST_F(NavigateTest, AnotherAccountInTheBrowserGivesTheMismatchMessage) {
  startStandin();
  browserAccount_ = "someone.else@gmail.com";
  ui::TFrmNavigate window(options_);
  QSignalSpy signedIn(&window, &ui::TFrmNavigate::signedIn);
  window.startSignIn();
  const gsync::SignInAttempt* first = window.attempt();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !warnings_.empty(); }, 20'000));
  EXPECT_EQ(warnings_.front().toStdString(), "등록된 구글아이디와 다른 아이디입니다.\r\n다시 접속하시기 바랍니다.");
  EXPECT_TRUE(window.tokens().accessToken.empty());
  EXPECT_EQ(signedIn.count(), 0);
  EXPECT_NE(window.attempt(), nullptr);  // a new sign-in started
  (void)first;
}

}  // namespace
