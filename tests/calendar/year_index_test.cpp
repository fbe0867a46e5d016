#include "calendar/year_index.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <set>

#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"

namespace fs = std::filesystem;

namespace {

using base::DateTime;
using calendar::Holiday;
using calendar::YearIndex;
using calendar::YearIndexRecord;
using calendar::YearIndexRecords;

constexpr const char* kBirthdays = "addressbook#contacts@group.v.calendar.google.com";
constexpr const char* kPrimary = "minji.kim@gmail.com";

DateTime date(int y, int m, int d) { return base::encodeDate(y, m, d); }
DateTime at(int y, int m, int d, int h, int min) { return base::encodeDateTime(y, m, d, h, min); }

YearIndexRecord single(std::string id, DateTime start, DateTime end, bool timed,
                       std::string list = kPrimary) {
  return {std::move(id), std::move(list), calendar::kIndexSingleEvent, timed, start, end, {}, {}};
}

YearIndexRecord series(std::string id, DateTime start, std::vector<std::string> recurrence,
                       std::vector<int> exceptions = {}) {
  return {std::move(id), kPrimary, 1, true, start, start + 1.0 / 24, std::move(recurrence),
          std::move(exceptions)};
}

YearIndexRecord task(std::string id, DateTime due, DateTime completed) {
  return {std::move(id), "MDk4NzY1NDMyMTA5ODc2NTQzMjE6MDow", calendar::kIndexTask, false, due,
          completed, {}, {}};
}

YearIndex indexOf(int year, std::vector<YearIndexRecord> records,
                  const std::vector<Holiday>& holidays = {}) {
  YearIndexRecords source(std::move(records));
  return calendar::makeYearIndex(year, holidays, source);
}

// "YYYY-MM-DD" of every day whose tokens hold the token.
std::vector<std::string> daysOf(const YearIndex& index, const std::string& token) {
  std::vector<std::string> days;
  const DateTime first = date(index.year, 1, 1);
  for (int day = 1; day <= base::daysInYear(index.year); ++day) {
    const auto& tokens = index.tokensOf(day);
    if (std::find(tokens.begin(), tokens.end(), token) != tokens.end())
      days.push_back(base::formatDate(first + day - 1));
  }
  return days;
}

using Days = std::vector<std::string>;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "daybook-year-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    if (!path_.empty()) fs::remove_all(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// --- holidays ---

TEST(YearIndexHolidays, LunarHolidaysOfSeveralDaysBeginTheDayBefore) {
  const YearIndex index = indexOf(2014, {}, calendar::bundledHolidays());
  EXPECT_EQ(daysOf(index, "ho00002"), (Days{"2014-01-30", "2014-01-31", "2014-02-01"}));
  EXPECT_EQ(daysOf(index, "ho00008"), (Days{"2014-09-07", "2014-09-08", "2014-09-09"}));
  EXPECT_EQ(daysOf(index, "ho00005"), (Days{"2014-05-06"}));  // one day: no day before
  EXPECT_EQ(daysOf(index, "ho00011"), (Days{"2014-12-25"}));
  // A holiday of one year only: in that year and no other.
  EXPECT_EQ(daysOf(index, "ho00102"), (Days{"2014-09-10"}));
  EXPECT_TRUE(daysOf(indexOf(2015, {}, calendar::bundledHolidays()), "ho00102").empty());
}

TEST(YearIndexHolidays, LaterHolidaysReplaceAndLengthsStopAtTheYearEnd) {
  const std::vector<Holiday> holidays = {
      {"ho001", false, 1, 12, 25, 0, "a"},
      {"ho002", false, INT_MAX, 12, 30, 0, "b"},   // a huge count stops at 31 December
      {"ho003", false, 1, 12, 31, 0, "c"},         // replaces ho002 there
      {"ho004", false, 1, 2, 29, 0, "d"},          // no such day in a common year
      {"ho005", true, 3, 1, 1, 2051, "e"},         // beyond the lunar table
      {"ho|06", false, 1, 1, 1, 0, "f"},           // would break the line format
  };
  const YearIndex index = indexOf(2025, {single("ev1", date(2025, 12, 30), date(2025, 12, 31), false)},
                                  holidays);
  EXPECT_EQ(index.tokensOn(date(2025, 12, 30)), (Days{"ho002", "ev1"}));
  EXPECT_EQ(index.tokensOn(date(2025, 12, 31)), (Days{"ho003"}));
  EXPECT_EQ(calendar::yearIndexLines(index),
            (Days{"359=ho001", "364=ho002|ev1", "365=ho003"}));
  EXPECT_EQ(daysOf(indexOf(2024, {}, holidays), "ho004"), (Days{"2024-02-29"}));
  EXPECT_TRUE(calendar::yearIndexLines(indexOf(2051, {}, holidays)).size() == 3);
}

// Google's event ids are made of letters and digits and often hold "ho":
// only the exact keys of the list are holidays.
TEST(YearIndexHolidays, OnlyExactKeysAreHolidays) {
  const std::vector<Holiday> holidays = calendar::bundledHolidays();
  EXPECT_TRUE(calendar::isHolidayToken("ho00002", holidays));
  EXPECT_TRUE(calendar::isHolidayToken("ho00102", holidays));
  for (const char* id : {"ho0000", "ho00002x", "shoq2w3e4r5t6y7u8i9o0p", "c2hvcDE6MDox", "ho", ""})
    EXPECT_FALSE(calendar::isHolidayToken(id, holidays)) << id;
}

// --- single events, birthdays, tasks ---

TEST(YearIndexItems, EventsCoverTheirDays) {
  struct Case {
    const char* what;
    YearIndexRecord record;
    int year;
    Days days;
  };
  const std::vector<Case> cases = {
      {"all-day, end date 5 May", single("a", date(2025, 5, 3), date(2025, 5, 5), false), 2025,
       {"2025-05-03", "2025-05-04"}},
      {"all-day, end date 4 May", single("a", date(2025, 5, 3), date(2025, 5, 4), false), 2025,
       {"2025-05-03"}},
      {"all-day, no end", single("a", date(2025, 5, 3), 0, false), 2025, {"2025-05-03"}},
      {"all-day, end before start", single("a", date(2025, 5, 3), date(2025, 5, 1), false), 2025,
       {"2025-05-03"}},
      {"timed, 23:00 to 01:00", single("a", at(2025, 3, 14, 23, 0), at(2025, 3, 15, 1, 0), true),
       2025, {"2025-03-14"}},
      {"timed, three days", single("a", at(2025, 4, 7, 9, 0), at(2025, 4, 9, 18, 0), true), 2025,
       {"2025-04-07", "2025-04-08", "2025-04-09"}},
      {"timed, 25 hours", single("a", at(2025, 4, 7, 9, 0), at(2025, 4, 8, 10, 0), true), 2025,
       {"2025-04-07", "2025-04-08"}},
      {"across the new year, first year",
       single("a", date(2024, 12, 30), date(2025, 1, 2), false), 2024,
       {"2024-12-30", "2024-12-31"}},
      {"across the new year, second year",
       single("a", date(2024, 12, 30), date(2025, 1, 2), false), 2025, {"2025-01-01"}},
      {"another year", single("a", date(2024, 5, 3), date(2024, 5, 4), false), 2025, {}},
      {"end far away", single("a", date(2025, 12, 31), date(9999, 12, 31), false), 2025,
       {"2025-12-31"}},
      {"not a date", single("a", std::nan(""), date(2025, 1, 2), false), 2025, {}},
      {"birthday", single("b", date(1980, 3, 10), date(1980, 3, 11), false, kBirthdays), 2014,
       {"2014-03-10"}},
      {"birthday later", single("b", date(1980, 3, 10), date(1980, 3, 11), false, kBirthdays), 2025,
       {"2025-03-10"}},
      {"29 February, common year",
       single("b", date(1980, 2, 29), date(1980, 3, 1), false, kBirthdays), 2025, {"2025-02-28"}},
      {"29 February, leap year",
       single("b", date(1980, 2, 29), date(1980, 3, 1), false, kBirthdays), 2024, {"2024-02-29"}},
      {"task due", task("t", date(2025, 3, 20), date(2025, 3, 20)), 2025, {"2025-03-20"}},
      {"task completed later", task("t", date(2025, 3, 20), at(2025, 3, 25, 9, 0)), 2025,
       {"2025-03-20"}},
      {"task without due date", task("t", 0, at(2025, 3, 1, 9, 30)), 2025, {}},
      {"task due another year", task("t", date(2024, 3, 20), date(2024, 3, 20)), 2025, {}},
  };
  for (const Case& c : cases) {
    const YearIndex index = indexOf(c.year, {c.record});
    EXPECT_EQ(daysOf(index, c.record.id), c.days) << c.what;
  }
}

TEST(YearIndexItems, TokensKeepTheOrderOfTheItems) {
  const YearIndex index =
      indexOf(2025, {single("z1", date(2025, 5, 5), date(2025, 5, 6), false),
                     series("w1", at(2025, 5, 1, 9, 0), {"RRULE:FREQ=DAILY;COUNT=10"}),
                     single("a1", at(2025, 5, 5, 10, 0), at(2025, 5, 5, 11, 0), true)},
              calendar::bundledHolidays());
  // 어린이날 and 부처님오신날 share 5 May 2025: the later record of the list stays.
  EXPECT_EQ(index.tokensOn(date(2025, 5, 5)), (Days{"ho00005", "z1", "w1", "a1"}));
}

// --- recurring events ---

TEST(YearIndexSeries, WeeklyRuleFromAnEarlierYear) {
  const YearIndex index =
      indexOf(2014, {series("wk", at(2013, 1, 1, 19, 30), {"RRULE:FREQ=WEEKLY;BYDAY=TU"})});
  const Days days = daysOf(index, "wk");
  ASSERT_EQ(days.size(), 52u);
  EXPECT_EQ(days.front(), "2014-01-07");
  EXPECT_EQ(days.back(), "2014-12-30");
  // A series that starts after the year adds nothing.
  EXPECT_TRUE(daysOf(indexOf(2012, {series("wk", at(2013, 1, 1, 19, 30),
                                            {"RRULE:FREQ=WEEKLY;BYDAY=TU"})}),
                     "wk")
                  .empty());
}

TEST(YearIndexSeries, ExceptionsAndExtraDates) {
  const DateTime start = at(2025, 3, 4, 19, 30);  // a Tuesday
  const std::string rule = "RRULE:FREQ=WEEKLY;BYDAY=TU;UNTIL=20250402";
  struct Case {
    const char* what;
    std::vector<std::string> recurrence;
    std::vector<int> exceptions;
    Days days;
  };
  const std::vector<Case> cases = {
      {"rule alone", {rule}, {}, {"2025-03-04", "2025-03-11", "2025-03-18", "2025-03-25", "2025-04-01"}},
      {"EXDATE with a zone", {"EXDATE;TZID=Asia/Seoul:20250318T193000", rule}, {},
       {"2025-03-04", "2025-03-11", "2025-03-25", "2025-04-01"}},
      {"EXDATE list of dates", {rule, "EXDATE;VALUE=DATE:20250311,20250325"}, {},
       {"2025-03-04", "2025-03-18", "2025-04-01"}},
      {"cancelled or moved instances",
       {rule}, {base::dayNumberOf(2025, 3, 4), base::dayNumberOf(2025, 4, 1)},
       {"2025-03-11", "2025-03-18", "2025-03-25"}},
      {"RDATE adds, once per day",
       {rule, "RDATE;TZID=Asia/Seoul:20250320T193000,20250311T193000", "RDATE:20260101"}, {},
       {"2025-03-04", "2025-03-11", "2025-03-18", "2025-03-20", "2025-03-25", "2025-04-01"}},
      {"EXDATE wins over RDATE", {rule, "RDATE:20250320T193000", "EXDATE:20250320T193000"}, {},
       {"2025-03-04", "2025-03-11", "2025-03-18", "2025-03-25", "2025-04-01"}},
      {"bad values are skipped", {rule, "EXDATE:2025031", "EXDATE:20251318", "EXDATE:x20250318",
                                  "RDATE:", "EXDATE", "RDATE;VALUE=DATE:20250230"}, {},
       {"2025-03-04", "2025-03-11", "2025-03-18", "2025-03-25", "2025-04-01"}},
      {"only extra dates", {"RDATE;VALUE=DATE:20250601"}, {}, {"2025-06-01"}},
      {"no recurrence found", {}, {}, {}},
  };
  for (const Case& c : cases) {
    const YearIndex index = indexOf(2025, {series("s", start, c.recurrence, c.exceptions)});
    EXPECT_EQ(daysOf(index, "s"), c.days) << c.what;
  }
}

TEST(YearIndexSeries, TwoRulesGivingOneDayEnterTheIdTwice) {
  const YearIndex index = indexOf(
      2025, {series("s", at(2025, 3, 3, 9, 0),
                    {"RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=2", "RRULE:FREQ=DAILY;COUNT=2"})});
  EXPECT_EQ(index.tokensOn(date(2025, 3, 3)), (Days{"s", "s"}));
  EXPECT_EQ(index.tokensOn(date(2025, 3, 4)), (Days{"s"}));
  EXPECT_EQ(index.tokensOn(date(2025, 3, 10)), (Days{"s"}));
}

// --- the file ---

TEST(YearIndexFile, WrittenAsCp949LinesWithCrLfAndReadBack) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  const std::vector<Holiday> holidays = {{"ho00002", true, 3, 1, 1, 0, "설날"}};
  YearIndexRecords source({single("ev|bad", date(2014, 1, 2), 0, false),
                           single("ev1", date(2014, 1, 31), date(2014, 2, 1), false),
                           task("t1", date(2014, 12, 31), date(2014, 12, 31))});
  // The folder path ends with a separator: the name holds only one.
  ASSERT_TRUE(calendar::buildYearIndex(2014, dir.path() + "/", holidays, source));
  EXPECT_EQ(calendar::yearIndexPath(dir.path() + "/", 2014), dir.path() + "/2014.tmp");
  EXPECT_EQ(base::readBytes(dir.path() + "/2014.tmp").value_or(""),
            "30=ho00002\r\n31=ho00002|ev1\r\n32=ho00002\r\n365=t1\r\n");

