#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "support/cache_fixtures.h"
#include "sync/cache_store.h"
#include "sync/palette.h"

namespace {

using gsync::CacheStore;
using gsync::ChainLink;
using gsync::ItemRecord;
using gsync::ListRecord;
using testsupport::TempFolder;

const std::string kPrimary = "minji.kim@gmail.com";
const std::string kSeries = "4kq1v0b9m2c7d8e3f5g6h7i8j9";

// Records what the store tells the windows; on the last link it loads every
// slot, as the window's stepping does.
struct Recorder : gsync::CacheListener {
  CacheStore* store = nullptr;
  bool loadItemsOnStart = true;
  std::vector<std::string> added, changed, errors;
  std::vector<ChainLink> downloads;
  std::vector<int> itemDownloads, slotsDone;
  int deleteEnabled = 0, mailTimer = 0, itemLoadingStarted = 0;

  void listAdded(const ListRecord& l) override { added.push_back(l.name); }
  void listChanged(const ListRecord& l) override { changed.push_back(l.name); }
  void enableDeleteButton() override { ++deleteEnabled; }
  void downloadNeeded(ChainLink link) override { downloads.push_back(link); }
  void itemsDownloadNeeded(const gsync::ListSlot& s) override { itemDownloads.push_back(s.number); }
  void taskListsAlreadyLoaded() override { ++mailTimer; }
  void itemsLoaded(const gsync::ListSlot& s) override { slotsDone.push_back(s.number); }
  void loadFailed(const std::string& message) override { errors.push_back(message); }
  void startItemLoading() override {
    ++itemLoadingStarted;
    if (!loadItemsOnStart) return;
    store->buildSlots();
    for (std::size_t i = 0; i < store->listSlots().size(); ++i)
      store->requestListItems(static_cast<int>(i));
  }
};

struct StoreFixture : ::testing::Test {
  TempFolder folder;
  app::EventExtraList extras;
  Recorder recorder;
  std::unique_ptr<CacheStore> store;

