#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_test_support.h"

namespace {

using clitest::Outcome;
using clitest::run;

TEST(LunarCli, ConvertsOneDateEachWay) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {{"lunar-to-solar", "2015", "1", "1"}, 0, "2015-02-19\n", ""},
      {{"lunar-to-solar", "2014", "9", "1", "--leap"}, 0, "2014-10-24\n", ""},
      {{"lunar-to-solar", "2015", "5", "1", "--leap"}, 1, "", "2015-5월은 윤달이 없습니다!\n"},
      {{"lunar-to-solar", "2014", "3", "30"}, 1, "", "2014-3월은 29일 까지 입니다.\n"},
      {{"solar-to-lunar", "2014-10-24"}, 0, "2014-09-01 leap=1 big=0\n", ""},
      {{"solar-to-lunar", "2015-02-18"}, 0, "2014-12-30 leap=0 big=1\n", ""},
      {{"solar-to-lunar", "2051-02-11"}, 1, "", "양력의 입력범위는 1881-01-30 ~ 2051-02-10 입니다.\n"},
      {{"solar-to-lunar", "2023-02-29"}, 1, "", "입력된 날자가 올바르지 않습니다.\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[1];
    EXPECT_EQ(r.err, c.err) << c.args[1];
  }
  EXPECT_EQ(run({"lunar-to-solar", "2015", "1"}).status, 2);
  EXPECT_EQ(run({"solar-to-lunar"}).status, 2);
}

TEST(LunarCli, AnswersOneLinePerStandardInputLine) {
  const Outcome toSolar = run({"lunar-to-solar", "-"}, "2014 9 1 leap\n2015 5 1 leap\nabc\n\n2020 1 1\n");
  EXPECT_EQ(toSolar.status, 0);
  EXPECT_EQ(toSolar.out,
            "2014-10-24\n"
            "error: 2015-5월은 윤달이 없습니다!\n"
            "error: 입력된 날자가 올바르지 않습니다.\n"
            "2020-01-25\n");
  const Outcome toLunar = run({"solar-to-lunar", "-"}, "2014-10-24\r\n1881-01-29\r\n2020-01-25");
  EXPECT_EQ(toLunar.status, 0);
  EXPECT_EQ(toLunar.out,
            "2014-09-01 leap=1 big=0\n"
            "error: 양력의 입력범위는 1881-01-30 ~ 2051-02-10 입니다.\n"
            "2020-01-01 leap=0 big=1\n");
}

}  // namespace
