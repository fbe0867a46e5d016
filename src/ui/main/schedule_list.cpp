#include "ui/main/schedule_list.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "base/fields.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"
#include "ui/main/calendar_tree.h"

namespace ui {
namespace {

constexpr double kDesignPointSize = 9;
constexpr int kColumnWidths[ScheduleGrid::kColumnCount] = {29, 29, 392, 29, 44, 70, 68};
constexpr const char* kSortHint = "여기를 클릭하면 정렬이 됩니다.";

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The column's picture, whose magenta pixels are transparent.
QPixmap keyed(const QString& name) {
  static QHash<QString, QPixmap> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return *it;
  QImage image = loadImage(name).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == 0xFF00FF) image.setPixel(x, y, 0);
  return *cache.insert(name, QPixmap::fromImage(image));
}

}  // namespace

QString categoryPictureName(const gsync::ItemRecord& item) {
  if (gsync::isTask(item))
    return gsync::isDone(item) ? QStringLiteral("IMAGE_CHECKCLICK") : QStringLiteral("IMAGE_CHECK");
  const int category = item.extra ? item.extra->category : 0;
  switch (category) {
    case app::kToDo: return QStringLiteral("IMAGE_WORK");
    case app::kAppointment: return QStringLiteral("IMAGE_MEETING");
    case app::kAnniversary: return QStringLiteral("IMAGE_MEMORIAL");
    case app::kPaymentDay: return QStringLiteral("IMAGE_MONEY");
    case app::kHoliday: return QStringLiteral("IMAGE_KOREA");
    default: break;
  }
  if (item.extra && item.extra->lunar) return QStringLiteral("IMAGE_MOON");
  return {};
}

// ---------------------------------------------------------------- grid

ScheduleGrid::ScheduleGrid(QWidget* parent) : QTableWidget(parent) {
  setObjectName(QStringLiteral("HygPlan"));
  setColumnCount(kColumnCount);
  setFont(koreanFont(9));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setMouseTracking(true);
  setFrameShape(QFrame::NoFrame);
  setAlternatingRowColors(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setStyleSheet(QStringLiteral(
      "QTableWidget { background: white; gridline-color: rgb(235,235,235); }"
      "QTableWidget::item { border-bottom: 1px solid rgb(238,238,238); }"
      "QTableWidget::item:selected { background: rgb(214,228,250); color: black; }"
      "QHeaderView::section { background: rgb(242,242,242); border: none;"
      " border-right: 1px solid rgb(222,222,222); border-bottom: 1px solid rgb(200,200,200); padding-left: 4px; }"));
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setItemDelegate(new ScheduleDelegate(this));
  setUpHeader();
  connect(this, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int previous, int) {
            if (row != previous) emit currentRecordChanged(itemAt(row));
          });
  connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (gsync::ItemRecord* item = itemAt(row)) emit editRequested(item);
  });
}

