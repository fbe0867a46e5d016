#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>

#include "base/datetime.h"
#include "sync/cache_store.h"
#include "support/cache_fixtures.h"
#include "ui/main/main_views.h"
#include "ui/main/main_window.h"
#include "ui/main/month_calendar.h"
#include "ui/main/month_grid_widget.h"
#include "ui/main/month_source.h"
#include "ui/main/schedule_list.h"

namespace {

using base::DateTime;

QApplication& application() {
  static int argc = 1;
  static char name[] = "ui_month_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

QString screenshotFolder() {
  QString folder = qEnvironmentVariable("DAYBOOK_SCREENSHOTS", QStringLiteral(DAYBOOK_BINARY_DIR "/screenshots"));
  QDir().mkpath(folder);
  return folder;
}

DateTime date(int y, int m, int d) { return base::encodeDate(y, m, d); }

// Year indexes, items and holidays held in memory.
class MemorySource : public ui::MonthSource {
 public:
  MemorySource() {
    holidays_ = {{"ho00001", false, 1, 1, 1, 0, "신정"}, {"ho00003", false, 1, 3, 1, 0, "삼일절"}};
  }
  void put(DateTime day, std::vector<std::string> tokens) {
    calendar::YearIndex& index = indexes_[base::yearOf(day)];
    index.year = base::yearOf(day);
    index.days[base::dayOfYear(day)] = std::move(tokens);
  }
  gsync::ItemRecord& addItem(const std::string& id, int kind, const std::string& title) {
    auto item = std::make_unique<gsync::ItemRecord>();
    item->id = id;
    item->kind = kind;
    item->title = title;
    items_.push_back(std::move(item));
    return *items_.back();
  }
  calendar::YearIndex yearIndex(int year) override {
    askedYears.push_back(year);
    auto it = indexes_.find(year);
    if (it != indexes_.end()) return it->second;
    calendar::YearIndex empty;
    empty.year = year;
    return empty;
  }
  gsync::ItemRecord* findItem(const std::string& id) const override {
    for (const auto& item : items_)
      if (item->id == id) return item.get();
    return nullptr;
  }
  const std::vector<calendar::Holiday>& holidays() const override { return holidays_; }

  std::vector<int> askedYears;

 private:
  std::map<int, calendar::YearIndex> indexes_;
  std::vector<std::unique_ptr<gsync::ItemRecord>> items_;
  std::vector<calendar::Holiday> holidays_;
};

class MonthCalendarTest : public testing::Test {
 protected:
  void SetUp() override {
    base::setClock([] { return base::encodeDateTime(2025, 3, 20, 9, 30); });
    calendarWidget.setSource(&source);
    calendarWidget.show();
  }
  void TearDown() override { base::setClock({}); }

  int cellOf(DateTime day) const {
    return static_cast<int>(day - calendarWidget.cellDate(0));
  }
  void clickCell(int cell) {
    ui::MonthGrid* grid = calendarWidget.grid();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(cell).center());
  }
  // A pixel of the cell away from its edges, its mark and its number.
  QColor backgroundPixel(int cell) {
    ui::MonthGrid* grid = calendarWidget.grid();
    const QImage image = grid->grab().toImage();
    const QRect r = grid->cellRect(cell);
    return image.pixelColor(r.left() + 2, r.bottom() - 1);
  }

  QApplication& app = application();  // before any widget
  MemorySource source;
  ui::MonthCalendar calendarWidget;
};

TEST_F(MonthCalendarTest, MonthBeginningOnSundayStartsWithAWholeRowOfThePreviousMonth) {
  calendarWidget.showMonth(date(2025, 6, 10));
  const calendar::MonthLayout& layout = calendarWidget.monthLayout();
  EXPECT_EQ(layout.leading, 7);
  EXPECT_EQ(layout.end, 37);
  EXPECT_EQ(base::formatDate(calendarWidget.cellDate(0)), "2025-05-25");
  EXPECT_EQ(base::formatDate(calendarWidget.cellDate(6)), "2025-05-31");
  EXPECT_EQ(base::formatDate(calendarWidget.cellDate(7)), "2025-06-01");
  EXPECT_EQ(base::formatDate(calendarWidget.cellDate(41)), "2025-07-05");
  EXPECT_EQ(calendarWidget.grid()->currentCell(), 16);  // 10 + 7 - 1
  EXPECT_EQ(calendarWidget.shownDate(), date(2025, 6, 10));
}

TEST_F(MonthCalendarTest, DecemberViewShowsNextYearsEntries) {
  source.addItem("trip", 1, "스키 여행");
  source.put(date(2026, 1, 1), {"ho00001"});
  source.put(date(2026, 1, 3), {"trip"});
  calendarWidget.showMonth(date(2025, 12, 5));
  EXPECT_EQ(source.askedYears, (std::vector<int>{2025, 2026}));
  const int newYear = cellOf(date(2026, 1, 1));
  EXPECT_EQ(newYear, 32);  // December 2025 begins on a Monday
  EXPECT_EQ(calendarWidget.entries().tokens[newYear], (std::vector<std::string>{"ho00001"}));
  EXPECT_EQ(calendarWidget.cellItems(), (std::vector<std::string>{"34=trip"}));
  EXPECT_EQ(backgroundPixel(newYear), QColor(255, 242, 240));
  EXPECT_EQ(backgroundPixel(34), QColor(255, 255, 193));
}

TEST_F(MonthCalendarTest, CellBackgroundsShowWhatFallsOnTheDay) {
  source.addItem("weekly", 1, "주간 회의");
  source.addItem("lunch", -1, "점심 약속");
  source.put(date(2025, 3, 5), {"weekly"});
  source.put(date(2025, 3, 1), {"ho00003"});
  source.put(date(2025, 3, 3), {"ho00003", "lunch"});
  calendarWidget.showMonth(date(2025, 3, 20));

  struct Case {
    DateTime day;
    QColor background;
  } cases[] = {
      {date(2025, 3, 5), {255, 255, 193}},   // one weekly item
      {date(2025, 3, 1), {255, 242, 240}},   // one holiday
      {date(2025, 3, 3), {248, 238, 255}},   // a holiday and an item
      {date(2025, 3, 12), {255, 255, 255}},  // nothing
      {date(2025, 3, 20), {255, 209, 134}},  // today, selected
  };
  for (const Case& c : cases)
    EXPECT_EQ(backgroundPixel(cellOf(c.day)), c.background) << base::formatDate(c.day);

  // Both marks show through on the shared cell: its mark differs from either alone.
  ui::MonthGrid* grid = calendarWidget.grid();
  const QColor several(248, 238, 255);
  const QImage both = grid->markOf(cellOf(date(2025, 3, 3)), several);
  ASSERT_FALSE(both.isNull());
  int marked = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) marked += both.pixelColor(x, y) != several;
  EXPECT_GT(marked, 20);