  void makeStore(std::string googleId = testsupport::kSampleGoogleId) {
    gsync::CacheStoreOptions options;
    options.folder = folder.path();
    options.googleId = std::move(googleId);
    options.myName = testsupport::kSampleMyName;
    options.extras = &extras;
    options.describeRule = [](const std::string& rule) { return "규칙 " + rule; };
    store = std::make_unique<CacheStore>(options, recorder);
    recorder.store = store.get();
  }
  void write(const std::string& name, const std::string& json) {
    ASSERT_TRUE(gsync::writeCacheFile(folder.file(name), json));
  }
  void writeColours() {
    write("clr_calendar.txt", R"({"calendar": {"1": {"background": "#112233"}}})");
    write("clr_event.txt", R"({"event": {"1": {"background": "#445566"}}})");
  }
  std::vector<std::string> listNames() const {
    std::vector<std::string> names;
    for (const ListRecord* l : store->lists()) names.push_back(l->name);
    return names;
  }
};

TEST_F(StoreFixture, SampleCacheLoadsThroughTheWholeChain) {
  testsupport::copySampleCache(folder.path());
  extras.add("3e5g7i9k1m3o5q7s9u1a3c5e7g").lunar = true;  // 아버지 생신
  makeStore();
  store->enterChain();

  EXPECT_TRUE(recorder.downloads.empty());
  EXPECT_TRUE(recorder.errors.empty());
  // Holiday calendar left out; primary calendar under the account's name.
  EXPECT_EQ(listNames(), (std::vector<std::string>{"김민지", "우리 가족", "회사 일정",
                                                   "주소록 친구들", "할일", "장보기"}));
  EXPECT_EQ(recorder.deleteEnabled, 1);
  EXPECT_EQ(store->timeZone(), "Asia/Seoul");
  EXPECT_EQ(store->colours(gsync::ColourKind::Calendar).size(), 24u);
  ASSERT_EQ(store->colours(gsync::ColourKind::Event).size(), 11u);
  EXPECT_EQ(store->colours(gsync::ColourKind::Event)[10], 0xdc2127);
  EXPECT_EQ(store->calendars()[0]->colour, 0x9fe1e7);
  EXPECT_EQ(store->taskLists()[0]->picture, 1);
  EXPECT_EQ(recorder.slotsDone, (std::vector<int>{0, 1, 2, 3, 4, 5}));

  // 12 of the primary calendar's 14 entries (a cancelled occurrence and a
  // mail-alarm event are not shown), 3 + 3 + 4 events, 4 + 2 tasks.
  EXPECT_EQ(store->items().size(), 28u);
  EXPECT_EQ(extras.size(), 28u);
  for (const auto& item : store->items()) ASSERT_NE(item->extra, nullptr) << item->id;
  ASSERT_EQ(store->lunarItems().size(), 1u);
  EXPECT_EQ(store->lunarItems()[0]->title, "아버지 생신 (음력 8월 15일)");
}

TEST_F(StoreFixture, SampleRecordsCarryTheirFields) {
  testsupport::copySampleCache(folder.path());
  makeStore();
  store->enterChain();

  struct Expect {
    const char* id;
    int kind;
    const char* title;
    bool timed;
    const char* start;
    const char* end;
    int colour;
  };
  const Expect expected[] = {
      {"7hq2c9v1bn4m6k8j0l3p5r7t9v", -1, "팀 주간 회의", true, "2025-03-10 10:00", "2025-03-10 11:00", 0},
      {"0s1t2u3v4a5b6c7d8e9f0g1h2i", -1, "엄마 병원 예약", false, "2025-03-14 00:00", "2025-03-15 00:00", 0xdc2127},
      {"5m6n7o8p9q0r1s2t3u4v5a6b7c", 1, "요가 수업", true, "2025-03-04 19:30", "2025-03-04 20:30", 0},
      {"4kq1v0b9m2c7d8e3f5g6h7i8j9_20250402T220000Z", -1, "영어 회화 스터디 (장소 변경)", true,
       "2025-04-04 07:30", "2025-04-04 08:30", 0},
      {"9d8c7b6a5v4u3t2s1r0q9p8o7n", 2, "카드 결제일", false, "2025-03-14 00:00", "2025-03-15 00:00", 0xfbd75b},
      {"2b4d6f8h0j2l4n6p8r0t2v4a6c", 3, "결혼기념일", false, "2025-06-07 00:00", "2025-06-08 00:00", 0xff887c},
      {"1a3c5e7g9i1k3m5o7q9s1u3a5c", 0, "비타민 챙기기", true, "2025-03-01 08:00", "2025-03-01 08:10", 0},
      {"6k4i2g0e8c6a4u2s0q8o6m4k2i", -1, "LA 지사 화상 회의", true, "2025-03-12 16:00", "2025-03-12 17:30", 0},
      {"ev7m2k9p4r1t6v3b8d5f0h7j2l", -1, "제주도 가족 여행", false, "2025-05-03 00:00", "2025-05-06 00:00", 0x51b749},
      {"wrk2m3n4o5p6q7r8s9t0u1v2a3b", -1, "출장: 부산 지사", true, "2025-04-07 09:00", "2025-04-09 18:00", 0},
      // Tasks: start is the due date, end the completion time or else the due date.
      {"MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw", -2, "자동차 보험 갱신", false, "2025-03-20 00:00", "2025-03-20 00:00", 0},
      {"MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoyMDAw", -2, "연말정산 서류 제출", false, "2025-02-14 00:00", "2025-02-12 05:12", 0},
      {"MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDozMDAw", -2, "책장 정리하기", false, "1899-12-30 00:00", "1899-12-30 00:00", 0},
      {"MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDo0MDAw", -2, "택배 반품 접수", false, "1899-12-30 00:00", "2025-03-01 09:30", 0},
  };
  for (const Expect& e : expected) {
    const ItemRecord* item = store->findItem(e.id);
    ASSERT_NE(item, nullptr) << e.id;
    EXPECT_EQ(item->kind, e.kind) << e.id;
    EXPECT_EQ(item->title, e.title) << e.id;
    EXPECT_EQ(item->timed, e.timed) << e.id;
    EXPECT_EQ(base::formatDateMinute(item->start), e.start) << e.id;
    EXPECT_EQ(base::formatDateMinute(item->end), e.end) << e.id;
    EXPECT_EQ(item->colour, e.colour) << e.id;
    EXPECT_EQ(item->picture != 0, e.colour != 0) << e.id;
  }
  const ItemRecord* yoga = store->findItem("5m6n7o8p9q0r1s2t3u4v5a6b7c");
  // The rule line decides, even after an EXDATE line; the note is cut to 20 bytes.
  EXPECT_EQ(yoga->note, base::cutToCp949Width("규칙 RRULE:FREQ=WEEKLY;BYDAY=TU,TH", 20));
  EXPECT_EQ(store->findItem("MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw")->note, "진행중");
  EXPECT_EQ(store->findItem("MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoyMDAw")->note, "완료");
  EXPECT_EQ(store->findItem("2025_BIRTHDAY_c7f3a1b2")->list->name, "주소록 친구들");
}

TEST_F(StoreFixture, OccurrenceExceptionsAreRecordedForTheirSeries) {
  testsupport::copySampleCache(folder.path());
  makeStore();
  store->enterChain();

  // The cancelled occurrence is not an item; the moved one is its own event.
  EXPECT_EQ(store->findItem(kSeries + "_20250326T220000Z"), nullptr);
  EXPECT_NE(store->findItem(kSeries + "_20250402T220000Z"), nullptr);
  const std::set<int>* days = store->excludedDays(kSeries);
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(*days, (std::set<int>{base::dayNumberOf(2025, 3, 26), base::dayNumberOf(2025, 4, 3)}));
  EXPECT_TRUE(store->isExcluded(kSeries, base::encodeDateTime(2025, 4, 3, 7, 0)));
  EXPECT_FALSE(store->isExcluded(kSeries, base::encodeDateTime(2025, 4, 2, 7, 0)));
  EXPECT_EQ(store->excludedDays("5m6n7o8p9q0r1s2t3u4v5a6b7c"), nullptr);
}

TEST_F(StoreFixture, MailAlarmEventIsQueuedOnceHoweverOftenLoaded) {
  testsupport::copySampleCache(folder.path());
  makeStore();
  for (int round = 0; round < 3; ++round) {
    store->resetTree();
    store->enterChain();
  }
  EXPECT_EQ(store->findItem("8u6s4q2o0m8k6i4g2e0c8a6u4s"), nullptr);
  const auto lines = base::readLines(folder.file("delevents.txt"));
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, std::vector<std::string>{kPrimary + "|8u6s4q2o0m8k6i4g2e0c8a6u4s"});
}

TEST_F(StoreFixture, MissingFilesAreDownloadedLinkByLink) {
  makeStore();
  store->enterChain();
  EXPECT_EQ(recorder.downloads, std::vector<ChainLink>{ChainLink::CalendarList});

  // The download writes the file and calls the link; the chain goes on to the
  // first missing file.
  const std::string sample = testsupport::sampleCacheFolder();
  for (const char* name : {"calendar.txt", "tasklist.txt"})
    base::writeBytesAtomic(folder.file(name), *base::readBytes(sample + "/" + name));
  store->loadCalendars();
  EXPECT_EQ(recorder.downloads,
            (std::vector<ChainLink>{ChainLink::CalendarList, ChainLink::CalendarColours}));

  base::writeBytesAtomic(folder.file("clr_calendar.txt"), *base::readBytes(sample + "/clr_calendar.txt"));
  store->loadCalendarColours();
  EXPECT_EQ(recorder.downloads.back(), ChainLink::EventColours);
  base::writeBytesAtomic(folder.file("clr_event.txt"), *base::readBytes(sample + "/clr_event.txt"));
  store->loadEventColours();
  EXPECT_EQ(recorder.itemLoadingStarted, 1);
  // No item file yet: every slot asks for its download.
  EXPECT_EQ(recorder.itemDownloads, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(recorder.slotsDone.empty());

  // Calendar list again (another sign-in) with task lists loaded: only the
  // mail timer is re-armed.
  store->resetTree();
  store->loadTaskLists();
  recorder.itemLoadingStarted = 0;
  store->loadCalendars();
  EXPECT_EQ(recorder.mailTimer, 1);
  EXPECT_EQ(recorder.itemLoadingStarted, 0);
}

TEST_F(StoreFixture, CalendarListIsReadOnceUntilTheTreeIsReset) {
  testsupport::copySampleCache(folder.path());
  recorder.loadItemsOnStart = false;
  makeStore();
  store->loadCalendars();
  store->loadCalendars();
  EXPECT_EQ(store->calendars().size(), 4u);
  EXPECT_EQ(store->taskLists().size(), 2u);
  EXPECT_EQ(recorder.itemLoadingStarted, 1);
  // Reading the task lists again updates their nodes instead of doubling them.
  store->loadTaskLists();
  EXPECT_EQ(store->taskLists().size(), 2u);
  EXPECT_EQ(recorder.changed.size(), 2u);
}

TEST_F(StoreFixture, ListNamesAndDeleteButton) {
  write("calendar.txt", R"({"items": [
    {"id": "ko.south_korea#holiday@group.v.calendar.google.com", "summary": "대한민국의 휴일", "timeZone": "Asia/Seoul"}]})");
  write("tasklist.txt", R"({"items": [{"id": "L1", "title": "minji.kim의 목록"}, {"id": "L2", "title": "여행 준비"}]})");
  recorder.loadItemsOnStart = false;
  makeStore();
  store->enterChain();
  // Only a holiday calendar: nothing counted, the delete button stays off,
  // and its time zone is not taken.
  EXPECT_EQ(recorder.deleteEnabled, 0);
  EXPECT_TRUE(store->calendars().empty());
  EXPECT_EQ(store->timeZone(), "");
  EXPECT_EQ(listNames(), (std::vector<std::string>{"할일", "여행 준비"}));

