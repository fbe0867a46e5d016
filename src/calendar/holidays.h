// The list of public holidays: one record per line of holiday.dat
// ("key=lunar|days|month/day|name|year", CP949 on disk), downloaded from the
// program's own web server at start, with a copy built into the program for
// when no server is configured or the download fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calendar {

struct Holiday {
  std::string key;  // at most 7 bytes; days off contain "ho00"
  bool lunar = false;
  int days = 1;      // how many days it lasts; a lunar holiday of several days starts the day before
  int month = 0;
  int day = 0;
  int year = 0;      // the only year it applies to; 0 for every year
  std::string name;  // at most 20 bytes (CP949)
};

// One line (UTF-8).  Nothing for a line with a missing or non-numeric number
// field, or a month or day out of range.
std::optional<Holiday> parseHolidayLine(std::string_view line);
// The good lines, in order; bad lines are skipped.
std::vector<Holiday> parseHolidayLines(const std::vector<std::string>& lines);

// holiday.dat as built into the program (CP949 bytes, CR LF).
std::string_view bundledHolidayData();
std::vector<Holiday> bundledHolidays();

// A holiday.dat file (CP949); nothing when it cannot be read.
std::optional<std::vector<Holiday>> readHolidayFile(const std::string& path);

// Address of holiday.dat under a web base ("http://host/" + "program/holiday.dat").
std::string holidayUrl(std::string_view webBase);

// Downloads holiday.dat from $DAYBOOK_WEB_BASE when it is set; the built-in
// list when it is not, when the download fails or when it holds no holiday.
std::vector<Holiday> loadHolidays();

// The process-wide list, filled once when the main window is created.
std::vector<Holiday>& holidayList();

// The record whose key equals `key` exactly; null when there is none.
const Holiday* findHoliday(const std::vector<Holiday>& list, std::string_view key);

}  // namespace calendar
