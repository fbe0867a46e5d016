#include "calendar/lunar.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/text.h"

namespace calendar {
namespace {

constexpr int kYearCount = kLastLunarYear - kFirstLunarYear + 1;

// One entry per lunar year from 1881: the year type "1"-"6" (353, 354, 355,
// 383, 384, 385 days); the leap month as a letter whose alphabet position
// minus one is the month it follows (upper case 29 days, lower case 30), or a
// space; then 12 bits in hex, month 1 first, a set bit for a 30-day month.
constexpr std::array<const char*, kYearCount> kLunarTable = {
    "5H57A", "3 55B", "2 25D", "5F95B", "2 92B", "2 A95", "5ED95", "2 B4A", "3 B55",  // 1881
    "5C6D5", "3 55B", "5G277", "2 257", "2 52B", "4FAAA", "3 E95", "2 6AA", "5DBAA", "3 AB5",
    "5I4BD", "2 4AE", "3 A57", "4F54D", "2 D26", "3 D95", "5e655", "2 56A", "3 9AD", "5C55D",
    "2 4AE", "5GA5B", "2 A4D", "2 D25", "5FDA9", "3 B55", "2 56A", "5CADA", "3 95D", "5H4BB",
    "2 49B", "2 A4B", "5FB4B", "2 6A9", "2 AD4", "6EBB5", "2 2B6", "3 95B", "5C537", "2 497",
    "4G656", "2 E4A", "3 EA5", "5f6A9", "3 5B5", "2 2B6", "5d8AE", "2 92E", "5hC8D", "2 C95",
    "2 D4A", "5gD8A", "3 B69", "3 56D", "5e25B", "2 25D", "2 92D", "5CD2B", "2 A95", "5HD55",
    "2 B4A", "3 B55", "5f555", "3 4DB", "2 25B", "5d857", "2 52B", "5IA9B", "2 695", "2 6AA",
    "5GAEA", "3 AB5", "2 4B6", "5EAAE", "3 A57", "2 527", "4D726", "3 D95", "5H6B5", "2 56A",
    "3 9AD", "5F4DD", "2 4AE", "2 A4E", "5ED4D", "2 D25", "5ID59", "2 B54", "3 D6A", "5g95A",
    "3 95B", "2 49B", "5EA9B", "2 A4B", "5KB27", "2 6A5", "2 6D4", "6GB75", "2 2B6", "3 95B",
    "5F4B7", "2 497", "2 64B", "4D74A", "3 EA5", "5I6D9", "3 5AD", "2 2B6", "5F96E", "2 92E",
    "2 C96", "5EE95", "2 D4A", "3 DA5", "5C755", "2 56C", "6HABB", "2 25D", "2 92D", "5FCAB",
    "2 A95", "2 B4A", "5dB4A", "3 B55", "5J55D", "2 4BA", "3 A5B", "5F557", "2 52B", "2 A95",
    "5EB95", "2 6AA", "3 AD5", "5C6B5", "2 4B6", "5GA6E", "3 A57", "2 527", "4F6A6", "3 D93",
    "2 5AA", "5DB6A", "3 96D", "5L4AF", "2 4AE", "2 A4D", "5gD0D", "2 D25", "2 D52", "5FDD4",
    "3 B6A", "3 96D", "5C55B", "2 49B", "5HA57", "2 A4B", "2 B25", "5fB25", "2 6D4", "3 ADA",
    "5d8B6",  // 2050
};

constexpr std::array<int, 6> kYearTypeLength = {353, 354, 355, 383, 384, 385};

// A lunar year decoded once: its months in calendar order (the leap month
// right after the month it follows) with the day number before each month.
struct LunarYear {
  int leapAfter = 0;       // 0: no leap month
  int typeLength = 0;      // length given by the year type digit
  int monthCount = 0;      // 12 or 13
  int lengths[13] = {};    // 29 or 30, by position
  int monthStart[14] = {};  // day number before the first day of each position; [count] = last day
};

constexpr int hexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

constexpr LunarYear decodeYear(const char* entry, int dayBefore) {
  LunarYear y;
  y.typeLength = kYearTypeLength[entry[0] - '1'];
  const char leap = entry[1];
  const bool hasLeap = leap != ' ';
  const bool leapBig = leap >= 'a' && leap <= 'z';
  if (hasLeap) y.leapAfter = (leapBig ? leap - 'a' : leap - 'A');
  const int bits = hexValue(entry[2]) << 8 | hexValue(entry[3]) << 4 | hexValue(entry[4]);
  int position = 0;
  for (int month = 1; month <= 12; ++month) {
    y.lengths[position++] = (bits >> (12 - month) & 1) ? 30 : 29;
    if (hasLeap && month == y.leapAfter) y.lengths[position++] = leapBig ? 30 : 29;
  }
  y.monthCount = position;
  y.monthStart[0] = dayBefore;
  for (int p = 0; p < position; ++p) y.monthStart[p + 1] = y.monthStart[p] + y.lengths[p];
  return y;
}

constexpr std::array<LunarYear, kYearCount> buildYears() {
  std::array<LunarYear, kYearCount> years{};
  int dayBefore = kFirstLunarDayNumber - 1;
  for (int i = 0; i < kYearCount; ++i) {
    years[i] = decodeYear(kLunarTable[i], dayBefore);
    dayBefore = years[i].monthStart[years[i].monthCount];
  }
  return years;
}

constexpr std::array<LunarYear, kYearCount> kYears = buildYears();

constexpr bool yearTypesMatchMonths() {
  for (const LunarYear& y : kYears)
    if (y.monthStart[y.monthCount] - y.monthStart[0] != y.typeLength) return false;
  return true;
}
static_assert(yearTypesMatchMonths(), "a year type differs from the sum of its months");
// The day before lunar 1966-01-01, and the last day of the table.
static_assert(kYears[1966 - kFirstLunarYear].monthStart[0] == 24128);
static_assert(kYears[kYearCount - 1].monthStart[kYears[kYearCount - 1].monthCount] ==
              kLastLunarDayNumber);

const LunarYear* tableYear(int year) {
  if (year < kFirstLunarYear || year > kLastLunarYear) return nullptr;
  return &kYears[year - kFirstLunarYear];
}

// Position (0-based) of a month in the year's month sequence.
int positionOf(const LunarYear& y, int month, bool leap) {
  if (leap) return y.leapAfter;  // right after month leapAfter (at 0-based index leapAfter)
  return (y.leapAfter != 0 && month > y.leapAfter) ? month : month - 1;
}

const char* const kInvalidDate = "입력된 날자가 올바르지 않습니다.";

SolarResult solarFailure(std::string message) {
  SolarResult r;
  r.message = std::move(message);
  return r;
}

LunarResult lunarFailure(std::string message) {
  LunarResult r;
  r.message = std::move(message);
  return r;
}

// Date-times far outside any calendar (or not numbers) name no date.
bool isPlausibleDateTime(base::DateTime value) {
  return std::isfinite(value) && std::fabs(value) < 3'000'000;
}

}  // namespace

SolarResult lunarToSolar(int year, int month, int day, bool leap) {
  const LunarYear* y = tableYear(year);
  if (!y) return solarFailure("음력의 입력범위는 1881년 ~ 2050년 입니다!");
  // Month numbers outside 1-12 and days below 1 name no lunar day at all.
  if (month < 1 || month > 12 || day < 1) return solarFailure(kInvalidDate);
  if (leap && y->leapAfter != month)
    return solarFailure(base::format("%d-%d월은 윤달이 없습니다!", year, month));
  const int p = positionOf(*y, month, leap);
  if (day > y->lengths[p])
    return solarFailure(base::format("%d-%d월은 %d일 까지 입니다.", year, month, y->lengths[p]));
  SolarResult r;
  r.ok = true;
  r.solar = base::dateOfDayNumber(y->monthStart[p] + day);
  return r;
}

LunarResult solarToLunar(int year, int month, int day) {
  if (!base::isValidDate(year, month, day)) return lunarFailure(kInvalidDate);
  const int n = base::dayNumberOf(year, month, day);
  if (n < kFirstLunarDayNumber || n > kLastLunarDayNumber)
    return lunarFailure("양력의 입력범위는 1881-01-30 ~ 2051-02-10 입니다.");
  // The last year whose day before its first day lies before n.
  const auto next = std::upper_bound(kYears.begin(), kYears.end(), n, [](int value, const LunarYear& y) {
    return value <= y.monthStart[0];
  });
  const LunarYear& y = *(next - 1);
  const int* starts = y.monthStart;
  const int p = static_cast<int>(std::upper_bound(starts + 1, starts + y.monthCount, n - 1) - starts) - 1;
  LunarResult r;
  r.ok = true;
  r.year = kFirstLunarYear + static_cast<int>(&y - kYears.data());
  r.day = n - starts[p];
  r.big = y.lengths[p] == 30;
  r.leap = y.leapAfter != 0 && p == y.leapAfter;
  r.month = (y.leapAfter != 0 && p >= y.leapAfter + 1) ? p : p + 1;
  if (r.leap) r.month = y.leapAfter;
  return r;
}

LunarResult solarToLunar(base::DateTime solarDate) {
  if (!isPlausibleDateTime(solarDate)) return lunarFailure(kInvalidDate);
  const base::Date d = base::decodeDate(solarDate);
  return solarToLunar(d.year, d.month, d.day);
}

SolarResult lunarDateToSolar(base::DateTime lunarDate) {
  if (!isPlausibleDateTime(lunarDate)) return solarFailure(kInvalidDate);
  const base::Date d = base::decodeDate(lunarDate);
  return lunarToSolar(d.year, d.month, d.day, false);
}

SolarResult lunarDateToSolar(int year, int month, int day) {
  return lunarToSolar(year, month, day, false);
}

int lunarYearLength(int year) {
  const LunarYear* y = tableYear(year);
  return y ? y->typeLength : 0;
}

int lunarMonthLength(int year, int month, bool leap) {
  const LunarYear* y = tableYear(year);
  if (!y || month < 1 || month > 12 || (leap && y->leapAfter != month)) return 0;
  return y->lengths[positionOf(*y, month, leap)];
}

int lunarLeapMonth(int year) {
  const LunarYear* y = tableYear(year);
  return y ? y->leapAfter : 0;
}

}  // namespace calendar
