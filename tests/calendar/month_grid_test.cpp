#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include <map>

#include "base/datetime.h"
#include "base/text.h"

namespace {

using base::DateTime;
using calendar::Rgb;
using calendar::rgb;
using calendar::TokenInfo;

DateTime date(int y, int m, int d) { return base::encodeDate(y, m, d); }

TEST(MonthLayout, LeadingCellsEndAndCellDates) {
  struct Case {
    int year, month;
    int leading, end;
    const char* cell0;
    const char* cell41;
  } cases[] = {
      // Begins on a Sunday: a whole row of the previous month comes first.
      {2025, 6, 7, 37, "2025-05-25", "2025-07-05"},
      {2026, 2, 7, 35, "2026-01-25", "2026-03-07"},
      // Begins on a Monday: one leading day.
      {2025, 12, 1, 32, "2025-11-30", "2026-01-10"},
      {2025, 1, 3, 34, "2024-12-29", "2025-02-08"},
      {2024, 2, 4, 33, "2024-01-28", "2024-03-09"},  // leap February
  };
  for (const Case& c : cases) {
    const calendar::MonthLayout layout = calendar::monthLayout(c.year, c.month, date(2000, 1, 1));
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
    EXPECT_EQ(layout.leading, c.leading);
    EXPECT_EQ(layout.end, c.end);
    EXPECT_EQ(base::formatDate(calendar::cellDate(layout, 0)), c.cell0);
    EXPECT_EQ(base::formatDate(calendar::cellDate(layout, 41)), c.cell41);
    EXPECT_EQ(calendar::cellDate(layout, layout.leading), date(c.year, c.month, 1));
    EXPECT_EQ(calendar::cellDate(layout, layout.end - 1),
              date(c.year, c.month, base::daysInMonth(c.year, c.month)));
    EXPECT_EQ(calendar::cellColumn(layout.leading), base::dayOfWeek(date(c.year, c.month, 1)) - 1);
    EXPECT_EQ(layout.todayCell, -1);
  }
}

TEST(MonthLayout, TodayCellOnlyInItsMonth) {
  const DateTime today = base::encodeDateTime(2025, 6, 15, 13, 30);
  EXPECT_EQ(calendar::monthLayout(2025, 6, today).todayCell, 21);  // 15 + 7 - 1
  EXPECT_EQ(calendar::monthLayout(2025, 7, today).todayCell, -1);
  EXPECT_EQ(calendar::monthLayout(2024, 6, today).todayCell, -1);
}

calendar::YearIndex indexWith(int year, std::map<std::string, std::vector<std::string>> days) {
  calendar::YearIndex index;
  index.year = year;
  for (auto& [day, tokens] : days) index.days[base::dayOfYear(base::encodeDate(year, std::stoi(day.substr(0, 2)),
                                                                               std::stoi(day.substr(3))))] = tokens;
  return index;
}

TEST(CellEntries, DecemberViewReadsNextYearsIndex) {
  const std::vector<calendar::Holiday> holidays = {{"ho00001", false, 1, 1, 1, 0, "신정"},
                                                   {"ho00011", false, 1, 12, 25, 0, "성탄절"}};
  std::vector<int> asked;
  auto indexOf = [&](int year) {
    asked.push_back(year);
    if (year == 2025) return indexWith(2025, {{"11-30", {"nov30"}}, {"12-25", {"ho00011", "party"}}});
    return indexWith(2026, {{"01-01", {"ho00001"}}, {"01-03", {"photo7"}}});
  };
  const calendar::MonthLayout layout = calendar::monthLayout(2025, 12, date(2025, 12, 10));
  const calendar::CellEntries entries = calendar::cellEntries(layout, indexOf, holidays);

  EXPECT_EQ(asked, (std::vector<int>{2025, 2026}));
  EXPECT_EQ(entries.tokens[0], (std::vector<std::string>{"nov30"}));
  EXPECT_EQ(entries.tokens[25], (std::vector<std::string>{"ho00011", "party"}));
  EXPECT_EQ(entries.tokens[32], (std::vector<std::string>{"ho00001"}));
  EXPECT_EQ(entries.tokens[34], (std::vector<std::string>{"photo7"}));
  EXPECT_TRUE(entries.tokens[33].empty());
  // Holiday keys are matched exactly: "photo7" holds "ho" but is an item.
  EXPECT_EQ(entries.cellItems, (std::vector<std::string>{"0=nov30", "25=party", "34=photo7"}));
  EXPECT_EQ(calendar::itemsOfCell(entries, 25), (std::vector<std::string>{"party"}));
  EXPECT_TRUE(calendar::itemsOfCell(entries, 32).empty());
  EXPECT_TRUE(calendar::cellItemListed(entries.cellItems, 34, "photo7"));
  EXPECT_FALSE(calendar::cellItemListed(entries.cellItems, 3, "photo7"));
}

TEST(CellEntries, JanuaryViewReadsPreviousYearFirst) {
  std::vector<int> asked;
  auto indexOf = [&](int year) {
    asked.push_back(year);
    return indexWith(year, year == 2024 ? std::map<std::string, std::vector<std::string>>{{"12-31", {"eve"}}}
                                        : std::map<std::string, std::vector<std::string>>{});
  };
  const calendar::CellEntries entries =
      calendar::cellEntries(calendar::monthLayout(2025, 1, 0), indexOf, {});
  EXPECT_EQ(asked, (std::vector<int>{2024, 2025}));
  EXPECT_EQ(entries.tokens[2], (std::vector<std::string>{"eve"}));  // cell 0 is 29 December
}

TokenInfo item(int kind, int category = 0, std::string title = "제목") {
  return {TokenInfo::Type::Item, kind, category, std::move(title)};
}
TokenInfo holiday(std::string name) { return {TokenInfo::Type::Holiday, 0, 0, std::move(name)}; }

TEST(CellColours, BackgroundByTokens) {
  const std::map<std::string, TokenInfo> known = {
      {"daily", item(0)},  {"weekly", item(1)}, {"monthly", item(2)}, {"yearly", item(3)},
      {"single", item(-1)}, {"task", item(-2)}, {"ho00001", holiday("신정")},
  };
  auto lookup = [&](const std::string& token) {
    auto it = known.find(token);
    return it == known.end() ? TokenInfo{} : it->second;
  };
  struct Case {
    std::vector<std::string> tokens;
    Rgb background;
  } cases[] = {
      {{}, rgb(255, 255, 255)},
      {{"daily"}, rgb(255, 227, 227)},
      {{"weekly"}, rgb(255, 255, 193)},
      {{"monthly"}, rgb(163, 240, 121)},
      {{"yearly"}, rgb(249, 217, 255)},
      {{"single"}, rgb(254, 249, 157)},
      {{"task"}, rgb(254, 249, 157)},
      {{"ho00001"}, rgb(255, 242, 240)},
      {{"gone"}, rgb(255, 242, 240)},  // a token without item counts as a holiday
      {{"single", "ho00001"}, rgb(248, 238, 255)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(calendar::cellBackground(c.tokens, lookup), c.background) << testing::PrintToString(c.tokens);
}

TEST(CellColours, FadeAndBlendLeaveTheBackground) {
  const Rgb bg = rgb(255, 255, 193);
  std::vector<std::uint32_t> mark = {0xFF000000u | bg, 0xFF000000u, 0xFFFF0000u, 0xFF646464u};
  calendar::fadeMark(mark, bg);
  // ((255 - 220) * c + 220 * 255) / 256
  EXPECT_EQ(mark[0], 0xFF000000u | bg);
  EXPECT_EQ(mark[1], 0xFF000000u | rgb(219, 219, 219));
  EXPECT_EQ(mark[2], 0xFF000000u | rgb(254, 219, 219));
  EXPECT_EQ(mark[3], 0xFF000000u | rgb(232, 232, 232));

  std::vector<std::uint32_t> own = {bg, rgb(100, 100, 100)};
  const std::vector<std::uint32_t> other = {rgb(0, 0, 0), rgb(200, 0, 50)};
  calendar::blendMarks(own, other, bg);
  EXPECT_EQ(own[0], bg);  // background pixels stay as they are
  EXPECT_EQ(own[1], rgb(149, 49, 74));
}

TEST(CellColours, DayNumbers) {
  struct Case {
    calendar::DayNumberState state;
    Rgb colour;
  } cases[] = {
      {{false, false, false, 3}, rgb(196, 196, 196)}, {{false, true, false, 0}, rgb(255, 255, 255)},
      {{true, true, true, 2}, rgb(247, 148, 29)},     {{true, false, true, 0}, rgb(206, 81, 49)},
      {{true, true, false, 6}, rgb(49, 138, 182)},    {{true, false, false, 4}, rgb(101, 101, 101)},
  };
  for (const Case& c : cases) EXPECT_EQ(calendar::dayNumberColour(c.state), c.colour);
}

TEST(CellTexts, MarksAndDescriptions) {
  EXPECT_EQ(calendar::markPictureName(item(-1, 4)), "IMAGE_MONEY");
  EXPECT_EQ(calendar::markPictureName(item(-1, 9)), "IMAGE_GCAL");  // unknown category
  EXPECT_EQ(calendar::markPictureName(item(-2)), "IMAGE_GTASKS");
  EXPECT_EQ(calendar::markPictureName(holiday("설날")), "IMAGE_KOREA");

  const std::map<std::string, TokenInfo> known = {
      {"w", item(1, 2, "주간 회의")}, {"t", item(-2, 0, "보고서")}, {"s", item(-1, 3, "결혼기념일")},
      {"ho00003", holiday("삼일절")},
  };
  auto lookup = [&](const std::string& token) {
    auto it = known.find(token);
    return it == known.end() ? TokenInfo{} : it->second;
  };
  const auto described = calendar::describeTokens({"ho00003", "w", "t", "s", "gone", "w"}, lookup);
  ASSERT_EQ(described.size(), 4u);  // the missing item ends the description
  EXPECT_EQ(described[0].text, "삼일절");
  EXPECT_EQ(described[0].pictures, (std::vector<std::string>{"IMAGE_KOREA"}));
  EXPECT_EQ(described[1].text, "반복(주): 주간 회의");
  EXPECT_EQ(described[1].pictures, (std::vector<std::string>{"IMAGE_W", "IMAGE_MEETING"}));
  EXPECT_EQ(described[2].text, "일정: 보고서");
  EXPECT_EQ(described[3].pictures, (std::vector<std::string>{"IMAGE_MEMORIAL"}));

  const std::string longTitle(120, 'a');
  const auto cut = calendar::describeTokens({"x"}, [&](const std::string&) { return item(0, 0, longTitle); });
  EXPECT_EQ(base::cp949Width(cut[0].text), 90u);
  EXPECT_EQ(calendar::longDateText(date(2025, 3, 9)), "2025년 3월 9일 일요일");
}

}  // namespace
