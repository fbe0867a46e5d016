#include "base/datetime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace base {
namespace {

constexpr long long kMsecPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

Date civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long kEpochOffset = daysFromCivil(1899, 12, 30);

// Splits a value into its day number and the milliseconds of its time of day.
void split(DateTime value, long long& day, long long& msec) {
  if (value >= 0) {
    const long long total = std::llround(value * kMsecPerDay);
    day = total / kMsecPerDay;
    msec = total % kMsecPerDay;
  } else {
    day = static_cast<long long>(std::trunc(value));
    msec = std::llround(std::fabs(value - static_cast<double>(day)) * kMsecPerDay);
    if (msec >= kMsecPerDay) msec = kMsecPerDay - 1;
  }
}

DateTime combine(long long day, double fraction) {
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

std::function<DateTime()>& clockSlot() {
  static std::function<DateTime()> clock;
  return clock;
}

DateTime systemNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return encodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec, static_cast<int>(ms));
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int daysInYear(int year) { return isLeapYear(year) ? 366 : 365; }

bool isValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

int dayNumberOf(int year, int month, int day) {
  return static_cast<int>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                          kEpochOffset);
}

Date dateOfDayNumber(int dayNumber) { return civilFromDays(dayNumber + kEpochOffset); }

std::optional<DateTime> tryEncodeDate(int year, int month, int day) {
  if (!isValidDate(year, month, day)) return std::nullopt;
  return static_cast<double>(dayNumberOf(year, month, day));
}

std::optional<DateTime> tryEncodeDateTime(int year, int month, int day, int hour, int minute,
                                          int second, int msec) {
  auto date = tryEncodeDate(year, month, day);
  if (!date || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      msec < 0 || msec > 999)
    return std::nullopt;
  return combine(static_cast<long long>(*date), encodeTime(hour, minute, second, msec));
}

DateTime encodeDate(int year, int month, int day) {
  auto value = tryEncodeDate(year, month, day);
  if (!value) throw std::invalid_argument("invalid date");
  return *value;
}

DateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  auto value = tryEncodeDateTime(year, month, day, hour, minute, second, msec);
  if (!value) throw std::invalid_argument("invalid date-time");
  return *value;
}

DateTime encodeTime(int hour, int minute, int second, int msec) {
  return static_cast<double>(((hour * 60LL + minute) * 60 + second) * 1000 + msec) / kMsecPerDay;
}

Date decodeDate(DateTime value) {
  long long day, msec;
  split(value, day, msec);
  return civilFromDays(day + kEpochOffset);
}

Time decodeTime(DateTime value) {
  long long day, msec;
  split(value, day, msec);
  Time t;
  t.msec = static_cast<int>(msec % 1000);
  t.second = static_cast<int>(msec / 1000 % 60);
  t.minute = static_cast<int>(msec / 60000 % 60);
  t.hour = static_cast<int>(msec / 3600000);
  return t;
}

int dayNumber(DateTime value) {
  long long day, msec;
  split(value, day, msec);
  return static_cast<int>(day);
}

DateTime dateOf(DateTime value) { return static_cast<double>(dayNumber(value)); }

DateTime timeOf(DateTime value) {
  long long day, msec;
  split(value, day, msec);
  return static_cast<double>(msec) / kMsecPerDay;
}

DateTime withTimeOf(DateTime date, DateTime timeSource) {
  return combine(dayNumber(date), timeOf(timeSource));
}

int yearOf(DateTime value) { return decodeDate(value).year; }
int monthOf(DateTime value) { return decodeDate(value).month; }
int dayOf(DateTime value) { return decodeDate(value).day; }

int isoDayOfWeek(DateTime value) {
  // 1899-12-30 was a Saturday (ISO 6).
  const int r = ((dayNumber(value) + 5) % 7 + 7) % 7;
  return r + 1;
}

int dayOfWeek(DateTime value) { return isoDayOfWeek(value) % 7 + 1; }

int dayOfYear(DateTime value) {
  const Date d = decodeDate(value);
  return dayNumberOf(d.year, d.month, d.day) - dayNumberOf(d.year, 1, 1) + 1;
}

DateTime incMonth(DateTime value, int months) {
  const Date d = decodeDate(value);
  long long index = static_cast<long long>(d.year) * 12 + (d.month - 1) + months;
  const int year = static_cast<int>(index >= 0 ? index / 12 : (index - 11) / 12);
  const int month = static_cast<int>(index - static_cast<long long>(year) * 12) + 1;
  const int day = std::min(d.day, daysInMonth(year, month));
  return combine(dayNumberOf(year, month, day), timeOf(value));
}

DateTime incYear(DateTime value, int years) { return incMonth(value, years * 12); }

std::string formatDate(DateTime value) {
  const Date d = decodeDate(value);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

std::string formatDateMinute(DateTime value) {
  const Time t = decodeTime(value);
  char buf[16];
  std::snprintf(buf, sizeof buf, " %02d:%02d", t.hour, t.minute);
  return formatDate(value) + buf;
}

DateTime now() {
  auto& clock = clockSlot();
  return clock ? clock() : systemNow();
}

void setClock(std::function<DateTime()> clock) { clockSlot() = std::move(clock); }

}  // namespace base
