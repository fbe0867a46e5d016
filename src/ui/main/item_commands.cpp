// MainViews: the commands on lists and items, with their questions and
// refusals, handed on to the command sink.
#include "ui/main/item_commands.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QToolButton>

#include "base/datetime.h"
#include "sync/cache_patch.h"
#include "ui/common/message.h"
#include "ui/main/calendar_tree.h"
#include "ui/main/main_views.h"
#include "ui/main/schedule_list.h"

namespace ui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

constexpr int kCalendarDialogShift = -159;
constexpr int kTaskListDialogShift = -109;
constexpr int kEditorShift = -158;

}  // namespace

bool Prompter::ask(QWidget* owner, const QString& text) { return askConfirm(owner, text); }
void Prompter::refuse(QWidget* owner, const QString& text) { showWarning(owner, text); }

QPoint MainViews::editorPlace(const QWidget* control, int dx) const {
  if (!control) return {};
  return control->mapToGlobal(QPoint(0, 0)) + QPoint(dx, 25);
}

// ---------------------------------------------------------------- lists

void MainViews::deleteList() {
  QTreeWidgetItem* target = w_.tree->deleteTarget();
  const gsync::ListRecord* list = w_.tree->recordOf(target);
  if (!list || list->id.empty() || !store_) return;
  const auto& listSlots = store_->listSlots();
  if ((!listSlots.empty() && listSlots.front().list == list) ||
      (listSlots.empty() && !store_->calendars().empty() && store_->calendars().front().get() == list)) {
    prompter_->refuse(w_.window, qs(gsync::listDeleteRefusal(*list)));
    return;
  }
  if (!prompter_->ask(w_.window, qs(gsync::listDeleteQuestion(*list)))) return;
  std::vector<std::string> ids;
  for (const auto& item : store_->items())
    if (item->list == list) ids.push_back(item->id);
  editedListId_ = list->id;
  // The items stay until the server has deleted the list (listDeleted).
  sink_->deleteList(*list, ids);
}

void MainViews::listDeleted(const std::string& listId) {
  if (!store_ || listId.empty()) return;
  w_.tree->removeListNode(listId);
  store_->removeList(listId);
  if (editedListId_ == listId) editedListId_.clear();
  if (w_.listDelete) w_.listDelete->setEnabled(w_.tree->nodesInOrder().size() > 3);
  yearFilterChanged();
}

void MainViews::editList(QTreeWidgetItem* node) {
  const gsync::ListRecord* list = w_.tree->recordOf(node);
  if (!node || !list || node->childCount() > 0 || list->id.empty() || list->name == gsync::kDefaultTaskListName)
    return;
  editedListId_ = list->id;
  if (list->isTaskList)
    sink_->editTaskList(list, editorPlace(w_.tree, kTaskListDialogShift));
  else
    sink_->editCalendar(list, editorPlace(w_.tree, kCalendarDialogShift));
}

void MainViews::addCalendar() { sink_->editCalendar(nullptr, editorPlace(w_.listAdd, kCalendarDialogShift)); }
void MainViews::addTaskList() { sink_->editTaskList(nullptr, editorPlace(w_.listAdd, kTaskListDialogShift)); }

// ---------------------------------------------------------------- items

bool MainViews::hasListSlot(bool taskList) const {
  if (!store_) return false;
  for (const gsync::ListSlot& slot : store_->listSlots())
    if (slot.list && !slot.list->id.empty() && slot.list->isTaskList == taskList) return true;
  return false;
}

void MainViews::addEvent(bool lunar) {
  if (!hasListSlot(false)) {
    prompter_->refuse(w_.window, QStringLiteral("캘린더가 없습니다.\r\n\r\n캘린더부터 추가하세요!"));
    addCalendar();
    return;
  }
  const gsync::ListRecord* target = w_.tree->recordOf(w_.tree->deleteTarget());
  const std::string calendarId = target && !target->isTaskList ? target->id : std::string{};
  sink_->addEvent(calendarId, lunar, editorPlace(w_.itemAdd, kEditorShift));
}

