// The year index: for every day of a calendar year, the public-holiday keys
// and the item ids that fall on it.  The month views never expand recurring
// events themselves; they read the year's index file "<year>.tmp" from the
// cache folder, built here when it is missing and deleted whenever the cached
// items change.
//
// File: CP949 text with CR LF, one line per day that has tokens, in day
// order: the day of the year (1 = 1 January), "=", the tokens joined by "|" -
// holiday keys first, then item ids in the order of the all-items list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"
#include "calendar/holidays.h"

namespace calendar {

// Item kinds as the cache store numbers them.
inline constexpr int kIndexTask = -2;
inline constexpr int kIndexSingleEvent = -1;

// Items of a calendar whose list id contains this are birthdays: entered on
// their anniversary in every year built.
inline constexpr std::string_view kBirthdayListMarker = "contacts@group";

// What the index needs to know of one item.  The views point into the source
// and stay valid until the source changes.
struct YearIndexItem {
  std::string_view id;
  std::string_view listId;
  int kind = kIndexSingleEvent;  // -2 task, -1 single event, 0..3 recurring event
  bool timed = false;            // false for an all-day event (its end date is exclusive)
  base::DateTime start = 0;      // event start, due date of a task (0 when none)
  base::DateTime end = 0;        // event end
};

// The items in the order of the all-items list.
class YearIndexSource {
 public:
  virtual ~YearIndexSource() = default;
  virtual std::size_t itemCount() const = 0;
  virtual YearIndexItem item(std::size_t index) const = 0;
  // The "recurrence" texts of a recurring item (RRULE, EXDATE and RDATE
  // lines); nothing when the item cannot be found.
  virtual std::vector<std::string> recurrence(std::size_t index) = 0;
  // Day numbers (base::dayNumberOf) of the original dates of the series'
  // cancelled or moved instances.
  virtual std::vector<int> exceptionDays(std::size_t index) = 0;
};

// A source held in memory, for tests and callers that have the data at hand.
struct YearIndexRecord {
  std::string id;
  std::string listId;
  int kind = kIndexSingleEvent;
  bool timed = false;
  base::DateTime start = 0;
  base::DateTime end = 0;
  std::vector<std::string> recurrence;
  std::vector<int> exceptionDays;
};

class YearIndexRecords : public YearIndexSource {
 public:
  YearIndexRecords() = default;
  explicit YearIndexRecords(std::vector<YearIndexRecord> records) : records_(std::move(records)) {}
  void add(YearIndexRecord record) { records_.push_back(std::move(record)); }

  std::size_t itemCount() const override { return records_.size(); }
  YearIndexItem item(std::size_t index) const override;
  std::vector<std::string> recurrence(std::size_t index) override;
  std::vector<int> exceptionDays(std::size_t index) override;

 private:
  std::vector<YearIndexRecord> records_;
};

// The tokens of each day of one year; days[d] for day of the year d (1..366),
// days[0] unused.
struct YearIndex {
  int year = 0;
  std::vector<std::vector<std::string>> days = std::vector<std::vector<std::string>>(367);

  const std::vector<std::string>& tokensOf(int dayOfYear) const;
  const std::vector<std::string>& tokensOn(base::DateTime date) const;  // empty outside the year
};

struct YearDay {
  int year = 0;
  int day = 0;  // day of the year
  bool operator==(const YearDay&) const = default;
};

// The index file of a year in the cache folder: "<folder>/<year>.tmp" with a
// single separator whether or not the folder ends with one.
std::string yearIndexPath(const std::string& folder, int year);

// The index of `year` from the holiday list and the items.
YearIndex makeYearIndex(int year, const std::vector<Holiday>& holidays, YearIndexSource& items);
// The file's lines (UTF-8), "day=token|token", days in order.
std::vector<std::string> yearIndexLines(const YearIndex& index);

// Builds the index of `year` and writes its file into `folder` (atomically).
// The index comes back in `built` when given.  False when the file cannot be
// written.
bool buildYearIndex(int year, const std::string& folder, const std::vector<Holiday>& holidays,
                    YearIndexSource& items, YearIndex* built = nullptr);

// Reads an index file; nothing when it cannot be read.  Damaged lines (a day
// that is not a number from 1 to 366, a repeated day, no tokens) are skipped.
std::optional<YearIndex> readYearIndex(const std::string& path, int year);

// The year's index from its file, built and written first when the file is
// missing (or cannot be read).
YearIndex ensureYearIndex(int year, const std::string& folder,
                          const std::vector<Holiday>& holidays, YearIndexSource& items);

// A token is a holiday when it equals a key of the list; any other token is
// an item id (Google's ids often contain the letters of the keys).
bool isHolidayToken(std::string_view token, const std::vector<Holiday>& holidays);

// The first day of the current year (base::now()) whose tokens include the
// id, read from the year's index file; 0 when the file is missing or no day
// holds the id.
base::DateTime firstDayOfItemThisYear(const std::string& folder, std::string_view itemId);

// How many years nextDayOfItem searches, the year of the day after `from`
// included.
inline constexpr int kNextDaySearchYears = 5;

// The first day after `from` whose tokens include the id, searching the year
// of the next day and the years after it (building missing index files on the
// way); nothing when the item does not occur within kNextDaySearchYears.
std::optional<YearDay> nextDayOfItem(std::string_view itemId, base::DateTime from,
                                     const std::string& folder,
                                     const std::vector<Holiday>& holidays,
                                     YearIndexSource& items);

// The dates of a recurrence text's EXDATE or RDATE values, as day numbers
// ("EXDATE;TZID=Asia/Seoul:20250318T193000", "RDATE;VALUE=DATE:20250320,20250322");
// the date is taken as written.  Nothing for any other text; bad values are skipped.
std::vector<int> exceptionDatesOf(std::string_view text);
std::vector<int> extraDatesOf(std::string_view text);

}  // namespace calendar