void ScheduleGrid::setUpHeader() {
  const char* headings[kColumnCount] = {"", "", "일정", "", "상태", "날짜", "시간"};
  for (int c = 0; c < kColumnCount; ++c) {
    auto* heading = new QTableWidgetItem(QString::fromUtf8(headings[c]));
    if (c == kColour) heading->setIcon(QIcon(keyed(QStringLiteral("IMAGE_GCAL"))));
    if (c == kColour || c == kTitle || c == kNote || c == kDate) heading->setToolTip(QString::fromUtf8(kSortHint));
    heading->setTextAlignment(c == kTitle ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    setHorizontalHeaderItem(c, heading);
    setColumnWidth(c, kColumnWidths[c]);
  }
  QHeaderView* header = horizontalHeader();
  header->setFixedHeight(kHeadingHeight);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setFont(koreanFont(9, true));
  connect(header, &QHeaderView::sectionClicked, this, &ScheduleGrid::headingClicked);

  headingCheck_ = new QCheckBox(header);
  headingCheck_->setObjectName(QStringLiteral("ChkAll"));
  headingCheck_->setToolTip(QStringLiteral("모두 선택"));
  connect(headingCheck_, &QCheckBox::clicked, this, &ScheduleGrid::headingCheckClicked);
  placeHeadingCheck();
}

void ScheduleGrid::placeHeadingCheck() {
  if (!headingCheck_) return;
  const QSize hint = headingCheck_->sizeHint();
  headingCheck_->setGeometry((columnWidth(kMark) - hint.width()) / 2 + 1,
                             (horizontalHeader()->height() - hint.height()) / 2, hint.width(), hint.height());
}

double ScheduleGrid::scale() const { return std::max(1.0, font().pointSizeF() / kDesignPointSize); }

void ScheduleGrid::applyScale() {
  const double factor = scale();
  const auto scaled = [factor](int pixels) { return static_cast<int>(std::lround(pixels * factor)); };
  for (int c = 0; c < kColumnCount; ++c)
    if (c != kTitle) setColumnWidth(c, std::max(kColumnWidths[c], scaled(kColumnWidths[c])));
  verticalHeader()->setDefaultSectionSize(scaled(kRowHeight));
  horizontalHeader()->setFixedHeight(scaled(kHeadingHeight));
  placeHeadingCheck();
  fitTitleColumn();
}

void ScheduleGrid::changeEvent(QEvent* event) {
  QTableWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) applyScale();
}

void ScheduleGrid::showRows(const std::vector<gsync::ItemRecord*>& rows) {
  rows_ = rows;
  marks_.assign(rows_.size(), false);
  headingCheck_->setChecked(false);
  const QSignalBlocker block(this);
  clearContents();
  setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < rowCount(); ++r) refillRow(r);
  setEnabled(true);
  scrollToTop();
  if (!rows_.empty()) setCurrentCell(0, kTitle);
  fitTitleColumn();
  viewport()->update();
}

void ScheduleGrid::refillRow(int row) {
  const gsync::ItemRecord* item = itemAt(row);
  if (!item) return;
  const auto cell = [&](int column, const std::string& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* c = new QTableWidgetItem(qs(text));
    c->setTextAlignment(align);
    setItem(row, column, c);
  };
  const QSignalBlocker block(this);
  for (int c : {kMark, kColour, kCategory}) setItem(row, c, new QTableWidgetItem);
  cell(kTitle, item->title);
  cell(kNote, item->note, Qt::AlignCenter);
  cell(kDate, gsync::rowDateText(*item), Qt::AlignCenter);
  cell(kTime, gsync::rowTimeText(*item), Qt::AlignCenter);
  if (!item->title.empty()) this->item(row, kTitle)->setToolTip(qs(item->title));
}

gsync::ItemRecord* ScheduleGrid::itemAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
  return rows_[row];
}

int ScheduleGrid::rowOf(const gsync::ItemRecord* item) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i] == item) return static_cast<int>(i);
  return -1;
}

void ScheduleGrid::selectRow(int row) {
  if (!itemAt(row)) return;
  const int visible = std::max(1, viewport()->height() / kRowHeight);
  const int top = rowAt(0);
  if (row < top || row >= top + visible) scrollToItem(item(row, kTitle), QAbstractItemView::PositionAtTop);
  setCurrentCell(row, kTitle);
  setMark(row, true);
  emit currentRecordChanged(itemAt(row));
}

bool ScheduleGrid::mark(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < marks_.size() && marks_[row];
}

void ScheduleGrid::setMark(int row, bool on) {
  if (row < 0 || static_cast<std::size_t>(row) >= marks_.size()) return;
  marks_[row] = on;
  // Clearing one mark clears the heading box without setting every row.
  if (!on && headingCheck_->isChecked()) headingCheck_->setChecked(false);
  viewport()->update(visualRect(model()->index(row, kMark)));
}

void ScheduleGrid::toggleMark(int row) { setMark(row, !mark(row)); }

void ScheduleGrid::clearMarks() {
  std::fill(marks_.begin(), marks_.end(), false);
  headingCheck_->setChecked(false);
  viewport()->update();
}