  QDir().mkpath(screenshotFolder());
  calendarWidget.grab().save(screenshotFolder() + "/month_calendar.png");
}

TEST_F(MonthCalendarTest, PreviousMonthClickShowsThatMonthAndClicksTheDayAgain) {
  source.addItem("dinner", -1, "저녁 모임");
  source.put(date(2025, 2, 27), {"dinner", "ho00003", "deleted"});  // "deleted" has no item
  calendarWidget.showMonth(date(2025, 3, 20));
  QSignalSpy selected(&calendarWidget, &ui::MonthCalendar::daySelected);

  clickCell(cellOf(date(2025, 2, 27)));
  EXPECT_EQ(calendarWidget.shownDate(), date(2025, 2, 27));
  EXPECT_EQ(calendarWidget.monthLayout().month, 2);
  EXPECT_EQ(calendarWidget.pickedDate(), date(2025, 2, 27));
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected[0][0].toDouble(), date(2025, 2, 27));
  EXPECT_EQ(selected[0][1].toStringList(), QStringList{QStringLiteral("dinner")});
  EXPECT_EQ(calendarWidget.grid()->currentCell(), cellOf(date(2025, 2, 27)));

  // The same for a next-month day, which here is empty and past.
  clickCell(cellOf(date(2025, 3, 2)));
  EXPECT_EQ(calendarWidget.shownDate(), date(2025, 3, 2));
  EXPECT_EQ(selected.count(), 1);

  // A keyboard move acts as a click: Left from 1 March goes back to 28 February.
  calendarWidget.showMonth(date(2025, 3, 1));
  QTest::keyClick(calendarWidget.grid(), Qt::Key_Left);
  EXPECT_EQ(calendarWidget.shownDate(), date(2025, 2, 28));
  QTest::keyClick(calendarWidget.grid(), Qt::Key_Left);
  EXPECT_EQ(calendarWidget.shownDate(), date(2025, 2, 27));
  EXPECT_EQ(selected.count(), 2);
}

