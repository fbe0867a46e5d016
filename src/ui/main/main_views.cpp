#include "ui/main/main_views.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "base/datetime.h"
#include "ui/common/count_thread.h"
#include "ui/common/skin.h"
#include "ui/main/calendar_tree.h"
#include "ui/main/detail_pane.h"
#include "ui/main/schedule_list.h"

namespace ui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MainViews::MainViews(const Widgets& widgets, QObject* parent) : QObject(parent), w_(widgets) {
  w_.grid->setPictures(&w_.tree->pictures());
  buildMenus();
  connectWidgets();
  refreshGrid();
}

MainViews::~MainViews() {
  if (thread_) thread_->stop();
}

void MainViews::setCommandSink(ItemCommandSink* sink) { sink_ = sink ? sink : &defaultSink_; }
void MainViews::setPrompter(Prompter* prompter) { prompter_ = prompter ? prompter : &defaultPrompter_; }

int MainViews::currentYear() const { return base::yearOf(base::now()); }

void MainViews::openCache(const std::string& folder, const std::string& googleId, const std::string& myName) {
  if (!store_) {
    gsync::CacheStoreOptions options;
    options.folder = folder;
    options.googleId = googleId;
    options.myName = myName;
    store_ = std::make_unique<gsync::CacheStore>(options, *this);
  } else {
    store_->setAccount(googleId, myName);
  }
  store_->enterChain();
}

// ---------------------------------------------------------------- wiring

void MainViews::connectWidgets() {
  CalendarTree* tree = w_.tree;
  connect(tree, &CalendarTree::checkChanged, this, [this] { onCheckChanged(); });
  connect(tree, &CalendarTree::nodeClicked, this, &MainViews::onNodeClicked);
  connect(tree, &CalendarTree::editRequested, this, &MainViews::editList);
  connect(tree, &CalendarTree::deleteRequested, this, &MainViews::deleteList);
  connect(tree, &CalendarTree::addCalendarRequested, this, &MainViews::addCalendar);
  connect(tree, &CalendarTree::addTaskListRequested, this, &MainViews::addTaskList);

  ScheduleGrid* grid = w_.grid;
  connect(grid, &ScheduleGrid::sortRequested, this, &MainViews::sortBy);
  connect(grid, &ScheduleGrid::currentRecordChanged, this, &MainViews::showDetail);
  connect(grid, &ScheduleGrid::taskToggleRequested, this, &MainViews::toggleTask);
  connect(grid, &ScheduleGrid::editRequested, this, [this](gsync::ItemRecord* item) { editItem(item); });
  grid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const int row = w_.grid->rowAt(at.y());
    setCurrentItem(w_.grid->itemAt(row));
    if (row >= 0) w_.grid->setCurrentCell(row, ScheduleGrid::kTitle);
    for (QAction* entry : std::as_const(itemMenuRowEntries_)) {
      entry->setVisible(true);
      if (!entry->isSeparator()) entry->setEnabled(currentItem_ != nullptr);
    }
    itemMenu_->exec(w_.grid->viewport()->mapToGlobal(at));
  });

  connect(w_.year, &QComboBox::activated, this, [this](int) { yearFilterChanged(); });
  if (w_.listDelete) connect(w_.listDelete, &QAbstractButton::clicked, this, &MainViews::deleteList);
  if (w_.itemEdit) connect(w_.itemEdit, &QAbstractButton::clicked, this, &MainViews::editCurrentRow);
  if (w_.itemDelete) connect(w_.itemDelete, &QAbstractButton::clicked, this, &MainViews::deleteChecked);
  if (w_.sms) connect(w_.sms, &QAbstractButton::clicked, this, &MainViews::sendSms);
  if (w_.find) connect(w_.find, &QAbstractButton::clicked, this, &MainViews::find);

  w_.search->installEventFilter(this);
  w_.suggestions->installEventFilter(this);
  connect(w_.suggestions, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* entry) {
    w_.search->setText(entry->text());
    find();
  });

  // Insert keys add items while the list has the focus.
  const auto shortcut = [this](const char* keys, auto slot) {
    auto* s = new QShortcut(QKeySequence(QString::fromLatin1(keys)), w_.grid, nullptr, nullptr,
                            Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, slot);
  };
  shortcut("Ins", [this] { addEvent(false); });
  shortcut("Ctrl+Ins", [this] { addEvent(true); });
  shortcut("Shift+Ins", [this] { addTask(); });
  shortcut("Del", [this] { deleteChecked(); });
}

