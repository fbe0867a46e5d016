#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "app/settings.h"
#include "base/datetime.h"
#include "base/files.h"
#include "base/ini.h"
#include "base/text.h"
#include "cli/command.h"
#include "standin.h"
#include "sync/accounts.h"

namespace fs = std::filesystem;

namespace {

// daybook-cli sync against the stand-in: a program folder whose daybook.ini
// holds the session, and an empty cache folder.
class SyncCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "daybook-synccli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ + "/home");
    standin::Options options;
    options.seedFile = std::string(DAYBOOK_SOURCE_DIR) + "/tools/google-standin/seed/demo-account.json";
    options.today = "2025-03-12";
    server_ = std::make_unique<standin::Server>(options);
    server_->start();
    setenv("DAYBOOK_HOME", (root_ + "/home").c_str(), 1);
    setenv("DAYBOOK_GOOGLE_API", server_->baseUrl().c_str(), 1);
    setenv("DAYBOOK_GOOGLE_AUTH", server_->baseUrl().c_str(), 1);
  }
  void TearDown() override {
    server_->stop();
    for (const char* name : {"DAYBOOK_HOME", "DAYBOOK_GOOGLE_API", "DAYBOOK_GOOGLE_AUTH"}) unsetenv(name);
    fs::remove_all(root_);
  }

  void storeSession(const gsync::TokenState& tokens) {
    base::IniFile ini(root_ + "/home/daybook.ini");
    gsync::AccountList accounts;
    accounts.put("minji.kim@gmail.com", "pw");
    gsync::saveAccounts(ini, accounts, tokens, "minji.kim@gmail.com", "pw");
    ASSERT_TRUE(app::saveSettingsFile(ini));
  }

  int run() {
    std::istringstream in;
    std::ostringstream out, err;
    cli::Io io{in, out, err};
    const int status = cli::runCli({"sync", "--cache", root_ + "/cache"}, io);
    out_ = base::split(out.str(), '\n');
    if (!out_.empty() && out_.back().empty()) out_.pop_back();
    err_ = err.str();
    return status;
  }

  std::string root_, err_;
  std::vector<std::string> out_;
  std::unique_ptr<standin::Server> server_;
};

TEST_F(SyncCli, DownloadsEveryListIntoTheCacheAndPrintsTheItems) {
  gsync::TokenState tokens;
  tokens.authorizationCode = "stored";
  tokens.accessToken = server_->issueAccessToken();
  tokens.refreshToken = "stored-refresh";
  tokens.expiry = base::now() + 1.0 / 24;
  tokens.myName = "김민지";
  storeSession(tokens);

  ASSERT_EQ(run(), 0) << err_;
  EXPECT_EQ(err_, "");
  for (const char* file : {"calendar.txt", "tasklist.txt", "clr_calendar.txt", "clr_event.txt"})
    EXPECT_TRUE(base::fileExists(root_ + "/cache/" + file)) << file;
  ASSERT_FALSE(out_.empty());
  bool primary = false, task = false;
  for (const std::string& line : out_) {
    const std::vector<std::string> fields = base::split(line, '\t');
    ASSERT_EQ(fields.size(), 9u) << line;
    primary = primary || fields[0] == "김민지";
    task = task || fields[2] == "-2";
  }
  EXPECT_TRUE(primary);
  EXPECT_TRUE(task);
  // A second run reads the cache: nothing is downloaded again.
  server_->clearLog();
  ASSERT_EQ(run(), 0) << err_;
  EXPECT_TRUE(server_->log().empty());
}

TEST_F(SyncCli, MissingOrRefusedSessionIsExitStatusTwo) {
  ASSERT_EQ(run(), 2);  // no daybook.ini at all
  EXPECT_NE(err_.find("로그인"), std::string::npos);

  gsync::TokenState expired;
  expired.authorizationCode = "stored";
  expired.accessToken = "old";
  expired.refreshToken = "not-a-refresh-token";
  expired.expiry = base::now() - 1;
  storeSession(expired);
  ASSERT_EQ(run(), 2);
  EXPECT_NE(err_.find("서버 요청 실패: 400"), std::string::npos) << err_;
  EXPECT_FALSE(base::fileExists(root_ + "/cache/calendar.txt"));
}

}  // namespace