TEST_F(MonthCalendarTest, EmptyDayAfterTodayAsksForANewEvent) {
  calendarWidget.showMonth(date(2025, 3, 20));
  QSignalSpy newEvent(&calendarWidget, &ui::MonthCalendar::newEventRequested);
  QSignalSpy selected(&calendarWidget, &ui::MonthCalendar::daySelected);

  clickCell(cellOf(date(2025, 3, 10)));  // past
  clickCell(cellOf(date(2025, 3, 20)));  // today
  EXPECT_EQ(newEvent.count(), 0);
  EXPECT_EQ(calendarWidget.pickedDate(), date(2025, 3, 20));

  clickCell(cellOf(date(2025, 3, 25)));
  ASSERT_EQ(newEvent.count(), 1);
  EXPECT_EQ(newEvent[0][0].toDouble(), date(2025, 3, 25));
  EXPECT_EQ(selected.count(), 0);
}

TEST_F(MonthCalendarTest, TypedYearOrMonthThatGivesNoDateKeepsTheShownMonth) {
  calendarWidget.showMonth(date(2024, 2, 29));
  const QRect year = ui::MonthCalendar::kYearArea;
  QTest::mouseClick(&calendarWidget, Qt::LeftButton, {}, year.center());
  ASSERT_TRUE(calendarWidget.EdYear->isVisible());
  EXPECT_EQ(calendarWidget.EdYear->text(), QStringLiteral("2024"));

  struct Case {
    QLineEdit* box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {calendarWidget.EdYear, "20a4", "2024-02-29"},  // not a number
      {calendarWidget.EdYear, "2025", "2024-02-29"},  // no 29 February in 2025
      {calendarWidget.EdYear, "2028", "2028-02-29"},
      {calendarWidget.EdMonth, "13", "2028-02-29"},
      {calendarWidget.EdMonth, "4", "2028-04-29"},
      {calendarWidget.EdYear, "0", "2028-04-29"},
  };
  for (const Case& c : cases) {
    c.box->show();
    c.box->setText(QString::fromUtf8(c.typed));
    QTest::keyClick(c.box, Qt::Key_Return);
    EXPECT_FALSE(c.box->isVisible()) << c.typed;
    EXPECT_EQ(base::formatDate(calendarWidget.shownDate()), c.shown) << c.typed;
  }

  // The month area shows the month box and hides the year box; elsewhere hides both.
  QTest::mouseClick(&calendarWidget, Qt::LeftButton, {}, year.center());
  QTest::mouseClick(&calendarWidget, Qt::LeftButton, {}, ui::MonthCalendar::kMonthArea.center());
  EXPECT_FALSE(calendarWidget.EdYear->isVisible());
  EXPECT_TRUE(calendarWidget.EdMonth->isVisible());
  EXPECT_EQ(calendarWidget.EdMonth->text(), QStringLiteral("4"));
  QTest::mouseClick(&calendarWidget, Qt::LeftButton, {}, QPoint(120, 190));
  EXPECT_FALSE(calendarWidget.EdMonth->isVisible());
}

TEST_F(MonthCalendarTest, ButtonsMoveTheShownDate) {
  source.addItem("meeting", 0, "아침 회의");
  source.put(date(2025, 3, 20), {"meeting"});
  calendarWidget.showMonth(date(2025, 1, 31));
  QTest::mouseClick(calendarWidget.BtnNextMonth, Qt::LeftButton);
  EXPECT_EQ(base::formatDate(calendarWidget.shownDate()), "2025-02-28");
  QTest::mouseClick(calendarWidget.BtnPrevYear, Qt::LeftButton);
  EXPECT_EQ(base::formatDate(calendarWidget.shownDate()), "2024-02-28");
  QTest::mouseClick(calendarWidget.BtnNextYear, Qt::LeftButton);
  QTest::mouseClick(calendarWidget.BtnPrevMonth, Qt::LeftButton);
  EXPECT_EQ(base::formatDate(calendarWidget.shownDate()), "2025-01-28");

  QSignalSpy selected(&calendarWidget, &ui::MonthCalendar::daySelected);
  QTest::mouseClick(calendarWidget.BtnToday, Qt::LeftButton);
  EXPECT_EQ(base::formatDate(calendarWidget.shownDate()), "2025-03-20");
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected[0][1].toStringList(), QStringList{QStringLiteral("meeting")});
}

