// The main window's tree, schedule list, detail pane, search and item
// commands over the sample cache, driven through the real widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <deque>

#include "app/event_extra.h"
#include "base/files.h"
#include "base/text.h"
#include "support/cache_fixtures.h"
#include "ui/common/count_thread.h"
#include "ui/common/progress_window.h"
#include "ui_common/ui_test_support.h"
#include "ui/main/calendar_tree.h"
#include "ui/main/detail_pane.h"
#include "ui/main/main_views.h"
#include "ui/main/main_window.h"
#include "ui/main/schedule_list.h"

namespace {

using gsync::ItemRecord;

struct FakePrompter : ui::Prompter {
  std::deque<bool> answers;
  QStringList asked, refused;
  bool ask(QWidget*, const QString& text) override {
    asked << text;
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void refuse(QWidget*, const QString& text) override { refused << text; }
};

struct FakeSink : ui::ItemCommandSink {
  std::vector<std::vector<ui::ItemRef>> deletions;
  std::vector<std::pair<std::string, std::vector<std::string>>> listDeletions;
  std::vector<std::pair<std::string, std::string>> toggles;
  std::vector<int> downloads;
  bool downloadsStart = false;
  std::vector<std::string> edited, addedEvents, addedTasks;
  int calendarDialogs = 0;
  std::vector<gsync::SmsDraft> sms;

  void deleteItems(const std::vector<ui::ItemRef>& items) override { deletions.push_back(items); }
  void deleteList(const gsync::ListRecord& list, const std::vector<std::string>& ids) override {
    listDeletions.emplace_back(list.id, ids);
  }
  void toggleTask(const std::string& listId, const std::string& taskId) override { toggles.emplace_back(listId, taskId); }
  void addEvent(const std::string& calendarId, bool, QPoint) override { addedEvents.push_back(calendarId); }
  void addTask(const std::string& listId, QPoint) override { addedTasks.push_back(listId); }
  void editItem(const ItemRecord& item, QPoint) override { edited.push_back(item.id); }
  void editCalendar(const gsync::ListRecord*, QPoint) override { ++calendarDialogs; }
  void sendSms(const gsync::SmsDraft& draft) override { sms.push_back(draft); }
  bool downloadItems(const gsync::ListSlot& slot) override {
    downloads.push_back(slot.number);
    return downloadsStart;
  }
};

class MainViewsTest : public ::testing::Test {
 protected:
  testsupport::TempFolder folder;
  FakePrompter prompter;
  FakeSink sink;
  std::unique_ptr<ui::TFrmMain> window;
  ui::MainViews* views = nullptr;
  ui::CalendarTree* tree = nullptr;
  ui::ScheduleGrid* grid = nullptr;

