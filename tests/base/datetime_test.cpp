#include <gtest/gtest.h>

#include "base/datetime.h"

using namespace base;

TEST(DateTime, EncodesAndDecodesAroundTheEpoch) {
  struct Case {
    int y, m, d;
    int dayNumber;
  } cases[] = {{1899, 12, 30, 0}, {1900, 1, 1, 2}, {1899, 12, 29, -1}, {1881, 1, 30, -6908},
               {2051, 2, 10, 55194}, {2000, 2, 29, 36585}, {1966, 1, 1, 24108}};
  for (const Case& c : cases) {
    EXPECT_EQ(dayNumberOf(c.y, c.m, c.d), c.dayNumber) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(decodeDate(c.dayNumber), (Date{c.y, c.m, c.d}));
  }
}

TEST(DateTime, TimeOfDaySurvivesNegativeDaysAndRounding) {
  const DateTime t = encodeDateTime(2014, 1, 2, 23, 59, 59, 999);
  EXPECT_EQ(decodeTime(t), (Time{23, 59, 59, 999}));
  EXPECT_EQ(decodeDate(t), (Date{2014, 1, 2}));
  // Before 1899-12-30 the fraction is still the time of day.
  const DateTime old = encodeDateTime(1899, 12, 29, 6, 0);
  EXPECT_DOUBLE_EQ(old, -1.25);
  EXPECT_EQ(decodeDate(old), (Date{1899, 12, 29}));
  EXPECT_EQ(decodeTime(old).hour, 6);
  // A value a hair below midnight rounds into the next day, not to 24:00.
  EXPECT_EQ(decodeDate(encodeDate(2020, 3, 1) - 1e-10), (Date{2020, 3, 1}));
}

TEST(DateTime, WeekdaysAndDayOfYear) {
  const DateTime thursday = encodeDate(2014, 1, 2);
  EXPECT_EQ(isoDayOfWeek(thursday), 4);
  EXPECT_EQ(dayOfWeek(thursday), 5);
  EXPECT_EQ(isoDayOfWeek(encodeDate(2023, 1, 1)), 7);
  EXPECT_EQ(isoDayOfWeek(encodeDate(1881, 1, 30)), dayOfWeek(encodeDate(1881, 1, 30)) == 1 ? 7 : dayOfWeek(encodeDate(1881, 1, 30)) - 1);
  EXPECT_EQ(dayOfYear(encodeDate(2024, 12, 31)), 366);
  EXPECT_EQ(dayOfYear(encodeDate(2023, 3, 1)), 60);
}

TEST(DateTime, MonthArithmeticClampsTheDay) {
  EXPECT_EQ(decodeDate(incMonth(encodeDate(2014, 1, 31), 1)), (Date{2014, 2, 28}));
  EXPECT_EQ(decodeDate(incMonth(encodeDate(2014, 3, 15), -3)), (Date{2013, 12, 15}));
  EXPECT_EQ(decodeDate(incYear(encodeDate(2024, 2, 29), 1)), (Date{2025, 2, 28}));
  const DateTime withTime = encodeDateTime(2014, 5, 20, 9, 30);
  EXPECT_EQ(decodeTime(incMonth(withTime, 13)).minute, 30);
  EXPECT_FALSE(tryEncodeDate(2023, 2, 29));
  EXPECT_FALSE(tryEncodeDateTime(2023, 2, 28, 24, 0));
}

TEST(DateTime, ClockCanBeFixed) {
  setClock([] { return encodeDate(2026, 12, 11); });
  EXPECT_EQ(formatDate(now()), "2026-12-11");
  setClock({});
  EXPECT_GT(now(), encodeDate(2020, 1, 1));
}