  // Without a signed-in id no title is taken for the account's own.
  store->resetTree();
  write("calendar.txt", R"({"items": [{"id": "a@group.calendar.google.com", "summary": "취미"},
    {"id": "b@group.calendar.google.com", "summary": "운동", "timeZone": "Europe/Paris"}]})");
  store->setAccount("", "");
  store->enterChain();
  EXPECT_EQ(listNames(), (std::vector<std::string>{"취미", "운동", "minji.kim의 목록", "여행 준비"}));
  EXPECT_EQ(store->timeZone(), "Europe/Paris");
  EXPECT_EQ(recorder.deleteEnabled, 1);
}

TEST_F(StoreFixture, BadEntriesBecomeAbsentFields) {
  write("calendar.txt", R"({"items": [{"id": "cal1", "summary": "테스트", "backgroundColor": "nope"}]})");
  write("tasklist.txt", R"({"items": []})");
  write("clr_calendar.txt", R"({"calendar": {"1": {"background": "#112233"}}})");
  write("clr_event.txt", R"({"event": {"1": {"background": "#a4bdfc"}, "2": {"background": "oops"},
                                      "3": {"background": "#FF887C"}, "5": {"background": "#000001"}}})");
  write("cal1.txt", R"({"items": [
    {"id": "e1", "summary": "범위 밖 색", "colorId": "99", "start": {"date": "2025-01-02"}, "end": {"date": "2025-01-03"}},
    {"id": "e2", "summary": "읽을 수 없는 색", "colorId": "2", "start": {"date": "2025-01-02"}},
    {"id": "e3", "summary": "숫자 아닌 색 번호", "colorId": "x", "start": {"date": "2025-01-02"}},
    {"id": "e4", "summary": "숫자 색 번호", "colorId": 3, "start": {"date": "2025-01-02"}},
    {"id": "e5", "summary": "깨진 시각", "start": {"dateTime": "2025-01-02T9시"}, "end": {"dateTime": "2025-01-02T10:00:00Z"}},
    {"id": "e6", "start": {"date": "2025-01-02"}},
    {"id": "e7", "summary": "연 단위", "recurrence": ["RRULE:FREQ=YEARLY;BYMONTH=5"], "start": {"date": "2025-05-01"}},
    {"id": "e8", "summary": "빈 규칙", "recurrence": [], "start": {"date": "2025-05-01"}},
    42, {"summary": "id 없음"}, "text",
    {"id": "e9", "summary": "새예약메일 메일 알림", "status": "cancelled"}
  ]})");
  makeStore();
  store->enterChain();
  EXPECT_TRUE(recorder.errors.empty());
  EXPECT_EQ(store->calendars()[0]->colour, 0);
  EXPECT_EQ(store->colours(gsync::ColourKind::Event),
            (std::vector<int>{0xa4bdfc, gsync::kNoColour, 0xff887c}));  // stops at the gap

  struct Expect {
    const char* id;
    int colorId, colour, kind;
    bool timed;
    double start;
    const char* title;
  };
  const double jan2 = base::encodeDate(2025, 1, 2), may1 = base::encodeDate(2025, 5, 1);
  const Expect expected[] = {
      {"e1", 99, 0, -1, false, jan2, "범위 밖 색"},
      {"e2", 2, 0, -1, false, jan2, "읽을 수 없는 색"},
      {"e3", 0, 0, -1, false, jan2, "숫자 아닌 색 번호"},
      {"e4", 3, 0xff887c, -1, false, jan2, "숫자 색 번호"},
      {"e5", 0, 0, -1, true, 0, "깨진 시각"},
      {"e6", 0, 0, -1, false, jan2, ""},
      {"e7", 0, 0, 3, false, may1, "연 단위"},
      {"e8", 0, 0, -1, false, may1, "빈 규칙"},
  };
  ASSERT_EQ(store->items().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Expect& e = expected[i];
    const ItemRecord& item = *store->items()[i];
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.colorId, e.colorId) << e.id;
    EXPECT_EQ(item.colour, e.colour) << e.id;
    EXPECT_EQ(item.kind, e.kind) << e.id;
    EXPECT_EQ(item.timed, e.timed) << e.id;
    EXPECT_DOUBLE_EQ(item.start, e.start) << e.id;
    EXPECT_EQ(item.title, e.title) << e.id;
  }
  EXPECT_EQ(store->items()[4]->end, base::encodeDateTime(2025, 1, 2, 10, 0));
  // A cancelled event is not queued for deletion: it is gone already.
  EXPECT_FALSE(base::fileExists(folder.file("delevents.txt")));
}

