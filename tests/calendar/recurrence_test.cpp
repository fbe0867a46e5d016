#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "calendar/recurrence.h"

namespace {

using calendar::expandRule;

base::DateTime at(const char* ymd, int hour = 0, int minute = 0) {
  int y, m, d;
  std::sscanf(ymd, "%d-%d-%d", &y, &m, &d);
  return base::encodeDateTime(y, m, d, hour, minute);
}

// "MM-DD MM-DD ..." for up to twelve dates, "N: first .. last" for longer lists.
std::string render(const std::vector<base::DateTime>& dates) {
  const auto monthDay = [](base::DateTime d) { return base::formatDate(d).substr(5); };
  std::string out;
  if (dates.size() > 12) return std::to_string(dates.size()) + ": " + monthDay(dates.front()) + " .. " + monthDay(dates.back());
  for (base::DateTime d : dates) out += (out.empty() ? "" : " ") + monthDay(d);
  return out;
}

struct ExpandCase {
  const char* rule;
  const char* start;
  int year;
  const char* expected;
};

const ExpandCase kExpandCases[] = {
    // Weekly weeks run Monday to Sunday from the start's week, across year ends.
    {"RRULE:FREQ=WEEKLY;BYDAY=TH", "2014-01-02", 2014, "52: 01-02 .. 12-25"},
    {"RRULE:FREQ=WEEKLY;BYDAY=TH", "2014-01-02", 2015, "53: 01-01 .. 12-31"},
    {"RRULE:FREQ=WEEKLY;BYDAY=TH", "2014-01-02", 2013, ""},
    {"RRULE:FREQ=WEEKLY;BYDAY=1MO", "2014-12-01", 2014, "12-01 12-08 12-15 12-22 12-29"},  // ordinals ignored
    {"RRULE:FREQ=WEEKLY;INTERVAL=3;BYDAY=MO,FR;COUNT=100", "2012-06-13", 2014, "35: 01-03 .. 12-26"},
    {"RRULE:FREQ=WEEKLY;INTERVAL=2", "2014-12-18", 2015, "27: 01-01 .. 12-31"},
    // The count is used up from the start, whatever year the occurrences fall in.
    {"RRULE:FREQ=DAILY;COUNT=10", "2013-12-25", 2014, "01-01 01-02 01-03"},
    {"RRULE:FREQ=DAILY;COUNT=10", "2013-12-25", 2013, "12-25 12-26 12-27 12-28 12-29 12-30 12-31"},
    {"RRULE:FREQ=DAILY;COUNT=10", "2013-12-25", 2015, ""},
    {"RRULE:FREQ=DAILY;COUNT=20000", "1960-01-01", 2014, "276: 01-01 .. 10-03"},
    {"RRULE:FREQ=DAILY;INTERVAL=10;BYMONTH=1,7;COUNT=60", "2009-03-10", 2014, "01-03 01-13 01-23 07-02 07-12 07-22"},
    {"RRULE:FREQ=DAILY;INTERVAL=0;COUNT=3", "2014-03-01", 2014, "03-01 03-02 03-03"},
    {"RRULE:FREQ=DAILY;INTERVAL=-4;COUNT=2", "2014-03-01", 2014, "03-01 03-02"},
    // Months compare as text: "03" lists no month.
    {"RRULE:FREQ=DAILY;BYMONTH=03", "2014-01-01", 2014, ""},
    {"RRULE:FREQ=YEARLY;BYMONTH=03", "2014-01-01", 2014, ""},
    {"RRULE:FREQ=YEARLY;BYMONTH=3", "2014-01-20", 2014, "03-20"},
    {"RRULE:FREQ=DAILY;BYMONTH=2", "2014-01-01", 2015, "28: 02-01 .. 02-28"},
    // Monthly: days a month lacks are skipped.
    {"RRULE:FREQ=MONTHLY;BYMONTHDAY=31", "2014-01-10", 2014, "01-31 03-31 05-31 07-31 08-31 10-31 12-31"},
    {"RRULE:FREQ=MONTHLY", "2014-01-31", 2014, "01-31 03-31 05-31 07-31 08-31 10-31 12-31"},
    {"RRULE:FREQ=MONTHLY;BYDAY=5FR", "2014-01-01", 2014, "01-31 05-30 08-29 10-31"},
    {"RRULE:FREQ=MONTHLY;BYDAY=-1SU;COUNT=30", "2012-05-10", 2014,
     "01-26 02-23 03-30 04-27 05-25 06-29 07-27 08-31 09-28 10-26"},
    // With BYSETPOS the first month counts from its 1st.
    {"RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1", "2014-05-20", 2014,
     "05-01 06-02 07-01 08-01 09-01 10-01 11-03 12-01"},
    {"RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "2014-01-01", 2014,
     "01-31 02-28 03-31 04-30 05-30 06-30 07-31 08-29 09-30 10-31 11-28 12-31"},
    {"RRULE:FREQ=MONTHLY;BYDAY=2TU;BYMONTHDAY=8,9,10,11,12,13,14", "2014-01-01", 2014,
     "01-14 02-11 03-11 04-08 05-13 06-10 07-08 08-12 09-09 10-14 11-11 12-09"},
    {"RRULE:FREQ=MONTHLY;INTERVAL=5;BYMONTHDAY=-1", "2013-11-05", 2014, "04-30 09-30"},
    // A day must satisfy both parts, also where one of them selects nothing.
    {"RRULE:FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=31", "2014-01-01", 2014, "01-31 10-31"},
    {"RRULE:FREQ=MONTHLY;BYDAY=5WE;BYMONTHDAY=29,30,31", "2014-01-01", 2014, "01-29 04-30 07-30 10-29 12-31"},
    {"RRULE:FREQ=YEARLY;BYDAY=53TU;BYMONTHDAY=30,31", "2014-01-01", 2014, ""},
    // Candidates come in list order, and the count follows that order.
    {"RRULE:FREQ=MONTHLY;BYMONTHDAY=15,1;COUNT=3", "2014-01-01", 2014, "01-15 01-01 02-15"},
    // Yearly.
    {"RRULE:FREQ=YEARLY", "2012-02-29", 2013, ""},
    {"RRULE:FREQ=YEARLY", "2012-02-29", 2015, ""},
    {"RRULE:FREQ=YEARLY", "2012-02-29", 2016, "02-29"},
    {"RRULE:FREQ=YEARLY;BYDAY=1MO", "2014-01-01", 2018, "01-01"},
    {"RRULE:FREQ=YEARLY;BYDAY=1MO", "2014-01-01", 2014, "01-06"},
    {"RRULE:FREQ=YEARLY;BYDAY=-1FR", "2014-01-01", 2021, "12-31"},
    {"RRULE:FREQ=YEARLY;BYDAY=-1FR", "2014-01-01", 2014, "12-26"},
    {"RRULE:FREQ=YEARLY;INTERVAL=2", "2013-03-05", 2014, ""},
    {"RRULE:FREQ=YEARLY;INTERVAL=2", "2013-03-05", 2015, "03-05"},
    {"RRULE:FREQ=YEARLY;BYMONTH=2,8;BYDAY=MO;COUNT=40", "2012-05-10", 2014,
     "02-03 02-10 02-17 02-24 08-04 08-11 08-18 08-25"},
    // An ordinal counts through the whole year, also with BYMONTH.
    {"RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=10MO", "2014-01-01", 2015, "03-09"},
    {"RRULE:FREQ=YEARLY;BYMONTH=6;BYDAY=10MO", "2014-01-01", 2015, "03-09"},
    {"RRULE:FREQ=YEARLY;BYDAY=FR;BYMONTHDAY=13", "2014-01-01", 2015, "02-13 03-13 11-13"},
    {"RRULE:FREQ=YEARLY;BYWEEKNO=1,-1", "2014-01-01", 2014, "01-01 12-24"},
    {"RRULE:FREQ=YEARLY;BYYEARDAY=1,-1,100", "2014-01-01", 2014, "01-01 12-31 04-10"},
    // More than a hundred candidates in one year.
    {"RRULE:FREQ=YEARLY;BYDAY=MO,TU,WE", "2014-01-01", 2014, "157: 01-01 .. 12-31"},
    {"RRULE:FREQ=YEARLY;BYMONTHDAY=1,2,3,4,5,6,7,8,9,10", "2014-01-01", 2015, "120: 01-01 .. 12-10"},
    // Names without regard to case, values exactly.
    {"rrule:freq=DAILY;count=2", "2014-01-01", 2014, "01-01 01-02"},
    {"RRULE:FREQ=daily;COUNT=2", "2014-01-01", 2014, ""},
    {"RRULE:FREQ=HOURLY", "2014-01-01", 2014, ""},
    // UNTIL: the rule ends at 00:00 of its date; before the year, nothing.
    {"RRULE:FREQ=DAILY;UNTIL=20140105T103000Z", "2014-01-03", 2014, "01-03 01-04 01-05"},
    {"RRULE:FREQ=WEEKLY;UNTIL=20131231T000000Z", "2013-01-01", 2014, ""},
    {"RRULE:FREQ=MONTHLY;UNTIL=2014XXXX", "2014-10-07", 2014, "10-07 11-07 12-07"},  // not a date: no end
    // COUNT and UNTIL together: whichever ends the rule first.
    {"RRULE:FREQ=DAILY;COUNT=5;UNTIL=20140103", "2014-01-01", 2014, "01-01 01-02 01-03"},
    {"RRULE:FREQ=DAILY;COUNT=2;UNTIL=20140110", "2014-01-01", 2014, "01-01 01-02"},
    // Other lines of an event's recurrence array.
    {"EXDATE;TZID=Asia/Seoul:20140107T090000", "2014-01-01", 2014, ""},
    {"RDATE;VALUE=DATE:20140301", "2014-01-01", 2014, ""},
    {"", "2014-01-01", 2014, ""},
};

TEST(ExpandRule, Cases) {
  for (const ExpandCase& c : kExpandCases) {
    SCOPED_TRACE(std::string(c.rule) + " from " + c.start + " in " + std::to_string(c.year));
    EXPECT_EQ(render(expandRule(c.rule, c.year, at(c.start))), c.expected);
  }
}

TEST(ExpandRule, OccurrencesCarryTheStartsTimeAndUntilEndsAtMidnight) {
  const auto dates = expandRule("RRULE:FREQ=DAILY;UNTIL=20140105T103000Z", 2014, at("2014-01-01", 9, 0));
  std::vector<std::string> shown;
  for (base::DateTime d : dates) shown.push_back(base::formatDateMinute(d));
  EXPECT_EQ(shown, (std::vector<std::string>{"2014-01-01 09:00", "2014-01-02 09:00", "2014-01-03 09:00",
                                             "2014-01-04 09:00"}));
  // Timed occurrences on 31 December belong to the year.
  const auto yearEnd = expandRule("RRULE:FREQ=DAILY", 2014, at("2014-12-30", 23, 30));
  ASSERT_EQ(yearEnd.size(), 2u);
  EXPECT_EQ(base::formatDateMinute(yearEnd[1]), "2014-12-31 23:30");
}

TEST(ExpandRule, LongAgoStartsJumpToTheYear) {
  // Exact counts across many years; the walk must not step through them.
  EXPECT_EQ(render(expandRule("RRULE:FREQ=DAILY;COUNT=1000000", 2014, at("1900-01-01"))), "365: 01-01 .. 12-31");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=DAILY;COUNT=41638", 2014, at("1900-01-01"))), "");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=DAILY;COUNT=41639", 2014, at("1900-01-01"))), "01-01");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=WEEKLY;BYDAY=MO,SU;COUNT=12", 9999, at("0001-01-01"))), "");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=MONTHLY;BYDAY=MO", 9999, at("0001-01-01"))), "52: 01-04 .. 12-27");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=YEARLY;COUNT=2014", 2014, at("0001-06-01"))), "06-01");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=YEARLY;COUNT=2013", 2014, at("0001-06-01"))), "");
  EXPECT_EQ(render(expandRule("RRULE:FREQ=DAILY;INTERVAL=99999999", 2014, at("2014-06-01"))), "06-01");
}

