// The 7 x 6 day grid of the month views (Sunday first): each cell shows its
// day number over a background colour and a faded mark that say what falls
// on the day.  The cell under the pointer and the current cell are drawn
// highlighted.  The main window's calendar, the compact view and the diary
// each hold one; the diary draws its larger cells through drawCell.
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QWidget>

#include "calendar/month_grid.h"

namespace ui {

class MonthGrid : public QWidget {
  Q_OBJECT
 public:
  explicit MonthGrid(QWidget* parent = nullptr, QSize cellSize = QSize(28, 19));

  // The month to show; `lookup` describes the entries' tokens while drawing.
  void setMonth(const calendar::MonthLayout& layout, const calendar::CellEntries& entries,
                calendar::TokenLookup lookup);
  const calendar::MonthLayout& monthLayout() const { return layout_; }
  const calendar::CellEntries& entries() const { return entries_; }
  const std::vector<std::string>& tokensOf(int cell) const;
  bool hasEntry(int cell) const { return !tokensOf(cell).empty(); }

  QSize cellSize() const { return cellSize_; }
  QRect cellRect(int cell) const;
  int cellAt(const QPoint& pos) const;  // -1 outside the cells

  // The selected cell (no signal).
  int currentCell() const { return current_; }
  void setCurrentCell(int cell);
  // The cell the pointer is over, drawn highlighted like the current cell.
  int hoverCell() const { return hover_; }
  void setHoverCell(int cell);

  // The background a cell is drawn with (selection and today included).
  QColor backgroundOf(int cell) const;
  // The 16 x 16 mark of a cell on its background: each token's mark faded,
  // several marks blended; a null image when the cell has no entry.
  QImage markOf(int cell, const QColor& background) const;
  // A token's mark picture (or a recurring item's category picture), cached.
  QImage picture(const std::string& name) const;

  QSize sizeHint() const override;

 signals:
  // A click on a cell, or a keyboard move to another cell.
  void cellClicked(int cell);
  // The pointer moved onto another cell.
  void hoverChanged(int cell);

 protected:
  virtual void drawCell(QPainter& painter, int cell, bool highlighted);
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool highlighted(int cell) const { return cell == current_ || cell == hover_; }
  QImage fadedMark(const std::string& token, const QColor& background) const;

  QSize cellSize_;
  calendar::MonthLayout layout_;
  calendar::CellEntries entries_;
  calendar::TokenLookup lookup_;
  int current_ = -1;
  int hover_ = -1;
  mutable QHash<QString, QImage> pictures_;
};

}  // namespace ui
