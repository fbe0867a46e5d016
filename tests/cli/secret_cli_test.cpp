#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_test_support.h"

using clitest::run;

TEST(Cli, SecretCommandsRoundTrip) {
  std::string out, err;
  ASSERT_EQ(run({"encode-secret", "비밀 pw"}, out, err), 0);
  const std::string encoded = out.substr(0, out.size() - 1);
  ASSERT_EQ(run({"decode-secret", encoded}, out, err), 0);
  EXPECT_EQ(out, "비밀 pw\n");
  EXPECT_EQ(run({"no-such-command"}, out, err), 2);
  EXPECT_NE(err.find("unknown command"), std::string::npos);
}
