#include "sync/cache_store.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "sync/cache_patch.h"
#include "sync/google_time.h"

#if defined(DAYBOOK_HAVE_CALENDAR) && __has_include("calendar/recurrence.h")
#include "calendar/recurrence.h"
#define DAYBOOK_HAVE_RULE_TEXT 1
#endif

namespace gsync {
namespace {

std::string defaultDescribeRule([[maybe_unused]] const std::string& rule) {
#ifdef DAYBOOK_HAVE_RULE_TEXT
  return calendar::describeRuleShort(rule);
#else
  return {};
#endif
}

// Cuts a text to a field width in CP949 bytes.  A text no longer in UTF-8
// bytes than the width always fits (CP949 never takes more bytes), which
// spares the conversion for nearly every field.
std::string cutField(std::string text, std::size_t width) {
  if (text.size() <= width) return text;
  return base::cutToCp949Width(text, width);
}

const Json* member(const Json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string stringMember(const Json& object, const char* key) {
  const Json* value = member(object, key);
  return value && value->is_string() ? value->get<std::string>() : std::string{};
}

bool hasString(const Json& object, const char* key) {
  const Json* value = member(object, key);
  return value && value->is_string();
}

// A number that Google sends as text ("5") or as a number; nothing when it
// does not read as an integer.
std::optional<int> intMember(const Json& object, const char* key) {
  const Json* value = member(object, key);
  if (!value) return std::nullopt;
  if (value->is_number_integer()) {
    const long long n = value->get<long long>();
    if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
    return static_cast<int>(n);
  }
  int n = 0;
  if (value->is_string() && base::parseInt(value->get_ref<const std::string&>(), n)) return n;
  return std::nullopt;
}

// "#rrggbb" as 0xRRGGBB.
std::optional<int> parseColour(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  int value = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    int digit = 0;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

// `start` or `end` of an event: its dateTime, else its date.
std::optional<base::DateTime> eventTime(const Json& item, const char* key, bool& timed) {
  const Json* when = member(item, key);
  timed = false;
  if (!when) return std::nullopt;
  if (hasString(*when, "dateTime")) {
    timed = true;
    return parseGoogleDateTime(stringMember(*when, "dateTime"));
  }
  if (hasString(*when, "date")) return parseGoogleDateTime(stringMember(*when, "date"));
  return std::nullopt;
}

// The rule that decides a recurring event's kind: the first RRULE line, or
// the first line when there is none (EXDATE lines may come first).
std::string ruleLine(const Json& recurrence) {
  std::string first;
  for (const Json& line : recurrence) {
    if (!line.is_string()) continue;
    const std::string& text = line.get_ref<const std::string&>();
    if (base::startsWith(base::toUpperAscii(text), "RRULE")) return text;
    if (first.empty()) first = text;
  }
  return first;
}

int kindOfRule(const std::string& rule) {
  const std::string upper = base::toUpperAscii(rule);
  if (base::contains(upper, "DAILY")) return kDaily;
  if (base::contains(upper, "WEEKLY")) return kWeekly;
  if (base::contains(upper, "MONTHLY")) return kMonthly;
  return kOtherRecurrence;
}

bool isMailEvent(const Json& item) {
  return base::contains(stringMember(item, "summary"), kMailEventMarker);
}

// The members of events and tasks that loading reads.
const std::vector<std::string_view> kItemMembers = {
    "id",     "summary",   "title", "status",     "due",              "completed",
    "recurrence", "colorId", "start", "end", "recurringEventId", "originalStartTime"};

bool isCancelled(const Json& item) { return stringMember(item, "status") == "cancelled"; }

}  // namespace

std::string detailFileName(int slot) { return "detail" + std::to_string(slot) + ".txt"; }
std::string itemFileName(const std::string& listId) { return listId + ".txt"; }

const char* chainLinkFileName(ChainLink link) {
  switch (link) {
    case ChainLink::CalendarList: return kCalendarFile;
    case ChainLink::TaskLists: return kTaskListFile;
    case ChainLink::CalendarColours: return kCalendarColourFile;
    case ChainLink::EventColours: return kEventColourFile;
    case ChainLink::Items: break;
  }
  return "";
}

int CacheListener::pictureForColour(int colour) {
  const auto it = std::find(pictureColours_.begin(), pictureColours_.end(), colour);
  if (it != pictureColours_.end()) return 3 + static_cast<int>(it - pictureColours_.begin());
  pictureColours_.push_back(colour);
  return 3 + static_cast<int>(pictureColours_.size()) - 1;
}

CacheStore::CacheStore(CacheStoreOptions options, CacheListener& listener)
    : options_(std::move(options)),
      listener_(listener),
      extras_(options_.extras ? *options_.extras : app::eventExtras()) {
  if (!options_.describeRule) options_.describeRule = defaultDescribeRule;
}

std::string CacheStore::pathOf(const std::string& name) const {
  return base::joinPath(options_.folder, name);
}

void CacheStore::setAccount(const std::string& googleId, const std::string& myName) {
  options_.googleId = googleId;
  options_.myName = myName;
}

void CacheStore::reportOnce(const std::string& fileName, const std::string& message) {
  if (reported_.insert(fileName).second) listener_.loadFailed(message);
}

std::optional<Json> CacheStore::readJson(const std::string& name) {
  std::string error;
  std::optional<Json> json = readCacheJson(pathOf(name), error);
  if (!json) reportOnce(name, error);
  return json;
}

// ---------------------------------------------------------------- the chain

void CacheStore::startLink(ChainLink link) {
  if (link == ChainLink::Items) {
    listener_.startItemLoading();
    return;
  }
  if (!base::fileExists(pathOf(chainLinkFileName(link)))) {
    listener_.downloadNeeded(link);
    return;
  }
  switch (link) {
    case ChainLink::CalendarList: loadCalendars(); break;
    case ChainLink::TaskLists: loadTaskLists(); break;
    case ChainLink::CalendarColours: loadCalendarColours(); break;
    case ChainLink::EventColours: loadEventColours(); break;
    case ChainLink::Items: break;
  }
}

void CacheStore::continueAfter(ChainLink done) {
  switch (done) {
    case ChainLink::CalendarList:
      if (taskListsLoaded_)
        listener_.taskListsAlreadyLoaded();
      else
        startLink(ChainLink::TaskLists);
      break;
    case ChainLink::TaskLists: startLink(ChainLink::CalendarColours); break;
    case ChainLink::CalendarColours: startLink(ChainLink::EventColours); break;
    case ChainLink::EventColours: startLink(ChainLink::Items); break;
    case ChainLink::Items: break;
  }
}

// ---------------------------------------------------------------- calendars

void CacheStore::loadCalendars() {
  if (calendarsLoaded_) return;
  calendarsLoaded_ = true;
  int counted = 0;
  if (std::optional<Json> json = readJson(kCalendarFile)) {
    if (const Json* items = member(*json, "items"); items && items->is_array()) {
      for (const Json& entry : *items)
        if (addOrUpdateCalendar(entry)) ++counted;
    }
  }
  if (counted > 0) listener_.enableDeleteButton();
  continueAfter(ChainLink::CalendarList);
}

// Returns whether the entry counts as a shown calendar.
bool CacheStore::addOrUpdateCalendar(const Json& entry) {
  const std::string id = stringMember(entry, "id");
  // Public-holiday calendars are not shown: holidays come from the holiday list.
  if (id.empty() || base::contains(id, "holiday")) return false;

  ListRecord record;
  record.id = cutField(id, kIdWidth);
  if (timeZone_.empty()) timeZone_ = stringMember(entry, "timeZone");

  const std::string summary = stringMember(entry, "summary");
  std::string name = summary;
  if (!options_.googleId.empty() && base::contains(summary, options_.googleId))
    name = options_.myName;
  else if (base::contains(summary, "주소록 친구의"))
    name = "주소록 친구들";
  record.name = cutField(name, kNameWidth);
  record.colour = parseColour(stringMember(entry, "backgroundColor")).value_or(0);
  record.picture = listener_.pictureForColour(record.colour);

  const auto existing = std::find_if(calendars_.begin(), calendars_.end(),
                                     [&](const auto& list) { return list->id == record.id; });
  if (existing != calendars_.end()) {
    **existing = record;
    listener_.listChanged(**existing);
  } else {
    calendars_.push_back(std::make_unique<ListRecord>(record));
    listener_.listAdded(*calendars_.back());
  }
  return true;
}

// ---------------------------------------------------------------- task lists

void CacheStore::loadTaskLists() {
  taskListsLoaded_ = true;
  const std::string& googleId = options_.googleId;
  const std::string userPart = googleId.substr(0, googleId.find('@'));
  if (std::optional<Json> json = readJson(kTaskListFile)) {
    if (const Json* items = member(*json, "items"); items && items->is_array()) {
      for (const Json& entry : *items) addTaskList(entry, userPart);
    }
  }
  continueAfter(ChainLink::TaskLists);
}

void CacheStore::addTaskList(const Json& entry, const std::string& userPart) {
  const std::string id = stringMember(entry, "id");
  if (id.empty()) return;
  ListRecord record;
  record.isTaskList = true;
  record.picture = 1;
  record.id = cutField(id, kIdWidth);
  const std::string title = stringMember(entry, "title");
  // The account's default list carries the user's name; it is shown as "할일".
  record.name = cutField(!userPart.empty() && base::contains(title, userPart) ? "할일" : title,
                         kNameWidth);
  // A second reading of the same list updates its node instead of adding one.
  if (ListRecord* existing = findList(record.id); existing && existing->isTaskList) {
    *existing = record;
    listener_.listChanged(*existing);
    return;
  }
  taskLists_.push_back(std::make_unique<ListRecord>(record));
  listener_.listAdded(*taskLists_.back());
}

// ---------------------------------------------------------------- colours

void CacheStore::loadColours(ColourKind kind) {
  const bool calendar = kind == ColourKind::Calendar;
  std::vector<int>& table = calendar ? calendarColours_ : eventColours_;
  table.clear();
  if (std::optional<Json> json = readJson(calendar ? kCalendarColourFile : kEventColourFile)) {
    const Json* colours = member(*json, calendar ? "calendar" : "event");
    // Members "1", "2", ... in number order, up to the first missing number.
    for (std::size_t n = 1; colours && colours->is_object() && n <= kMaxColours; ++n) {
      const Json* entry = member(*colours, std::to_string(n).c_str());
      if (!entry) break;
      table.push_back(parseColour(stringMember(*entry, "background")).value_or(kNoColour));
    }
  }
  listener_.coloursLoaded(kind);
  continueAfter(calendar ? ChainLink::CalendarColours : ChainLink::EventColours);
}

// ---------------------------------------------------------------- items

void CacheStore::buildSlots() {
  slots_.clear();
  for (const ListRecord* list : lists())
    slots_.push_back(ListSlot{static_cast<int>(slots_.size()), list});
}

bool CacheStore::hasItemSource(int slot) const {
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return false;
  const ListRecord* list = slots_[slot].list;
  return base::fileExists(pathOf(detailFileName(slot))) ||
         (list && !list->id.empty() && base::fileExists(pathOf(itemFileName(list->id))));
}

void CacheStore::requestListItems(int slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return;
  const ListSlot& s = slots_[slot];
  // A slot without a list id (the calendar group node with no calendars) has
  // nothing to load or download.
  if (hasItemSource(slot) || !s.list || s.list->id.empty())
    loadListItems(slot);
  else
    listener_.itemsDownloadNeeded(s);
}

void CacheStore::loadAllItems() {
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (hasItemSource(static_cast<int>(i))) loadListItems(static_cast<int>(i));
}

void CacheStore::loadListItems(int slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return;
  const ListSlot s = slots_[slot];
  if (!s.list || s.list->id.empty()) {
    finishSlot(s);
    return;
  }
  const std::string detail = detailFileName(slot);
  const std::string own = itemFileName(s.list->id);
  const bool fromDetail = base::fileExists(pathOf(detail));
  if (!fromDetail && !base::fileExists(pathOf(own))) {
    finishSlot(s);
    return;
  }
  const std::string source = fromDetail ? detail : own;
  std::string error;
  if (std::optional<Json> json = readCacheItems(pathOf(source), error, kItemMembers))
    loadItems(*json, *s.list);
  else
    reportOnce(source, error);
  // When the list's own file exists already the rename fails and both stay;
  // the detail file is then read again next time.
  if (fromDetail) base::renameFile(pathOf(detail), pathOf(own));
  finishSlot(s);
}

void CacheStore::finishSlot(const ListSlot& slot) { listener_.itemsLoaded(slot); }

void CacheStore::loadItems(const Json& json, const ListRecord& list) {
  const Json* items = member(json, "items");
  if (!items || !items->is_array()) return;
  items_.reserve(items_.size() + items->size());
  for (const Json& item : *items) appendItem(item, list);
}

ItemRecord* CacheStore::addItemFromJson(const Json& item, const std::string& listId) {
  const ListRecord* list = findList(listId);
  return list ? appendItem(item, *list) : nullptr;
}

ItemRecord* CacheStore::appendItem(const Json& item, const ListRecord& list) {
  if (!item.is_object()) return nullptr;
  const std::string id = stringMember(item, "id");
  if (id.empty()) return nullptr;
  if (!list.isTaskList) {
    noteException(item);
    if (isCancelled(item)) return nullptr;
    // A mail-alarm event only existed to make Google alert the phone: it is
    // deleted at exit instead of being shown.
    if (isMailEvent(item)) {
      queueEventDeletion(options_.folder, list.id, id);
      return nullptr;
    }
  }

  auto record = std::make_unique<ItemRecord>();
  record->list = &list;
  record->id = cutField(id, kIdWidth);
  record->extra = &extraFor(record->id);
  if (list.isTaskList)
    fillTask(item, *record);
  else
    fillEvent(item, *record);
  ItemRecord* added = record.get();
  items_.push_back(std::move(record));
  if (added->extra->lunar) lunarItems_.push_back(added);
  return added;
}

void CacheStore::fillTask(const Json& item, ItemRecord& record) {
  record.kind = kTask;
  record.title = cutField(stringMember(item, "title"), kTitleWidth);
  record.note = stringMember(item, "status") == "completed" ? "완료" : "진행중";
  record.start = parseGoogleDateTime(stringMember(item, "due")).value_or(0);
  const std::optional<base::DateTime> completed =
      hasString(item, "completed") ? parseGoogleDateTime(stringMember(item, "completed"))
                                   : std::nullopt;
  record.end = completed.value_or(record.start);
}

void CacheStore::fillEvent(const Json& item, ItemRecord& record) {
  record.title = cutField(stringMember(item, "summary"), kTitleWidth);
  record.kind = kSingleEvent;
  if (const Json* recurrence = member(item, "recurrence");
      recurrence && recurrence->is_array() && !recurrence->empty()) {
    const std::string rule = ruleLine(*recurrence);
    record.kind = kindOfRule(rule);
    if (!rule.empty()) record.note = cutField(options_.describeRule(rule), kNoteWidth);
  }
  if (const std::optional<int> colorId = intMember(item, "colorId"); colorId && *colorId > 0) {
    record.colorId = *colorId;
    // A number beyond the event colour table is no colour.
    if (static_cast<std::size_t>(*colorId) <= eventColours_.size() &&
        eventColours_[*colorId - 1] != kNoColour) {
      record.colour = eventColours_[*colorId - 1];
      record.picture = listener_.pictureForColour(record.colour);
    }
  }
  bool endTimed = false;
  record.start = eventTime(item, "start", record.timed).value_or(0);
  record.end = eventTime(item, "end", endTimed).value_or(0);
}

// A cancelled occurrence, or one moved or changed on its own, carries the id
// of its series and the start the series gave it: that start is no longer an
// occurrence of the series.
void CacheStore::noteException(const Json& item) {
  const std::string series = stringMember(item, "recurringEventId");
  if (series.empty()) return;
  bool timed = false;
  const std::optional<base::DateTime> original = eventTime(item, "originalStartTime", timed);
  if (!original) return;
  excluded_[cutField(series, kIdWidth)].insert(base::dayNumber(*original));
}

app::EventExtra& CacheStore::extraFor(const std::string& id) { return extras_.findOrAdd(id); }

// ---------------------------------------------------------------- lists

std::vector<const ListRecord*> CacheStore::lists() const {
  std::vector<const ListRecord*> all;
  all.reserve(calendars_.size() + taskLists_.size());
  for (const auto& list : calendars_) all.push_back(list.get());
  for (const auto& list : taskLists_) all.push_back(list.get());
  return all;
}

ListRecord* CacheStore::findList(const std::string& id) {
  for (auto* group : {&calendars_, &taskLists_})
    for (const auto& list : *group)
      if (list->id == id) return list.get();
  return nullptr;
}

void CacheStore::removeList(const std::string& id) {
  const ListRecord* list = findList(id);
  if (!list) return;
  std::erase_if(lunarItems_, [&](const ItemRecord* item) { return item->list == list; });
  std::erase_if(items_, [&](const auto& item) { return item->list == list; });
  std::erase_if(slots_, [&](const ListSlot& slot) { return slot.list == list; });
  for (auto* group : {&calendars_, &taskLists_})
    std::erase_if(*group, [&](const auto& record) { return record.get() == list; });
}

void CacheStore::resetTree() {
  clearItems();
  slots_.clear();
  calendars_.clear();
  taskLists_.clear();
  calendarsLoaded_ = false;
  taskListsLoaded_ = false;
  reported_.clear();
}

// ---------------------------------------------------------------- items

ItemRecord* CacheStore::findItem(const std::string& id) const {
  for (const auto& item : items_)
    if (item->id == id) return item.get();
  return nullptr;
}

void CacheStore::removeItem(const ItemRecord* item) {
  std::erase(lunarItems_, item);
  std::erase_if(items_, [&](const auto& record) { return record.get() == item; });
}

void CacheStore::clearItems() {
  lunarItems_.clear();
  items_.clear();
  excluded_.clear();
}

const std::set<int>* CacheStore::excludedDays(const std::string& seriesId) const {
  const auto it = excluded_.find(seriesId);
  return it == excluded_.end() ? nullptr : &it->second;
}

bool CacheStore::isExcluded(const std::string& seriesId, base::DateTime occurrence) const {
  const std::set<int>* days = excludedDays(seriesId);
  return days && days->count(base::dayNumber(occurrence)) > 0;
}

}  // namespace gsync
