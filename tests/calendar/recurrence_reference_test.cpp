// Differential test: the rules the recurrence editor writes, expanded here and by
// python-dateutil's rrule (an RFC 5545 implementation), must give the same dates
// wherever our documented rules and RFC 5545 agree.  Where they do not, the case
// must fall under one of the expected differences listed below, and each listed
// difference must actually show up in the corpus.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "base/text.h"
#include "calendar/recurrence.h"

namespace {

constexpr int kYearsPerCase = 5;
const char* const kCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

struct Case {
  std::string rule;
  base::DateTime start;
};

// A small fixed generator, so that the corpus is the same on every machine.
class Generator {
 public:
  int below(int n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
  }
  bool percent(int p) { return below(100) < p; }
  // Ascending indexes in [0, n), each taken with probability p percent.
  std::vector<int> subset(int n, int p) {
    std::vector<int> picked;
    for (int i = 0; i < n; ++i)
      if (percent(p)) picked.push_back(i);
    return picked;
  }

 private:
  std::uint64_t state_ = 20140102;
};

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
}

// Day grids: days 1-31, then the boxes counted from the month's end (-31 ... -1).
std::string monthDayList(Generator& g, int positivePercent, int negativePercent) {
  std::vector<std::string> days;
  for (int i : g.subset(31, positivePercent)) days.push_back(std::to_string(i + 1));
  for (int i : g.subset(31, negativePercent)) days.push_back(std::to_string(i - 31));
  return joined(days);
}

std::string weekdayList(const std::vector<int>& indexes, const std::string& prefix = "") {
  std::vector<std::string> codes;
  for (int i : indexes) codes.push_back(prefix + kCodes[i]);
  return joined(codes);
}

// The shapes the recurrence editor writes, tab by tab.
std::string editorRule(Generator& g, base::DateTime& start) {
  std::string rule;
  switch (g.below(4)) {
    case 0: {
      rule = "RRULE:FREQ=DAILY";
      std::vector<std::string> months;
      for (int m : g.subset(12, 25)) months.push_back(std::to_string(m + 1));
      if (!months.empty()) rule += ";BYMONTH=" + joined(months);
      break;
    }
    case 1: {
      rule = "RRULE:FREQ=WEEKLY";
      std::vector<int> days = g.subset(7, 30);
      if (days.empty()) days.push_back(base::isoDayOfWeek(start) - 1);
      rule += ";BYDAY=" + weekdayList(days);
      break;
    }
    case 2: {
      rule = "RRULE:FREQ=MONTHLY";
      const int variant = g.below(4);
      if (variant == 0) {  // every chosen weekday, optionally one position of them
        std::vector<int> days = g.subset(7, 40);
        if (days.empty()) days.push_back(g.below(7));
        rule += ";BYDAY=" + weekdayList(days);
        if (const int n = g.below(7); n >= 1 && n <= 5) rule += ";BYSETPOS=" + std::string(g.percent(50) ? "-" : "") + std::to_string(n);
        if (g.percent(50)) {  // a start on the 1st: no first-month difference
          const base::Date d = base::decodeDate(start);
          start = base::withTimeOf(base::encodeDate(d.year, d.month, 1), start);
        }
      } else if (variant == 1) {  // ordinal weekday grids, optionally with day grids
        std::vector<std::string> entries;
        for (int i : g.subset(35, 5)) entries.push_back(std::to_string(i / 7 + 1) + kCodes[i % 7]);
        for (int i : g.subset(35, 3)) entries.push_back(std::to_string(i / 7 - 5) + kCodes[i % 7]);
        if (entries.empty()) entries.push_back(std::to_string(g.below(5) + 1) + kCodes[g.below(7)]);
        rule += ";BYDAY=" + joined(entries);
        if (g.percent(30)) {
          const std::string days = monthDayList(g, 25, 10);
          if (!days.empty()) rule += ";BYMONTHDAY=" + days;
        }
      } else if (variant == 2) {
        std::string days = monthDayList(g, 8, 5);
        rule += ";BYMONTHDAY=" + (days.empty() ? std::to_string(g.below(31) + 1) : days);
      }
      break;
    }
    default: {
      rule = "RRULE:FREQ=YEARLY";
      std::vector<std::string> months;
      for (int m : g.subset(12, 20)) months.push_back(std::to_string(m + 1));
      if (!months.empty()) rule += ";BYMONTH=" + joined(months);
      const std::vector<int> days = g.subset(7, 15);
      std::string prefix;
      // dateutil fails on ordinals beyond a month's weeks when BYMONTH is given.
      const int maxOrdinal = months.empty() ? 53 : 5;
      if (!days.empty() && g.percent(40)) prefix = (g.percent(30) ? "-" : "") + std::to_string(g.below(maxOrdinal) + 1);
      if (!days.empty()) rule += ";BYDAY=" + weekdayList(days, prefix);
      if (g.percent(25)) {
        const std::string monthDays = monthDayList(g, 10, 4);
        if (!monthDays.empty()) rule += ";BYMONTHDAY=" + monthDays;
      }
      break;
    }
  }
  if (g.percent(40)) rule += ";INTERVAL=" + std::to_string(g.below(3) + 2);
  if (const int end = g.below(3); end == 1) {
    rule += ";COUNT=" + std::to_string(g.below(80) + 1);
  } else if (end == 2) {
    const base::Date until = base::decodeDate(start + 20 + g.below(1500));
    rule += base::format(";UNTIL=%04d%02d%02dT000000Z", until.year, until.month, until.day);
  }
  return rule;
}

