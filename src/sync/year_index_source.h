// The cache store as the year index sees it: the all-items list with, for a
// recurring event, the "recurrence" texts of its list's item file and the
// cancelled or moved instances the store recorded for its series.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "calendar/year_index.h"
#include "sync/cache_store.h"

namespace gsync {

// Each list's item file is parsed at most once, when the first recurring
// event of that list is asked for; make a new source for each build, as the
// files change with the cache.
class StoreYearIndexSource : public calendar::YearIndexSource {
 public:
  explicit StoreYearIndexSource(const CacheStore& store) : store_(store) {}

  std::size_t itemCount() const override { return store_.items().size(); }
  calendar::YearIndexItem item(std::size_t index) const override;
  std::vector<std::string> recurrence(std::size_t index) override;
  std::vector<int> exceptionDays(std::size_t index) override;

  // How many item files were parsed (for tests).
  int filesParsed() const { return filesParsed_; }

 private:
  // Event id -> its "recurrence" texts, for the events of one list file that have them.
  using Recurrences = std::unordered_map<std::string, std::vector<std::string>>;
  const Recurrences& recurrencesOf(const std::string& listId);

  const CacheStore& store_;
  std::unordered_map<std::string, Recurrences> lists_;
  int filesParsed_ = 0;
};

// Builds the year's index from the store's items and writes "<year>.tmp"
// into the store's cache folder.
bool buildYearIndex(int year, const CacheStore& store, const std::vector<calendar::Holiday>& holidays,
                    calendar::YearIndex* built = nullptr);

}  // namespace gsync