// Each year works out on its own how much of the count earlier years used up;
// together the years must hand out exactly the first COUNT occurrences of the
// rule without a count, in the same order.
TEST(ExpandRule, ACountIsSharedOutOverTheYearsExactly) {
  const char* rules[] = {
      "RRULE:FREQ=DAILY;INTERVAL=5;BYMONTH=2,11",
      "RRULE:FREQ=DAILY;INTERVAL=40",
      "RRULE:FREQ=WEEKLY;INTERVAL=3;BYDAY=TU,SU",
      "RRULE:FREQ=WEEKLY;INTERVAL=4",
      "RRULE:FREQ=MONTHLY;BYDAY=1MO,-1FR",
      "RRULE:FREQ=MONTHLY;INTERVAL=7;BYMONTHDAY=31,-31,15",
      "RRULE:FREQ=MONTHLY;INTERVAL=5;BYDAY=SA,SU;BYSETPOS=2,-1",
      "RRULE:FREQ=YEARLY;BYWEEKNO=1,20,-1",
      "RRULE:FREQ=YEARLY;BYMONTH=2;BYDAY=MO",
      "RRULE:FREQ=YEARLY;INTERVAL=3;BYYEARDAY=60,-300",
      "RRULE:FREQ=YEARLY;BYDAY=-1SU",
      "RRULE:FREQ=YEARLY",
  };
  const std::size_t count = 150;
  for (const char* rule : rules) {
    for (const char* start : {"1996-02-29", "2001-12-31", "2010-07-18"}) {
      SCOPED_TRACE(std::string(rule) + " from " + start);
      const base::DateTime from = at(start, 8, 15);
      std::vector<base::DateTime> counted, all;
      for (int year = base::yearOf(from); all.size() < count && year <= 9999; ++year) {
        for (base::DateTime d : expandRule(std::string(rule) + ";COUNT=" + std::to_string(count), year, from))
          counted.push_back(d);
        for (base::DateTime d : expandRule(rule, year, from)) all.push_back(d);
      }
      ASSERT_GE(all.size(), count);
      all.resize(count);
      EXPECT_EQ(counted, all);
    }
  }
}