  const std::optional<YearIndex> read = calendar::readYearIndex(dir.path() + "/2014.tmp", 2014);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->tokensOn(date(2014, 1, 31)), (Days{"ho00002", "ev1"}));
  EXPECT_EQ(read->tokensOf(365), (Days{"t1"}));
  EXPECT_FALSE(calendar::readYearIndex(dir.path() + "/2013.tmp", 2013));
}

TEST(YearIndexFile, DamagedLinesAreSkipped) {
  TempDir dir;
  const std::string path = dir.path() + "/2025.tmp";
  ASSERT_TRUE(base::writeBytesAtomic(
      path, "1=a|b\r\n0=zero\r\n367=late\r\nx=bad\r\n=none\r\nnoequals\r\n1=again\r\n"
            "2=\r\n3=||c||\r\n-5=neg\r\n99999999999=huge\r\n366=last"));
  const std::optional<YearIndex> index = calendar::readYearIndex(path, 2025);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->tokensOf(1), (Days{"a", "b"}));
  EXPECT_TRUE(index->tokensOf(2).empty());
  EXPECT_EQ(index->tokensOf(3), (Days{"c"}));
  EXPECT_EQ(index->tokensOf(366), (Days{"last"}));
  EXPECT_EQ(calendar::yearIndexLines(*index), (Days{"1=a|b", "3=c", "366=last"}));
}

