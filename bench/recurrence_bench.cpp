// Recurrence expansion: the occurrences of common rules in one year, for
// events that started some years earlier, here and through libical's
// recurrence iterator in the same run (the same rule texts, parsed each time
// on both sides).  Items per second are rule expansions per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "calendar/recurrence.h"

#ifdef DAYBOOK_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace {

constexpr int kYear = 2014;

const std::vector<std::string>& commonRules() {
  static const std::vector<std::string> rules = {
      "RRULE:FREQ=DAILY",
      "RRULE:FREQ=DAILY;INTERVAL=3;COUNT=500",
      "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR",
      "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=TH;COUNT=150",
      "RRULE:FREQ=MONTHLY",
      "RRULE:FREQ=MONTHLY;BYDAY=2TU",
      "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
      "RRULE:FREQ=MONTHLY;BYMONTHDAY=15,-1;UNTIL=20161231T000000Z",
      "RRULE:FREQ=YEARLY",
      "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU",
  };
  return rules;
}

base::DateTime startOf(std::size_t i) {
  // Starts spread over the years before the one expanded.
  return base::encodeDateTime(2008 + static_cast<int>(i % 6), static_cast<int>(i % 12) + 1,
                              static_cast<int>(i % 27) + 1, 9, 30);
}

std::size_t expandOurs(const std::string& rule, base::DateTime start) {
  return calendar::expandRule(rule, kYear, start).size();
}

#ifdef DAYBOOK_HAVE_LIBICAL
// The same work through libical: the rule's occurrences in the year, jumping
// to the year where libical can (rules without COUNT).
std::size_t expandLibical(const std::string& rule, base::DateTime start) {
  const std::string body = rule.substr(rule.find(':') + 1);
  const icalrecurrencetype recurrence = icalrecurrencetype_from_string(body.c_str());
  const base::Date d = base::decodeDate(start);
  const base::Time t = base::decodeTime(start);
  icaltimetype dtstart = icaltime_null_time();
  dtstart.year = d.year;
  dtstart.month = d.month;
  dtstart.day = d.day;
  dtstart.hour = t.hour;
  dtstart.minute = t.minute;
  icalrecur_iterator* it = icalrecur_iterator_new(recurrence, dtstart);
  if (recurrence.count == 0 && d.year < kYear) {
    icaltimetype from = icaltime_null_time();
    from.year = kYear;
    from.month = 1;
    from.day = 1;
    icalrecur_iterator_set_start(it, from);
  }
  std::size_t n = 0;
  for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
       next = icalrecur_iterator_next(it)) {
    if (next.year > kYear) break;
    if (next.year == kYear) ++n;
  }
  icalrecur_iterator_free(it);
  return n;
}
#endif

template <std::size_t (*Expand)(const std::string&, base::DateTime)>
void runRule(benchmark::State& state) {
  const std::string& rule = commonRules()[static_cast<std::size_t>(state.range(0))];
  const base::DateTime start = startOf(static_cast<std::size_t>(state.range(0)));
  std::size_t occurrences = 0;
  for (auto _ : state) occurrences = Expand(rule, start);
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(rule.substr(6) + " (" + std::to_string(occurrences) + ")");
}

// Every common rule once per iteration, each with several starts: the mix a
// year index meets.
template <std::size_t (*Expand)(const std::string&, base::DateTime)>
void runMix(benchmark::State& state) {
  const auto& rules = commonRules();
  std::size_t total = 0;
  for (auto _ : state) {
    total = 0;
    for (std::size_t i = 0; i < 60; ++i) total += Expand(rules[i % rules.size()], startOf(i));
  }
  state.SetItemsProcessed(state.iterations() * 60);
  state.SetLabel(std::to_string(total) + " occurrences");
}

const int kRuleCount = static_cast<int>(commonRules().size());

BENCHMARK(runRule<expandOurs>)->Name("Ours/rule")->DenseRange(0, kRuleCount - 1);
BENCHMARK(runMix<expandOurs>)->Name("Ours/mix");
#ifdef DAYBOOK_HAVE_LIBICAL
BENCHMARK(runRule<expandLibical>)->Name("Libical/rule")->DenseRange(0, kRuleCount - 1);
BENCHMARK(runMix<expandLibical>)->Name("Libical/mix");
#endif

}  // namespace