TEST(ExpandRule, OddValuesNeitherCrashNorHang) {
  const char* rules[] = {
      "RRULE:FREQ=MONTHLY;BYMONTHDAY=x,0,-0,99999999999999999999,-400",
      "RRULE:FREQ=MONTHLY;BYDAY=MO,MO,MO;BYSETPOS=0,9,-9,3,x",
      "RRULE:FREQ=MONTHLY;BYDAY=;BYSETPOS=",
      "RRULE:FREQ=WEEKLY;BYDAY=XX,M,,-9223372036854775808MO",
      "RRULE:FREQ=YEARLY;BYWEEKNO=0,54,-54,99;BYYEARDAY=0,367,-367;COUNT=9999999999",
      "RRULE:FREQ=YEARLY;BYDAY=53MO,-53SU,9999999TU",
      "RRULE:FREQ=DAILY;COUNT=-5;INTERVAL=abc;UNTIL=",
      "RRULE:FREQ=YEARLY;UNTIL=00000000",
      ":::;;;==;FREQ",
  };
  for (const char* rule : rules) {
    SCOPED_TRACE(rule);
    for (int year : {1, 2014, 9999, 0, 10000}) {
      for (base::DateTime start : {at("0001-01-01"), at("2014-02-28", 12, 0), at("9999-12-31")})
        for (base::DateTime d : expandRule(rule, year, start)) EXPECT_EQ(base::yearOf(d), year);
    }
  }
  for (double start : {std::nan(""), 1e300, -1e300, -700000.0})
    EXPECT_TRUE(expandRule("RRULE:FREQ=DAILY", 2014, start).empty()) << start;
  EXPECT_EQ(render(expandRule("RRULE:FREQ=MONTHLY;BYDAY=MO,MO;BYSETPOS=2", 2014, at("2014-01-01"))).substr(0, 5),
            "01-06");
}

