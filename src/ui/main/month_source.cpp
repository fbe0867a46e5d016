#include "ui/main/month_source.h"

#include <filesystem>

#include "sync/cache_store.h"
#include "sync/year_index_source.h"

namespace ui {

calendar::TokenInfo MonthSource::tokenInfo(const std::string& token) const {
  using Type = calendar::TokenInfo::Type;
  if (const calendar::Holiday* holiday = calendar::findHoliday(holidays(), token))
    return {Type::Holiday, 0, 0, holiday->name};
  if (const gsync::ItemRecord* item = findItem(token))
    return {Type::Item, item->kind, item->extra ? item->extra->category : 0, item->title};
  return {};
}

StoreMonthSource::StoreMonthSource(StoreGetter store, const std::vector<calendar::Holiday>* holidays)
    : store_(std::move(store)), holidays_(holidays ? holidays : &calendar::holidayList()) {}

calendar::YearIndex StoreMonthSource::yearIndex(int year) {
  calendar::YearIndex empty;
  empty.year = year;
  const gsync::CacheStore* store = store_ ? store_() : nullptr;
  std::error_code error;
  if (!store || !std::filesystem::exists(store->pathOf(gsync::kCalendarFile), error)) return empty;
  gsync::StoreYearIndexSource items(*store);
  return calendar::ensureYearIndex(year, store->folder(), *holidays_, items);
}

gsync::ItemRecord* StoreMonthSource::findItem(const std::string& id) const {
  const gsync::CacheStore* store = store_ ? store_() : nullptr;
  return store ? store->findItem(id) : nullptr;
}

const std::vector<calendar::Holiday>& StoreMonthSource::holidays() const { return *holidays_; }

}  // namespace ui