void ScheduleGrid::headingCheckClicked(bool checked) {
  std::fill(marks_.begin(), marks_.end(), checked);
  viewport()->update();
}

void ScheduleGrid::headingClicked(int column) {
  switch (column) {
    case kTitle: emit sortRequested(gsync::SortColumn::Title); break;
    case kCategory: emit sortRequested(gsync::SortColumn::Category); break;
    case kNote: emit sortRequested(gsync::SortColumn::Note); break;
    case kDate: emit sortRequested(gsync::SortColumn::Start); break;
    default: break;
  }
}

void ScheduleGrid::fitTitleColumn() {
  // The title takes what the viewport (without its scroll bar) leaves.
  int others = 0;
  for (int c = 0; c < kColumnCount; ++c)
    if (c != kTitle) others += columnWidth(c);
  setColumnWidth(kTitle, std::max(80, viewport()->width() - others));
}

bool ScheduleGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) fitTitleColumn();
  return QTableWidget::viewportEvent(event);
}

void ScheduleGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  fitTitleColumn();
}

void ScheduleGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QTableWidget::mousePressEvent(event);
  if (!index.isValid() || event->button() != Qt::LeftButton) return;
  gsync::ItemRecord* item = itemAt(index.row());
  if (!item) return;
  if (index.column() == kMark) toggleMark(index.row());
  if (index.column() == kCategory && gsync::isTask(*item) && !taskChangePending_) emit taskToggleRequested(item);
}

void ScheduleGrid::mouseMoveEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  viewport()->setCursor(index.isValid() && index.column() == kCategory ? Qt::PointingHandCursor : Qt::ArrowCursor);
  QTableWidget::mouseMoveEvent(event);
}

// ---------------------------------------------------------------- drawing

ScheduleDelegate::ScheduleDelegate(ScheduleGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void ScheduleDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const gsync::ItemRecord* item = grid_->itemAt(index.row());
  if (!item) return;
  if (gsync::isDone(*item)) {
    option->font.setStrikeOut(true);
    option->palette.setColor(QPalette::Text, QColor(130, 130, 130));
  }
  if (index.column() == ScheduleGrid::kNote) {
    const QFontMetrics metrics(option->font);
    option->text = QString::fromStdString(base::shortenText(item->note, option->rect.width() - 4, [&](const std::string& s) {
      return metrics.horizontalAdvance(QString::fromStdString(s));
    }));
    option->textElideMode = Qt::ElideNone;
  } else if (index.column() == ScheduleGrid::kTitle) {
    option->rect.adjust(2, 0, 0, 0);
  }
}

void ScheduleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  const gsync::ItemRecord* item = grid_->itemAt(index.row());
  if (!item) return;
  const QRect cell = option.rect;
  const auto drawCentred = [&](const QPixmap& picture, int dx = 0) {
    if (picture.isNull()) return;
    const QPoint at(cell.left() + (cell.width() - picture.width()) / 2 + dx,
                    cell.top() + (cell.height() - picture.height()) / 2);
    painter->drawPixmap(at, picture);
  };
  switch (index.column()) {
    case ScheduleGrid::kMark:
      drawCentred(keyed(grid_->mark(index.row()) ? QStringLiteral("IMAGE_CHECKCLICK") : QStringLiteral("IMAGE_CHECK")));
      break;
    case ScheduleGrid::kColour: {
      const PictureList* pictures = grid_->pictures();
      if (!pictures) break;
      int picture = PictureList::kDoneTask;
      if (item->picture > 0) picture = item->picture;
      else if (!gsync::isDone(*item) && item->list) picture = item->list->picture;
      drawCentred(pictures->picture(picture), gsync::isTask(*item) ? -1 : 0);
      break;
    }
    case ScheduleGrid::kCategory: {
      const QString name = categoryPictureName(*item);
      if (!name.isEmpty()) {
        const QPixmap picture = keyed(name);
        painter->drawPixmap(cell.left() + 6, cell.top() + (cell.height() - picture.height()) / 2, picture);
      }
      break;
    }
    default: break;
  }
}

}  // namespace ui