  void SetUp() override {
    uitest::application();
    base::setClock([] { return base::encodeDateTime(2025, 3, 9, 10, 0); });
    app::eventExtras().clear();
    testsupport::copySampleCache(folder.path());
    window = std::make_unique<ui::TFrmMain>();
    views = window->views();
    tree = static_cast<ui::CalendarTree*>(window->TvList);
    grid = static_cast<ui::ScheduleGrid*>(window->HygPlan);
    views->setPrompter(&prompter);
    views->setCommandSink(&sink);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override {
    ui::closeProgress();
    window.reset();
    base::setClock({});
  }

  void load() {
    QSignalSpy done(views, &ui::MainViews::itemsLoadingFinished);
    views->openCache(folder.path(), testsupport::kSampleGoogleId, testsupport::kSampleMyName);
    ASSERT_TRUE(done.count() == 1 || done.wait(5000));
  }
  QTreeWidgetItem* node(const char* name) const {
    for (QTreeWidgetItem* n : tree->nodesInOrder())
      if (n->text(0) == QString::fromUtf8(name)) return n;
    return nullptr;
  }
  int rowOf(const char* title) const {
    for (int r = 0; r < grid->rowCount(); ++r)
      if (grid->itemAt(r)->title == title) return r;
    return -1;
  }
  std::vector<std::string> listsShown() const {
    std::vector<std::string> ids;
    for (const ItemRecord* item : grid->rows())
      if (std::find(ids.begin(), ids.end(), item->list->name) == ids.end()) ids.push_back(item->list->name);
    return ids;
  }
  void clickCell(int row, int column) {
    grid->scrollToItem(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
  }
  void clickHeading(int column) {
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  void setYear(int index) {
    window->CbYear->setCurrentIndex(index);
    emit window->CbYear->activated(index);
  }
};

TEST_F(MainViewsTest, SampleCacheLoadsStepByStepIntoTreeAndList) {
  QSignalSpy done(views, &ui::MainViews::itemsLoadingFinished);
  views->openCache(folder.path(), testsupport::kSampleGoogleId, testsupport::kSampleMyName);
  ASSERT_NE(views->countThread(), nullptr);
  EXPECT_EQ(views->countThread()->count(), 6);
  // Steps are paced by the event loop: the window stays responsive.
  QTRY_VERIFY(ui::progressWindow() != nullptr);
  QTRY_COMPARE(ui::progressWindow()->LblText->text(), QStringLiteral("데이북를 읽습니다...(2/6)"));
  ASSERT_TRUE(done.wait(5000));
  EXPECT_EQ(views->countThread(), nullptr);
  EXPECT_EQ(ui::progressWindow(), nullptr);

  QStringList names;
  for (QTreeWidgetItem* n : tree->nodesInOrder()) names << n->text(0);
  EXPECT_EQ(names, (QStringList{"전체", "캘린더", "김민지", "우리 가족", "회사 일정", "주소록 친구들", "할일", "장보기"}));
  EXPECT_EQ(node("우리 가족")->parent(), tree->calendarNode());
  EXPECT_EQ(node("장보기")->parent(), tree->topNode());
  EXPECT_TRUE(window->BtnListDel->isEnabled());
  EXPECT_TRUE(window->BtnLogin->isEnabled());
  // Of the three yearly entries of one birthday only this year's stays.
  EXPECT_EQ(grid->rowCount(), 26);
  EXPECT_EQ(rowOf("박서준님의 생일") >= 0, true);
  int birthdays = 0;
  for (const ItemRecord* item : grid->rows()) birthdays += item->title == "박서준님의 생일";
  EXPECT_EQ(birthdays, 1);
  EXPECT_EQ(grid->item(rowOf("팀 주간 회의"), ui::ScheduleGrid::kTime)->text(), QStringLiteral("오전 10:00"));
}

TEST_F(MainViewsTest, AFailedOrPendingDownloadDoesNotStopTheLoading) {
  // The work calendar's items are missing: the sink is asked for them.
  const std::string work = "c_7a3e9b1d5f2c8e4a6b0d2f4e6a8c0e2b@group.calendar.google.com";
  ASSERT_TRUE(base::removeFile(folder.file(work + ".txt")));
  sink.downloadsStart = true;
  QSignalSpy done(views, &ui::MainViews::itemsLoadingFinished);
  views->openCache(folder.path(), testsupport::kSampleGoogleId, testsupport::kSampleMyName);
  QTRY_COMPARE(sink.downloads, std::vector<int>{2});
  // The stepping waits for the download without blocking the event loop.
  QTest::qWait(350);
  ASSERT_NE(views->countThread(), nullptr);
  EXPECT_TRUE(views->countThread()->isSuspended());
  EXPECT_EQ(views->countThread()->nextStep(), 3);
  views->slotDownloaded(2, false);
  ASSERT_TRUE(done.wait(5000));
  EXPECT_EQ(grid->rowCount(), 23);  // everything but the work calendar's three events
}

TEST_F(MainViewsTest, CheckChangesFollowTheTreeAndFilterTheRows) {
  load();
  for (QTreeWidgetItem* n : tree->nodesInOrder()) EXPECT_EQ(n->checkState(0), Qt::Checked);
  node("우리 가족")->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(tree->calendarNode()->checkState(0), Qt::Unchecked);
  EXPECT_EQ(tree->topNode()->checkState(0), Qt::Checked);
  EXPECT_EQ(node("김민지")->checkState(0), Qt::Checked);
  EXPECT_EQ(listsShown(), (std::vector<std::string>{"김민지", "회사 일정", "주소록 친구들", "할일", "장보기"}));

  // Clearing "전체" clears everything and empties the list.
  tree->topNode()->setCheckState(0, Qt::Unchecked);
  for (QTreeWidgetItem* n : tree->nodesInOrder()) EXPECT_EQ(n->checkState(0), Qt::Unchecked);
  EXPECT_EQ(grid->rowCount(), 0);
  EXPECT_FALSE(window->BtnItemDel->isEnabled());
  // Ticking one list shows it alone; clicking "전체" shows every row again.
  node("장보기")->setCheckState(0, Qt::Checked);
  EXPECT_EQ(listsShown(), (std::vector<std::string>{"장보기"}));
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topNode()).center());
  EXPECT_EQ(grid->rowCount(), 26);
  // Clicking a list's name shows its rows only.
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node("회사 일정")).center());
  EXPECT_EQ(listsShown(), (std::vector<std::string>{"회사 일정"}));
}

TEST(PictureList, SharedColoursAndMagenta) {
  uitest::application();
  ui::PictureList pictures;
  const int first = pictures.pictureForColour(0x9fe1e7);
  EXPECT_EQ(first, ui::PictureList::kFirstColour);
  EXPECT_EQ(pictures.pictureForColour(0xf691b2), first + 1);
  EXPECT_EQ(pictures.pictureForColour(0x9fe1e7), first);  // two calendars, one picture
  const int magenta = pictures.pictureForColour(0xff00ff);
  const QImage image = pictures.picture(magenta).toImage();
  EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 255));  // the colour itself is not made transparent
  EXPECT_EQ(qAlpha(image.pixel(13, 0)), 0);         // the ground is
  EXPECT_EQ(pictures.count(), 6);
}