void MainViews::buildMenus() {
  if (w_.listAdd && w_.listAdd->menu()) {
    QMenu* menu = w_.listAdd->menu();
    menu->addAction(QStringLiteral("캘린더(&C)"), QKeySequence(QStringLiteral("Ctrl+Ins")), this,
                    &MainViews::addCalendar);
    menu->addAction(QStringLiteral("일정(&T)"), QKeySequence(QStringLiteral("Shift+Ins")), this,
                    &MainViews::addTaskList);
  }
  itemMenu_ = w_.itemAdd && w_.itemAdd->menu() ? w_.itemAdd->menu() : new QMenu(w_.grid);
  itemMenu_->setFont(koreanFont(9));
  itemMenu_->addAction(QStringLiteral("이벤트 추가(&E)"), QKeySequence(QStringLiteral("Ins")), this,
                       [this] { addEvent(false); });
  itemMenu_->addAction(QStringLiteral("음력 이벤트 추가(&L)"), QKeySequence(QStringLiteral("Ctrl+Ins")), this,
                       [this] { addEvent(true); });
  itemMenu_->addAction(QStringLiteral("할일 추가(&T)"), QKeySequence(QStringLiteral("Shift+Ins")), this,
                       &MainViews::addTask);
  itemMenuRowEntries_ << itemMenu_->addSeparator();
  itemMenuRowEntries_ << itemMenu_->addAction(QStringLiteral("이벤트 수정(&U)"), QKeySequence(QStringLiteral("Ctrl+E")),
                                              this, [this] { editItem(currentItem_); });
  itemMenuRowEntries_ << itemMenu_->addSeparator();
  itemMenuRowEntries_ << itemMenu_->addAction(QStringLiteral("이벤트 삭제(&R)"), QKeySequence(QStringLiteral("Del")),
                                              this, [this] { deleteOne(currentItem_); });
  // Dropped down from " 추가", the menu only adds.
  connect(itemMenu_, &QMenu::aboutToShow, this, [this] {
    if (w_.itemAdd && w_.itemAdd->isDown())
      for (QAction* entry : std::as_const(itemMenuRowEntries_)) entry->setVisible(false);
  });
}

// ---------------------------------------------------------------- tree

void MainViews::onCheckChanged() {
  applyYearFilter(w_.year->currentIndex());
  keepRowsOfLists(w_.tree->checkedLeaves());
  refreshGrid();
}

void MainViews::keepRowsOfLists(const std::vector<const gsync::ListRecord*>& lists) {
  std::vector<std::string> ids;
  for (const gsync::ListRecord* list : lists)
    if (list) ids.push_back(list->id);
  std::erase_if(rows_, [&](const gsync::ItemRecord* item) {
    return !item->list || std::find(ids.begin(), ids.end(), item->list->id) == ids.end();
  });
}

void MainViews::onNodeClicked(QTreeWidgetItem* node) {
  applyYearFilter(w_.year->currentIndex());
  if (!node) node = w_.tree->topNode();
  const gsync::ListRecord* record = w_.tree->recordOf(node);
  if (record && !record->id.empty()) keepRowsOfLists({record});
  refreshGrid();
}

void MainViews::showOnlyList(QTreeWidgetItem* node) {
  w_.year->setCurrentIndex(0);
  w_.tree->setAllChecked(false);
  w_.tree->expandAll();
  if (!node) return;
  w_.tree->setCurrentItem(node);
  w_.tree->setNodeChecked(node, true);  // runs the check change
}

