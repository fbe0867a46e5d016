// What the main window's views hand on to the parts that talk to Google and
// the editors: deletions, the task completion toggle, the editors and the
// text message window.  The views decide what to ask and which ids go; the
// sink sends and, once the server has answered, reports back.
#pragma once

#include <QPoint>
#include <QString>
#include <string>
#include <vector>

#include "sync/cache_store.h"
#include "sync/item_views.h"
#include "sync/records.h"

class QWidget;

namespace ui {

// One item to delete on the server.
struct ItemRef {
  std::string listId;
  std::string itemId;
  bool isTask = false;
  bool operator==(const ItemRef&) const = default;
};

class ItemCommandSink {
 public:
  virtual ~ItemCommandSink() = default;
  // Delete these items; answer with MainViews::itemsDeleted() or
  // MainViews::deletionFailed().
  virtual void deleteItems(const std::vector<ItemRef>& /*items*/) {}
  // Delete a calendar or task list with its items; answer with
  // MainViews::listDeleted() or MainViews::deletionFailed().
  virtual void deleteList(const gsync::ListRecord& /*list*/, const std::vector<std::string>& /*itemIds*/) {}
  // action.txt holds the completion toggle's body: send it as a task update;
  // answer with MainViews::taskChangeAnswered().
  virtual void toggleTask(const std::string& /*listId*/, const std::string& /*taskId*/) {}
  // Editors.  `listId` presets the calendar or task list (empty: none).
  virtual void addEvent(const std::string& /*calendarId*/, bool /*lunar*/, QPoint /*at*/) {}
  virtual void addTask(const std::string& /*taskListId*/, QPoint /*at*/) {}
  virtual void editItem(const gsync::ItemRecord& /*item*/, QPoint /*at*/) {}
  // The calendar and task-list dialogs: `list` null for a new one.
  virtual void editCalendar(const gsync::ListRecord* /*list*/, QPoint /*at*/) {}
  virtual void editTaskList(const gsync::ListRecord* /*list*/, QPoint /*at*/) {}
  // The text message window: the draft (empty text: an empty window with the
  // user's own number).
  virtual void sendSms(const gsync::SmsDraft& /*draft*/) {}
  // A list's items are missing from the cache: download them into the slot's
  // detail file and call MainViews::slotDownloaded(slot, ok).  Returns false
  // when no download is possible (the slot is then skipped).
  virtual bool downloadItems(const gsync::ListSlot& /*slot*/) { return false; }
  // A list file of the load chain is missing: download it and call the
  // link's loader.  Returns false when no download is possible (the chain
  // then goes on without it).
  virtual bool downloadLink(gsync::ChainLink /*link*/) { return false; }
};

// Questions and refusals, titled with the window's caption.
class Prompter {
 public:
  virtual ~Prompter() = default;
  // Yes, No and Cancel with an information icon; true only for Yes.
  virtual bool ask(QWidget* owner, const QString& text);
  // An exclamation icon and one button.
  virtual void refuse(QWidget* owner, const QString& text);
};

}  // namespace ui
