#include "calendar/lunar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/datetime.h"

namespace {

using base::Date;
using calendar::lunarToSolar;
using calendar::solarToLunar;

struct LunarToSolarCase {
  int year, month, day;
  bool leap;
  Date solar;
};

TEST(Lunar, ConvertsLunarDatesToSolar) {
  const LunarToSolarCase cases[] = {
      {2014, 1, 1, false, {2014, 1, 31}},
      {2015, 1, 1, false, {2015, 2, 19}},
      {2020, 1, 1, false, {2020, 1, 25}},
      {2014, 9, 1, true, {2014, 10, 24}},    // the leap month after month 9
      {2014, 10, 1, false, {2014, 11, 22}},  // month 10 comes after the leap month
      {2014, 10, 30, false, {2014, 12, 21}},  // and has its own 30 days
      {1881, 1, 1, false, {1881, 1, 30}},    // first day of the table
      {2050, 12, 29, false, {2051, 2, 10}},  // last day of the table
  };
  for (const auto& c : cases) {
    const calendar::SolarResult r = lunarToSolar(c.year, c.month, c.day, c.leap);
    EXPECT_TRUE(r.ok) << c.year << "-" << c.month << "-" << c.day << " " << r.message;
    EXPECT_EQ(r.solar, c.solar) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(r.message, "");
  }
}

struct FailureCase {
  int year, month, day;
  bool leap;
  const char* message;
};

TEST(Lunar, ReportsImpossibleLunarDates) {
  const char* range = "음력의 입력범위는 1881년 ~ 2050년 입니다!";
  const char* invalid = "입력된 날자가 올바르지 않습니다.";
  const FailureCase cases[] = {
      {1880, 12, 1, false, range},
      {2051, 1, 1, false, range},
      {2015, 5, 1, true, "2015-5월은 윤달이 없습니다!"},
      {2014, 8, 1, true, "2014-8월은 윤달이 없습니다!"},  // 2014's leap month follows month 9
      {2014, 3, 30, false, "2014-3월은 29일 까지 입니다."},
      {2014, 9, 30, true, "2014-9월은 29일 까지 입니다."},  // the leap month has 29 days
      {2014, 11, 30, false, "2014-11월은 29일 까지 입니다."},
      {2014, 0, 1, false, invalid},
      {2014, 13, 1, false, invalid},
      {2014, 1, 0, false, invalid},
  };
  for (const auto& c : cases) {
    const calendar::SolarResult r = lunarToSolar(c.year, c.month, c.day, c.leap);
    EXPECT_FALSE(r.ok) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(r.message, c.message);
  }
}

TEST(Lunar, ConvertsSolarDatesToLunar) {
  struct Case {
    Date solar;
    int year, month, day;
    bool leap, big;
  } const cases[] = {
      {{1881, 1, 30}, 1881, 1, 1, false, false},
      {{2014, 10, 24}, 2014, 9, 1, true, false},
      {{2014, 11, 22}, 2014, 10, 1, false, true},
      {{2015, 2, 18}, 2014, 12, 30, false, true},
      {{2051, 2, 10}, 2050, 12, 29, false, false},
  };
  for (const auto& c : cases) {
    const calendar::LunarResult r = solarToLunar(c.solar.year, c.solar.month, c.solar.day);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ((Date{r.year, r.month, r.day}), (Date{c.year, c.month, c.day}))
        << c.solar.year << "-" << c.solar.month << "-" << c.solar.day;
    EXPECT_EQ(r.leap, c.leap);
    EXPECT_EQ(r.big, c.big);
  }
  EXPECT_EQ(solarToLunar(base::encodeDate(2014, 10, 24) + 0.75).day, 1);
}

TEST(Lunar, ReportsSolarDatesOutOfRangeOrInvalid) {
  const char* range = "양력의 입력범위는 1881-01-30 ~ 2051-02-10 입니다.";
  const char* invalid = "입력된 날자가 올바르지 않습니다.";
  const struct {
    Date solar;
    const char* message;
  } cases[] = {
      {{1881, 1, 29}, range},
      {{2051, 2, 11}, range},
      {{2023, 2, 29}, invalid},
      {{2024, 13, 1}, invalid},
      {{2024, 4, 31}, invalid},
  };
  for (const auto& c : cases) {
    const calendar::LunarResult r = solarToLunar(c.solar.year, c.solar.month, c.solar.day);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, c.message);
  }
  EXPECT_EQ(solarToLunar(std::nan("")).message, invalid);
  EXPECT_EQ(calendar::lunarDateToSolar(1e300).message, invalid);
}