// --- lookups ---

class YearIndexLookup : public ::testing::Test {
 protected:
  void TearDown() override { base::setClock({}); }
  TempDir dir_;
};

TEST_F(YearIndexLookup, FirstDayOfItemThisYearReadsTheCurrentYear) {
  base::setClock([] { return at(2025, 6, 1, 12, 0); });
  EXPECT_EQ(calendar::firstDayOfItemThisYear(dir_.path(), "ev1"), 0);  // no file yet
  YearIndexRecords source({single("ev1", date(2025, 12, 25), date(2025, 12, 26), false),
                           single("ev1", date(2025, 3, 2), date(2025, 3, 3), false),
                           single("ev2", date(2025, 1, 5), date(2025, 1, 6), false)});
  ASSERT_TRUE(calendar::buildYearIndex(2025, dir_.path(), calendar::bundledHolidays(), source));
  // 25 December also holds the Christmas key: the id is still found.
  EXPECT_EQ(calendar::firstDayOfItemThisYear(dir_.path(), "ev1"), date(2025, 3, 2));
  EXPECT_EQ(calendar::firstDayOfItemThisYear(dir_.path(), "ev"), 0);
  EXPECT_EQ(calendar::firstDayOfItemThisYear(dir_.path(), "ho00011"), date(2025, 12, 25));
}

