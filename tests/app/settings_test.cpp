#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/settings.h"
#include "base/files.h"
#include "base/ini.h"
#include "base/secret.h"

using namespace app;

namespace {
std::string freshIni() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("daybook-app-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return (dir / "daybook.ini").string();
}
}  // namespace

TEST(Settings, MissingFileGivesEveryDefault) {
  AppSettings s;
  loadSettings(s, freshIni(), "gmail.com");
  EXPECT_TRUE(s.googleId.empty());
  EXPECT_TRUE(s.noAccountStored);
  EXPECT_TRUE(s.alarmEmail && s.alarmSound && s.autoExe && s.autoPlay && s.alarmSms);
  EXPECT_FALSE(s.mailSubject || s.mailDomain);
  EXPECT_EQ(s.simpleGrade, 245);
  EXPECT_EQ(s.simpleLeft, -1);
  EXPECT_EQ(s.simpleTop, 0);
  EXPECT_EQ(s.mailInterval, 10);
  EXPECT_EQ(s.myAddress, "서울특별시 강남구 청담동");
  EXPECT_DOUBLE_EQ(s.longitude, 127.053904129352);
  EXPECT_EQ(s.mapY, "1108038");
}

TEST(Settings, GoogleIdGainsTheDomainAndLoginIdTakesTheStoredId) {
  struct Case {
    const char* storedId;
    const char* storedLogin;
    const char* googleId;
    const char* loginId;
  } cases[] = {
      {"hong", "", "hong@gmail.com", "hong"},
      {"hong@gmail.com", "", "hong@gmail.com", "hong@gmail.com"},
      {"hong", "other@gmail.com", "hong@gmail.com", "other@gmail.com"},
      // An address of another domain is not given a second one.
      {"kim@company.kr", "", "kim@company.kr", "kim@company.kr"},
  };
  for (const Case& c : cases) {
    const std::string path = freshIni();
    base::IniFile ini(path);
    ini.writeString("Login", "GoogleId", base::encodeSecret(c.storedId));
    if (*c.storedLogin) ini.writeString("Login", "LoginId", base::encodeSecret(c.storedLogin));
    ini.writeString("Login", "GooglePw", base::encodeSecret("비밀"));
    ASSERT_TRUE(ini.save());
    AppSettings s;
    loadSettings(s, path, "gmail.com");
    EXPECT_EQ(s.googleId, c.googleId);
    EXPECT_EQ(s.loginId, c.loginId);
    EXPECT_EQ(s.googlePw, "비밀");
    EXPECT_FALSE(s.noAccountStored);
  }
}

TEST(Settings, SimplePosAndMyAddressEdgeCases) {
  struct PosCase {
    const char* text;
    int left, top;
  } positions[] = {{"-1|0", -1, 0}, {"100|200", 100, 200}, {"100|x", 100, 10},
                   {"x|5", -1, 5},  {"300", 300, 10},      {"", -1, 10}};
  for (const PosCase& c : positions) {
    int left = 0, top = 0;
    parseSimplePos(c.text, left, top);
    EXPECT_EQ(left, c.left) << c.text;
    EXPECT_EQ(top, c.top) << c.text;
  }

  AppSettings s;
  parseMyAddress("부산광역시 해운대구", s);  // no "|": the defaults
  EXPECT_EQ(s.myAddress, "서울특별시 강남구 청담동");
  parseMyAddress("부산광역시 해운대구|129.16|35.16", s);  // fewer fields: the rest empty
  EXPECT_EQ(s.myAddress, "부산광역시 해운대구");
  EXPECT_DOUBLE_EQ(s.longitude, 129.16);
  EXPECT_DOUBLE_EQ(s.latitude, 35.16);
  EXPECT_EQ(s.mapX, "");
  EXPECT_EQ(s.mapY, "");
  parseMyAddress("주소|abc||1|2", s);  // malformed numbers: the default position
  EXPECT_DOUBLE_EQ(s.longitude, 127.053904129352);
  EXPECT_DOUBLE_EQ(s.latitude, 37.526685139144);
  EXPECT_EQ(s.mapX, "1");
}

TEST(Settings, CorruptSecretsReadAsEmpty) {
  const std::string path = freshIni();
  base::writeLines(path, {"[Login]", "GoogleId=abc", "GooglePw=!!!!"});
  AppSettings s;
  loadSettings(s, path, "gmail.com");
  EXPECT_EQ(s.googleId, "");
  EXPECT_EQ(s.googlePw, "");
  EXPECT_TRUE(s.noAccountStored);
}

TEST(Settings, WritersRoundTripAndKeepTheFilePrivate) {
  const std::string path = freshIni();
  base::IniFile ini(path);
  writeAccount(ini, "hong", "pw", "gmail.com");
  AppSettings s;
  s.simpleLeft = 12;
  s.simpleTop = 34;
  s.simpleGrade = 200;
  s.songIndex = 3;
  s.autoPlay = false;
  s.songList = "내목록.lst";
  s.alarmEmail = false;
  writeExitEnvironment(ini, s);
  ASSERT_TRUE(saveSettingsFile(ini));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  AppSettings back;
  loadSettings(back, path, "gmail.com");
  EXPECT_EQ(back.googleId, "hong@gmail.com");
  EXPECT_EQ(back.loginId, "hong@gmail.com");
  EXPECT_EQ(back.simpleLeft, 12);
  EXPECT_EQ(back.simpleTop, 34);
  EXPECT_EQ(back.simpleGrade, 200);
  EXPECT_EQ(back.songIndex, 3);
  EXPECT_FALSE(back.autoPlay);
  EXPECT_EQ(back.songList, "내목록.lst");
  EXPECT_FALSE(back.alarmEmail);
  EXPECT_EQ(base::IniFile(path).readString("Environment", "SimplePos"), "12|34");
}