TEST_F(StoreFixture, LongTextsAreCutToTheirFieldWidths) {
  const std::string longTitle = "가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라";
  write("calendar.txt", R"({"items": [{"id": "cal1", "summary": ")" + longTitle + R"("}]})");
  write("tasklist.txt", R"({"items": []})");
  writeColours();
  write("cal1.txt", R"({"items": [{"id": "e1", "summary": ")" + longTitle + R"(", "recurrence": ["RRULE:FREQ=DAILY"]}]})");
  makeStore();
  store->enterChain();
  ASSERT_EQ(store->items().size(), 1u);
  EXPECT_EQ(store->calendars()[0]->name, longTitle.substr(0, 40 * 3));  // 40 syllables, 80 bytes
  EXPECT_EQ(store->items()[0]->title, longTitle.substr(0, 40 * 3));
  EXPECT_EQ(base::cp949Width(store->items()[0]->note), 20u);
}

TEST_F(StoreFixture, BrokenFilesAreReportedOnceAndSkipped) {
  testsupport::copySampleCache(folder.path());
  base::writeBytesAtomic(folder.file("tasklist.txt"), "{\"items\": [");
  base::writeBytesAtomic(folder.file("c_1f8d4e6a9b2c3d5e7f0a1b2c3d4e5f6a@group.calendar.google.com.txt"),
                         "<html>오류</html>");
  makeStore();
  store->enterChain();
  store->clearItems();
  store->loadAllItems();  // a reload reads the same broken file again
  ASSERT_EQ(recorder.errors.size(), 2u);
  EXPECT_NE(recorder.errors[0].find("tasklist.txt"), std::string::npos);
  EXPECT_NE(recorder.errors[1].find("c_1f8d4e6a9b2c3d5e7f0a1b2c3d4e5f6a"), std::string::npos);
  // Everything else still loads: four calendars, the other lists' items.
  EXPECT_EQ(store->calendars().size(), 4u);
  EXPECT_TRUE(store->taskLists().empty());
  EXPECT_EQ(store->items().size(), 12u + 3 + 4);
}

