#include "calendar/holidays.h"

#include <cstdlib>

#include "base/fields.h"
#include "base/files.h"
#include "base/http.h"
#include "base/text.h"

// holiday.dat as bytes, generated from src/calendar/data/holiday.dat at build time.
namespace calendar::embedded {
extern const unsigned char holidayDat[];
extern const std::size_t holidayDatSize;
}  // namespace calendar::embedded

namespace calendar {
namespace {

bool takeNumber(std::string& rest, std::string_view separator, int& out) {
  return base::parseInt(base::takeField(separator, rest), out);
}

}  // namespace

std::optional<Holiday> parseHolidayLine(std::string_view line) {
  std::string rest(line);
  Holiday h;
  h.key = base::cutToCp949Width(base::takeField("=", rest), 7);
  // The key is a token of "|"-joined index entries, so it must be one word.
  if (h.key.empty() || base::contains(h.key, "|")) return std::nullopt;
  h.lunar = base::takeField("|", rest) == "1";
  if (!takeNumber(rest, "|", h.days) || !takeNumber(rest, "/", h.month) ||
      !takeNumber(rest, "|", h.day))
    return std::nullopt;
  if (h.month < 1 || h.month > 12 || h.day < 1 || h.day > 31) return std::nullopt;
  h.name = base::cutToCp949Width(base::takeField("|", rest), 20);
  if (!rest.empty() && !base::parseInt(rest, h.year)) return std::nullopt;
  return h;
}

std::vector<Holiday> parseHolidayLines(const std::vector<std::string>& lines) {
  std::vector<Holiday> list;
  for (const std::string& line : lines)
    if (auto h = parseHolidayLine(line)) list.push_back(std::move(*h));
  return list;
}

std::string_view bundledHolidayData() {
  return {reinterpret_cast<const char*>(embedded::holidayDat), embedded::holidayDatSize};
}

std::vector<Holiday> bundledHolidays() {
  std::vector<std::string> lines = base::splitLines(bundledHolidayData());
  for (std::string& line : lines) line = base::cp949ToUtf8(line);
  return parseHolidayLines(lines);
}

std::optional<std::vector<Holiday>> readHolidayFile(const std::string& path) {
  auto lines = base::readLines(path);
  if (!lines) return std::nullopt;
  return parseHolidayLines(*lines);
}

std::string holidayUrl(std::string_view webBase) {
  return base::withTrailingSlash(webBase) + "program/holiday.dat";
}

std::vector<Holiday> loadHolidays() {
  const char* webBase = std::getenv("DAYBOOK_WEB_BASE");
  if (webBase && *webBase) {
    std::vector<std::string> lines;
    if (base::downloadLines(holidayUrl(webBase), lines)) {
      std::vector<Holiday> list = parseHolidayLines(lines);
      // An answer without a single holiday (an error page) would leave the calendar bare.
      if (!list.empty()) return list;
    }
  }
  return bundledHolidays();
}

std::vector<Holiday>& holidayList() {
  static std::vector<Holiday> list;
  return list;
}

const Holiday* findHoliday(const std::vector<Holiday>& list, std::string_view key) {
  for (const Holiday& h : list)
    if (h.key == key) return &h;
  return nullptr;
}

}  // namespace calendar
