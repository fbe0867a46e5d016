#include "ui/main/calendar_tree.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "sync/item_views.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

constexpr int kRecordRole = Qt::UserRole + 1;
const QRgb kMagenta = qRgb(255, 0, 255);

// The pictures use magenta for transparent pixels.
QImage keyedPicture(const QString& name) {
  QImage image = loadImage(name).convertToFormat(QImage::Format_ARGB32);
  if (image.isNull()) {
    image = QImage(PictureList::kWidth, PictureList::kHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (kMagenta & 0xFFFFFF)) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return image;
}

QRgb rgbOf(int colour) { return qRgb((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF); }

}  // namespace

// ---------------------------------------------------------------- pictures

PictureList::PictureList() { reset(); }

void PictureList::reset() {
  pictures_ = {keyedPicture(QStringLiteral("IMAGE_GCAL")), keyedPicture(QStringLiteral("IMAGE_GTASKS")),
               keyedPicture(QStringLiteral("IMAGE_GTASK"))};
}

int PictureList::pictureForColour(int colour) {
  const QRgb wanted = rgbOf(colour);
  for (std::size_t i = kFirstColour; i < pictures_.size(); ++i)
    if (pictures_[i].pixel(3, 3) == wanted) return static_cast<int>(i);
  // A coloured bar on a transparent ground.  The bar is drawn opaque whatever
  // its colour, so a magenta calendar keeps its colour.
  QImage image(kWidth, kHeight, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.fillRect(QRect(0, 1, 11, 14), QColor::fromRgb(wanted));
  painter.setPen(QColor::fromRgb(wanted).darker(130));
  painter.drawRect(QRect(0, 1, 10, 13));
  painter.end();
  image.setPixel(3, 3, wanted);
  pictures_.push_back(image);
  return static_cast<int>(pictures_.size()) - 1;
}

QPixmap PictureList::picture(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= pictures_.size()) return {};
  return QPixmap::fromImage(pictures_[index]);
}

// ---------------------------------------------------------------- tree

CalendarTree::CalendarTree(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("TvList"));
  setHeaderHidden(true);
  setColumnCount(1);
  setFont(koreanFont(9));
  setIconSize(QSize(PictureList::kWidth, PictureList::kHeight));
  setIndentation(16);
  setFrameShape(QFrame::NoFrame);
  setStyleSheet(QStringLiteral("QTreeWidget:focus { background: rgb(223,254,143); }"));
  allRecord_.name = "전체";
  allRecord_.picture = -1;
  calendarsRecord_.name = "캘린더";
  calendarsRecord_.picture = PictureList::kCalendar;
  resetNodes();
  connect(this, &QTreeWidget::itemChanged, this, &CalendarTree::onItemChanged);
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node, int) { emit nodeClicked(node); });
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* node, int) { emit editRequested(node); });
}

void CalendarTree::resetNodes() {
  const QSignalBlocker block(this);
  clear();
  pictures_.reset();
  top_ = makeNode(nullptr, allRecord_);
  calendars_ = makeNode(top_, calendarsRecord_);
  top_->setExpanded(true);
}

QTreeWidgetItem* CalendarTree::makeNode(QTreeWidgetItem* parent, const gsync::ListRecord& record) {
  auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  node->setData(0, kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(&record)));
  node->setCheckState(0, Qt::Checked);
  showRecord(node, record);
  return node;
}

void CalendarTree::showRecord(QTreeWidgetItem* node, const gsync::ListRecord& record) {
  const QSignalBlocker block(this);
  node->setText(0, QString::fromStdString(record.name));
  node->setIcon(0, record.picture >= 0 ? QIcon(pictures_.picture(record.picture)) : QIcon());
  node->setData(0, kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(&record)));
}

QTreeWidgetItem* CalendarTree::addListNode(QTreeWidgetItem* parent, const gsync::ListRecord& record) {
  const QSignalBlocker block(this);
  return makeNode(parent, record);
}

QTreeWidgetItem* CalendarTree::addList(const gsync::ListRecord& record) {
  return addListNode(record.isTaskList ? top_ : calendars_, record);
}

const gsync::ListRecord* CalendarTree::recordOf(const QTreeWidgetItem* node) const {
  if (!node) return nullptr;
  return reinterpret_cast<const gsync::ListRecord*>(node->data(0, kRecordRole).value<quintptr>());
}

QTreeWidgetItem* CalendarTree::findListNode(const std::string& id) const {
  for (QTreeWidgetItem* node : nodesInOrder())
    if (const gsync::ListRecord* record = recordOf(node); record && record->id == id) return node;
  return nullptr;
}

