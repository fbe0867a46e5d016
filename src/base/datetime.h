// Dates and times as the program keeps them: a double counting days since
// 1899-12-30 in local time, the fraction being the time of day.  For values
// before that day the integer part is the day and the absolute fraction the
// time (so -1.25 is 1899-12-29 06:00).
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace base {

using DateTime = double;

struct Date {
  int year = 0, month = 0, day = 0;
  bool operator==(const Date&) const = default;
};

struct Time {
  int hour = 0, minute = 0, second = 0, msec = 0;
  bool operator==(const Time&) const = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
int daysInYear(int year);
bool isValidDate(int year, int month, int day);

// Whole day number of a calendar date (1899-12-30 is 0); proleptic Gregorian.
int dayNumberOf(int year, int month, int day);
Date dateOfDayNumber(int dayNumber);

// Encoders return nothing for fields out of range.
std::optional<DateTime> tryEncodeDate(int year, int month, int day);
std::optional<DateTime> tryEncodeDateTime(int year, int month, int day, int hour, int minute,
                                          int second = 0, int msec = 0);
// Throwing forms (std::invalid_argument) for callers whose fields are known good.
DateTime encodeDate(int year, int month, int day);
DateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second = 0,
                        int msec = 0);
DateTime encodeTime(int hour, int minute, int second = 0, int msec = 0);

Date decodeDate(DateTime value);
Time decodeTime(DateTime value);

int dayNumber(DateTime value);  // the integer part (toward zero)
DateTime dateOf(DateTime value);
DateTime timeOf(DateTime value);  // fraction of a day, 0 <= t < 1
// A date with another value's time of day.
DateTime withTimeOf(DateTime date, DateTime timeSource);

int yearOf(DateTime value);
int monthOf(DateTime value);
int dayOf(DateTime value);
int isoDayOfWeek(DateTime value);  // Monday = 1 ... Sunday = 7
int dayOfWeek(DateTime value);     // Sunday = 1 ... Saturday = 7
int dayOfYear(DateTime value);     // 1 January = 1

// Month arithmetic: the day is kept, or lowered to the last day of the month.
DateTime incMonth(DateTime value, int months);
DateTime incYear(DateTime value, int years);

// "YYYY-MM-DD" and "YYYY-MM-DD HH:MM" for tools and tests.
std::string formatDate(DateTime value);
std::string formatDateMinute(DateTime value);

// The injectable "now": tests fix it, the program uses the system clock.
DateTime now();
void setClock(std::function<DateTime()> clock);  // empty restores the system clock

}  // namespace base
