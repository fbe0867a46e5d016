// The main window's month calendar: the month picture with the year, month
// and chosen date, the navigation buttons, the day grid, and the one-line
// strip below that describes the day under the pointer.  A click on a day
// asks the schedule list to select the day's items, or, on an empty day after
// today, asks for a new event.
#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "base/datetime.h"
#include "calendar/month_grid.h"

class QAbstractButton;
class QLineEdit;
class QPushButton;

namespace ui {

class MonthGrid;
class MonthSource;

class MonthCalendar : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 225;
  static constexpr int kPictureHeight = 216;
  static constexpr int kStripTop = 223;
  static constexpr int kStripHeight = 20;
  static constexpr QPoint kGridPos{14, 59};
  static constexpr QRect kYearArea{39, 16, 46, 21};
  static constexpr QRect kMonthArea{149, 16, 38, 19};

  explicit MonthCalendar(QWidget* parent = nullptr);
  ~MonthCalendar() override;

  // Where the entries come from (not owned); null shows months without entries.
  void setSource(MonthSource* source);
  MonthSource* source() const { return source_; }

  // Builds the month of `date` and selects its day.
  void showMonth(base::DateTime date);
  // Moves `date` by whole years, then months (the day is kept or lowered to
  // the month's end) and shows the result; nothing when nothing would move.
  void moveShownDate(int years, int months, base::DateTime date);
  // Builds the shown month again (the items or the index changed).
  void refresh();
  base::DateTime cellDate(int cell) const;
  base::DateTime shownDate() const { return shown_; }
  // The day last clicked: the default date of new events and tasks.
  base::DateTime pickedDate() const { return picked_; }

  const calendar::MonthLayout& monthLayout() const;
  const calendar::CellEntries& entries() const;
  // "cell=item id" for each item token of the shown cells, in cell order.
  const std::vector<std::string>& cellItems() const;

  // Acts on a click on a cell (also run after keyboard moves in the grid).
  void dayClick(int cell);
  // "오늘": today's month with today's cell clicked.
  void todayClick();

  // The strip's text (for the hovered cell).
  const QString& stripText() const { return stripText_; }

  MonthGrid* grid() const { return grid_; }
  QLineEdit* EdYear = nullptr;
  QLineEdit* EdMonth = nullptr;
  QAbstractButton* BtnPrevYear = nullptr;
  QAbstractButton* BtnNextYear = nullptr;
  QAbstractButton* BtnPrevMonth = nullptr;
  QAbstractButton* BtnNextMonth = nullptr;
  QPushButton* BtnToday = nullptr;

 signals:
  // A day of the shown month was clicked and holds entries: the schedule
  // list clears its marks and selects these items' rows (ids of existing
  // items only, in the cell's order).
  void daySelected(double date, const QStringList& itemIds);
  // An empty day after today was clicked: the new-event editor opens for it.
  void newEventRequested(double date);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createButtons();
  void createEntryBoxes();
  void paintHeader(base::DateTime date);
  void describeCell(int cell);
  void hoverChanged(int cell);
  void showEntryBox(QLineEdit* box, QLineEdit* other, int value);
  void applyTypedYear();
  void applyTypedMonth();
  void showTypedDate(int year, int month, int day);
  calendar::TokenInfo tokenInfo(const std::string& token) const;

  MonthSource* source_ = nullptr;
  MonthGrid* grid_ = nullptr;
  QPixmap base_;     // the month picture as loaded
  QPixmap picture_;  // with the header and date line of the shown month
  QPixmap strip_;
  QString stripText_;
  base::DateTime shown_ = 0;
  base::DateTime picked_ = 0;
  bool followUpClick_ = false;
  bool building_ = false;
};

}  // namespace ui
