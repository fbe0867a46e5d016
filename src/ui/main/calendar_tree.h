// The check-box tree of calendars and task lists in the main window's lower
// left pane, and the picture list that gives every calendar its colour.
//
//   전체            (top node, no picture)
//   ├ 캘린더        (picture 0)
//   │ ├ calendars in calendar.txt order
//   ├ task lists in tasklist.txt order
#pragma once

#include <QPixmap>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "sync/records.h"

namespace ui {

// Pictures of 14 x 16 pixels: 0 calendar, 1 task list, 2 done task, then one
// colour picture per distinct colour, made on demand.
class PictureList {
 public:
  static constexpr int kWidth = 14, kHeight = 16;
  static constexpr int kCalendar = 0, kTaskList = 1, kDoneTask = 2, kFirstColour = 3;

  PictureList();
  // The picture of a colour (0xRRGGBB): an existing one whose pixel (3, 3)
  // has that colour, else a new one.
  int pictureForColour(int colour);
  QPixmap picture(int index) const;
  int count() const { return static_cast<int>(pictures_.size()); }
  // Back to the three fixed pictures.
  void reset();

 private:
  std::vector<QImage> pictures_;
};

class CalendarTree : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CalendarTree(QWidget* parent = nullptr);

  PictureList& pictures() { return pictures_; }
  const PictureList& pictures() const { return pictures_; }

  QTreeWidgetItem* topNode() const { return top_; }
  QTreeWidgetItem* calendarNode() const { return calendars_; }
  // Appends a node for the list under `parent` (the top level when none).
  QTreeWidgetItem* addListNode(QTreeWidgetItem* parent, const gsync::ListRecord& record);
  // A calendar goes under "캘린더", a task list under the top node.
  QTreeWidgetItem* addList(const gsync::ListRecord& record);
  // The first node in tree order whose list id is `id`.
  QTreeWidgetItem* findListNode(const std::string& id) const;
  // Shows a list's new name and picture.
  void updateListNode(const gsync::ListRecord& record);
  void removeListNode(const std::string& id);
  // The record of a node: the store's list, or the tree's own group records.
  const gsync::ListRecord* recordOf(const QTreeWidgetItem* node) const;

  std::vector<QTreeWidgetItem*> nodesInOrder() const;
  // Nodes without children in tree order: the slots of the item loading.
  std::vector<QTreeWidgetItem*> leaves() const;
  // Leaves whose box is checked.
  std::vector<const gsync::ListRecord*> checkedLeaves() const;
  QTreeWidgetItem* deleteTarget() const;
  std::vector<QTreeWidgetItem*> taskListNodes() const;

  // A tick or clear as the user makes it: the descendants follow, a cleared
  // node clears its checked parent, and checkChanged is emitted.
  void setNodeChecked(QTreeWidgetItem* node, bool checked);
  // Checks or clears every node without reporting it.
  void setAllChecked(bool checked);
  // Only "전체" and "캘린더" again, with the three fixed pictures.
  void resetNodes();

 signals:
  void checkChanged(QTreeWidgetItem* node);
  void nodeClicked(QTreeWidgetItem* node);
  void editRequested(QTreeWidgetItem* node);
  void deleteRequested();
  void addCalendarRequested();
  void addTaskListRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QTreeWidgetItem* makeNode(QTreeWidgetItem* parent, const gsync::ListRecord& record);
  void showRecord(QTreeWidgetItem* node, const gsync::ListRecord& record);
  void onItemChanged(QTreeWidgetItem* node, int column);
  void propagate(QTreeWidgetItem* node, Qt::CheckState state);

  PictureList pictures_;
  gsync::ListRecord allRecord_, calendarsRecord_;
  QTreeWidgetItem* top_ = nullptr;
  QTreeWidgetItem* calendars_ = nullptr;
  bool propagating_ = false;
};

}  // namespace ui