std::vector<Case> corpus() {
  Generator g;
  std::vector<Case> cases;
  while (cases.size() < 500) {
    const int year = 2010 + g.below(6), month = g.below(12) + 1;
    base::DateTime start = base::encodeDateTime(year, month, g.below(base::daysInMonth(year, month)) + 1,
                                                g.percent(50) ? 0 : 9, g.percent(50) ? 0 : 30);
    std::string rule = editorRule(g, start);
    if (rule.find(';') == std::string::npos) continue;  // the editor drops a bare frequency
    cases.push_back({rule, start});
  }
  // Shapes other writers use.
  const base::DateTime jan1 = base::encodeDate(2014, 1, 1);
  for (const char* rule : {"RRULE:FREQ=WEEKLY;BYDAY=1MO,-1FR", "RRULE:FREQ=DAILY;BYMONTH=03,4",
                           "RRULE:FREQ=YEARLY;BYMONTH=03;BYMONTHDAY=10", "RRULE:FREQ=YEARLY;BYMONTH=3,7;BYDAY=2SU",
                           "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1,-1;COUNT=30"})
    cases.push_back({rule, jan1 + 17});
  cases.push_back({"RRULE:FREQ=DAILY;UNTIL=20140105T103000Z", jan1 + base::encodeTime(9, 0)});
  return cases;
}

// ---- the expected differences ----

struct Rule {
  std::map<std::string, std::string> parts;
  bool has(const std::string& name) const { return parts.count(name) != 0; }
  std::string value(const std::string& name) const { return has(name) ? parts.at(name) : std::string(); }
  std::vector<std::string> list(const std::string& name) const {
    return has(name) ? base::split(parts.at(name), ',') : std::vector<std::string>{};
  }
};

Rule parse(const std::string& text) {
  Rule rule;
  for (const std::string& part : base::split(text.substr(text.find(':') + 1), ';')) {
    const std::size_t eq = part.find('=');
    rule.parts[part.substr(0, eq)] = part.substr(eq + 1);
  }
  return rule;
}

bool hasOrdinalWeekday(const Rule& rule) {
  for (const std::string& entry : rule.list("BYDAY"))
    if (entry.size() > 2) return true;
  return false;
}

bool mixedSignMonthDays(const Rule& rule) {
  bool negative = false, positive = false;
  for (const std::string& d : rule.list("BYMONTHDAY")) (d[0] == '-' ? negative : positive) = true;
  return negative && positive;
}

bool repeatedWeekday(const Rule& rule) {
  std::set<std::string> codes;
  for (const std::string& entry : rule.list("BYDAY"))
    if (!codes.insert(entry.substr(entry.size() - 2)).second) return true;
  return false;
}

using Days = std::vector<std::string>;  // "YYYYMMDD", ascending

struct ExpectedDifference {
  const char* name;
  std::function<bool(const Rule&, const Case&)> applies;
  // When given, what the two results of one year must still satisfy.
  std::function<bool(const Rule&, const Days& ours, const Days& reference)> holds;
};

const std::vector<ExpectedDifference>& expectedDifferences() {
  static const std::vector<ExpectedDifference> list = {
      {"a monthly BYSETPOS rule counts its first month from the 1st, before the event's own date",
       [](const Rule& r, const Case& c) {
         return r.value("FREQ") == "MONTHLY" && r.has("BYSETPOS") && base::dayOf(c.start) > 1;
       },
       nullptr},
      {"a yearly ordinal BYDAY counts through the whole year even with BYMONTH, and only the first "
       "listed month is visited",
       [](const Rule& r, const Case&) {
         return r.value("FREQ") == "YEARLY" && hasOrdinalWeekday(r) && (r.has("BYMONTH") || r.has("BYMONTHDAY"));
       },
       nullptr},
      {"BYMONTH is compared as text, so 03 lists no month",
       [](const Rule& r, const Case&) {
         for (const std::string& m : r.list("BYMONTH"))
           if (!m.empty() && m[0] == '0') return true;
         return false;
       },
       nullptr},
      {"UNTIL ends the rule at 00:00 of its date, whatever time it gives",
       [](const Rule& r, const Case&) { return r.has("UNTIL") && r.value("UNTIL").substr(8, 7) != "T000000"; },
       [](const Rule& r, const Days& ours, const Days& reference) {  // only the UNTIL day itself is missing
         Days missing;
         std::set_difference(reference.begin(), reference.end(), ours.begin(), ours.end(), std::back_inserter(missing));
         return missing == Days{r.value("UNTIL").substr(0, 8)} &&
                std::includes(reference.begin(), reference.end(), ours.begin(), ours.end());
       }},
      {"a day that two list entries select occurs twice (15 and -17 in a 31-day month, 1MO and -5MO)",
       [](const Rule& r, const Case&) {
         return (r.value("FREQ") == "MONTHLY" || r.value("FREQ") == "YEARLY") &&
                (mixedSignMonthDays(r) || (r.value("FREQ") == "MONTHLY" && repeatedWeekday(r)));
       },
       [](const Rule& r, const Days& ours, const Days& reference) {  // without a count: the same days
         if (r.has("COUNT")) return true;
         Days once = ours;
         once.erase(std::unique(once.begin(), once.end()), once.end());
         return once == reference && once.size() < ours.size();
       }},
      {"a count is used up in list order within a month (BYDAY=TH,MO gives Thursdays before Mondays)",
       [](const Rule& r, const Case&) {
         return r.value("FREQ") == "MONTHLY" && r.has("COUNT") && !r.has("BYSETPOS") &&
                r.list("BYDAY").size() + r.list("BYMONTHDAY").size() >= 2;
       },
       nullptr},
  };
  return list;
}

