// Recurrence rules as Google stores them (the RRULE texts of an event's
// "recurrence" array): expansion into the occurrences of one calendar year, and
// the Korean descriptions shown in lists and editors.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"

namespace calendar {

// The occurrences of `rule` for an event starting at `start` that fall in
// `year`, in the order the rule generates them, each with the start's time of
// day.  A text without a recognised FREQ (an EXDATE or RDATE line, for one)
// yields nothing.  COUNT is used up from the start on, whatever year the
// occurrences fall in; UNTIL ends the rule at 00:00 of its date.
std::vector<base::DateTime> expandRule(std::string_view rule, int year, base::DateTime start);

// "매월두번째화": the compact form kept in an item's note.
std::string describeRuleShort(std::string_view rule);

// "매주, 월요일, 수요일, 2주마다, 2014년 12월 31일까지": the sentence the editors show.
std::string describeRuleLong(std::string_view rule);

// "첫번째", "두번째", ..., "5번째", "마지막", "마지막에서 두번째" for a number text
// (a text that is not a number counts as 0).
std::string ordinalWord(std::string_view number);

}  // namespace calendar
