#include "sync/year_index_source.h"

#include <set>

#include "base/text.h"

namespace gsync {
namespace {

// Ids in the records are cut to their field width; the file's ids are cut
// the same way so that they still match.
std::string recordId(const std::string& id) {
  return id.size() <= kIdWidth ? id : base::cutToCp949Width(id, kIdWidth);
}

std::vector<std::string> textsOf(const Json& recurrence) {
  std::vector<std::string> texts;
  for (const Json& text : recurrence)
    if (text.is_string()) texts.push_back(text.get<std::string>());
  return texts;
}

}  // namespace

calendar::YearIndexItem StoreYearIndexSource::item(std::size_t index) const {
  const ItemRecord& record = *store_.items().at(index);
  calendar::YearIndexItem item;
  item.id = record.id;
  if (record.list) item.listId = record.list->id;
  item.kind = record.kind;
  item.timed = record.timed;
  item.start = record.start;
  item.end = record.end;
  return item;
}

std::vector<std::string> StoreYearIndexSource::recurrence(std::size_t index) {
  const ItemRecord& record = *store_.items().at(index);
  if (!record.list) return {};
  const Recurrences& recurrences = recurrencesOf(record.list->id);
  const auto it = recurrences.find(record.id);
  return it == recurrences.end() ? std::vector<std::string>{} : it->second;
}

std::vector<int> StoreYearIndexSource::exceptionDays(std::size_t index) {
  const std::set<int>* days = store_.excludedDays(store_.items().at(index)->id);
  return days ? std::vector<int>(days->begin(), days->end()) : std::vector<int>{};
}

const StoreYearIndexSource::Recurrences& StoreYearIndexSource::recurrencesOf(
    const std::string& listId) {
  if (const auto it = lists_.find(listId); it != lists_.end()) return it->second;
  Recurrences& recurrences = lists_[listId];
  ++filesParsed_;
  std::string error;
  const std::optional<Json> json =
      readCacheItems(store_.pathOf(itemFileName(listId)), error, {"id", "recurrence"});
  if (!json || !json->is_object()) return recurrences;
  const auto items = json->find("items");
  if (items == json->end() || !items->is_array()) return recurrences;
  for (const Json& item : *items) {
    if (!item.is_object()) continue;
    const auto id = item.find("id");
    if (id == item.end() || !id->is_string()) continue;
    const auto texts = item.find("recurrence");
    // The first item of an id is the one the index uses.
    if (texts != item.end() && texts->is_array())
      recurrences.try_emplace(recordId(id->get<std::string>()), textsOf(*texts));
    else
      recurrences.try_emplace(recordId(id->get<std::string>()));
  }
  return recurrences;
}

bool buildYearIndex(int year, const CacheStore& store,
                    const std::vector<calendar::Holiday>& holidays, calendar::YearIndex* built) {
  StoreYearIndexSource source(store);
  return calendar::buildYearIndex(year, store.folder(), holidays, source, built);
}

}  // namespace gsync
