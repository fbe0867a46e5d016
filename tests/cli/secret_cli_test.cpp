#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_test_support.h"

namespace {
int run(std::vector<std::string> args, std::string& out, std::string& err) {
  const clitest::Outcome outcome = clitest::run(args);
  out = outcome.out;
  err = outcome.err;
  return outcome.status;
}
}  // namespace

TEST(Cli, SecretCommandsRoundTrip) {
  std::string out, err;
  ASSERT_EQ(run({"encode-secret", "비밀 pw"}, out, err), 0);
  const std::string encoded = out.substr(0, out.size() - 1);
  ASSERT_EQ(run({"decode-secret", encoded}, out, err), 0);
  EXPECT_EQ(out, "비밀 pw\n");
  EXPECT_EQ(run({"no-such-command"}, out, err), 2);
  EXPECT_NE(err.find("unknown command"), std::string::npos);
}
