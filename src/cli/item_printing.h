// The line format of the commands that list items: tab-separated list name,
// list id, kind, id, title, note, timed (0/1), start, end.
#pragma once

#include <ostream>
#include <string>

#include "base/datetime.h"
#include "sync/records.h"

namespace cli {

// Tabs and line breaks inside a field would break the line format.
inline std::string itemField(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

inline void printItem(const gsync::ItemRecord& item, std::ostream& out) {
  out << itemField(item.list->name) << '\t' << itemField(item.list->id) << '\t' << item.kind << '\t'
      << itemField(item.id) << '\t' << itemField(item.title) << '\t' << itemField(item.note) << '\t'
      << (item.timed ? 1 : 0) << '\t' << base::formatDateMinute(item.start) << '\t'
      << base::formatDateMinute(item.end) << '\n';
}

}  // namespace cli