TEST_F(MainViewsTest, ListDeleteTargetsAndThePrimaryCalendarRefusal) {
  load();
  tree->topNode()->setCheckState(0, Qt::Unchecked);
  // Nothing checked: the focused node.  The primary calendar is refused.
  tree->setCurrentItem(node("김민지"));
  QTest::mouseClick(window->BtnListDel, Qt::LeftButton);
  EXPECT_EQ(prompter.refused, QStringList{"'김민지' 목록은 삭제할 수 없습니다!"});
  EXPECT_TRUE(prompter.asked.isEmpty());

  tree->setCurrentItem(node("우리 가족"));
  prompter.answers = {true};
  QTest::mouseClick(window->BtnListDel, Qt::LeftButton);
  EXPECT_EQ(prompter.asked.last(), QStringLiteral("'우리 가족' 캘린더를 삭제하시겠습니까?"));
  ASSERT_EQ(sink.listDeletions.size(), 1u);
  EXPECT_EQ(sink.listDeletions[0].first, "c_1f8d4e6a9b2c3d5e7f0a1b2c3d4e5f6a@group.calendar.google.com");
  EXPECT_EQ(sink.listDeletions[0].second.size(), 3u);
  // A checked leaf wins over the focused node; "할일" never is that leaf.
  node("할일")->setCheckState(0, Qt::Checked);
  node("장보기")->setCheckState(0, Qt::Checked);
  QTest::mouseClick(window->BtnListDel, Qt::LeftButton);  // answered No
  EXPECT_EQ(prompter.asked.last(), QStringLiteral("'장보기' 할일 목록을 삭제하시겠습니까?"));
  EXPECT_EQ(sink.listDeletions.size(), 1u);

  // The server's answer removes the list from the tree and the rows.
  views->listDeleted(sink.listDeletions[0].first);
  EXPECT_EQ(node("우리 가족"), nullptr);
  EXPECT_EQ(grid->rowCount(), 23);
}

