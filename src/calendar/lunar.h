// Conversion between Korean lunar dates and solar (Gregorian) dates for the
// lunar years 1881 to 2050.  Failures come back as a Korean message with
// ok == false; nothing throws.
#pragma once

#include <string>

#include "base/datetime.h"

namespace calendar {

inline constexpr int kFirstLunarYear = 1881;
inline constexpr int kLastLunarYear = 2050;
// Day numbers (days since 1899-12-30) of lunar 1881-01-01 and of the last lunar day of 2050.
inline constexpr int kFirstLunarDayNumber = -6908;
inline constexpr int kLastLunarDayNumber = 55194;

struct SolarResult {
  bool ok = false;
  base::Date solar;     // valid when ok
  std::string message;  // empty when ok
};

struct LunarResult {
  bool ok = false;
  int year = 0, month = 0, day = 0;
  bool big = false;   // the lunar month has 30 days
  bool leap = false;  // the lunar month is the leap month that follows `month`
  std::string message;
};

// `leap` asks for the leap month that follows month number `month`.
SolarResult lunarToSolar(int year, int month, int day, bool leap);

// Solar date given as plain numbers, so that a date the calendar lacks is
// reported rather than rejected by the caller.
LunarResult solarToLunar(int year, int month, int day);
LunarResult solarToLunar(base::DateTime solarDate);

// Lunar dates are held as date-times whose year, month and day are the lunar
// ones (never a leap month).  A lunar day the solar calendar lacks (the 29th
// or 30th of the second month) cannot be held that way; callers that build
// the date from a stored month and day should pass plain numbers instead.
SolarResult lunarDateToSolar(base::DateTime lunarDate);
SolarResult lunarDateToSolar(int year, int month, int day);

// Length in days of a lunar year or month (0 when out of range or missing).
int lunarYearLength(int year);
int lunarMonthLength(int year, int month, bool leap);
// Month number that the year's leap month follows, 0 when it has none.
int lunarLeapMonth(int year);

}  // namespace calendar