// ---------------------------------------------------------------- schedule list

void MainViews::applyYearFilter(int index) {
  rows_.clear();
  if (!store_) return;
  const auto filter = static_cast<gsync::YearFilter>(std::clamp(index, 0, 3));
  rows_ = gsync::applyYearFilter(store_->items(), filter, currentYear());
}

void MainViews::yearFilterChanged() {
  w_.tree->setAllChecked(true);
  w_.tree->setCurrentItem(w_.tree->topNode());
  w_.tree->viewport()->update();
  applyYearFilter(w_.year->currentIndex());
  refreshGrid();
}

void MainViews::refreshGrid() {
  if (w_.suggestions->isVisible()) {
    w_.search->clear();
    hideSuggestions();
  }
  w_.grid->showRows(rows_);
  const bool any = !rows_.empty();
  if (w_.itemEdit) w_.itemEdit->setEnabled(any);
  if (w_.itemDelete) w_.itemDelete->setEnabled(any);
  showDetail(w_.grid->currentRecord());
}

void MainViews::selectItem(gsync::ItemRecord* item) {
  if (!item) return;
  const int row = w_.grid->rowOf(item);
  if (row < 0) return;
  w_.grid->selectRow(row);
  showDetail(item);
}

void MainViews::showDetail(gsync::ItemRecord* item) {
  if (!item || !store_ || !item->list) {
    w_.detail->showLines({});
    return;
  }
  const std::optional<gsync::Json> cached = gsync::findCachedItem(store_->folder(), item->list->id, item->id);
  if (!cached) {
    w_.detail->showLines({});
    return;
  }
  const gsync::DetailText text = gsync::detailText(*cached, *item);
  if (text.taskNote && *text.taskNote != item->note) {
    item->note = *text.taskNote;
    w_.grid->refillRow(w_.grid->rowOf(item));
  }
  w_.detail->showLines(text.lines);
}

void MainViews::sortBy(gsync::SortColumn column) {
  gsync::sortRows(rows_, column, sortDirections_.take(column));
  refreshGrid();
}

// ---------------------------------------------------------------- search

bool MainViews::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.search && event->type() == QEvent::KeyRelease) {
    if (!w_.search->text().isEmpty()) searchKeyReleased(static_cast<QKeyEvent*>(event)->key());
  } else if (watched == w_.suggestions && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      find();
      return true;
    }
    if (key == Qt::Key_Escape) {
      hideSuggestions();
      w_.search->setFocus();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void MainViews::searchKeyReleased(int key) {
  switch (key) {
    case Qt::Key_Down:
      if (w_.suggestions->count() > 0) {
        w_.suggestions->setCurrentRow(0);
        w_.suggestions->setFocus();
      }
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter: find(); return;
    case Qt::Key_Escape:
      if (w_.suggestions->isVisible()) {
        w_.search->clear();
        hideSuggestions();
      }
      return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right: return;
    default: updateSuggestions();
  }
}

void MainViews::updateSuggestions() {
  w_.suggestions->clear();
  searchResults_.clear();
  const std::string text = w_.search->text().toStdString();
  for (std::size_t i : gsync::matchingRows(rows_, text)) {
    w_.suggestions->addItem(qs(rows_[i]->title));
    searchResults_.push_back(rows_[i]);
  }
  if (searchResults_.empty()) {
    hideSuggestions();
    return;
  }
  w_.suggestions->show();
  w_.suggestions->raise();
}

void MainViews::hideSuggestions() { w_.suggestions->hide(); }

void MainViews::find() {
  hideSuggestions();
  int chosen = w_.suggestions->currentRow();
  const QList<QListWidgetItem*> selected = w_.suggestions->selectedItems();
  if (!selected.isEmpty()) chosen = w_.suggestions->row(selected.first());
  if (chosen >= 0 && static_cast<std::size_t>(chosen) < searchResults_.size()) {
    selectItem(searchResults_[chosen]);
    w_.grid->setFocus();
  }
  w_.search->clear();
}

}  // namespace ui