TEST_F(MonthCalendarTest, HoverStripDescribesTheDayAndShortensLongText) {
  source.addItem("weekly", 1, "주간 회의");
  source.addItem("long", -1, std::string("아주 긴 제목의 일정이 여기에 있습니다 그리고 계속 이어집니다"));
  source.put(date(2025, 3, 3), {"ho00003", "weekly"});
  source.put(date(2025, 3, 4), {"long", "weekly"});
  calendarWidget.showMonth(date(2025, 3, 20));
  ui::MonthGrid* grid = calendarWidget.grid();

  QTest::mouseMove(grid, grid->cellRect(cellOf(date(2025, 3, 3))).center());
  EXPECT_EQ(calendarWidget.stripText(), QStringLiteral("삼일절, 반복(주): 주간 회의"));
  EXPECT_EQ(grid->hoverCell(), cellOf(date(2025, 3, 3)));

  QTest::mouseMove(grid, grid->cellRect(cellOf(date(2025, 3, 4))).center());
  EXPECT_TRUE(calendarWidget.stripText().endsWith(QStringLiteral(".."))) << calendarWidget.stripText().toStdString();
  EXPECT_TRUE(calendarWidget.stripText().startsWith(QStringLiteral("아주 긴")));
  calendarWidget.grab().save(screenshotFolder() + "/month_calendar_hover.png");

  QTest::mouseMove(grid, grid->cellRect(cellOf(date(2025, 3, 12))).center());
  EXPECT_TRUE(calendarWidget.stripText().isEmpty());
}

// The main window over the sample cache: once the items are loaded the month
// shows their marks and the holidays, and a day's items are the marked rows.
TEST(MainWindowMonth, SampleCacheMonthWithMarksAndHolidays) {
  application();
  base::setClock([] { return base::encodeDateTime(2025, 3, 9, 10, 0); });
  testsupport::TempFolder folder;
  testsupport::copySampleCache(folder.path());
  ui::TFrmMain window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ui::MonthCalendar* month = window.ImgSchedule;
  EXPECT_EQ(month->parentWidget(), window.PnlMain);
  EXPECT_EQ(month->geometry(), QRect(10, 10, 225, 243));
  EXPECT_TRUE(month->cellItems().empty());  // no cache yet

  QSignalSpy done(window.views(), &ui::MainViews::itemsLoadingFinished);
  window.views()->openCache(folder.path(), testsupport::kSampleGoogleId, testsupport::kSampleMyName);
  ASSERT_TRUE(done.count() == 1 || done.wait(5000));
  // March 2025 begins on a Saturday: 1 March (삼일절) is cell 6, 3 March (대체공휴일) cell 8.
  ASSERT_EQ(month->monthLayout().month, 3);
  const std::vector<std::string>& substitute = month->entries().tokens[8];
  ASSERT_GE(substitute.size(), 2u);
  EXPECT_EQ(substitute.front(), "ho00134");
  const std::vector<std::string>& items = month->cellItems();
  EXPECT_EQ(std::count(items.begin(), items.end(), "8=ho00134"), 0);
  EXPECT_EQ(std::count(items.begin(), items.end(), "8=" + substitute[1]), 1);
  ui::MonthGrid* grid = month->grid();
  const QImage pixels = grid->grab().toImage();
  auto background = [&](int cell) {
    const QRect r = grid->cellRect(cell);
    return pixels.pixelColor(r.left() + 2, r.bottom() - 1);
  };
  EXPECT_EQ(background(8), QColor(248, 238, 255));
  EXPECT_EQ(background(7), QColor(255, 227, 227));  // the daily item alone
  EXPECT_EQ(background(1), QColor(255, 255, 255));

  // A day's items become the marked rows of the schedule list.
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(10).center());
  const std::vector<std::string> ids = calendar::itemsOfCell(month->entries(), 10);
  auto* list = static_cast<ui::ScheduleGrid*>(window.HygPlan);
  int marked = 0;
  for (int row = 0; row < list->rowCount(); ++row) {
    const bool expected = std::find(ids.begin(), ids.end(), list->itemAt(row)->id) != ids.end();
    EXPECT_EQ(list->mark(row), expected) << list->itemAt(row)->title;
    marked += list->mark(row);
  }
  EXPECT_GE(marked, 1);
  EXPECT_EQ(month->pickedDate(), date(2025, 3, 5));

  QTest::mouseMove(grid, grid->cellRect(8).center());
  EXPECT_TRUE(month->stripText().startsWith(QStringLiteral("대체공휴일, "))) << month->stripText().toStdString();
  QTest::qWait(50);
  window.grab().save(screenshotFolder() + "/main_window_month.png");
  base::setClock({});
}

}  // namespace
