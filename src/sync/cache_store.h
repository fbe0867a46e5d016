// The in-memory records of the user's calendars, task lists, events and tasks,
// built from the cache folder by the load chain:
//   calendar list -> task lists -> calendar colours -> event colours -> items.
// Each link reads its file when it is in the cache folder, or asks the
// listener for the download; the download's success handler then calls the
// link's loader, which goes on with the next link.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/event_extra.h"
#include "sync/cache_text.h"
#include "sync/records.h"

namespace gsync {

constexpr std::size_t kMaxColours = 1000;

// Cache file names.
inline constexpr const char* kCalendarFile = "calendar.txt";
inline constexpr const char* kTaskListFile = "tasklist.txt";
inline constexpr const char* kCalendarColourFile = "clr_calendar.txt";
inline constexpr const char* kEventColourFile = "clr_event.txt";
inline constexpr const char* kActionFile = "action.txt";
inline constexpr const char* kDeletionQueueFile = "delevents.txt";
// Title marker of the short-lived events written for new-mail alarms.
inline constexpr const char* kMailEventMarker = "새예약메일 ";

enum class ChainLink { CalendarList, TaskLists, CalendarColours, EventColours, Items };

std::string detailFileName(int slot);                    // "detail<slot>.txt"
std::string itemFileName(const std::string& listId);     // "<list id>.txt"
const char* chainLinkFileName(ChainLink link);           // empty for Items

// What the windows hear from the store.  Every method has a do-nothing default.
class CacheListener {
 public:
  virtual ~CacheListener() = default;

  // A calendar or task list was added to the store (a new tree node).
  virtual void listAdded(const ListRecord&) {}
  // A list already in the store was overwritten by a new reading.
  virtual void listChanged(const ListRecord&) {}
  // At least one calendar was loaded: the delete button may be enabled.
  virtual void enableDeleteButton() {}
  // Picture index for a colour; by default 3 upward, one per distinct colour,
  // as the tree's picture list numbers them.
  virtual int pictureForColour(int colour);
  // A colour table was (re)read: the palette picture can be drawn.
  virtual void coloursLoaded(ColourKind) {}
  // The file of a link is missing: download it, then call the link's loader.
  virtual void downloadNeeded(ChainLink) {}
  // A list's items are missing: download them to the slot's detail file,
  // then call loadListItems(slot).
  virtual void itemsDownloadNeeded(const ListSlot&) {}
  // The calendar list was read while task lists were already loaded: only
  // the mail timer is re-armed.
  virtual void taskListsAlreadyLoaded() {}
  // The last link: the window builds the slots and steps through them.
  virtual void startItemLoading() {}
  // A slot is done (loaded, nothing to load, or failed): the stepping goes on.
  virtual void itemsLoaded(const ListSlot&) {}
  // A Korean message for the user (a cache file that cannot be used).
  virtual void loadFailed(const std::string& /*message*/) {}

 private:
  std::vector<int> pictureColours_;
};

struct CacheStoreOptions {
  std::string folder;    // the cache folder
  std::string googleId;  // full address of the signed-in account
  std::string myName;    // the account's display name
  // Local event attributes; the process-wide list when not given.
  app::EventExtraList* extras = nullptr;
  // Short description of a recurrence rule for an event's note; the calendar
  // library's when it is part of the build.
  std::function<std::string(const std::string& rule)> describeRule;
};

class CacheStore {
 public:
  CacheStore(CacheStoreOptions options, CacheListener& listener);
  CacheStore(const CacheStore&) = delete;
  CacheStore& operator=(const CacheStore&) = delete;

  const std::string& folder() const { return options_.folder; }
  std::string pathOf(const std::string& name) const;
  void setAccount(const std::string& googleId, const std::string& myName);

  // --- the load chain ---
  // Head of the chain: the calendar list, read or downloaded.
  void enterChain() { startLink(ChainLink::CalendarList); }
  // Reads the link's file when present, else asks for its download.
  void startLink(ChainLink link);
  // Goes on after `done` without loading it (a download that was given up).
  void continueAfter(ChainLink done);

  // Reads calendar.txt; at most once until resetTree().
  void loadCalendars();
  void loadTaskLists();
  void loadCalendarColours() { loadColours(ColourKind::Calendar); }
  void loadEventColours() { loadColours(ColourKind::Event); }

