#include "app/event_extra.h"

#include "base/fields.h"
#include "base/files.h"
#include "base/text.h"

namespace app {

EventExtra* EventExtraList::find(const std::string& id) {
  const auto it = index_.find(id);
  return it == index_.end() ? nullptr : &records_[it->second];
}

EventExtra& EventExtraList::append(EventExtra record) {
  index_.emplace(record.id, records_.size());  // an earlier record with the id stays first
  return records_.emplace_back(std::move(record));
}

EventExtra& EventExtraList::add(const std::string& id) {
  EventExtra record;
  record.id = base::cutToCp949Width(id, 80);
  return append(std::move(record));
}

EventExtra& EventExtraList::findOrAdd(const std::string& id) {
  if (EventExtra* e = find(id)) return *e;
  return add(id);
}

std::string formatEventExtraLine(const EventExtra& extra) {
  return base::format("%s=%d|%d|%s", extra.id.c_str(), extra.category, extra.lunar ? 1 : 0,
                      base::formatShortest(extra.date).c_str());
}

EventExtra parseEventExtraLine(const std::string& line) {
  EventExtra e;
  std::string rest = line;
  e.id = base::takeField("=", rest);
  e.category = base::toIntDef(base::takeField("|", rest), 0);
  e.lunar = base::takeField("|", rest) == "1";
  double date = 0;
  // A missing or malformed date reads as 0 instead of stopping the start-up.
  if (base::parseDouble(base::takeField("|", rest), date)) e.date = date;
  return e;
}

void EventExtraList::load(const std::string& path) {
  auto lines = base::readLines(path);
  if (!lines) return;
  for (const std::string& line : *lines) {
    if (line.empty()) continue;
    append(parseEventExtraLine(line));
  }
}

bool EventExtraList::save(const std::string& path) const {
  if (records_.empty()) return true;
  std::vector<std::string> lines;
  lines.reserve(records_.size());
  for (const EventExtra& e : records_) lines.push_back(formatEventExtraLine(e));
  return base::writeLines(path, lines);
}

EventExtraList& eventExtras() {
  static EventExtraList list;
  return list;
}

EventExtra* findEventExtra(const std::string& id) { return eventExtras().find(id); }
EventExtra& addEventExtra(const std::string& id) { return eventExtras().add(id); }

}  // namespace app