TEST_F(MainViewsTest, HeadingClicksSortEachColumnWithItsOwnDirection) {
  load();
  const auto starts = [&] {
    std::vector<double> s;
    for (const ItemRecord* item : grid->rows()) s.push_back(item->start);
    return s;
  };
  clickHeading(ui::ScheduleGrid::kDate);
  auto s = starts();
  EXPECT_TRUE(std::is_sorted(s.begin(), s.end()));
  clickHeading(ui::ScheduleGrid::kDate);
  s = starts();
  EXPECT_TRUE(std::is_sorted(s.rbegin(), s.rend()));
  EXPECT_GT(s.front(), s.back());
  // The title column starts ascending whatever the date column did.
  clickHeading(ui::ScheduleGrid::kTitle);
  EXPECT_EQ(grid->itemAt(0)->title, "LA 지사 화상 회의");
  EXPECT_EQ(grid->horizontalHeaderItem(ui::ScheduleGrid::kDate)->toolTip(), QStringLiteral("여기를 클릭하면 정렬이 됩니다."));
}

TEST_F(MainViewsTest, YearFilterOnTheSample) {
  load();
  struct Case {
    int index;
    int rows;
  } cases[] = {{1, 23}, {2, 3}, {3, 0}, {0, 26}};
  for (const Case& c : cases) {
    node("장보기")->setCheckState(0, Qt::Unchecked);  // the filter checks every node again
    setYear(c.index);
    EXPECT_EQ(grid->rowCount(), c.rows) << c.index;
    EXPECT_EQ(tree->topNode()->checkState(0), Qt::Checked);
    EXPECT_EQ(window->BtnItemEdit->isEnabled(), c.rows > 0);
  }
}

TEST_F(MainViewsTest, DetailPaneDescribesTheCurrentRowWithSafeLinks) {
  load();
  std::vector<QUrl> opened;
  auto* detail = static_cast<ui::DetailPane*>(window->MemDetail);
  detail->setLinkOpener([&](const QUrl& url) { opened.push_back(url); });
  clickCell(rowOf("팀 주간 회의"), ui::ScheduleGrid::kTitle);
  const QString text = detail->toPlainText();
  EXPECT_TRUE(text.startsWith(QStringLiteral("일정: 팀 주간 회의\n작성일: 2025-01-02 03:01\n링크: https://"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("시간: 2025-03-10 오전 10:00 ~ 2025-03-10 오전 11:00")));
  EXPECT_TRUE(text.contains(QStringLiteral("          minji.kim@gmail.com")));
  EXPECT_TRUE(detail->toHtml().contains(QStringLiteral("href=\"mailto:jihoon.park@example.co.kr\"")));

  // Markup in a description is shown as written, never run.
  clickCell(rowOf("LA 지사 화상 회의"), ui::ScheduleGrid::kTitle);
  EXPECT_TRUE(detail->toPlainText().contains(QStringLiteral("내용: <b>안건</b>1.")));

  detail->openLink(QUrl(QStringLiteral("https://www.google.com/calendar")));
  detail->openLink(QUrl(QStringLiteral("file:///etc/passwd")));
  detail->openLink(QUrl(QStringLiteral("javascript:alert(1)")));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));

  clickCell(rowOf("연말정산 서류 제출"), ui::ScheduleGrid::kTitle);
  EXPECT_TRUE(detail->toPlainText().endsWith(QStringLiteral("마감: 2025-02-14\n완료: 2025-02-12")));
  EXPECT_EQ(grid->item(rowOf("연말정산 서류 제출"), ui::ScheduleGrid::kDate)->text(), QStringLiteral("2025-02-12"));
}

