#include "sync/download.h"

namespace gsync {

void Download::downloadLink(ChainLink link) {
  switch (link) {
    case ChainLink::CalendarList: requests_.calendarListDownload(); break;
    case ChainLink::TaskLists: requests_.taskListsDownload(); break;
    case ChainLink::CalendarColours: requests_.calendarColoursDownload(); break;
    case ChainLink::EventColours: requests_.eventColoursDownload(); break;
    case ChainLink::Items: break;
  }
}

void Download::downloadItems(const ListSlot& slot) {
  if (!slot.list) return;
  requests_.listItemsDownload(slot.number, slot.list->id, slot.list->isTaskList);
}

void Download::followUp(RequestKind kind, const HeldArguments& held) {
  if (!store_) return;
  switch (kind) {
    case RequestKind::CalendarListDownload: store_->loadCalendars(); break;
    case RequestKind::TaskListsDownload: store_->loadTaskLists(); break;
    case RequestKind::ListItemsDownload: store_->loadListItems(held.slot); break;
    case RequestKind::CalendarColoursDownload: store_->loadCalendarColours(); break;
    case RequestKind::EventColoursDownload: store_->loadEventColours(); break;
    default:
      if (next_) next_->followUp(kind, held);
  }
}

void DownloadingChain::startItemLoading() {
  if (!store_) return;
  store_->buildSlots();
  if (!store_->listSlots().empty()) store_->requestListItems(0);
}

void DownloadingChain::itemsLoaded(const ListSlot& slot) {
  ++slotsDone;
  if (store_ && static_cast<std::size_t>(slot.number + 1) < store_->listSlots().size())
    store_->requestListItems(slot.number + 1);
}

}  // namespace gsync
