// daybook-cli year-index YEAR [--cache DIR] [--holidays FILE]: loads a cache
// folder, builds the year's index with a holiday list, writes the index file
// into the cache folder and prints its lines.
#include <optional>
#include <ostream>

#include "app/folders.h"
#include "base/files.h"
#include "base/text.h"
#include "calendar/holidays.h"
#include "calendar/year_index.h"
#include "cli/cache_loading.h"
#include "cli/command.h"
#include "sync/year_index_source.h"

namespace cli {
namespace {

constexpr const char* kUsage = "year-index YEAR [--cache DIR] [--holidays FILE]";

struct YearIndexArgs {
  int year = 0;
  std::string cache;
  std::string holidays;  // empty: the built-in list
};

std::optional<YearIndexArgs> parseArgs(const std::vector<std::string>& args) {
  YearIndexArgs parsed;
  bool haveYear = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cache" && i + 1 < args.size()) {
      parsed.cache = args[++i];
    } else if (args[i] == "--holidays" && i + 1 < args.size()) {
      parsed.holidays = args[++i];
    } else if (!haveYear && base::parseInt(args[i], parsed.year) && parsed.year >= 1 &&
               parsed.year <= 9999) {
      haveYear = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveYear) return std::nullopt;
  return parsed;
}

int yearIndexCommand(const std::vector<std::string>& args, Io& io) {
  std::optional<YearIndexArgs> parsed = parseArgs(args);
  if (!parsed) {
    io.err << "usage: daybook-cli " << kUsage << "\n";
    return 2;
  }
  if (parsed->cache.empty()) parsed->cache = app::cacheFolder();
  if (!base::directoryExists(parsed->cache)) {
    io.err << "캐시 폴더가 없습니다: " << parsed->cache << "\n";
    return 1;
  }
  std::vector<calendar::Holiday> holidays = calendar::bundledHolidays();
  if (!parsed->holidays.empty()) {
    std::optional<std::vector<calendar::Holiday>> read = calendar::readHolidayFile(parsed->holidays);
    if (!read) {
      io.err << "휴일 파일을 읽을 수 없습니다: " << parsed->holidays << "\n";
      return 1;
    }
    holidays = std::move(*read);
  }

  CacheLoad load(parsed->cache, io.err);
  calendar::YearIndex index;
  if (!gsync::buildYearIndex(parsed->year, load.store(), holidays, &index)) {
    io.err << "파일을 쓸 수 없습니다: " << calendar::yearIndexPath(parsed->cache, parsed->year)
           << "\n";
    return 1;
  }
  for (const std::string& line : calendar::yearIndexLines(index)) io.out << line << "\n";
  return load.reported() ? 1 : 0;
}

const Registration yearIndex{{"year-index", kUsage, yearIndexCommand}};

}  // namespace
}  // namespace cli
