// The main window's calendar views working together: the store of calendars,
// task lists and items, the tree, the background loading of the items, the
// schedule list with its year filter, sorting and search, the detail pane,
// and the item commands.  The main window owns one.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "sync/cache_store.h"
#include "sync/item_views.h"
#include "ui/main/item_commands.h"

class QAbstractButton;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolButton;
class QTreeWidgetItem;

namespace ui {

class CalendarTree;
class DetailPane;
class ScheduleGrid;
class TCountThread;

class MainViews : public QObject, public gsync::CacheListener {
  Q_OBJECT
 public:
  static constexpr const char* kLoadingText = "데이북를 읽습니다...";

  struct Widgets {
    QWidget* window = nullptr;
    CalendarTree* tree = nullptr;
    ScheduleGrid* grid = nullptr;
    DetailPane* detail = nullptr;
    QLineEdit* search = nullptr;
    QListWidget* suggestions = nullptr;
    QAbstractButton* find = nullptr;
    QComboBox* year = nullptr;
    QToolButton* listAdd = nullptr;
    QAbstractButton* listDelete = nullptr;
    QToolButton* itemAdd = nullptr;
    QAbstractButton* itemEdit = nullptr;
    QAbstractButton* itemDelete = nullptr;
    QAbstractButton* sms = nullptr;
    QAbstractButton* login = nullptr;
  };

  explicit MainViews(const Widgets& widgets, QObject* parent = nullptr);
  ~MainViews() override;

  // --- the store and its helpers ---
  // Reads the cache folder through the load chain into the tree and the list.
  void openCache(const std::string& folder, const std::string& googleId, const std::string& myName);
  gsync::CacheStore* store() const { return store_.get(); }
  void setCommandSink(ItemCommandSink* sink);
  void setPrompter(Prompter* prompter);
  // Shows the progress window while loading (on by default).
  void setShowProgress(bool on) { showProgress_ = on; }
  // Today's year for the year filter and the birthday clean-up.
  int currentYear() const;

  // --- loading ---
  void itemLoadingStep(int step);
  void itemLoadingDone();
  TCountThread* countThread() const;
  // The download of a slot's items ended (ok: its detail file is there).
  void slotDownloaded(int slot, bool ok);
  void resetForAccount();
  // After a list was created or changed: that list alone is shown.
  void showOnlyList(QTreeWidgetItem* node);

  // --- schedule list ---
  void applyYearFilter(int index);
  void yearFilterChanged();
  void refreshGrid();
  void selectItem(gsync::ItemRecord* item);
  void showDetail(gsync::ItemRecord* item);
  void sortBy(gsync::SortColumn column);
  void updateSuggestions();
  void find();
  const std::vector<gsync::ItemRecord*>& searchResults() const { return searchResults_; }
  const gsync::SortDirections& sortDirections() const { return sortDirections_; }

  // --- commands ---
  void deleteList();
  void editList(QTreeWidgetItem* node);
  void addCalendar();
  void addTaskList();
  void addEvent(bool lunar = false);
  void addTask();
  void editCurrentRow();
  void editItem(const gsync::ItemRecord* item);
  void deleteOne(const gsync::ItemRecord* item);
  void deleteChecked();
  void toggleTask(gsync::ItemRecord* task);
  void sendSms();
  // The item under the month grid's or the list's menu.
  gsync::ItemRecord* currentItem() const { return currentItem_; }
  void setCurrentItem(gsync::ItemRecord* item) { currentItem_ = item; }
  const std::vector<ItemRef>& pendingDeletion() const { return pendingDeletion_; }

  // --- answers of the request layer ---
  void itemsDeleted();
  void listDeleted(const std::string& listId);
  void deletionFailed();
  void taskChangeAnswered();

  // The " 추가" drop-down of the schedule list (also the list's context menu).
  QMenu* itemMenu() const { return itemMenu_; }

  // --- CacheListener ---
  void listAdded(const gsync::ListRecord& list) override;
  void listChanged(const gsync::ListRecord& list) override;
  void enableDeleteButton() override;
  int pictureForColour(int colour) override;
  void downloadNeeded(gsync::ChainLink link) override;
  void itemsDownloadNeeded(const gsync::ListSlot& slot) override;
  void startItemLoading() override;
  void itemsLoaded(const gsync::ListSlot& slot) override;
  void loadFailed(const std::string& message) override;

 signals:
  // The items are loaded and shown: reminders and upkeep may start.
  void itemsLoadingFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectWidgets();
  void buildMenus();
  void onCheckChanged();
  void onNodeClicked(QTreeWidgetItem* node);
  void keepRowsOfLists(const std::vector<const gsync::ListRecord*>& lists);
  void searchKeyReleased(int key);
  void hideSuggestions();
  bool hasListSlot(bool taskList) const;
  QPoint editorPlace(const QWidget* control, int dx) const;
  std::vector<ItemRef> refsOf(const std::vector<const gsync::ItemRecord*>& items) const;
  void runDeletePlan(const gsync::DeletePlan& plan);
  void collectPaymentDays();

  Widgets w_;
  std::unique_ptr<gsync::CacheStore> store_;
  ItemCommandSink defaultSink_;
  Prompter defaultPrompter_;
  ItemCommandSink* sink_ = &defaultSink_;
  Prompter* prompter_ = &defaultPrompter_;
  QPointer<TCountThread> thread_;
  bool showProgress_ = true;

  std::vector<gsync::ItemRecord*> rows_;
  std::vector<gsync::ItemRecord*> searchResults_;
  std::vector<ItemRef> pendingDeletion_;
  gsync::SortDirections sortDirections_;
  gsync::ItemRecord* currentItem_ = nullptr;
  std::string editedListId_;
  QMenu* itemMenu_ = nullptr;
  QList<QAction*> itemMenuRowEntries_;
};

}  // namespace ui
