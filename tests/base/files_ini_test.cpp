#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/files.h"
#include "base/ini.h"
#include "base/text.h"

using namespace base;

namespace {
std::string tempDir() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("daybook-base-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}
}  // namespace

TEST(Files, LineFilesAreCp949WithCrLf) {
  const std::string path = joinPath(tempDir(), "lines.dat");
  ASSERT_TRUE(writeLines(path, {"가=1", "", "b"}));
  EXPECT_EQ(*readBytes(path), utf8ToCp949("가=1") + "\r\n\r\nb\r\n");
  EXPECT_EQ(*readLines(path), (std::vector<std::string>{"가=1", "", "b"}));
  ASSERT_TRUE(writeBytesAtomic(path, "x\ny\r\nz"));
  EXPECT_EQ(*readLines(path), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_FALSE(readLines(path + ".missing"));
  // Only the target is left behind by atomic writes.
  EXPECT_EQ(listFiles(tempDir()).size(), 0u);  // a fresh folder
}

TEST(Files, AtomicWriteKeepsModeAndLeavesNoTemporaries) {
  const std::string dir = tempDir();
  const std::string path = joinPath(dir, "secret.ini");
  ASSERT_TRUE(writeBytesAtomic(path, "a", 0600));
  ASSERT_TRUE(writeBytesAtomic(path, "b", 0600));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(listFiles(dir), std::vector<std::string>{"secret.ini"});
  EXPECT_FALSE(writeBytesAtomic(joinPath(dir, "no/such/folder/x"), "a"));
}

TEST(Files, RenameRefusesToOverwrite) {
  const std::string dir = tempDir();
  writeBytesAtomic(joinPath(dir, "a"), "1");
  writeBytesAtomic(joinPath(dir, "b"), "2");
  EXPECT_FALSE(renameFile(joinPath(dir, "a"), joinPath(dir, "b")));
  EXPECT_TRUE(renameFile(joinPath(dir, "a"), joinPath(dir, "c")));
  EXPECT_EQ(*readBytes(joinPath(dir, "b")), "2");
}

TEST(Ini, ReadsWritesAndDefaults) {
  const std::string path = joinPath(tempDir(), "daybook.ini");
  writeLines(path, {"[Login]", "GoogleId=abc", "[environment]", "AlarmSound=0", "SongIndex=x",
                    "SimplePos=-1|0", "Name=홍길동"});
  IniFile ini(path);
  EXPECT_EQ(ini.readString("login", "googleid"), "abc");
  EXPECT_FALSE(ini.readBool("Environment", "AlarmSound", true));
  EXPECT_TRUE(ini.readBool("Environment", "AlarmEmail", true));
  EXPECT_EQ(ini.readInteger("Environment", "SongIndex", 5), 5);  // not a number
  EXPECT_EQ(ini.readString("Environment", "SimplePos"), "-1|0");
  EXPECT_EQ(ini.readString("Environment", "Name"), "홍길동");
  EXPECT_EQ(ini.readString("Missing", "Key", "dflt"), "dflt");

  ini.writeString("LOGIN", "GOOGLEID", "new");
  ini.writeBool("MailAlarm", "Subject", true);
  ini.writeFloat("Login", "ExpireTime", 41640.25);
  ASSERT_TRUE(ini.save());
  IniFile again(path);
  EXPECT_EQ(again.readString("Login", "GoogleId"), "new");
  EXPECT_TRUE(again.readBool("MailAlarm", "Subject", false));
  EXPECT_DOUBLE_EQ(again.readFloat("Login", "ExpireTime", 0), 41640.25);
  EXPECT_EQ(again.readString("Environment", "Name"), "홍길동");

  IniFile missing(path + ".none");
  EXPECT_EQ(missing.readInteger("A", "B", 10), 10);
}