TEST_F(MainViewsTest, SearchSuggestsMatchingTitlesAndFindsTheRow) {
  load();
  window->EdSearch->setFocus();
  QTest::keyClicks(window->EdSearch, "la");
  ASSERT_TRUE(window->LstSuggest->isVisible());
  ASSERT_EQ(window->LstSuggest->count(), 1);
  EXPECT_EQ(window->LstSuggest->item(0)->text(), QStringLiteral("LA 지사 화상 회의"));

  window->EdSearch->clear();
  uitest::typeText(window->EdSearch, QStringLiteral("회의"));
  QTest::keyRelease(window->EdSearch, Qt::Key_Shift);  // the input method's key going up
  QStringList suggested;
  for (int i = 0; i < window->LstSuggest->count(); ++i) suggested << window->LstSuggest->item(i)->text();
  EXPECT_EQ(suggested, (QStringList{"팀 주간 회의", "LA 지사 화상 회의"}));

  QTest::keyClick(window->EdSearch, Qt::Key_Down);
  EXPECT_EQ(window->LstSuggest->currentRow(), 0);
  QTest::keyClick(window->LstSuggest, Qt::Key_Down);
  QTest::keyClick(window->LstSuggest, Qt::Key_Return);
  EXPECT_FALSE(window->LstSuggest->isVisible());
  EXPECT_TRUE(window->EdSearch->text().isEmpty());
  const int row = rowOf("LA 지사 화상 회의");
  EXPECT_EQ(grid->currentRow(), row);
  EXPECT_TRUE(grid->mark(row));
  EXPECT_TRUE(window->MemDetail->toPlainText().startsWith(QStringLiteral("일정: LA 지사 화상 회의")));
}

TEST_F(MainViewsTest, ADeclinedDeleteThenAConfirmedOneDeletesExactlyOneItem) {
  load();
  const int meeting = rowOf("팀 주간 회의");
  clickCell(meeting, ui::ScheduleGrid::kMark);
  EXPECT_TRUE(grid->mark(meeting));
  prompter.answers = {false};
  QTest::mouseClick(window->BtnItemDel, Qt::LeftButton);
  EXPECT_EQ(prompter.asked.last(), QStringLiteral("'팀 주간 회의' 이벤트를 삭제하시겠습니까?"));
  EXPECT_TRUE(sink.deletions.empty());
  EXPECT_FALSE(grid->mark(meeting));  // No clears the marks and the work list
  EXPECT_TRUE(views->pendingDeletion().empty());

  clickCell(rowOf("요가 수업"), ui::ScheduleGrid::kTitle);
  prompter.answers = {true};
  QTest::mouseClick(window->BtnItemDel, Qt::LeftButton);
  ASSERT_EQ(sink.deletions.size(), 1u);
  ASSERT_EQ(sink.deletions[0].size(), 1u);
  EXPECT_EQ(sink.deletions[0][0], (ui::ItemRef{"minji.kim@gmail.com", "5m6n7o8p9q0r1s2t3u4v5a6b7c", false}));

  views->itemsDeleted();
  EXPECT_EQ(rowOf("요가 수업"), -1);
  EXPECT_NE(rowOf("팀 주간 회의"), -1);
  EXPECT_TRUE(views->pendingDeletion().empty());
  EXPECT_FALSE(base::contains(base::readTextFile(folder.file("minji.kim@gmail.com.txt")), "5m6n7o8p9q0r1s2t3u4v5a6b7c"));
}

