// The schedule list: one row per displayed event or task, with a check mark,
// the colour picture, title, category or done mark, note, date and time.
// The heading row is the grid's header; a check box over the first heading
// sets or clears every row's mark.
#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>
#include <vector>

#include "sync/item_views.h"
#include "sync/records.h"

class QCheckBox;

namespace ui {

class PictureList;

class ScheduleGrid : public QTableWidget {
  Q_OBJECT
 public:
  enum Column { kMark = 0, kColour, kTitle, kCategory, kNote, kDate, kTime, kColumnCount };
  static constexpr int kHeadingHeight = 28;
  static constexpr int kRowHeight = 25;

  explicit ScheduleGrid(QWidget* parent = nullptr);

  void setPictures(const PictureList* pictures) { pictures_ = pictures; }
  const PictureList* pictures() const { return pictures_; }

  // Fills the grid with the rows (references into the store's items); every
  // row mark is cleared and the first row becomes current.
  void showRows(const std::vector<gsync::ItemRecord*>& rows);
  const std::vector<gsync::ItemRecord*>& rows() const { return rows_; }
  gsync::ItemRecord* itemAt(int row) const;
  gsync::ItemRecord* currentRecord() const { return itemAt(currentRow()); }
  int rowOf(const gsync::ItemRecord* item) const;
  // Rewrites one row's texts (its item changed).
  void refillRow(int row);
  // Makes the row current and visible and sets its mark.
  void selectRow(int row);

  bool mark(int row) const;
  void setMark(int row, bool on);
  void toggleMark(int row);
  void clearMarks();
  const std::vector<bool>& marks() const { return marks_; }
  QCheckBox* headingCheck() const { return headingCheck_; }

  // The title column takes what the other columns leave.
  void fitTitleColumn();
  // Clicks on a task's done mark are ignored while a change is outstanding.
  void setTaskChangePending(bool pending) { taskChangePending_ = pending; }
  bool taskChangePending() const { return taskChangePending_; }

 signals:
  void sortRequested(gsync::SortColumn column);
  void currentRecordChanged(gsync::ItemRecord* item);
  void taskToggleRequested(gsync::ItemRecord* task);
  void editRequested(gsync::ItemRecord* item);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void setUpHeader();
  // Column widths and row heights grow with the font (a larger window).
  void applyScale();
  double scale() const;
  void placeHeadingCheck();
  void headingClicked(int column);
  void headingCheckClicked(bool checked);

  const PictureList* pictures_ = nullptr;
  std::vector<gsync::ItemRecord*> rows_;
  std::vector<bool> marks_;
  QCheckBox* headingCheck_ = nullptr;
  bool taskChangePending_ = false;
};

// Draws the pictures of the schedule list and strikes out completed tasks.
class ScheduleDelegate : public QStyledItemDelegate {
 public:
  explicit ScheduleDelegate(ScheduleGrid* grid);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  ScheduleGrid* grid_;
};

// The picture of an item's category column: a task's done or open mark, an
// event's category, a lunar event's moon; empty for none.
QString categoryPictureName(const gsync::ItemRecord& item);

}  // namespace ui