struct DescribeCase {
  const char* rule;
  const char* shortText;
  const char* longText;
};

const DescribeCase kDescribeCases[] = {
    {"RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20141231T000000Z", "매주월,수",
     "매주, 월요일, 수요일, 2주마다, 2014년 12월 31일까지"},
    {"RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "매월월,화,수,목,금",
     "매월, 월요일, 화요일, 수요일, 목요일, 금요일중에서 그달의 마지막날"},
    {"RRULE:FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=12", "매월-1일", "매월, 마지막날, 12회만"},
    {"RRULE:FREQ=MONTHLY;BYDAY=2TU", "매월두번째화", "매월, 두번째화요일"},
    {"RRULE:FREQ=WEEKLY;BYDAY=MO,WE", "매주월,수", "매주, 월요일, 수요일"},
    {"RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=10MO", "매년3월10번째월", "매년, 3월, 10번째월요일"},
    {"RRULE:FREQ=MONTHLY;BYDAY=-2FR;INTERVAL=3", "매월마지막에서 두번째금", "매월, 마지막에서 두번째금요일, 3개월마다"},
    {"RRULE:FREQ=MONTHLY;BYMONTHDAY=15,-3", "매월15일,-3일", "매월, 15일, 마지막에서 세번째날"},
    {"RRULE:FREQ=MONTHLY;BYDAY=SA,SU;BYSETPOS=1,-1", "매월토,일", "매월, 토요일, 일요일중에서 그달의 첫번째,마지막날"},
    {"RRULE:FREQ=DAILY;BYMONTH=1,2;COUNT=10", "매일1월,2월", "매일, 1월, 2월, 10회만"},
    {"RRULE:FREQ=YEARLY;INTERVAL=2", "매년", "매년, 2년마다"},
    // The unit comes from a FREQ written before INTERVAL; names match exactly.
    {"RRULE:INTERVAL=2;FREQ=DAILY", "매일", "2마다, 매일"},
    {"RRULE:freq=DAILY;COUNT=3", "", "3회만"},
    {"RRULE:FREQ=HOURLY;COUNT=3", "", "3회만"},
    {"RRULE:FREQ=DAILY;UNTIL=2014XXXX", "매일", "매일"},
    // Texts without RRULE describe nothing.
    {"EXDATE;TZID=Asia/Seoul:20140107T090000", "", ""},
    {"FREQ=DAILY", "", ""},
};

TEST(DescribeRule, ShortAndLong) {
  for (const DescribeCase& c : kDescribeCases) {
    SCOPED_TRACE(c.rule);
    EXPECT_EQ(calendar::describeRuleShort(c.rule), c.shortText);
    EXPECT_EQ(calendar::describeRuleLong(c.rule), c.longText);
  }
}

TEST(DescribeRule, OrdinalWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"1", "첫번째"},  {"2", "두번째"},   {"3", "세번째"}, {"4", "네번째"},
      {"5", "5번째"},   {"7", "7번째"},    {"0", "0번째"},  {"x", "0번째"},
      {"-1", "마지막"}, {"-2", "마지막에서 두번째"},        {"-3", "마지막에서 세번째"},
      {"-12", "마지막에서 12번째"}, {"-9223372036854775808", "마지막에서 9223372036854775808번째"},
  };
  for (const auto& [number, word] : cases) EXPECT_EQ(calendar::ordinalWord(number), word) << number;
}

}  // namespace
