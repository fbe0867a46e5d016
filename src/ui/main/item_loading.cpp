// MainViews: the store's side of the load chain and the background loading of
// every list's items, one list per step.
#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>

#include "sync/cache_patch.h"
#include "ui/common/count_thread.h"
#include "ui/common/progress_window.h"
#include "ui/main/calendar_tree.h"
#include "ui/main/detail_pane.h"
#include "ui/main/main_views.h"
#include "ui/main/schedule_list.h"

namespace ui {

// ---------------------------------------------------------------- the chain

void MainViews::listAdded(const gsync::ListRecord& list) {
  w_.tree->addList(list);
  w_.tree->expandAll();
}

void MainViews::listChanged(const gsync::ListRecord& list) { w_.tree->updateListNode(list); }

void MainViews::enableDeleteButton() {
  if (w_.listDelete) w_.listDelete->setEnabled(true);
}

int MainViews::pictureForColour(int colour) { return w_.tree->pictures().pictureForColour(colour); }

void MainViews::downloadNeeded(gsync::ChainLink link) {
  // Without a way to fetch the file the chain goes on with what is there.
  if (!sink_->downloadLink(link) && store_) store_->continueAfter(link);
}

void MainViews::loadFailed(const std::string& message) {
  prompter_->refuse(w_.window, QString::fromStdString(message));
}

// ---------------------------------------------------------------- stepping

void MainViews::startItemLoading() {
  if (!store_) return;
  std::vector<gsync::ListSlot> listSlots;
  for (QTreeWidgetItem* leaf : w_.tree->leaves())
    listSlots.push_back(gsync::ListSlot{static_cast<int>(listSlots.size()), w_.tree->recordOf(leaf)});
  store_->setSlots(listSlots);

  if (!store_->items().empty()) {
    // A reload: every list at once.
    if (thread_) thread_->stop();
    store_->clearItems();
    store_->loadAllItems();
    itemLoadingDone();
    return;
  }
  if (thread_) return;  // already stepping
  thread_ = new TCountThread(static_cast<int>(listSlots.size()), [this](int step) { itemLoadingStep(step); },
                             [this] { itemLoadingDone(); }, this);
  thread_->start();
}

void MainViews::itemLoadingStep(int step) {
  if (!store_) return;
  const int count = static_cast<int>(store_->listSlots().size());
  if (showProgress_) showProgress(w_.window, QString::fromUtf8(kLoadingText), step + 1, count);
  if (thread_) thread_->suspend();
  // Loads the file (which resumes the stepping) or asks for the download.
  store_->requestListItems(step);
}

void MainViews::itemsDownloadNeeded(const gsync::ListSlot& slot) {
  if (!sink_->downloadItems(slot)) slotDownloaded(slot.number, false);
}

void MainViews::slotDownloaded(int slot, bool ok) {
  // A failed download skips the list; the other lists still load.
  if (ok && store_)
    store_->loadListItems(slot);
  else if (thread_)
    thread_->resume();
}

void MainViews::itemsLoaded(const gsync::ListSlot&) {
  if (thread_) thread_->resume();
}

TCountThread* MainViews::countThread() const { return thread_; }

void MainViews::itemLoadingDone() {
  thread_ = nullptr;
  if (showProgress_) closeProgress();
  if (!store_) return;
  gsync::removeRepeatedTitles(*store_, currentYear());
  gsync::dropYearIndex(store_->folder());
  w_.tree->expandAll();
  w_.year->setCurrentIndex(0);
  yearFilterChanged();
  collectPaymentDays();
  if (w_.login) w_.login->setEnabled(true);
  emit itemsLoadingFinished();
}

// Recurring payment days join the lunar events for the upkeep pass.
void MainViews::collectPaymentDays() {
  std::vector<gsync::ItemRecord*>& upkeep = store_->lunarItems();
  for (const auto& item : store_->items()) {
    if (!item->extra || item->kind < 0 || item->extra->category != app::kPaymentDay) continue;
    if (std::find(upkeep.begin(), upkeep.end(), item.get()) == upkeep.end()) upkeep.push_back(item.get());
  }
}

void MainViews::resetForAccount() {
  if (thread_) thread_->stop();
  thread_ = nullptr;
  if (showProgress_) closeProgress();
  if (store_) store_->resetTree();
  pendingDeletion_.clear();
  rows_.clear();
  searchResults_.clear();
  currentItem_ = nullptr;
  editedListId_.clear();
  w_.suggestions->clear();
  w_.suggestions->hide();
  w_.tree->resetNodes();
  refreshGrid();
  w_.detail->showLines({});
  sortDirections_.reset();
  w_.grid->setTaskChangePending(false);
  if (w_.listDelete) w_.listDelete->setEnabled(false);
}

}  // namespace ui
