// Writes a synthetic cache folder of any size, in the same form as the
// answers of the sample cache: calendar list (with a holiday calendar that is
// not shown), task lists, both colour answers, and one item file per list.
#pragma once

#include <string>

namespace testsupport {

struct SyntheticCacheShape {
  int calendars = 20;        // shown calendars, the primary one first
  int events = 20000;        // spread over the calendars
  int recurringEvents = 2000;  // of `events`
  int taskLists = 2;
  int tasks = 2000;          // spread over the task lists
  std::string googleId = "tester@gmail.com";
  unsigned seed = 20250301;
};

// Ids as the generator gives them, for checks.
std::string syntheticCalendarId(int index);  // index 0 is the primary calendar
std::string syntheticTaskListId(int index);

void writeSyntheticCache(const std::string& folder, const SyntheticCacheShape& shape);

}  // namespace testsupport