  // Slots: by default every calendar, then every task list, in tree order.
  void buildSlots();
  void setSlots(std::vector<ListSlot> list) { slots_ = std::move(list); }
  // Not named "slots": Qt defines that word as a macro in window code.
  const std::vector<ListSlot>& listSlots() const { return slots_; }
  // The slot's detail file or its list's item file exists.
  bool hasItemSource(int slot) const;
  // Loads the slot's items when a file is there, else asks for the download.
  void requestListItems(int slot);
  // Reads the slot's items from its detail file (renamed to the item file
  // afterwards) or its item file; always ends with listener.itemsLoaded().
  void loadListItems(int slot);
  // Reads every slot that has a file, in slot order (the reload path).
  void loadAllItems();

  // --- lists ---
  // Calendars first, then task lists: the order of the tree's leaves.
  std::vector<const ListRecord*> lists() const;
  const std::vector<std::unique_ptr<ListRecord>>& calendars() const { return calendars_; }
  const std::vector<std::unique_ptr<ListRecord>>& taskLists() const { return taskLists_; }
  ListRecord* findList(const std::string& id);
  // Removes a list with its items (a list deleted on the server).
  void removeList(const std::string& id);
  bool calendarsLoaded() const { return calendarsLoaded_; }
  bool taskListsLoaded() const { return taskListsLoaded_; }
  // Forgets every list, item and slot (another account signs in).
  void resetTree();

  // --- items ---
  const std::vector<std::unique_ptr<ItemRecord>>& items() const { return items_; }
  const std::vector<ItemRecord*>& lunarItems() const { return lunarItems_; }
  std::vector<ItemRecord*>& lunarItems() { return lunarItems_; }
  ItemRecord* findItem(const std::string& id) const;
  // Builds an item from an event or task as the server sends it and appends
  // it to the list of that id (the follow-up of an accepted write).  Nothing
  // for an unknown list or an item that is not shown (see loadListItems).
  ItemRecord* addItemFromJson(const Json& item, const std::string& listId);
  void removeItem(const ItemRecord* item);
  void clearItems();

  // --- colours and time zone ---
  const std::vector<int>& colours(ColourKind kind) const {
    return kind == ColourKind::Calendar ? calendarColours_ : eventColours_;
  }
  const std::string& timeZone() const { return timeZone_; }

  // --- exceptions of recurring events ---
  // Day numbers (base::dayNumberOf) of the original dates of occurrences that
  // were cancelled or moved: the series must not produce them.  Nothing when
  // the series has none.
  const std::set<int>* excludedDays(const std::string& seriesId) const;
  bool isExcluded(const std::string& seriesId, base::DateTime occurrence) const;

 private:
  void reportOnce(const std::string& fileName, const std::string& message);
  std::optional<Json> readJson(const std::string& name);
  void loadColours(ColourKind kind);
  void finishSlot(const ListSlot& slot);
  bool addOrUpdateCalendar(const Json& entry);
  void addTaskList(const Json& entry, const std::string& userPart);
  void loadItems(const Json& json, const ListRecord& list);
  ItemRecord* appendItem(const Json& item, const ListRecord& list);
  void fillTask(const Json& item, ItemRecord& record);
  void fillEvent(const Json& item, ItemRecord& record);
  void noteException(const Json& item);
  app::EventExtra& extraFor(const std::string& id);

  CacheStoreOptions options_;
  CacheListener& listener_;
  app::EventExtraList& extras_;

  std::vector<std::unique_ptr<ListRecord>> calendars_, taskLists_;
  std::vector<ListSlot> slots_;
  std::vector<std::unique_ptr<ItemRecord>> items_;
  std::vector<ItemRecord*> lunarItems_;
  std::vector<int> calendarColours_, eventColours_;
  std::string timeZone_;
  std::map<std::string, std::set<int>> excluded_;
  bool calendarsLoaded_ = false;
  bool taskListsLoaded_ = false;
  std::set<std::string> reported_;

  // Position of each event id's first record in the extras list; the list
  // only grows, and a position that no longer holds its id rebuilds the map.
};

}  // namespace gsync