TEST_F(MainViewsTest, CheckedRowsAndBirthdayRefusals) {
  load();
  for (const char* title : {"팀 주간 회의", "요가 수업", "가족 모임"}) clickCell(rowOf(title), ui::ScheduleGrid::kMark);
  QTest::mouseClick(window->BtnItemDel, Qt::LeftButton);  // answered No
  EXPECT_EQ(prompter.asked.last(), QStringLiteral("'일정 3개'를 삭제하시겠습니까?"));

  // The heading box marks every row; a birthday among them is refused once.
  grid->headingCheck()->click();
  EXPECT_TRUE(grid->mark(0) && grid->mark(25));
  prompter.answers = {true};
  QTest::mouseClick(window->BtnItemDel, Qt::LeftButton);
  EXPECT_EQ(prompter.refused, QStringList{"'주소록 일정 삭제'는 구글주소록에서 하세요."});
  EXPECT_EQ(prompter.asked.last(), QStringLiteral("'일정 24개'를 삭제하시겠습니까?"));
  ASSERT_EQ(sink.deletions.size(), 1u);
  EXPECT_EQ(sink.deletions[0].size(), 24u);
  views->deletionFailed();
  EXPECT_TRUE(views->pendingDeletion().empty());

  // Editing a birthday is refused too.
  clickCell(rowOf("이하은님의 생일"), ui::ScheduleGrid::kTitle);
  QTest::mouseClick(window->BtnItemEdit, Qt::LeftButton);
  EXPECT_EQ(prompter.refused.last(), QStringLiteral("'주소록 일정 수정'은 구글주소록에서 하세요."));
  EXPECT_TRUE(sink.edited.empty());
  clickCell(rowOf("팀 주간 회의"), ui::ScheduleGrid::kTitle);
  QTest::mouseClick(window->BtnItemEdit, Qt::LeftButton);
  EXPECT_EQ(sink.edited, std::vector<std::string>{"7hq2c9v1bn4m6k8j0l3p5r7t9v"});
}

TEST_F(MainViewsTest, ClickingATasksMarkTogglesItOnceUntilAnswered) {
  load();
  const int row = rowOf("자동차 보험 갱신");
  clickCell(row, ui::ScheduleGrid::kCategory);
  ASSERT_EQ(sink.toggles.size(), 1u);
  EXPECT_EQ(sink.toggles[0], std::make_pair(std::string("MDk4NzY1NDMyMTA5ODc2NTQzMjE6MDow"),
                                            std::string("MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw")));
  const std::string body = base::readTextFile(folder.file("action.txt"));
  EXPECT_TRUE(base::contains(body, " \"completed\": \"2025-03-09T00:00:00.000Z\"\r\n}")) << body;
  clickCell(row, ui::ScheduleGrid::kCategory);
  EXPECT_EQ(sink.toggles.size(), 1u);  // still outstanding
  views->taskChangeAnswered();
  clickCell(rowOf("연말정산 서류 제출"), ui::ScheduleGrid::kCategory);
  EXPECT_EQ(sink.toggles.size(), 2u);
  EXPECT_TRUE(base::contains(base::readTextFile(folder.file("action.txt")), "\"needsAction\""));
  // Clicks on an event's category column do nothing.
  views->taskChangeAnswered();
  clickCell(rowOf("팀 주간 회의"), ui::ScheduleGrid::kCategory);
  EXPECT_EQ(sink.toggles.size(), 2u);
}

TEST_F(MainViewsTest, AddCommandsNeedAListAndPresetTheTarget) {
  views->addEvent();  // nothing loaded: no calendar
  EXPECT_EQ(prompter.refused, QStringList{"캘린더가 없습니다.\r\n\r\n캘린더부터 추가하세요!"});
  EXPECT_EQ(sink.calendarDialogs, 1);
  load();
  tree->topNode()->setCheckState(0, Qt::Unchecked);
  node("회사 일정")->setCheckState(0, Qt::Checked);
  views->addEvent();
  views->addTask();
  EXPECT_EQ(sink.addedEvents, std::vector<std::string>{"c_7a3e9b1d5f2c8e4a6b0d2f4e6a8c0e2b@group.calendar.google.com"});
  EXPECT_EQ(sink.addedTasks, std::vector<std::string>{""});

  setYear(0);
  clickCell(rowOf("팀 주간 회의"), ui::ScheduleGrid::kTitle);
  QTest::mouseClick(window->BtnSms, Qt::LeftButton);
  ASSERT_EQ(sink.sms.size(), 1u);
  EXPECT_TRUE(base::startsWith(sink.sms[0].text, "2025.03.10 10:00\r\n[팀 주간 회의]"));
}

