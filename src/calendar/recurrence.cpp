// Expansion of a recurrence rule into the occurrences of one year.
//
// The rule is generated period by period (day, week, month or year) from the
// event's start.  To stay fast for events that started long ago, the walk does
// not step through the earlier years: it jumps to the first period of the
// requested year, and when a COUNT is running it first works out how many
// occurrences the earlier periods used up (arithmetically for daily and weekly
// rules, and for monthly and yearly rules from a per-period count that depends
// only on the period's length and the weekday it starts on).
#include "calendar/recurrence.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <string>

#include "base/text.h"
#include "calendar/rule_text.h"

namespace calendar {
namespace {

using base::DateTime;

// List values beyond these magnitudes select nothing in any period, so they are
// clamped to keep the arithmetic in range.
constexpr long long kListNumberLimit = 100000;
// More days than the calendar has: a larger interval leaves only the start.
constexpr long long kIntervalLimit = 10'000'000;

enum class Frequency { None, Daily, Weekly, Monthly, Yearly };

struct Weekday {
  int weekday;  // 1 = Monday ... 7 = Sunday
  int ordinal;  // 0 = every such weekday
};

struct Rule {
  Frequency frequency = Frequency::None;
  long long interval = 1;
  long long count = 0;  // 0 = no count
  bool hasUntil = false;
  int untilDay = 0;  // day number of UNTIL's date
  bool hasByDay = false, hasByMonthDay = false, hasByMonth = false;
  bool hasBySetPos = false, hasByWeekNo = false, hasByYearDay = false;
  std::vector<Weekday> byDay;  // entries with a weekday code, in the order written
  std::vector<int> byMonthDay, bySetPos, byWeekNo, byYearDay;
  unsigned monthMask = 0;  // bit m set when BYMONTH lists month m
};

Frequency frequencyOf(std::string_view value) {
  if (value == "DAILY") return Frequency::Daily;
  if (value == "WEEKLY") return Frequency::Weekly;
  if (value == "MONTHLY") return Frequency::Monthly;
  if (value == "YEARLY") return Frequency::Yearly;
  return Frequency::None;
}

int clampListNumber(long long value) {
  return static_cast<int>(std::clamp(value, -kListNumberLimit, kListNumberLimit));
}

// List values that are not numbers count as 1.
std::vector<int> numberList(std::string_view value) {
  std::vector<int> numbers;
  for (std::string_view item : splitRuleList(value)) numbers.push_back(clampListNumber(ruleNumber(item, 1)));
  return numbers;
}

// Months are matched as text against the month number without a leading
// zero, the way the rules are written: "03" lists no month.
unsigned monthMaskOf(std::string_view value) {
  static const std::array<std::string, 13> kMonthTexts = [] {
    std::array<std::string, 13> texts;
    for (int m = 1; m <= 12; ++m) texts[m] = std::to_string(m);
    return texts;
  }();
  unsigned mask = 0;
  for (std::string_view item : splitRuleList(value)) {
    for (int m = 1; m <= 12; ++m) {
      if (item == kMonthTexts[m]) mask |= 1u << m;
    }
  }
  return mask;
}

// UNTIL's first eight characters as yyyymmdd; false when they are not a date.
bool parseUntil(std::string_view value, int& dayNumber) {
  if (value.size() < 8) return false;
  int fields[3] = {0, 0, 0};
  const int widths[3] = {4, 2, 2};
  std::size_t pos = 0;
  for (int f = 0; f < 3; ++f) {
    for (int i = 0; i < widths[f]; ++i, ++pos) {
      const char c = value[pos];
      if (c < '0' || c > '9') return false;
      fields[f] = fields[f] * 10 + (c - '0');
    }
  }
  if (!base::isValidDate(fields[0], fields[1], fields[2])) return false;
  dayNumber = base::dayNumberOf(fields[0], fields[1], fields[2]);
  return true;
}

Rule parseRule(std::string_view text) {
  Rule rule;
  for (const RulePart& part : splitRuleParts(text)) {
    const auto is = [&](std::string_view name) { return base::equalsIgnoreCaseAscii(part.name, name); };
    if (is("FREQ")) {
      rule.frequency = frequencyOf(part.value);
    } else if (is("INTERVAL")) {
      // An interval of 0 or less would never advance the walk.
      rule.interval = std::clamp(ruleNumber(part.value, 1), 1LL, kIntervalLimit);
    } else if (is("COUNT")) {
      rule.count = std::max(ruleNumber(part.value, 0), 0LL);
    } else if (is("UNTIL")) {
      // An UNTIL that is not a date is treated as absent.
      rule.hasUntil = parseUntil(part.value, rule.untilDay);
    } else if (is("BYDAY")) {
      rule.hasByDay = true;
      rule.byDay.clear();
      for (std::string_view item : splitRuleList(part.value)) {
        const WeekdayEntry entry = parseWeekdayEntry(item);
        if (entry.weekday != 0) rule.byDay.push_back({entry.weekday, clampListNumber(entry.ordinal)});
      }
    } else if (is("BYMONTHDAY")) {
      rule.hasByMonthDay = true;
      rule.byMonthDay = numberList(part.value);
    } else if (is("BYMONTH")) {
      rule.hasByMonth = true;
      rule.monthMask = monthMaskOf(part.value);
    } else if (is("BYSETPOS")) {
      rule.hasBySetPos = true;
      rule.bySetPos = numberList(part.value);
    } else if (is("BYWEEKNO")) {
      rule.hasByWeekNo = true;
      rule.byWeekNo = numberList(part.value);
    } else if (is("BYYEARDAY")) {
      rule.hasByYearDay = true;
      rule.byYearDay = numberList(part.value);
    }
  }
  return rule;
}

long long ceilDiv(long long a, long long b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

int monthIndex(int year, int month) { return year * 12 + month - 1; }

// The frame of one expansion: the requested year, the start and the limits.
struct Frame {
  int year;
  base::Date startDate;
  int startDay;      // day number of the start
  int startWeekday;  // ISO weekday of the start
  int yearFirst;     // 1 January of the requested year
  int yearLast;      // 31 December of the requested year
  int lastDay;       // last day an occurrence may fall on (year end or UNTIL)
  DateTime timeOfDay;
};

DateTime atTimeOfDay(int day, DateTime timeOfDay) {
  // Same layout as the date-time module: before 1899-12-30 the fraction counts
  // away from zero.
  return day >= 0 ? day + timeOfDay : day - timeOfDay;
}

// Takes the candidates in generation order and keeps the occurrences of the
// requested year.  Candidates before `lowest` are either before the start or
// were already accounted for in `used`.
class Collector {
 public:
  Collector(const Frame& frame, int lowest, long long count, long long used, std::vector<DateTime>& out)
      : frame_(frame), lowest_(lowest), count_(count), used_(used), out_(out) {}

  bool done() const { return count_ > 0 && used_ >= count_; }

  void offer(int day) {
    if (day < lowest_ || day > frame_.lastDay || done()) return;
    ++used_;
    out_.push_back(atTimeOfDay(day, frame_.timeOfDay));
  }

 private:
  const Frame& frame_;
  int lowest_;
  long long count_;
  long long used_;
  std::vector<DateTime>& out_;
};

// ---- daily and weekly: an arithmetic progression of days ----

// Number of terms start + k * step (k >= 0) within [from, to].
long long termsWithin(int start, long long step, long long from, long long to) {
  from = std::max<long long>(from, start);
  if (to < from) return 0;
  return (to - start) / step - ceilDiv(from - start, step) + 1;
}

void expandProgression(const Frame& frame, long long step, long long count, std::vector<DateTime>& out) {
  const int lowest = std::max(frame.startDay, frame.yearFirst);
  const long long skipped = ceilDiv(lowest - frame.startDay, step);  // terms before the year
  Collector collector(frame, lowest, count, skipped, out);
  for (long long day = frame.startDay + skipped * step; day <= frame.lastDay && !collector.done(); day += step)
    collector.offer(static_cast<int>(day));
}

void expandDailyByMonth(const Rule& rule, const Frame& frame, std::vector<DateTime>& out) {
  const auto monthFirst = [](int y, int m) { return base::dayNumberOf(y, m, 1); };
  const auto monthLast = [](int y, int m) { return base::dayNumberOf(y, m, base::daysInMonth(y, m)); };
  long long used = 0;
  if (rule.count > 0) {
    for (int y = frame.startDate.year; y < frame.year && used < rule.count; ++y) {
      for (int m = 1; m <= 12; ++m) {
        if (rule.monthMask & (1u << m))
          used += termsWithin(frame.startDay, rule.interval, monthFirst(y, m), monthLast(y, m));
      }
    }
  }
  const int lowest = std::max(frame.startDay, frame.yearFirst);
  Collector collector(frame, lowest, rule.count, used, out);
  for (int m = 1; m <= 12 && !collector.done() && monthFirst(frame.year, m) <= frame.lastDay; ++m) {
    if (!(rule.monthMask & (1u << m))) continue;
    const long long from = std::max(lowest, monthFirst(frame.year, m));
    long long day = frame.startDay + ceilDiv(from - frame.startDay, rule.interval) * rule.interval;
    for (const int last = monthLast(frame.year, m); day <= last && !collector.done(); day += rule.interval)
      collector.offer(static_cast<int>(day));
  }
}

void expandWeeklyByDay(const Rule& rule, const Frame& frame, std::vector<DateTime>& out) {
  unsigned mask = 0;  // bit d set for ISO weekday d
  for (const Weekday& w : rule.byDay) mask |= 1u << w.weekday;
  if (mask == 0) return;
  const auto daysIn = [mask](int fromWeekday, int toWeekday) {  // listed weekdays in [from, to]
    int n = 0;
    for (int d = fromWeekday; d <= toWeekday; ++d) n += (mask >> d) & 1;
    return n;
  };
  const long long interval = rule.interval;
  const int monday0 = frame.startDay - (frame.startWeekday - 1);  // Monday of the first week
  const int lowest = std::max(frame.startDay, frame.yearFirst);

  // Occurrences before `lowest`: the first week from the start, the full active
  // weeks in between, and the active week holding `lowest` up to the day before.
  long long used = 0;
  if (rule.count > 0 && lowest > frame.startDay) {
    const long long week = (lowest - monday0) / 7;
    const int weekdayOfLowest = static_cast<int>((lowest - monday0) % 7) + 1;
    if (week == 0) {
      used = daysIn(frame.startWeekday, weekdayOfLowest - 1);
    } else {
      used = daysIn(frame.startWeekday, 7) + (week - 1) / interval * daysIn(1, 7);
      if (week % interval == 0) used += daysIn(1, weekdayOfLowest - 1);
    }
  }

  Collector collector(frame, lowest, rule.count, used, out);
  long long week = (lowest - monday0) / 7;
  if (week % interval != 0) week += interval - week % interval;
  for (long long monday = monday0 + week * 7; monday <= frame.lastDay && !collector.done();
       monday += 7 * interval) {
    for (int d = 1; d <= 7; ++d) {
      if ((mask >> d) & 1) collector.offer(static_cast<int>(monday + d - 1));
    }
  }
}

// ---- monthly ----

class MonthlyPeriods {
 public:
  explicit MonthlyPeriods(const Rule& rule, int startDayOfMonth) : rule_(rule) {
    useStartDay_ = !rule.hasByDay && !rule.hasByMonthDay && !rule.hasByMonth && !rule.hasBySetPos;
    startDayOfMonth_ = startDayOfMonth;
    // With both parts a day must satisfy both, also in a month where one of
    // them selects nothing (a fifth Friday, a 31st).
    both_ = rule.hasByDay && rule.hasByMonthDay;
  }

  // The candidates of one month, as day numbers in generation order.
  const std::vector<int>& candidates(int year, int month) {
    const int first = base::dayNumberOf(year, month, 1);
    const int length = base::daysInMonth(year, month);
    const int firstWeekday = base::isoDayOfWeek(first);
    buildWeekdays(length, firstWeekday);
    buildMonthDays(length);
    result_.clear();
    if (rule_.hasBySetPos) {
      selectPositions();
    } else if (both_) {
      for (int d : r_)
        if (qMask_ & (1ull << d)) result_.push_back(d);
    } else {
      result_ = rule_.hasByDay ? q_ : r_;
    }
    for (int& d : result_) d += first - 1;
    return result_;
  }

  // Number of candidates of a month other than the first: it depends only on
  // the month's length and the weekday it starts on.
  long long countOf(int year, int month) {
    const int length = base::daysInMonth(year, month);
    const int key = (length - 28) * 7 + base::isoDayOfWeek(base::dayNumberOf(year, month, 1)) - 1;
    if (counts_[key] < 0) counts_[key] = static_cast<long long>(candidates(year, month).size());
    return counts_[key];
  }

 private:
  void buildWeekdays(int length, int firstWeekday) {
    q_.clear();
    qMask_ = 0;
    for (const Weekday& w : rule_.byDay) {
      const int firstDay = 1 + (w.weekday - firstWeekday + 7) % 7;
      const int n = (length - firstDay) / 7 + 1;
      if (w.ordinal == 0) {
        for (int i = 0; i < n; ++i) q_.push_back(firstDay + 7 * i);
      } else if (w.ordinal > 0 && w.ordinal <= n) {
        q_.push_back(firstDay + 7 * (w.ordinal - 1));
      } else if (w.ordinal < 0 && -w.ordinal <= n) {
        q_.push_back(firstDay + 7 * (n + w.ordinal));
      }
    }
    for (int d : q_) qMask_ |= 1ull << d;
  }

  void buildMonthDays(int length) {
    r_.clear();
    const auto add = [&](int d) {
      const int day = d > 0 ? d : d < 0 ? length + d + 1 : 0;
      if (day >= 1 && day <= length) r_.push_back(day);  // a day the month lacks is no candidate
    };
    if (useStartDay_) {
      add(startDayOfMonth_);
    } else {
      for (int d : rule_.byMonthDay) add(d);
    }
  }

  void selectPositions() {
    std::sort(q_.begin(), q_.end());
    std::sort(r_.begin(), r_.end());
    std::vector<int>& set = scratch_;
    set.clear();
    if (both_) {
      for (int d : r_)
        if (qMask_ & (1ull << d)) set.push_back(d);
    } else {
      set = rule_.hasByDay ? q_ : r_;
    }
    const long long size = static_cast<long long>(set.size());
    for (int p : rule_.bySetPos) {
      if (p > 0 && p <= size) result_.push_back(set[p - 1]);
      if (p < 0 && -p <= size) result_.push_back(set[size + p]);
    }
  }

  const Rule& rule_;
  bool useStartDay_;
  bool both_;
  int startDayOfMonth_;
  std::vector<int> q_, r_, scratch_, result_;
  unsigned long long qMask_ = 0;
  std::array<long long, 28> counts_ = [] {
    std::array<long long, 28> a;
    a.fill(-1);
    return a;
  }();
};

void expandMonthly(const Rule& rule, const Frame& frame, std::vector<DateTime>& out) {
  // With BYSETPOS the first month counts from its first day.
  const int firstDay =
      rule.hasBySetPos ? base::dayNumberOf(frame.startDate.year, frame.startDate.month, 1) : frame.startDay;
  const int lowest = std::max(firstDay, frame.yearFirst);
  const int startMonth = monthIndex(frame.startDate.year, frame.startDate.month);
  const int yearMonth = monthIndex(frame.year, 1);
  const long long interval = rule.interval;
  MonthlyPeriods periods(rule, frame.startDate.day);

  const long long skipped = ceilDiv(std::max(0, yearMonth - startMonth), interval);
  long long used = 0;
  if (rule.count > 0) {
    for (long long k = 0; k < skipped && used < rule.count; ++k) {
      const int index = static_cast<int>(startMonth + k * interval);
      const int y = index / 12, m = index % 12 + 1;
      if (k == 0) {
        for (int day : periods.candidates(y, m)) used += day >= firstDay;
      } else {
        used += periods.countOf(y, m);
      }
    }
  }

  Collector collector(frame, lowest, rule.count, used, out);
  for (long long index = startMonth + skipped * interval; index <= yearMonth + 11 && !collector.done();
       index += interval) {
    const int y = static_cast<int>(index / 12), m = static_cast<int>(index % 12) + 1;
    if (base::dayNumberOf(y, m, 1) > frame.lastDay) break;
    for (int day : periods.candidates(y, m)) collector.offer(day);
  }
}

// ---- yearly ----

class YearlyPeriods {
 public:
  YearlyPeriods(const Rule& rule, const Frame& frame) : rule_(rule), frame_(frame) {
    monthMask_ = rule.monthMask;
    byMonthDay_ = rule.byMonthDay;
    hasByMonth_ = rule.hasByMonth;
    hasByMonthDay_ = rule.hasByMonthDay;
    if (!rule.hasByMonth && !rule.hasByDay && !rule.hasByMonthDay) {
      // The start's month and day, once a year.
      monthMask_ = 1u << frame.startDate.month;
      byMonthDay_ = {frame.startDate.day};
      hasByMonth_ = hasByMonthDay_ = true;
    }
    for (const Weekday& w : rule.byDay) hasOrdinal_ = hasOrdinal_ || w.ordinal != 0;
  }

  const std::vector<int>& candidates(int year) {
    jan1_ = base::dayNumberOf(year, 1, 1);
    length_ = base::daysInYear(year);
    buildWeeks(year);
    buildYearDays();
    buildMonths(year);
    // The parts given, not the lists that happen to be empty this year,
    // decide how the lists combine: a day must satisfy every part combined.
    result_.clear();
    const auto inT = [&](int day) { return tMask_.test(static_cast<std::size_t>(day - jan1_)); };
    if (rule_.hasByWeekNo && rule_.hasByDay) {
      for (int d : w_)
        if (inT(d)) result_.push_back(d);
    } else if (hasByMonthDay_ && rule_.hasByDay) {
      for (int d : m_)
        if (inT(d)) result_.push_back(d);
    } else if (rule_.hasByYearDay) {
      result_ = d_;
    } else if (rule_.hasByWeekNo) {
      result_ = w_;
    } else if (rule_.hasByDay) {
      result_ = t_;
    } else {
      result_ = m_;
    }
    return result_;
  }

  // Number of candidates of a year other than the first: it depends only on
  // whether the year is a leap year and the weekday of 1 January.
  long long countOf(int year) {
    const int key = (base::isLeapYear(year) ? 7 : 0) + base::isoDayOfWeek(base::dayNumberOf(year, 1, 1)) - 1;
    if (counts_[key] < 0) counts_[key] = static_cast<long long>(candidates(year).size());
    return counts_[key];
  }

 private:
  // The start's weekday in each listed ISO week (week 1 holds 4 January).
  // Days of the week that lie outside the year are left out.
  void buildWeeks(int year) {
    w_.clear();
    if (!rule_.hasByWeekNo) return;
    const int jan4 = jan1_ + 3;
    const int week1 = jan4 - (base::isoDayOfWeek(jan4) - 1);
    const int dec28 = base::dayNumberOf(year, 12, 28);  // always in the year's last ISO week
    const int lastWeekMonday = dec28 - (base::isoDayOfWeek(dec28) - 1);
    const int weeks = (lastWeekMonday - week1) / 7 + 1;
    for (int k : rule_.byWeekNo) {
      const int week = k > 0 ? k : k < 0 ? weeks + k + 1 : 0;
      if (week < 1 || week > weeks) continue;
      const int day = week1 + (week - 1) * 7 + frame_.startWeekday - 1;
      if (day >= jan1_ && day < jan1_ + length_) w_.push_back(day);
    }
  }

  void buildYearDays() {
    d_.clear();
    for (int n : rule_.byYearDay) {
      if (n > 0 && n <= length_) d_.push_back(jan1_ + n - 1);
      if (n < 0 && -n <= length_) d_.push_back(jan1_ + length_ + n);
    }
  }

  // The n-th given weekday of the whole year (from the end when n < 0), or -1.
  int nthWeekdayOfYear(int weekday, int n) const {
    const int last = jan1_ + length_ - 1;
    int day;
    if (n > 0) {
      day = jan1_ + (weekday - base::isoDayOfWeek(jan1_) + 7) % 7 + 7 * (n - 1);
    } else {
      day = last - (base::isoDayOfWeek(last) - weekday + 7) % 7 + 7 * (n + 1);
    }
    return day >= jan1_ && day <= last ? day : -1;
  }

  void buildMonths(int year) {
    t_.clear();
    m_.clear();
    tMask_.reset();
    const int firstMonth = year == frame_.startDate.year ? frame_.startDate.month : 1;
    const bool startDayDefault = !rule_.hasByDay && !hasByMonthDay_ && d_.empty();
    for (int month = firstMonth; month <= 12; ++month) {
      if (hasByMonth_ && !(monthMask_ & (1u << month))) continue;
      const int first = base::dayNumberOf(year, month, 1);
      const int length = base::daysInMonth(year, month);
      const int firstWeekday = base::isoDayOfWeek(first);
      for (const Weekday& w : rule_.byDay) {
        if (w.ordinal == 0) {
          for (int day = first + (w.weekday - firstWeekday + 7) % 7; day < first + length; day += 7)
            t_.push_back(day);
        } else if (const int day = nthWeekdayOfYear(w.weekday, w.ordinal); day >= 0) {
          t_.push_back(day);
        }
      }
      const auto addMonthDay = [&](int d) {
        const int day = d > 0 ? d : d < 0 ? length + d + 1 : 0;
        if (day >= 1 && day <= length) m_.push_back(first + day - 1);
      };
      for (int d : byMonthDay_) addMonthDay(d);
      if (startDayDefault) addMonthDay(frame_.startDate.day);
      // An ordinal counts through the whole year, so one month is enough.
      if (hasOrdinal_) break;
    }
    std::sort(t_.begin(), t_.end());
    for (int day : t_) tMask_.set(static_cast<std::size_t>(day - jan1_));
  }

  const Rule& rule_;
  const Frame& frame_;
  unsigned monthMask_;
  std::vector<int> byMonthDay_;
  bool hasByMonth_, hasByMonthDay_;
  bool hasOrdinal_ = false;
  int jan1_ = 0, length_ = 0;
  std::vector<int> w_, d_, t_, m_, result_;
  std::bitset<366> tMask_;
  std::array<long long, 14> counts_ = [] {
    std::array<long long, 14> a;
    a.fill(-1);
    return a;
  }();
};

void expandYearly(const Rule& rule, const Frame& frame, std::vector<DateTime>& out) {
  const int startYear = frame.startDate.year;
  if ((frame.year - startYear) % rule.interval != 0) return;  // periods hold only their own year's days
  YearlyPeriods periods(rule, frame);
  long long used = 0;
  if (rule.count > 0) {
    for (long long y = startYear; y < frame.year && used < rule.count; y += rule.interval) {
      if (y == startYear) {
        for (int day : periods.candidates(startYear)) used += day >= frame.startDay;
      } else {
        used += periods.countOf(static_cast<int>(y));
      }
    }
  }
  Collector collector(frame, std::max(frame.startDay, frame.yearFirst), rule.count, used, out);
  for (int day : periods.candidates(frame.year)) collector.offer(day);
}

}  // namespace

std::vector<DateTime> expandRule(std::string_view text, int year, DateTime start) {
  std::vector<DateTime> out;
  const Rule rule = parseRule(text);
  if (rule.frequency == Frequency::None || year < 1 || year > 9999) return out;
  // A start read from a damaged file may be anything; only the calendar's years count.
  if (!(start >= base::dayNumberOf(1, 1, 1) && start < base::dayNumberOf(9999, 12, 31) + 1)) return out;
  const base::Date startDate = base::decodeDate(start);
  if (startDate.year < 1 || startDate.year > 9999 || year < startDate.year) return out;

  Frame frame;
  frame.year = year;
  frame.startDate = startDate;
  frame.startDay = base::dayNumber(start);
  frame.startWeekday = base::isoDayOfWeek(start);
  frame.timeOfDay = base::timeOf(start);
  frame.yearFirst = base::dayNumberOf(year, 1, 1);
  frame.yearLast = base::dayNumberOf(year, 12, 31);
  frame.lastDay = frame.yearLast;
  if (rule.hasUntil) {
    // The rule ends at 00:00 of UNTIL's date: that day itself only for an
    // event starting at midnight.
    const int untilLast = rule.untilDay - (frame.timeOfDay > 0 ? 1 : 0);
    frame.lastDay = std::min(frame.lastDay, untilLast);
  }
  const int earliest = rule.frequency == Frequency::Monthly && rule.hasBySetPos
                           ? base::dayNumberOf(startDate.year, startDate.month, 1)
                           : frame.startDay;
  if (frame.lastDay < std::max(earliest, frame.yearFirst)) return out;

  switch (rule.frequency) {
    case Frequency::Daily:
      if (rule.hasByMonth) {
        expandDailyByMonth(rule, frame, out);
      } else {
        expandProgression(frame, rule.interval, rule.count, out);
      }
      break;
    case Frequency::Weekly:
      if (rule.hasByDay) {
        expandWeeklyByDay(rule, frame, out);
      } else {
        expandProgression(frame, 7 * rule.interval, rule.count, out);
      }
      break;
    case Frequency::Monthly:
      expandMonthly(rule, frame, out);
      break;
    case Frequency::Yearly:
      expandYearly(rule, frame, out);
      break;
    case Frequency::None:
      break;
  }
  return out;
}

}  // namespace calendar