void CalendarTree::updateListNode(const gsync::ListRecord& record) {
  if (QTreeWidgetItem* node = findListNode(record.id)) showRecord(node, record);
}

void CalendarTree::removeListNode(const std::string& id) {
  if (id.empty()) return;
  QTreeWidgetItem* node = findListNode(id);
  if (!node || node == top_ || node == calendars_) return;
  const QSignalBlocker block(this);
  delete node;
}

std::vector<QTreeWidgetItem*> CalendarTree::nodesInOrder() const {
  std::vector<QTreeWidgetItem*> nodes;
  for (QTreeWidgetItemIterator it(const_cast<CalendarTree*>(this)); *it; ++it) nodes.push_back(*it);
  return nodes;
}

std::vector<QTreeWidgetItem*> CalendarTree::leaves() const {
  std::vector<QTreeWidgetItem*> found;
  for (QTreeWidgetItem* node : nodesInOrder())
    if (node->childCount() == 0) found.push_back(node);
  return found;
}

std::vector<const gsync::ListRecord*> CalendarTree::checkedLeaves() const {
  std::vector<const gsync::ListRecord*> found;
  for (QTreeWidgetItem* node : leaves())
    if (node->checkState(0) == Qt::Checked) found.push_back(recordOf(node));
  return found;
}

std::vector<QTreeWidgetItem*> CalendarTree::taskListNodes() const {
  std::vector<QTreeWidgetItem*> found;
  for (int i = 0; i < top_->childCount(); ++i)
    if (const gsync::ListRecord* record = recordOf(top_->child(i)); record && record->isTaskList)
      found.push_back(top_->child(i));
  return found;
}

QTreeWidgetItem* CalendarTree::deleteTarget() const {
  const std::vector<QTreeWidgetItem*> nodes = nodesInOrder();
  std::vector<gsync::TreeNodeInfo> infos;
  int focused = -1;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const gsync::ListRecord* record = recordOf(nodes[i]);
    infos.push_back({record ? record->name : std::string{}, nodes[i]->checkState(0) == Qt::Checked,
                     nodes[i]->childCount() > 0, record ? record->id : std::string{}});
    if (nodes[i] == currentItem()) focused = static_cast<int>(i);
  }
  const int index = gsync::deleteTargetIndex(infos, focused);
  return index >= 0 ? nodes[index] : nullptr;
}

void CalendarTree::setNodeChecked(QTreeWidgetItem* node, bool checked) {
  if (!node) return;
  node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);  // runs onItemChanged
}

void CalendarTree::setAllChecked(bool checked) {
  const QSignalBlocker block(this);
  for (QTreeWidgetItem* node : nodesInOrder()) node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void CalendarTree::onItemChanged(QTreeWidgetItem* node, int column) {
  if (propagating_ || column != 0) return;
  const Qt::CheckState state = node->checkState(0);
  propagating_ = true;
  {
    const QSignalBlocker block(this);
    propagate(node, state);
    // A cleared node clears its parent; the grandparent and the siblings stay.
    QTreeWidgetItem* parent = node->parent();
    if (state == Qt::Unchecked && parent && parent->checkState(0) != Qt::Unchecked)
      parent->setCheckState(0, Qt::Unchecked);
  }
  propagating_ = false;
  viewport()->update();
  emit checkChanged(node);
}

void CalendarTree::propagate(QTreeWidgetItem* node, Qt::CheckState state) {
  for (int i = 0; i < node->childCount(); ++i) {
    node->child(i)->setCheckState(0, state);
    propagate(node->child(i), state);
  }
}

void CalendarTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    emit deleteRequested();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void CalendarTree::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.setFont(koreanFont(9));
  menu.addAction(QStringLiteral("수정(&E)"), this, [this] { emit editRequested(currentItem()); });
  QMenu* add = menu.addMenu(QStringLiteral("추가(&A)"));
  add->addAction(QStringLiteral("캘린더(&C)"), QKeySequence(QStringLiteral("Ctrl+Ins")), this,
                 &CalendarTree::addCalendarRequested);
  add->addAction(QStringLiteral("일정(&T)"), QKeySequence(QStringLiteral("Shift+Ins")), this,
                 &CalendarTree::addTaskListRequested);
  menu.addAction(QStringLiteral("삭제(&D)"), this, &CalendarTree::deleteRequested);
  menu.exec(event->globalPos());
}

}  // namespace ui