TEST_F(MainViewsTest, ShowOnlyListAndResetForAnotherAccount) {
  load();
  clickHeading(ui::ScheduleGrid::kDate);
  views->showOnlyList(node("장보기"));
  EXPECT_EQ(node("김민지")->checkState(0), Qt::Unchecked);
  EXPECT_EQ(listsShown(), (std::vector<std::string>{"장보기"}));

  views->resetForAccount();
  QStringList names;
  for (QTreeWidgetItem* n : tree->nodesInOrder()) names << n->text(0);
  EXPECT_EQ(names, (QStringList{"전체", "캘린더"}));
  EXPECT_EQ(grid->rowCount(), 0);
  EXPECT_TRUE(window->MemDetail->toPlainText().isEmpty());
  EXPECT_EQ(views->sortDirections().of(gsync::SortColumn::Start), 1);
  EXPECT_TRUE(views->store()->items().empty());
  // The next sign-in loads again.
  QSignalSpy done(views, &ui::MainViews::itemsLoadingFinished);
  views->openCache(folder.path(), testsupport::kSampleGoogleId, testsupport::kSampleMyName);
  ASSERT_TRUE(done.wait(5000));
  EXPECT_EQ(grid->rowCount(), 26);
}

TEST(CountThread, StepsAreAHundredMillisecondsApartAndWaitWhileSuspended) {
  uitest::application();
  std::vector<int> steps;
  bool done = false;
  QElapsedTimer clock;
  clock.start();
  QPointer<ui::TCountThread> thread;
  thread = new ui::TCountThread(
      3,
      [&](int step) {
        steps.push_back(step);
        if (step == 1) thread->suspend();  // waits for someone to resume
      },
      [&] { done = true; });
  thread->start();
  QTRY_COMPARE(steps.size(), std::size_t(2));
  QTest::qWait(250);
  EXPECT_EQ(steps.size(), 2u);
  thread->resume();
  QTRY_VERIFY(done);
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
  EXPECT_GE(clock.elapsed(), 2 * ui::TCountThread::kPauseMs);
  QTRY_VERIFY(thread.isNull());  // frees itself

  bool emptyDone = false;
  (new ui::TCountThread(0, [](int) { FAIL() << "no steps"; }, [&] { emptyDone = true; }))->start();
  QTRY_VERIFY(emptyDone);
}

TEST_F(MainViewsTest, Screenshot) {
  load();
  node("회사 일정")->setExpanded(true);
  const int row = rowOf("팀 주간 회의");
  clickCell(row, ui::ScheduleGrid::kTitle);
  clickCell(rowOf("연말정산 서류 제출"), ui::ScheduleGrid::kMark);
  clickCell(row, ui::ScheduleGrid::kTitle);
  QTest::qWait(50);
  EXPECT_TRUE(uitest::saveScreenshot(window.get(), QStringLiteral("main_window_loaded")));

  grid->scrollToBottom();
  QTest::qWait(20);
  EXPECT_TRUE(uitest::saveScreenshot(window.get(), QStringLiteral("main_window_loaded_tasks")));

  // A larger window keeps the list's insides laid out by the list itself.
  window->resize(1300, 800);
  QTest::qWait(50);
  EXPECT_EQ(grid->viewport()->width(), grid->width() - grid->verticalScrollBar()->width());
  // Columns and rows grow with the font.
  EXPECT_GT(grid->horizontalHeader()->height(), ui::ScheduleGrid::kHeadingHeight);
  EXPECT_GT(grid->columnWidth(ui::ScheduleGrid::kDate), 70);
  EXPECT_TRUE(uitest::saveScreenshot(window.get(), QStringLiteral("main_window_loaded_large")));
}

}  // namespace