TEST_F(StoreFixture, DetailFileIsReadAndRenamedToTheListFile) {
  write("calendar.txt", R"({"items": [{"id": "cal1", "summary": "하나"}]})");
  write("tasklist.txt", R"({"items": [{"id": "new-list", "title": "새 목록"}]})");
  write("detail0.txt", R"({"items": [{"id": "d1", "summary": "받은 것"}]})");
  writeColours();
  // A list just created holds its calendar-list entry and no items.
  write("new-list.txt", R"({"kind": "tasks#taskList", "id": "new-list", "title": "새 목록"})");
  makeStore();
  store->enterChain();
  EXPECT_EQ(recorder.slotsDone, (std::vector<int>{0, 1}));
  EXPECT_FALSE(base::fileExists(folder.file("detail0.txt")));
  EXPECT_TRUE(base::fileExists(folder.file("cal1.txt")));
  ASSERT_EQ(store->items().size(), 1u);

  // With the list file already there the rename fails: both stay and the
  // detail file is read again next time.
  write("detail0.txt", R"({"items": [{"id": "d2", "summary": "다시 받은 것"}]})");
  store->clearItems();
  store->loadListItems(0);
  EXPECT_TRUE(base::fileExists(folder.file("detail0.txt")));
  ASSERT_EQ(store->items().size(), 1u);
  EXPECT_EQ(store->items()[0]->id, "d2");
}

TEST_F(StoreFixture, RemovingAListTakesItsItems) {
  testsupport::copySampleCache(folder.path());
  makeStore();
  store->enterChain();
  store->removeList(kPrimary);
  EXPECT_EQ(store->findList(kPrimary), nullptr);
  EXPECT_EQ(store->items().size(), 28u - 12);
  EXPECT_EQ(store->listSlots().size(), 5u);
  for (const auto& item : store->items()) EXPECT_NE(item->list->id, kPrimary);
}

TEST(Palette, SquaresFollowTheirRows) {
  std::vector<int> calendar(26, 0x112233), event(11, 0x445566);
  calendar[3] = gsync::kNoColour;
  const auto c = gsync::paletteSquares(gsync::ColourKind::Calendar, calendar);
  ASSERT_EQ(c.size(), 25u);  // no square for an entry without a colour
  EXPECT_EQ(std::make_pair(c[0].left, c[0].top), std::make_pair(6, 6));
  EXPECT_EQ(std::make_pair(c[10].left, c[10].top), std::make_pair(226, 6));   // entry 11
  EXPECT_EQ(std::make_pair(c[11].left, c[11].top), std::make_pair(6, 26));    // entry 12
  EXPECT_EQ(std::make_pair(c[24].left, c[24].top), std::make_pair(26, 26));   // entry 25
  const auto e = gsync::paletteSquares(gsync::ColourKind::Event, event);
  EXPECT_EQ(std::make_pair(e[10].left, e[10].top), std::make_pair(239, 6));
  EXPECT_EQ(e[10].colour, 0x445566);
  EXPECT_EQ(gsync::paletteEntryAt(gsync::ColourKind::Event, 11, 9 + 23 * 4 + 3, 10), 4);
  EXPECT_EQ(gsync::paletteEntryAt(gsync::ColourKind::Event, 11, 5, 10), -1);
  // Entries past the second row are drawn over it: the last one is hit.
  EXPECT_EQ(gsync::paletteEntryAt(gsync::ColourKind::Calendar, 26, 30, 30), 25);
}

}  // namespace
