#include <istream>
#include <ostream>
#include <sstream>

#include "base/text.h"
#include "calendar/lunar.h"
#include "cli/command.h"

namespace cli {
namespace {

const char* const kInvalidDate = "입력된 날자가 올바르지 않습니다.";

std::string formatYmd(int year, int month, int day) {
  return base::format("%04d-%02d-%02d", year, month, day);
}

// "YYYY-MM-DD"; anything else leaves the fields unset.
bool parseYmd(const std::string& text, int& year, int& month, int& day) {
  const std::vector<std::string> parts = base::split(base::trim(text), '-');
  return parts.size() == 3 && base::parseInt(parts[0], year) && base::parseInt(parts[1], month) &&
         base::parseInt(parts[2], day);
}

bool isLeapWord(const std::string& word) {
  return word == "--leap" || word == "leap" || word == "1";
}

// One answer line of lunar-to-solar; false with the message on failure.
bool lunarToSolarLine(const std::vector<std::string>& words, std::string& answer) {
  int year = 0, month = 0, day = 0;
  if (words.size() < 3 || words.size() > 4 || !base::parseInt(words[0], year) ||
      !base::parseInt(words[1], month) || !base::parseInt(words[2], day) ||
      (words.size() == 4 && !isLeapWord(words[3]) && words[3] != "0")) {
    answer = kInvalidDate;
    return false;
  }
  const bool leap = words.size() == 4 && isLeapWord(words[3]);
  const calendar::SolarResult r = calendar::lunarToSolar(year, month, day, leap);
  answer = r.ok ? formatYmd(r.solar.year, r.solar.month, r.solar.day) : r.message;
  return r.ok;
}

bool solarToLunarLine(const std::string& text, std::string& answer) {
  int year = 0, month = 0, day = 0;
  if (!parseYmd(text, year, month, day)) {
    answer = kInvalidDate;
    return false;
  }
  const calendar::LunarResult r = calendar::solarToLunar(year, month, day);
  answer = r.ok ? base::format("%s leap=%d big=%d", formatYmd(r.year, r.month, r.day).c_str(),
                               r.leap ? 1 : 0, r.big ? 1 : 0)
                : r.message;
  return r.ok;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// Standard-input batch: one answer line per request line, failures as "error: ".
template <typename Convert>
int answerLines(Io& io, Convert convert) {
  for (std::string line; std::getline(io.in, line);) {
    if (base::trim(line).empty()) continue;
    std::string answer;
    io.out << (convert(line, answer) ? answer : "error: " + answer) << "\n";
  }
  return 0;
}

int single(Io& io, bool ok, const std::string& answer) {
  (ok ? io.out : io.err) << answer << "\n";
  return ok ? 0 : 1;
}

int lunarToSolarCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() == 1 && args[0] == "-")
    return answerLines(io, [](const std::string& line, std::string& answer) {
      return lunarToSolarLine(words(line), answer);
    });
  if (args.size() < 3 || args.size() > 4 || (args.size() == 4 && args[3] != "--leap")) {
    io.err << "usage: daybook-cli lunar-to-solar YEAR MONTH DAY [--leap] | -\n";
    return 2;
  }
  std::string answer;
  const bool ok = lunarToSolarLine(args, answer);
  return single(io, ok, answer);
}

int solarToLunarCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: daybook-cli solar-to-lunar YYYY-MM-DD | -\n";
    return 2;
  }
  if (args[0] == "-") return answerLines(io, solarToLunarLine);
  std::string answer;
  const bool ok = solarToLunarLine(args[0], answer);
  return single(io, ok, answer);
}

const Registration toSolar{
    {"lunar-to-solar", "lunar-to-solar YEAR MONTH DAY [--leap] | -", lunarToSolarCommand}};
const Registration toLunar{
    {"solar-to-lunar", "solar-to-lunar YYYY-MM-DD | -", solarToLunarCommand}};

}  // namespace
}  // namespace cli
