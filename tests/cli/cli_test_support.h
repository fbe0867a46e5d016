// Running daybook-cli in-process from tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/ini.h"
#include "base/secret.h"
#include "base/text.h"
#include "cli/command.h"

namespace clitest {

struct Outcome {
  int status = 0;
  std::string out, err;
  // stdout split into lines, without the empty one after the last line end.
  std::vector<std::string> lines() const {
    std::vector<std::string> l = base::split(out, '\n');
    if (!l.empty() && l.back().empty()) l.pop_back();
    return l;
  }
};

inline Outcome run(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  cli::Io io{in, out, err};
  const int status = cli::runCli(args, io);
  return {status, out.str(), err.str()};
}

// The same, with the output handed back through `out` and `err`.
inline int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const Outcome outcome = run(args);
  out = outcome.out;
  err = outcome.err;
  return outcome.status;
}

// A program folder with the sample account's settings and a copy of the
// sample cache, both under a fresh temporary folder.
class SampleAccount : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "daybook-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    home_ = root_ + "/home";
    cache_ = root_ + "/cache/";
    fs::create_directories(home_);
    fs::copy(std::string(DAYBOOK_SOURCE_DIR) + "/tests/data/cache-sample", cache_);
    base::IniFile ini(home_ + "/daybook.ini");
    ini.writeString("Login", "GoogleId", base::encodeSecret("minji.kim"));  // domain added on load
    ini.writeString("Login", "MyName", base::encodeSecret("김민지"));
    ASSERT_TRUE(ini.save());
    setenv("DAYBOOK_HOME", home_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("DAYBOOK_HOME");
    std::filesystem::remove_all(root_);
  }

  int run(const std::vector<std::string>& args) {
    const Outcome outcome = clitest::run(args);
    out_ = outcome.lines();
    err_ = outcome.err;
    return outcome.status;
  }
  bool printed(const std::string& line) const {
    return std::find(out_.begin(), out_.end(), line) != out_.end();
  }

  std::string root_, home_, cache_, err_;
  std::vector<std::string> out_;
};

}  // namespace clitest