void MainViews::addTask() {
  if (!hasListSlot(true)) {
    prompter_->refuse(w_.window, QStringLiteral("할일목록이 없습니다.\r\n\r\n할일목록부터 추가하세요!"));
    addTaskList();
    return;
  }
  const gsync::ListRecord* target = w_.tree->recordOf(w_.tree->deleteTarget());
  const std::string listId = target && target->isTaskList ? target->id : std::string{};
  sink_->addTask(listId, editorPlace(w_.itemAdd, kEditorShift));
}

void MainViews::editCurrentRow() { editItem(w_.grid->currentRecord()); }

void MainViews::editItem(const gsync::ItemRecord* item) {
  if (!item) return;
  if (gsync::inBirthdayList(*item)) {
    prompter_->refuse(w_.window, QString::fromUtf8(gsync::kBirthdayEditRefusal));
    return;
  }
  sink_->editItem(*item, editorPlace(w_.itemEdit, kEditorShift));
}

std::vector<ItemRef> MainViews::refsOf(const std::vector<const gsync::ItemRecord*>& items) const {
  std::vector<ItemRef> refs;
  for (const gsync::ItemRecord* item : items)
    refs.push_back({item->list ? item->list->id : std::string{}, item->id, gsync::isTask(*item)});
  return refs;
}

// Every delete command starts with an empty work list, so that ids of an
// earlier command that was declined or failed are never sent again.
void MainViews::runDeletePlan(const gsync::DeletePlan& plan) {
  pendingDeletion_.clear();
  if (plan.birthdayRefused) prompter_->refuse(w_.window, QString::fromUtf8(gsync::kBirthdayDeleteRefusal));
  if (!plan.items.empty() && prompter_->ask(w_.window, qs(plan.question))) {
    pendingDeletion_ = refsOf(plan.items);
    sink_->deleteItems(pendingDeletion_);
    return;
  }
  w_.grid->clearMarks();
}

void MainViews::deleteOne(const gsync::ItemRecord* item) {
  if (!item) return;
  runDeletePlan(gsync::planDeleteOne(*item));
}

void MainViews::deleteChecked() {
  runDeletePlan(gsync::planDeleteChecked(w_.grid->rows(), w_.grid->marks(), w_.grid->currentRow()));
}

void MainViews::itemsDeleted() {
  if (!store_) return;
  const std::vector<ItemRef> deleted = std::move(pendingDeletion_);
  pendingDeletion_.clear();
  for (const ItemRef& ref : deleted) {
    if (const gsync::ItemRecord* item = store_->findItem(ref.itemId)) {
      if (item == currentItem_) currentItem_ = nullptr;
      store_->removeItem(item);
    }
    gsync::removeCachedItem(store_->folder(), ref.listId, ref.itemId);
  }
  yearFilterChanged();
}

void MainViews::deletionFailed() {
  pendingDeletion_.clear();
  editedListId_.clear();
  w_.grid->clearMarks();
}

// ---------------------------------------------------------------- tasks

void MainViews::toggleTask(gsync::ItemRecord* task) {
  if (!task || !gsync::isTask(*task) || !task->list || !store_ || w_.grid->taskChangePending()) return;
  if (!gsync::writeCompletionToggle(store_->folder(), *task, base::now())) return;
  w_.grid->setTaskChangePending(true);
  sink_->toggleTask(task->list->id, task->id);
}

void MainViews::taskChangeAnswered() { w_.grid->setTaskChangePending(false); }

// ---------------------------------------------------------------- text message

void MainViews::sendSms() {
  const gsync::ItemRecord* item = w_.grid->currentRecord();
  if (!item || !item->list || !store_) {
    sink_->sendSms({});
    return;
  }
  const std::optional<gsync::Json> cached = gsync::findCachedItem(store_->folder(), item->list->id, item->id);
  if (!cached) {
    sink_->sendSms({});
    return;
  }
  sink_->sendSms(gsync::smsDraft(*item, &*cached));
}

}  // namespace ui
