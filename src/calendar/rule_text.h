// Reading the text of a recurrence rule ("RRULE:FREQ=WEEKLY;BYDAY=MO,WE") into
// its NAME=VALUE parts, shared by the expansion and the descriptions.
#pragma once

#include <string_view>
#include <vector>

namespace calendar {

struct RulePart {
  std::string_view name;
  std::string_view value;
};

// Drops everything up to and including the first ":" (the "RRULE" name and any
// parameters), then splits the rest at ";".  A part without "=" has an empty
// value; empty parts are left out.  The views point into `rule`.
std::vector<RulePart> splitRuleParts(std::string_view rule);

// A list value split at ",".
std::vector<std::string_view> splitRuleList(std::string_view value);

// ISO weekday number of a code, "MO" = 1 ... "SU" = 7; 0 for anything else.
int weekdayOfCode(std::string_view code);

// One BYDAY entry: an optional signed ordinal followed by a weekday code.
struct WeekdayEntry {
  int weekday = 0;                // 0 when the code is not a weekday code
  std::string_view code;          // the last two characters
  std::string_view ordinalText;   // empty when the entry has no ordinal
  long long ordinal = 0;          // 0 = every such weekday (also for a bad ordinal)
  bool hasOrdinal() const { return !ordinalText.empty(); }
};
WeekdayEntry parseWeekdayEntry(std::string_view entry);

// A number written in a rule; `fallback` when the text is not a number.
long long ruleNumber(std::string_view text, long long fallback);

}  // namespace calendar