TEST_F(YearIndexLookup, NextDayOfItemBuildsYearsOnTheWayAndStops) {
  YearIndexRecords source({
      series("yearly", at(2020, 3, 1, 9, 0), {"RRULE:FREQ=YEARLY"}),
      series("leap", date(2024, 2, 29), {"RRULE:FREQ=YEARLY"}),
      series("over", date(2020, 1, 1), {"RRULE:FREQ=DAILY;UNTIL=20250101"}),
      series("yearly_x", date(2020, 1, 1), {"RRULE:FREQ=DAILY;UNTIL=20250601"}),  // id starts alike
  });
  const auto next = [&](const char* id, DateTime from) {
    return calendar::nextDayOfItem(id, from, dir_.path(), {}, source);
  };
  using calendar::YearDay;
  // From the day after `from` on, across the year's end.
  EXPECT_EQ(next("yearly", date(2025, 2, 28)), (YearDay{2025, 60}));
  EXPECT_EQ(next("yearly", date(2025, 3, 1)), (YearDay{2026, 60}));
  EXPECT_EQ(next("yearly", date(2025, 12, 31)), (YearDay{2026, 60}));
  EXPECT_TRUE(fs::exists(dir_.path() + "/2026.tmp"));
  // A 29 February series next falls in 2028, inside the search.
  EXPECT_EQ(next("leap", date(2025, 1, 1)), (YearDay{2028, 60}));
  // A series that has ended is searched for a few years only.
  EXPECT_FALSE(next("over", date(2025, 1, 1)));
  EXPECT_FALSE(fs::exists(dir_.path() + "/2030.tmp"));
  EXPECT_FALSE(next("yearly", std::nan("")));
}

// --- EXDATE and RDATE texts ---

TEST(YearIndexRecurrenceTexts, DatesOfExdateAndRdateLines) {
  using calendar::exceptionDatesOf;
  using calendar::extraDatesOf;
  const int d18 = base::dayNumberOf(2025, 3, 18);
  const int d20 = base::dayNumberOf(2025, 3, 20);
  EXPECT_EQ(exceptionDatesOf("EXDATE;TZID=Asia/Seoul:20250318T193000"), (std::vector<int>{d18}));
  EXPECT_EQ(exceptionDatesOf("exdate:20250318T103000Z,20250320T103000Z"),
            (std::vector<int>{d18, d20}));
  EXPECT_EQ(extraDatesOf("RDATE;VALUE=PERIOD:20250318T100000Z/PT1H"), (std::vector<int>{d18}));
  EXPECT_TRUE(exceptionDatesOf("RDATE:20250318").empty());
  EXPECT_TRUE(extraDatesOf("EXDATE:20250318").empty());
  EXPECT_TRUE(extraDatesOf("RRULE:FREQ=DAILY;UNTIL=20250318").empty());
  EXPECT_TRUE(extraDatesOf("RDATEX:20250318").empty());
}

}  // namespace