// ---- running the reference ----

bool commandSucceeds(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// The system's interpreter comes first: it is the one the Debian package
// python3-dateutil installs into; a python3 earlier on PATH may lack it.
std::string pythonWithDateutil() {
  for (const char* python : {"/usr/bin/python3", "python3"})
    if (commandSucceeds(std::string(python) + " -c 'import dateutil.rrule'")) return python;
  return {};
}

std::string runReference(const std::string& python, const std::string& corpusPath) {
  const std::string script = std::string(DAYBOOK_SOURCE_DIR) + "/tests/calendar/data/rrule_reference.py";
  const std::string command = python + " '" + script + "' '" + corpusPath + "' 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    if (pclose(pipe) != 0) ADD_FAILURE() << "the reference script failed:\n" << output;
  }
  return output;
}

Days daysOf(std::vector<base::DateTime> dates) {
  std::sort(dates.begin(), dates.end());
  Days days;
  for (base::DateTime d : dates) {
    const base::Date date = base::decodeDate(d);
    days.push_back(base::format("%04d%02d%02d", date.year, date.month, date.day));
  }
  return days;
}

std::string shown(const Days& days) {
  std::string out;
  for (const std::string& day : days) out += " " + day;
  return out;
}

TEST(RecurrenceReference, AgreesWithDateutilExceptForTheListedDifferences) {
  const std::string python = pythonWithDateutil();
  if (python.empty()) GTEST_SKIP() << "python3 with python3-dateutil is not installed";

  const std::vector<Case> cases = corpus();
  const std::filesystem::path corpusPath =
      std::filesystem::temp_directory_path() / ("daybook_rrule_corpus_" + std::to_string(getpid()) + ".txt");
  {
    std::ofstream file(corpusPath);
    for (const Case& c : cases) {
      const int year = base::yearOf(c.start);
      file << c.rule << '\t' << base::replaceAll(base::formatDateMinute(c.start), " ", "T") << '\t' << year << '\t'
           << year + kYearsPerCase - 1 << '\n';
    }
  }
  const std::string reference = runReference(python, corpusPath.string());
  std::filesystem::remove(corpusPath);

  std::map<std::string, int> seen;  // difference name -> rules that show it
  int compared = 0, agreed = 0;
  std::istringstream lines(reference);
  std::string line;
  std::set<std::size_t> differing;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::size_t index;
    int year;
    ASSERT_TRUE(fields >> index >> year) << line;
    ASSERT_LT(index, cases.size());
    Days expected;
    for (std::string day; fields >> day;) expected.push_back(day);
    const Case& c = cases[index];
    const Days ours = daysOf(calendar::expandRule(c.rule, year, c.start));
    ++compared;
    if (ours == expected) {
      ++agreed;
      continue;
    }
    const Rule rule = parse(c.rule);
    bool explained = false;
    for (const ExpectedDifference& difference : expectedDifferences()) {
      if (difference.applies(rule, c) && (!difference.holds || difference.holds(rule, ours, expected))) {
        if (differing.insert(index).second) ++seen[difference.name];
        explained = true;
        break;
      }
    }
    EXPECT_TRUE(explained) << c.rule << " from " << base::formatDateMinute(c.start) << " in " << year
                           << "\n  dateutil:" << shown(expected) << "\n  ours:    " << shown(ours);
  }
  EXPECT_EQ(compared, static_cast<int>(cases.size()) * kYearsPerCase);
  for (const ExpectedDifference& difference : expectedDifferences())
    EXPECT_GT(seen[difference.name], 0) << "listed but never seen: " << difference.name;
  std::printf("%d of %d case-years agree; %zu of %zu rules differ as listed:\n", agreed, compared, differing.size(),
              cases.size());
  for (const auto& [name, rules] : seen) std::printf("  %3d  %s\n", rules, name.c_str());
}

}  // namespace
