// The Google connection window's sign-in through the embedded browser: the
// stand-in's authorize page loads in the window's web view, the test presses
// "허용" inside the page, and the redirect to the loopback listener finishes
// the sign-in.
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../ui_common/ui_test_support.h"
#include "app/settings.h"
#include "standin.h"
#include "standin_config.h"
#include "ui/google/navigate_window.h"

namespace {

const std::string kAccount = "minji.kim@gmail.com";
constexpr int kWaitMs = 30'000;

// Presses the page's "허용" button.  The click is deferred so that the
// script's answer comes back before the form leaves the page.
const QString kPressAllow = QStringLiteral(
    "(() => {"
    "  const allow = [...document.querySelectorAll('button')].find(b => b.textContent.trim() === '허용');"
    "  if (!allow) return false;"
    "  setTimeout(() => allow.click(), 0);"
    "  return true;"
    "})()");

class BrowserSignInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The embedded browser wants shared GL contexts before the application exists.
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    uitest::application();
    root_ = std::filesystem::temp_directory_path() / "daybook-browser-sign-in";
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    app::settings() = app::AppSettings{};
    app::settings().googleId = kAccount;
    app::settings().googlePw = "pw";
    startStandin();
    options_.cacheFolder = (root_ / "google").string();
    options_.settingsFile = (root_ / "daybook.ini").string();
    options_.warn = [this](const QString& text) { warnings_.push_back(text.toStdString()); };
    options_.embedded = true;
  }
  void TearDown() override {
    if (server_) server_->stop();
    std::filesystem::remove_all(root_);
  }

  // Plain HTTP: the web view has no way to trust the stand-in's test CA.
  void startStandin() {
    standin::Options options;
    options.seedFile = std::string(DAYBOOK_SOURCE_DIR) + "/tools/google-standin/seed/demo-account.json";
    options.today = "2025-03-12";
    server_ = std::make_unique<standin::Server>(options);
    server_->start();
    options_.config = standinConfig(*server_);
  }

  // The status the stand-in answered the first `method path` request with,
  // or -1 when there was none.
  int loggedStatus(const std::string& method, const std::string& path) const {
    const std::vector<standin::LogEntry> log = server_->log();
    const auto found = std::find_if(log.begin(), log.end(), [&](const standin::LogEntry& entry) {
      return entry.method == method && entry.path == path;
    });
    return found == log.end() ? -1 : found->status;
  }

  std::filesystem::path root_;
  ui::TFrmNavigate::Options options_;
  std::vector<std::string> warnings_;
  std::unique_ptr<standin::Server> server_;
};

TEST_F(BrowserSignInTest, PressingAllowInThePageSignsIn) {
  ui::TFrmNavigate window(options_);
  QSignalSpy signedIn(&window, &ui::TFrmNavigate::signedIn);
  window.startSignIn();
  ASSERT_NE(window.browser(), nullptr);
  QWebEnginePage* page = window.browser()->page();
  QSignalSpy loaded(page, &QWebEnginePage::loadFinished);

  ASSERT_TRUE(loaded.wait(kWaitMs)) << "the authorize page did not load";
  ASSERT_TRUE(loaded.first().first().toBool()) << page->url().toString().toStdString();
  EXPECT_EQ(page->url().path(), "/o/oauth2/auth");
  EXPECT_EQ(loggedStatus("POST", "/o/oauth2/approve"), -1);

  std::optional<bool> pressed;
  page->runJavaScript(kPressAllow, [&](const QVariant& result) { pressed = result.toBool(); });
  ASSERT_TRUE(QTest::qWaitFor([&] { return pressed.has_value(); }, kWaitMs));
  ASSERT_TRUE(*pressed) << "no \"허용\" button on the page";

  ASSERT_TRUE(QTest::qWaitFor([&] { return signedIn.count() > 0 || !warnings_.empty(); }, kWaitMs));
  ASSERT_TRUE(warnings_.empty()) << warnings_.front();
  EXPECT_EQ(signedIn.count(), 1);
  EXPECT_EQ(window.tokens().signedInAddress, kAccount);
  EXPECT_EQ(window.tokens().myName, "김민지");
  EXPECT_FALSE(window.tokens().accessToken.empty());
  EXPECT_FALSE(window.tokens().refreshToken.empty());
  EXPECT_FALSE(window.browser()->isVisible());
  EXPECT_EQ(loggedStatus("POST", "/o/oauth2/approve"), 302);
  EXPECT_EQ(loggedStatus("POST", "/o/oauth2/token"), 200);
}

}  // namespace