// Every day of the range: the lunar date converts back to the same day, and
// consecutive days either advance the lunar day or start a month at day 1
// after a last day that matches the month's size.
TEST(Lunar, EveryDayRoundTripsAndLunarDaysAreContinuous) {
  calendar::LunarResult previous;
  for (int n = calendar::kFirstLunarDayNumber; n <= calendar::kLastLunarDayNumber; ++n) {
    const Date solar = base::dateOfDayNumber(n);
    const calendar::LunarResult lunar = solarToLunar(solar.year, solar.month, solar.day);
    ASSERT_TRUE(lunar.ok) << n;
    const calendar::SolarResult back = lunarToSolar(lunar.year, lunar.month, lunar.day, lunar.leap);
    ASSERT_TRUE(back.ok) << n << " " << back.message;
    ASSERT_EQ(back.solar, solar) << n;
    ASSERT_EQ(calendar::lunarMonthLength(lunar.year, lunar.month, lunar.leap), lunar.big ? 30 : 29);
    if (n > calendar::kFirstLunarDayNumber) {
      if (lunar.day == 1)
        ASSERT_EQ(previous.day, previous.big ? 30 : 29) << n;
      else
        ASSERT_EQ(lunar.day, previous.day + 1) << n;
    }
    previous = lunar;
  }
}

// Seollal (lunar 1 January) and Chuseok (lunar 15 August) as Korea kept them.
TEST(Lunar, SeollalAndChuseokMatchThePublishedDates) {
  const struct {
    int year;
    Date seollal, chuseok;
  } years[] = {
      {1991, {1991, 2, 15}, {1991, 9, 22}}, {1992, {1992, 2, 4}, {1992, 9, 11}},
      {1993, {1993, 1, 23}, {1993, 9, 30}}, {1994, {1994, 2, 10}, {1994, 9, 20}},
      {1995, {1995, 1, 31}, {1995, 9, 9}},  {1996, {1996, 2, 19}, {1996, 9, 27}},
      {1997, {1997, 2, 8}, {1997, 9, 16}},  {1998, {1998, 1, 28}, {1998, 10, 5}},
      {1999, {1999, 2, 16}, {1999, 9, 24}}, {2000, {2000, 2, 5}, {2000, 9, 12}},
      {2001, {2001, 1, 24}, {2001, 10, 1}}, {2002, {2002, 2, 12}, {2002, 9, 21}},
      {2003, {2003, 2, 1}, {2003, 9, 11}},  {2004, {2004, 1, 22}, {2004, 9, 28}},
      {2005, {2005, 2, 9}, {2005, 9, 18}},  {2006, {2006, 1, 29}, {2006, 10, 6}},
      {2007, {2007, 2, 18}, {2007, 9, 25}}, {2008, {2008, 2, 7}, {2008, 9, 14}},
      {2009, {2009, 1, 26}, {2009, 10, 3}}, {2010, {2010, 2, 14}, {2010, 9, 22}},
      {2011, {2011, 2, 3}, {2011, 9, 12}},  {2012, {2012, 1, 23}, {2012, 9, 30}},
      {2013, {2013, 2, 10}, {2013, 9, 19}}, {2014, {2014, 1, 31}, {2014, 9, 8}},
      {2015, {2015, 2, 19}, {2015, 9, 27}}, {2016, {2016, 2, 8}, {2016, 9, 15}},
      {2017, {2017, 1, 28}, {2017, 10, 4}}, {2018, {2018, 2, 16}, {2018, 9, 24}},
      {2019, {2019, 2, 5}, {2019, 9, 13}},  {2020, {2020, 1, 25}, {2020, 10, 1}},
      {2021, {2021, 2, 12}, {2021, 9, 21}}, {2022, {2022, 2, 1}, {2022, 9, 10}},
      {2023, {2023, 1, 22}, {2023, 9, 29}}, {2024, {2024, 2, 10}, {2024, 9, 17}},
      {2025, {2025, 1, 29}, {2025, 10, 6}}, {2026, {2026, 2, 17}, {2026, 9, 25}},
      {2027, {2027, 2, 7}, {2027, 9, 15}},  {2029, {2029, 2, 13}, {2029, 9, 22}},
      {2030, {2030, 2, 3}, {2030, 9, 12}},
  };
  for (const auto& y : years) {
    EXPECT_EQ(lunarToSolar(y.year, 1, 1, false).solar, y.seollal) << y.year;
    EXPECT_EQ(lunarToSolar(y.year, 8, 15, false).solar, y.chuseok) << y.year;
  }
}

TEST(Lunar, LunarDateToSolarTakesDateTimesOrPlainNumbers) {
  const calendar::SolarResult fromDate = calendar::lunarDateToSolar(base::encodeDate(2015, 1, 1));
  EXPECT_TRUE(fromDate.ok);
  EXPECT_EQ(fromDate.solar, (Date{2015, 2, 19}));
  // The 29th of the second lunar month of 2023 cannot be held as a date-time
  // (there is no solar 2023-02-29), but as plain numbers it converts.
  const calendar::SolarResult plain = calendar::lunarDateToSolar(2023, 2, 29);
  ASSERT_TRUE(plain.ok) << plain.message;
  const Date first = lunarToSolar(2023, 2, 1, false).solar;
  EXPECT_EQ(base::dayNumberOf(plain.solar.year, plain.solar.month, plain.solar.day),
            base::dayNumberOf(first.year, first.month, first.day) + 28);
  const calendar::SolarResult tooLong = calendar::lunarDateToSolar(2014, 3, 30);
  EXPECT_FALSE(tooLong.ok);
  EXPECT_EQ(tooLong.message, "2014-3월은 29일 까지 입니다.");
}

}  // namespace
