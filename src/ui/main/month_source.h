// What the month views read: the year index of a year, the items behind its
// tokens and the holiday list.  The main window serves them from its cache
// store; tests give them from memory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "calendar/holidays.h"
#include "calendar/month_grid.h"
#include "calendar/year_index.h"
#include "sync/records.h"

namespace gsync {
class CacheStore;
}

namespace ui {

class MonthSource {
 public:
  virtual ~MonthSource() = default;
  // The year's index; an empty index when there is nothing to show yet.
  virtual calendar::YearIndex yearIndex(int year) = 0;
  virtual gsync::ItemRecord* findItem(const std::string& id) const = 0;
  virtual const std::vector<calendar::Holiday>& holidays() const = 0;

  // How a token is drawn and described: a holiday key of the list, an
  // existing item, or an id whose item is gone.
  calendar::TokenInfo tokenInfo(const std::string& token) const;
};

// The cache store of the moment (the store is replaced when the account
// changes, so it is asked for each time).  Without a store, or before the
// calendar list file is in the cache folder, every index is empty; otherwise
// the index file is read, and built first when it is missing.
class StoreMonthSource : public MonthSource {
 public:
  using StoreGetter = std::function<gsync::CacheStore*()>;
  explicit StoreMonthSource(StoreGetter store,
                            const std::vector<calendar::Holiday>* holidays = nullptr);

  calendar::YearIndex yearIndex(int year) override;
  gsync::ItemRecord* findItem(const std::string& id) const override;
  const std::vector<calendar::Holiday>& holidays() const override;

 private:
  StoreGetter store_;
  const std::vector<calendar::Holiday>* holidays_;
};

}  // namespace ui
