#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "support/cache_fixtures.h"
#include "sync/cache_store.h"
#include "sync/item_views.h"

namespace {

using gsync::ItemRecord;
using gsync::ListRecord;
using gsync::YearFilter;
using testsupport::TempFolder;

// The sample cache, loaded as the window loads it.
struct SampleFixture : ::testing::Test {
  TempFolder folder;
  std::unique_ptr<testsupport::LoadedStore> loaded;
  gsync::CacheStore* store = nullptr;

  void SetUp() override {
    testsupport::copySampleCache(folder.path());
    loaded = std::make_unique<testsupport::LoadedStore>(folder.path());
    store = &loaded->store();
  }
  const ItemRecord& item(const std::string& title) const {
    for (const auto& i : store->items())
      if (i->title == title) return *i;
    throw std::runtime_error("no item " + title);
  }
  std::vector<std::string> detail(const std::string& title) const {
    const ItemRecord& i = item(title);
    const std::optional<gsync::Json> cached = gsync::findCachedItem(folder.path(), i.list->id, i.id);
    if (!cached) return {"(missing)"};
    return gsync::detailText(*cached, i).lines;
  }
};

ItemRecord makeItem(std::string title, base::DateTime start, int kind = gsync::kSingleEvent,
                    const ListRecord* list = nullptr) {
  ItemRecord item;
  item.title = std::move(title);
  item.start = start;
  item.kind = kind;
  item.list = list;
  return item;
}

TEST_F(SampleFixture, YearFilterSplitsTheSampleByStartYear) {
  // The sample spans 2024 (a birthday) to 2026; 2025 is "this year" here.
  struct Case {
    YearFilter filter;
    std::size_t rows;
  } cases[] = {{YearFilter::All, 28}, {YearFilter::ThisYear, 23}, {YearFilter::UpToLastYear, 4},
               {YearFilter::FromNextYear, 1}};
  for (const Case& c : cases) {
    const auto rows = gsync::applyYearFilter(store->items(), c.filter, 2025);
    EXPECT_EQ(rows.size(), c.rows) << static_cast<int>(c.filter);
    for (const ItemRecord* row : rows) EXPECT_TRUE(gsync::inYearFilter(*row, c.filter, 2025));
  }
  // The boundaries: 1 January belongs to its own year.
  const ItemRecord newYear = makeItem("a", base::encodeDate(2025, 1, 1));
  const ItemRecord lastMoment = makeItem("b", base::encodeDateTime(2024, 12, 31, 23, 59));
  EXPECT_TRUE(gsync::inYearFilter(newYear, YearFilter::ThisYear, 2025));
  EXPECT_TRUE(gsync::inYearFilter(lastMoment, YearFilter::UpToLastYear, 2025));
  EXPECT_TRUE(gsync::inYearFilter(newYear, YearFilter::FromNextYear, 2024));
}

TEST_F(SampleFixture, DetailLinesOfATimedEvent) {
  EXPECT_EQ(detail("팀 주간 회의"),
            (std::vector<std::string>{
                "일정: 팀 주간 회의",
                "작성일: 2025-01-02 03:01",
                "링크: https://www.google.com/calendar/event?eid=7hq2c9v1bn4m6k8j0l3p5r7t9v",
                "내용: 준비물: 노트북 >충전기 >발표 자료 ? 잊지 말 것!",
                "장소: 본사 3층 대회의실",
                "시간: 2025-03-10 오전 10:00 ~ 2025-03-10 오전 11:00",
                "참석자: jihoon.park@example.co.kr",
                "          minji.kim@gmail.com",
            }));
}

TEST_F(SampleFixture, AllDayEventsShowTheirLastDayNotGooglesExclusiveEnd) {
  const auto trip = detail("제주도 가족 여행");  // 3 May to 6 May exclusive: three days
  EXPECT_EQ(trip.back(), "기간: 2025-05-03 ~ 2025-05-05");
  const auto oneDay = detail("엄마 병원 예약");
  EXPECT_EQ(oneDay.back(), "날짜: 2025-03-14");
}

TEST_F(SampleFixture, DetailOfARecurringEventDescribesItsRuleNotItsExceptions) {
  const auto lines = detail("요가 수업");
  EXPECT_EQ(lines[lines.size() - 2], "시간: 2025-03-04 오후 07:30 ~ 2025-03-04 오후 08:30");
  EXPECT_TRUE(base::startsWith(lines.back(), "반복설정: 매주")) << lines.back();
  EXPECT_TRUE(base::contains(lines.back(), "화요일")) << lines.back();
}

TEST_F(SampleFixture, DetailOfTasksSetsTheirNoteFromTheCache) {
  EXPECT_EQ(detail("자동차 보험 갱신"),
            (std::vector<std::string>{"일정: 자동차 보험 갱신", "작성일: 2025-03-02 02:11",
                                      "내용: 보험사 두 곳 견적 비교 >3월 15일까지", "마감: 2025-03-20"}));
  const ItemRecord& done = item("연말정산 서류 제출");
  const auto cached = gsync::findCachedItem(folder.path(), done.list->id, done.id);
  ASSERT_TRUE(cached);
  const gsync::DetailText text = gsync::detailText(*cached, done);
  EXPECT_EQ(text.lines.back(), "완료: 2025-02-12");
  EXPECT_EQ(text.taskNote, std::optional<std::string>("완료"));

  // A missing list file shows nothing more than an empty pane.
  ASSERT_TRUE(base::removeFile(folder.file(gsync::itemFileName(done.list->id))));
  EXPECT_FALSE(gsync::findCachedItem(folder.path(), done.list->id, done.id));
}

TEST(DetailText, BlocksKeepTheirLinesIndented) {
  const ListRecord list{true, 1, "할일", "L", 0};
  const ItemRecord task = makeItem("t", 0, gsync::kTask, &list);
  const auto cached = gsync::Json::parse(R"({"id":"t","notes":"  첫째 줄\r\n둘째 줄\n셋째  "})");
  EXPECT_EQ(gsync::detailText(cached, task).lines,
            (std::vector<std::string>{"일정: t", "내용: 첫째 줄", "        둘째 줄", "        셋째"}));
}

TEST(RowTexts, DateAndTimeOfEventsAndTasks) {
  const ListRecord list{true, 1, "할일", "L", 0};
  ItemRecord open = makeItem("열린 일", base::encodeDate(2025, 3, 20), gsync::kTask, &list);
  open.note = "진행중";
  open.end = open.start;
  ItemRecord done = open;
  done.note = "완료";
  done.end = base::encodeDateTime(2025, 3, 3, 12, 0);
  ItemRecord noDue = open;
  noDue.start = noDue.end = 0;
  const ItemRecord evening = makeItem("저녁", base::encodeDateTime(2025, 3, 4, 19, 30));
  const ItemRecord noon = makeItem("점심", base::encodeDateTime(2025, 3, 4, 12, 5));
  const ItemRecord midnightHalf = makeItem("자정", base::encodeDateTime(2025, 3, 4, 0, 30));

  struct Case {
    const ItemRecord* item;
    const char* date;
    const char* time;
  } cases[] = {{&open, "2025-03-20", ""},         {&done, "2025-03-03", "오후 12:00"},
               {&noDue, "", ""},                  {&evening, "2025-03-04", "오후 07:30"},
               {&noon, "2025-03-04", "오후 12:05"}, {&midnightHalf, "2025-03-04", "오전 12:30"}};
  for (const Case& c : cases) {
    EXPECT_EQ(gsync::rowDateText(*c.item), c.date) << c.item->title;
    EXPECT_EQ(gsync::rowTimeText(*c.item), c.time) << c.item->title;
  }
}

TEST(Sorting, EachColumnComparesItsOwnField) {
  app::EventExtra payment{"p", app::kPaymentDay, false, 0}, none{"n", 0, false, 0};
  ItemRecord a = makeItem("banana", 3), b = makeItem("Apple", 1), c = makeItem("cherry", 2);
  a.note = "매주";
  b.note = "매일";
  c.note = "";
  a.extra = &payment;
  c.extra = &none;  // b has no attributes at all: counts as 0
  std::vector<ItemRecord*> rows = {&a, &b, &c};
  const auto titles = [&] {
    std::string out;
    for (const ItemRecord* r : rows) out += r->title + " ";
    return out;
  };
  gsync::sortRows(rows, gsync::SortColumn::Title, 1);
  EXPECT_EQ(titles(), "Apple banana cherry ");
  gsync::sortRows(rows, gsync::SortColumn::Title, -1);
  EXPECT_EQ(titles(), "cherry banana Apple ");
  gsync::sortRows(rows, gsync::SortColumn::Start, 1);
  EXPECT_EQ(titles(), "Apple cherry banana ");
  gsync::sortRows(rows, gsync::SortColumn::Category, -1);
  EXPECT_EQ(rows[0]->title, "banana");
  gsync::sortRows(rows, gsync::SortColumn::Note, 1);
  EXPECT_EQ(titles(), "cherry Apple banana ");

  gsync::SortDirections directions;
  EXPECT_EQ(directions.take(gsync::SortColumn::Start), 1);
  EXPECT_EQ(directions.take(gsync::SortColumn::Start), -1);
  EXPECT_EQ(directions.take(gsync::SortColumn::Title), 1);  // independent per column
  EXPECT_EQ(directions.take(gsync::SortColumn::Start), 1);
  directions.reset();
  EXPECT_EQ(directions.of(gsync::SortColumn::Start), 1);
}

TEST(Search, AsciiLettersFoldKoreanMatchesExactly) {
  struct Case {
    const char* title;
    const char* text;
    bool match;
  } cases[] = {{"abc", "ab", true},        {"xABy", "ab", true},     {"Abacus", "aB", true},
               {"a b", "ab", false},       {"팀 주간 회의", "주간", true}, {"팀 주간 회의", "주 간", false},
               {"LA 지사", "la 지", true}, {"회의", "", true}};
  for (const Case& c : cases) EXPECT_EQ(gsync::titleMatches(c.title, c.text), c.match) << c.title << "/" << c.text;

  ItemRecord a = makeItem("Lab", 0), b = makeItem("회의", 0), c = makeItem("AB", 0);
  EXPECT_EQ(gsync::matchingRows({&a, &b, &c}, "ab"), (std::vector<std::size_t>{0, 2}));
  EXPECT_TRUE(gsync::matchingRows({&a}, "").empty());
}

TEST_F(SampleFixture, RepeatedBirthdaysKeepOnlyThisYearsEntry) {
  // 박서준 has 2024, 2025 and 2026 entries; 이하은 only 2025.
  EXPECT_EQ(gsync::removeRepeatedTitles(*store, 2026), 2u);
  std::vector<std::string> birthdays;
  for (const auto& i : store->items())
    if (gsync::inBirthdayList(*i)) birthdays.push_back(i->id);
  EXPECT_EQ(birthdays, (std::vector<std::string>{"2026_BIRTHDAY_c7f3a1b2", "2025_BIRTHDAY_d9e8f7a6"}));
  EXPECT_EQ(store->items().size(), 26u);
}

TEST(RepeatedTitles, OnlyTheBirthdayCalendarIsCleanedAndEachItemOnce) {
  const ListRecord birthdays{false, 3, "주소록 친구들", "addressbook#contacts@group.v.calendar.google.com", 0};
  const ListRecord work{false, 4, "회사", "work", 0};
  std::vector<std::unique_ptr<ItemRecord>> items;
  const auto add = [&](const ListRecord& list, const char* title, int year) {
    items.push_back(std::make_unique<ItemRecord>(makeItem(title, base::encodeDate(year, 5, 1), -1, &list)));
    return items.back().get();
  };
  // Ordinary events of other years that share a title stay.
  add(work, "주간 회의", 2024);
  add(work, "주간 회의", 2025);
  const ItemRecord* old1 = add(birthdays, "A님의 생일", 2023);
  add(birthdays, "A님의 생일", 2025);
  // Non-adjacent repeat of a birthday.
  const ItemRecord* old2 = add(birthdays, "B님의 생일", 2022);
  add(work, "점심", 2025);
  const ItemRecord* old3 = add(birthdays, "B님의 생일", 2023);
  const ItemRecord* bLatest = add(birthdays, "B님의 생일", 2024);  // none in 2025: the latest stays
  items.push_back(std::make_unique<ItemRecord>(makeItem("", 0, -1, &work)));
  const ItemRecord* blank = items.back().get();

  const auto removed = gsync::repeatedTitleRemovals(items, 2025);
  EXPECT_EQ(removed, (std::vector<const ItemRecord*>{old1, old2, old3, blank}));
  EXPECT_EQ(std::count(removed.begin(), removed.end(), bLatest), 0);
}

TEST(Links, WebAndMailAddressesOnlyOpenWhenSafe) {
  const auto spans = gsync::linkSpans("자료: https://ex.com/a?b=1, 메일 kim@ex.co.kr 또는 www.ex.com.");
  ASSERT_EQ(spans.size(), 7u);
  EXPECT_EQ(spans[0].text, "자료: ");
  EXPECT_EQ(spans[1].url, "https://ex.com/a?b=1");
  EXPECT_EQ(spans[2].text, ", 메일 ");
  EXPECT_EQ(spans[3].url, "mailto:kim@ex.co.kr");
  EXPECT_EQ(spans[5].text, "www.ex.com");
  EXPECT_EQ(spans[5].url, "http://www.ex.com");
  EXPECT_EQ(spans[6].text, ".");
  // Korean right after an address is not part of it.
  EXPECT_EQ(gsync::linkSpans("http://a.kr에서")[0].url, "http://a.kr");
  EXPECT_TRUE(gsync::linkSpans("file:///etc/passwd javascript:alert(1)").size() == 1);

  for (const char* ok : {"http://a", "HTTPS://a", "mailto:x@y"}) EXPECT_TRUE(gsync::isOpenableUrl(ok)) << ok;
  for (const char* bad : {"file:///etc/passwd", "javascript:alert(1)", "ftp://x", "smb://h/s", ""})
    EXPECT_FALSE(gsync::isOpenableUrl(bad)) << bad;
}

TEST(DeleteTarget, CheckedLeafElseFocusedNode) {
  using N = gsync::TreeNodeInfo;
  // 전체, 캘린더, two calendars, the default task list, another task list.
  std::vector<N> nodes = {{"전체", false, true, ""},  {"캘린더", false, true, ""}, {"김민지", false, false, "p"},
                          {"가족", false, false, "f"}, {"할일", false, false, "t"},  {"장보기", false, false, "s"}};
  EXPECT_EQ(gsync::deleteTargetIndex(nodes, 3), 3);  // nothing checked: the focused node
  EXPECT_EQ(gsync::deleteTargetIndex(nodes, 0), -1);  // a group node is no list
  EXPECT_EQ(gsync::deleteTargetIndex(nodes, -1), -1);
  nodes[4].checked = true;  // "할일" is never the checked target
  nodes[5].checked = true;
  EXPECT_EQ(gsync::deleteTargetIndex(nodes, 2), 5);
  nodes[0].checked = true;  // everything checked: the focused node again
  EXPECT_EQ(gsync::deleteTargetIndex(nodes, 2), 2);

  const ListRecord calendar{false, 3, "가족", "f", 0}, tasks{true, 1, "장보기", "s", 0};
  EXPECT_EQ(gsync::listDeleteQuestion(calendar), "'가족' 캘린더를 삭제하시겠습니까?");
  EXPECT_EQ(gsync::listDeleteQuestion(tasks), "'장보기' 할일 목록을 삭제하시겠습니까?");
  EXPECT_EQ(gsync::listDeleteRefusal(calendar), "'가족' 목록은 삭제할 수 없습니다!");
}

TEST(DeletePlan, QuestionsAndBirthdayRefusals) {
  const ListRecord cal{false, 3, "가족", "f", 0}, birthdays{false, 4, "주소록 친구들", "b", 0},
      tasks{true, 1, "할일", "t", 0};
  ItemRecord e1 = makeItem("회의", 1, -1, &cal), e2 = makeItem("여행", 2, -1, &cal),
             t1 = makeItem("장보기", 3, gsync::kTask, &tasks), bd = makeItem("생일", 4, -1, &birthdays);
  std::vector<ItemRecord*> rows = {&e1, &e2, &t1, &bd};

  auto plan = gsync::planDeleteChecked(rows, {true, true, true, false}, 0);
  EXPECT_EQ(plan.items.size(), 3u);
  EXPECT_EQ(plan.question, "'일정 3개'를 삭제하시겠습니까?");
  plan = gsync::planDeleteChecked(rows, {false, false, false, false}, 2);  // none checked: current row
  EXPECT_EQ(plan.question, "'장보기' 일정을 삭제하시겠습니까?");
  plan = gsync::planDeleteChecked(rows, {false, true, false, true}, 0);
  EXPECT_TRUE(plan.birthdayRefused);
  EXPECT_EQ(plan.items, (std::vector<const ItemRecord*>{&e2}));
  EXPECT_EQ(plan.question, "'여행' 이벤트를 삭제하시겠습니까?");
  plan = gsync::planDeleteOne(bd);
  EXPECT_TRUE(plan.birthdayRefused);
  EXPECT_TRUE(plan.items.empty());
  EXPECT_TRUE(plan.question.empty());
  EXPECT_TRUE(gsync::planDeleteChecked({}, {}, 0).question.empty());
}

TEST_F(SampleFixture, CompletionToggleBodies) {
  const base::DateTime today = base::encodeDate(2025, 3, 9);
  const ItemRecord& open = item("자동차 보험 갱신");
  ASSERT_TRUE(gsync::writeCompletionToggle(folder.path(), open, today));
  EXPECT_EQ(base::readTextFile(folder.file("action.txt")),
            "{\r\n"
            " \"id\": \"MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw\",\r\n"
            " \"title\": \"자동차 보험 갱신\",\r\n"
            " \"due\": \"2025-03-20T00:00:00.000Z\",\r\n"
            " \"notes\": \"보험사 두 곳 견적 비교 >3월 15일까지\",\r\n"
            " \"status\": \"completed\",\r\n"
            " \"completed\": \"2025-03-09T00:00:00.000Z\"\r\n"
            "}\r\n");

  // A completed task goes back to open, without a completion member.
  const ItemRecord& done = item("연말정산 서류 제출");
  ASSERT_TRUE(gsync::writeCompletionToggle(folder.path(), done, today));
  const std::string body = base::readTextFile(folder.file("action.txt"));
  EXPECT_TRUE(base::contains(body, " \"status\": \"needsAction\"\r\n}")) << body;
  EXPECT_FALSE(base::contains(body, "completed"));

  // Escapes and joined note lines.
  const ListRecord list{true, 1, "할일", "L", 0};
  ItemRecord quoted = makeItem("\"따옴표\" \\", 0, gsync::kTask, &list);
  const auto cached = gsync::Json::parse(R"({"id":"q","notes":"a\r\nb\n","status":"completed"})");
  EXPECT_EQ(gsync::completionToggleBody(cached, quoted, today),
            "{\r\n \"id\": \"q\",\r\n \"title\": \"\\\"따옴표\\\" \\\\\",\r\n \"notes\": \"a\\nb\",\r\n"
            " \"status\": \"needsAction\"\r\n}\r\n");

  // No list file: nothing is written.
  ASSERT_TRUE(base::removeFile(folder.file("action.txt")));
  ASSERT_TRUE(base::removeFile(folder.file(gsync::itemFileName(open.list->id))));
  EXPECT_FALSE(gsync::writeCompletionToggle(folder.path(), open, today));
  EXPECT_FALSE(base::fileExists(folder.file("action.txt")));
}

TEST_F(SampleFixture, SmsDraftsOfAnEventAndATask) {
  const ItemRecord& meeting = item("팀 주간 회의");
  auto cached = gsync::findCachedItem(folder.path(), meeting.list->id, meeting.id);
  ASSERT_TRUE(cached);
  const gsync::SmsDraft event = gsync::smsDraft(meeting, &*cached);
  EXPECT_EQ(event.text,
            "2025.03.10 10:00\r\n[팀 주간 회의]\r\n장소: 본사 3층 대회의실\r\n준비물: 노트북 >충전기 >발표 자료 ? 잊지 말 것!");
  EXPECT_EQ(event.attendeeEmails, (std::vector<std::string>{"jihoon.park@example.co.kr", "minji.kim@gmail.com"}));
  EXPECT_FALSE(event.toSelf);

  const ItemRecord& task = item("연말정산 서류 제출");
  cached = gsync::findCachedItem(folder.path(), task.list->id, task.id);
  const gsync::SmsDraft todo = gsync::smsDraft(task, &*cached);
  EXPECT_EQ(todo.text, "2025.02.12\r\n[연말정산 서류 제출]\r\n마감: 2025-02-14\r\n완료: 2025-02-12");
  EXPECT_TRUE(todo.toSelf);
}

}  // namespace
