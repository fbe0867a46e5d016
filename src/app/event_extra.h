// Local attributes of Google events that the Google record cannot hold
// (category, lunar flag, lunar or due date), kept in plan.dat.
#pragma once

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/datetime.h"

namespace app {

// Categories of the event editor's category list.
enum Category { kNoCategory = 0, kToDo = 1, kAppointment = 2, kAnniversary = 3, kPaymentDay = 4,
                kHoliday = 5 };

struct EventExtra {
  std::string id;  // Google event id, at most 80 characters
  int category = 0;
  bool lunar = false;
  base::DateTime date = 0;  // lunar date of a lunar event, due date of a payment day, else 0
};

// The process-wide list.  A deque keeps the addresses of records stable, so
// item records may point at them.  Lookups go through an index by id; the id
// is the key of a record and is not changed once the record is in the list.
class EventExtraList {
 public:
  EventExtra* find(const std::string& id);  // exact, case-sensitive, first match
  EventExtra& add(const std::string& id);   // appends a zeroed record
  EventExtra& findOrAdd(const std::string& id);
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const std::deque<EventExtra>& records() const { return records_; }
  void clear() {
    records_.clear();
    index_.clear();
  }

  // Appends the records of a plan.dat file in file order; a missing file adds
  // nothing.  Malformed numbers read as 0.
  void load(const std::string& path);
  // Writes the whole list; an empty list leaves an existing file alone.
  bool save(const std::string& path) const;

 private:
  EventExtra& append(EventExtra record);

  std::deque<EventExtra> records_;
  std::unordered_map<std::string, std::size_t> index_;  // id -> first record with it
};

// One plan.dat line: id "=" category "|" lunar "|" date.
std::string formatEventExtraLine(const EventExtra& extra);
EventExtra parseEventExtraLine(const std::string& line);

EventExtraList& eventExtras();  // the process-wide list
EventExtra* findEventExtra(const std::string& id);
EventExtra& addEventExtra(const std::string& id);

}  // namespace app
