#include "calendar/year_index.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "base/files.h"
#include "base/text.h"
#include "calendar/lunar.h"
#include "calendar/recurrence.h"

namespace calendar {
namespace {

using base::DateTime;

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

bool isIndexYear(int year) { return year >= kFirstYear && year <= kLastYear; }

// Dates outside years 1 to 9999 (or not numbers at all) count as no date.
bool isUsableDate(DateTime value) {
  static const double kFirst = base::dayNumberOf(kFirstYear, 1, 1);
  static const double kLast = base::dayNumberOf(kLastYear, 12, 31) + 1.0;
  return std::isfinite(value) && value >= kFirst && value < kLast;
}

// A token would break the line format when it holds a separator or a line end.
bool isWritableToken(std::string_view token) {
  return !token.empty() && token.find_first_of("|\r\n") == std::string_view::npos;
}

// Days of one year as day numbers, and the conversion to days of the year.
class YearSpan {
 public:
  explicit YearSpan(int year)
      : first_(base::dayNumberOf(year, 1, 1)), length_(base::daysInYear(year)) {}
  int first() const { return first_; }
  int last() const { return first_ + length_ - 1; }
  bool contains(long long dayNumber) const { return dayNumber >= first_ && dayNumber <= last(); }
  int dayOfYear(long long dayNumber) const { return static_cast<int>(dayNumber - first_) + 1; }

 private:
  int first_;
  int length_;
};

void appendToken(YearIndex& index, int dayOfYear, std::string_view token) {
  index.days[dayOfYear].emplace_back(token);
}

// --- holidays ---

// First day of a holiday in the year, as a day number; nothing when the
// holiday has no such day that year.
std::optional<long long> holidayFirstDay(const Holiday& holiday, int year) {
  if (holiday.lunar) {
    const SolarResult solar = lunarToSolar(year, holiday.month, holiday.day, false);
    if (!solar.ok || solar.solar.year != year) return std::nullopt;
    const long long day = base::dayNumberOf(year, solar.solar.month, solar.solar.day);
    // A lunar holiday of several days begins the day before its date.
    return holiday.days > 1 ? day - 1 : day;
  }
  if (!base::isValidDate(year, holiday.month, holiday.day)) return std::nullopt;
  return base::dayNumberOf(year, holiday.month, holiday.day);
}

// A later holiday replaces what an earlier one set on the same day.
void fillHolidays(YearIndex& index, const std::vector<Holiday>& holidays) {
  const YearSpan span(index.year);
  for (const Holiday& holiday : holidays) {
    if (holiday.year >= 1 && holiday.year != index.year) continue;
    if (!isWritableToken(holiday.key)) continue;
    const std::optional<long long> first = holidayFirstDay(holiday, index.year);
    if (!first) continue;
    // The length is clamped to the year, so a huge count stops at its end.
    const long long days = std::clamp<long long>(holiday.days, 1, 366);
    const long long from = std::max<long long>(*first, span.first());
    const long long to = std::min<long long>(*first + days - 1, span.last());
    for (long long day = from; day <= to; ++day)
      index.days[span.dayOfYear(day)] = {holiday.key};
  }
}

// --- items ---

bool isRecurring(int kind) { return kind >= 0 && kind <= 3; }

bool isBirthday(const YearIndexItem& item) {
  return base::contains(item.listId, kBirthdayListMarker);
}

// How many days after its first day a single event still covers.  An
// all-day event's end date is the day after its last day; a timed event
// that lasts more than a whole day covers every day up to the day of its end.
long long extraDaysOf(const YearIndexItem& item) {
  if (!isUsableDate(item.end) || item.end <= 0 || item.end <= item.start) return 0;
  const long long startDay = base::dayNumber(item.start);
  const long long endDay = base::dayNumber(item.end);
  if (!item.timed) return std::max(0LL, endDay - 1 - startDay);
  return item.end - item.start > 1 ? endDay - startDay : 0;
}

// A birthday's date in the year: its month and day, 28 February for 29
// February in a common year.
long long anniversaryIn(int year, DateTime start) {
  const base::Date date = base::decodeDate(start);
  const int day = std::min(date.day, base::daysInMonth(year, date.month));
  return base::dayNumberOf(year, date.month, day);
}

void addSingleEvent(YearIndex& index, const YearIndexItem& item) {
  const YearSpan span(index.year);
  const long long first =
      isBirthday(item) ? anniversaryIn(index.year, item.start) : base::dayNumber(item.start);
  const long long last = first + extraDaysOf(item);
  const long long from = std::max<long long>(first, span.first());
  const long long to = std::min<long long>(last, span.last());
  for (long long day = from; day <= to; ++day) appendToken(index, span.dayOfYear(day), item.id);
}

void addTask(YearIndex& index, const YearIndexItem& item) {
  const YearSpan span(index.year);
  const long long day = base::dayNumber(item.start);
  if (span.contains(day)) appendToken(index, span.dayOfYear(day), item.id);
}

// The series' occurrences in the year as day numbers: every rule expanded
// (the same day twice when two rules give it), RDATE days added once, then
// the EXDATE days and the days of cancelled or moved instances taken out.
std::vector<long long> seriesDays(int year, DateTime start, const std::vector<std::string>& texts,
                                  const std::vector<int>& exceptions) {
  const YearSpan span(year);
  std::vector<long long> days;
  std::unordered_set<long long> excluded(exceptions.begin(), exceptions.end());
  std::vector<int> extra;
  for (const std::string& text : texts) {
    for (DateTime occurrence : expandRule(text, year, start))
      if (isUsableDate(occurrence)) days.push_back(base::dayNumber(occurrence));
    for (int day : exceptionDatesOf(text)) excluded.insert(day);
    for (int day : extraDatesOf(text)) extra.push_back(day);
  }
  for (int day : extra) {
    if (span.contains(day) && std::find(days.begin(), days.end(), day) == days.end())
      days.push_back(day);
  }
  if (!excluded.empty())
    std::erase_if(days, [&](long long day) { return excluded.count(day) > 0; });
  return days;
}

void addSeries(YearIndex& index, YearIndexSource& items, std::size_t i,
               const YearIndexItem& item) {
  const YearSpan span(index.year);
  if (base::dayNumber(item.start) > span.last()) return;
  const std::vector<std::string> texts = items.recurrence(i);
  if (texts.empty()) return;
  for (long long day : seriesDays(index.year, item.start, texts, items.exceptionDays(i)))
    if (span.contains(day)) appendToken(index, span.dayOfYear(day), item.id);
}

void addItem(YearIndex& index, YearIndexSource& items, std::size_t i) {
  const YearIndexItem item = items.item(i);
  // A start of 0 is an item without a date (a task without a due date).
  if (!isWritableToken(item.id) || item.start == 0 || !isUsableDate(item.start)) return;
  if (isRecurring(item.kind))
    addSeries(index, items, i, item);
  else if (item.kind == kIndexTask)
    addTask(index, item);
  else if (item.kind == kIndexSingleEvent)
    addSingleEvent(index, item);
}

// --- EXDATE and RDATE ---

// The values of a "NAME;PARAMS:VALUE,VALUE" line whose name is `name`.
std::vector<std::string> propertyValues(std::string_view text, std::string_view name) {
  const std::string trimmed = base::trim(text);
  const std::size_t colon = trimmed.find(':');
  if (colon == std::string::npos) return {};
  std::string_view head = std::string_view(trimmed).substr(0, colon);
  head = head.substr(0, head.find(';'));
  if (!base::equalsIgnoreCaseAscii(head, name)) return {};
  return base::split(std::string_view(trimmed).substr(colon + 1), ',');
}

// "20250318", "20250318T193000", "20250318T103000Z/PT1H": the date part.
std::optional<int> dayNumberOfValue(std::string_view value) {
  const std::string text = base::trim(value);
  if (text.size() < 8) return std::nullopt;
  if (text.size() > 8 && text[8] != 'T' && text[8] != 't' && text[8] != '/') return std::nullopt;
  int year = 0, month = 0, day = 0;
  for (char c : text.substr(0, 8))
    if (c < '0' || c > '9') return std::nullopt;
  if (!base::parseInt(text.substr(0, 4), year) || !base::parseInt(text.substr(4, 2), month) ||
      !base::parseInt(text.substr(6, 2), day) || !base::isValidDate(year, month, day) ||
      !isIndexYear(year))
    return std::nullopt;
  return base::dayNumberOf(year, month, day);
}

std::vector<int> datesOf(std::string_view text, std::string_view name) {
  std::vector<int> days;
  for (const std::string& value : propertyValues(text, name))
    if (std::optional<int> day = dayNumberOfValue(value)) days.push_back(*day);
  return days;
}

const std::vector<std::string> kNoTokens;

}  // namespace

std::vector<int> exceptionDatesOf(std::string_view text) { return datesOf(text, "EXDATE"); }
std::vector<int> extraDatesOf(std::string_view text) { return datesOf(text, "RDATE"); }

// --- YearIndexRecords ---

YearIndexItem YearIndexRecords::item(std::size_t index) const {
  const YearIndexRecord& r = records_.at(index);
  return {r.id, r.listId, r.kind, r.timed, r.start, r.end};
}

std::vector<std::string> YearIndexRecords::recurrence(std::size_t index) {
  return records_.at(index).recurrence;
}

std::vector<int> YearIndexRecords::exceptionDays(std::size_t index) {
  return records_.at(index).exceptionDays;
}

// --- YearIndex ---

const std::vector<std::string>& YearIndex::tokensOf(int dayOfYear) const {
  if (dayOfYear < 1 || dayOfYear >= static_cast<int>(days.size())) return kNoTokens;
  return days[dayOfYear];
}

const std::vector<std::string>& YearIndex::tokensOn(DateTime date) const {
  if (!isUsableDate(date) || base::yearOf(date) != year) return kNoTokens;
  return tokensOf(base::dayOfYear(date));
}

// --- building, writing, reading ---

std::string yearIndexPath(const std::string& folder, int year) {
  return base::joinPath(folder, std::to_string(year) + ".tmp");
}

YearIndex makeYearIndex(int year, const std::vector<Holiday>& holidays, YearIndexSource& items) {
  YearIndex index;
  index.year = year;
  if (!isIndexYear(year)) return index;
  fillHolidays(index, holidays);
  const std::size_t count = items.itemCount();
  for (std::size_t i = 0; i < count; ++i) addItem(index, items, i);
  return index;
}

std::vector<std::string> yearIndexLines(const YearIndex& index) {
  std::vector<std::string> lines;
  for (std::size_t day = 1; day < index.days.size(); ++day) {
    const std::vector<std::string>& tokens = index.days[day];
    if (tokens.empty()) continue;
    std::string line = std::to_string(day) + "=";
    for (std::size_t t = 0; t < tokens.size(); ++t) {
      if (t > 0) line += '|';
      line += tokens[t];
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool buildYearIndex(int year, const std::string& folder, const std::vector<Holiday>& holidays,
                    YearIndexSource& items, YearIndex* built) {
  YearIndex index = makeYearIndex(year, holidays, items);
  const bool written =
      isIndexYear(year) && base::writeLines(yearIndexPath(folder, year), yearIndexLines(index));
  if (built) *built = std::move(index);
  return written;
}

std::optional<YearIndex> readYearIndex(const std::string& path, int year) {
  const std::optional<std::vector<std::string>> lines = base::readLines(path);
  if (!lines) return std::nullopt;
  YearIndex index;
  index.year = year;
  for (const std::string& line : *lines) {
    const std::size_t equals = line.find('=');
    int day = 0;
    if (equals == std::string::npos || !base::parseInt(line.substr(0, equals), day)) continue;
    if (day < 1 || day > 366 || !index.days[day].empty()) continue;
    for (std::string& token : base::split(std::string_view(line).substr(equals + 1), '|'))
      if (!token.empty()) index.days[day].push_back(std::move(token));
  }
  return index;
}

YearIndex ensureYearIndex(int year, const std::string& folder,
                          const std::vector<Holiday>& holidays, YearIndexSource& items) {
  if (std::optional<YearIndex> index = readYearIndex(yearIndexPath(folder, year), year))
    return std::move(*index);
  YearIndex index;
  buildYearIndex(year, folder, holidays, items, &index);
  return index;
}

bool isHolidayToken(std::string_view token, const std::vector<Holiday>& holidays) {
  return findHoliday(holidays, token) != nullptr;
}

DateTime firstDayOfItemThisYear(const std::string& folder, std::string_view itemId) {
  const int year = base::yearOf(base::now());
  const std::optional<YearIndex> index = readYearIndex(yearIndexPath(folder, year), year);
  if (!index) return 0;
  for (int day = 1; day <= base::daysInYear(year); ++day) {
    const std::vector<std::string>& tokens = index->days[day];
    if (std::find(tokens.begin(), tokens.end(), itemId) != tokens.end())
      return base::dayNumberOf(year, 1, 1) + day - 1;
  }
  return 0;
}

std::optional<YearDay> nextDayOfItem(std::string_view itemId, DateTime from,
                                     const std::string& folder,
                                     const std::vector<Holiday>& holidays,
                                     YearIndexSource& items) {
  if (!isUsableDate(from)) return std::nullopt;
  const DateTime next = base::dateOf(from) + 1;
  const int firstYear = base::yearOf(next);
  int firstDay = base::dayOfYear(next);
  for (int year = firstYear; year < firstYear + kNextDaySearchYears && isIndexYear(year);
       ++year, firstDay = 1) {
    const YearIndex index = ensureYearIndex(year, folder, holidays, items);
    for (int day = firstDay; day <= base::daysInYear(year); ++day) {
      const std::vector<std::string>& tokens = index.days[day];
      if (std::find(tokens.begin(), tokens.end(), itemId) != tokens.end())
        return YearDay{year, day};
    }
  }
  return std::nullopt;
}

}  // namespace calendar
