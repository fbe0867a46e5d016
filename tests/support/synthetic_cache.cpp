#include "support/synthetic_cache.h"

#include <array>
#include <random>

#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"
#include "sync/cache_text.h"

namespace testsupport {
namespace {

using Json = gsync::Json;

constexpr std::array kTitles = {"팀 회의",     "고객 미팅",   "점심 약속",  "병원 예약",   "운동",
                                "영어 스터디", "가족 저녁",   "프로젝트 마감", "코드 리뷰", "독서 모임",
                                "치과 검진",   "은행 업무",   "동창 모임",  "세미나 참석", "출장"};
constexpr std::array kPlaces = {"본사 3층 회의실", "강남역 2번 출구", "서울대학교병원",
                                "판교 테크노밸리", "집",              "온라인 (화상)"};
constexpr std::array kRules = {"RRULE:FREQ=DAILY;COUNT=20", "RRULE:FREQ=WEEKLY;BYDAY=MO,WE",
                               "RRULE:FREQ=MONTHLY;BYMONTHDAY=15", "RRULE:FREQ=YEARLY",
                               "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=FR"};
constexpr std::array kTaskTitles = {"보고서 작성", "장보기", "세탁소 들르기", "공과금 납부",
                                    "택배 보내기", "책 반납"};
constexpr std::array kColours = {"#ac725e", "#d06b64", "#f83a22", "#fa573c", "#ff7537", "#ffad46",
                                 "#42d692", "#16a765", "#7bd148", "#b3dc6c", "#fbe983", "#fad165",
                                 "#92e1c0", "#9fe1e7", "#9fc6e7", "#4986e7", "#9a9cff", "#b99aff",
                                 "#c2c2c2", "#cabdbf", "#cca6ac", "#f691b2", "#cd74e6", "#a47ae2"};
constexpr std::array kEventColours = {"#a4bdfc", "#7ae7bf", "#dbadff", "#ff887c",
                                      "#fbd75b", "#ffb878", "#46d6db", "#e1e1e1",
                                      "#5484ed", "#51b749", "#dc2127"};

const char* kBase32Hex = "0123456789abcdefghijklmnopqrstuv";

std::string randomId(std::mt19937& rng, int length) {
  std::string id;
  for (int i = 0; i < length; ++i) id += kBase32Hex[rng() % 32];
  return id;
}

template <std::size_t N>
const char* pick(std::mt19937& rng, const std::array<const char*, N>& from) {
  return from[rng() % N];
}

bool save(const std::string& folder, const std::string& name, const Json& answer) {
  return gsync::writeCacheFile(base::joinPath(folder, name), answer.dump(1));
}

std::string googleDate(base::DateTime day) { return base::formatDate(day); }

std::string googleDateTime(base::DateTime at) {
  const base::Date d = base::decodeDate(at);
  const base::Time t = base::decodeTime(at);
  return base::format("%04d-%02d-%02dT%02d:%02d:00+09:00", d.year, d.month, d.day, t.hour,
                      t.minute);
}

Json person(const std::string& email, bool self) {
  Json p = {{"email", email}};
  if (self) p["self"] = true;
  return p;
}

Json makeEvent(std::mt19937& rng, const std::string& calendarId, const std::string& googleId,
               bool recurring) {
  const std::string id = randomId(rng, 26);
  const base::DateTime day = base::encodeDate(2024, 1, 1) + static_cast<int>(rng() % 730);
  const bool allDay = rng() % 4 == 0;
  Json e;
  e["kind"] = "calendar#event";
  e["etag"] = "\"" + std::to_string(3400000000000000ULL + rng() % 100000000) + "\"";
  e["id"] = id;
  e["status"] = "confirmed";
  e["htmlLink"] = "https://www.google.com/calendar/event?eid=" + id;
  e["created"] = "2024-01-05T03:10:11.000Z";
  e["updated"] = "2025-02-11T08:21:45.512Z";
  e["summary"] = std::string(pick(rng, kTitles)) + " " + std::to_string(rng() % 100);
  if (rng() % 3 == 0)
    e["description"] = "준비물: 자료 > 노트북 > 충전기. 참석자에게 미리 안내할 것 (회의록은 공유 "
                       "드라이브에 저장).";
  if (rng() % 2 == 0) e["location"] = pick(rng, kPlaces);
  if (rng() % 5 == 0) e["colorId"] = std::to_string(1 + rng() % kEventColours.size());
  e["creator"] = person(googleId, true);
  e["organizer"] = person(calendarId, calendarId == googleId);
  if (allDay) {
    e["start"] = {{"date", googleDate(day)}};
    e["end"] = {{"date", googleDate(day + 1 + rng() % 2)}};
  } else {
    const base::DateTime start = day + (8 + rng() % 12) / 24.0;
    e["start"] = {{"dateTime", googleDateTime(start)}, {"timeZone", "Asia/Seoul"}};
    e["end"] = {{"dateTime", googleDateTime(start + 1 / 24.0)}, {"timeZone", "Asia/Seoul"}};
  }
  if (recurring) e["recurrence"] = Json::array({pick(rng, kRules)});
  e["iCalUID"] = id + "@google.com";
  e["sequence"] = 0;
  e["reminders"] = {{"useDefault", true}};
  e["eventType"] = "default";
  return e;
}

Json makeTask(std::mt19937& rng, const std::string& listId) {
  const std::string id = randomId(rng, 22);
  const bool done = rng() % 3 == 0;
  Json t;
  t["kind"] = "tasks#task";
  t["id"] = id;
  t["etag"] = "\"" + std::to_string(rng() % 100000000) + "\"";
  t["title"] = pick(rng, kTaskTitles);
  t["updated"] = "2025-02-20T02:11:09.000Z";
  t["selfLink"] = "https://www.googleapis.com/tasks/v1/lists/" + listId + "/tasks/" + id;
  t["position"] = "00000000000000000000";
  t["status"] = done ? "completed" : "needsAction";
  if (rng() % 2 == 0) t["due"] = googleDate(base::encodeDate(2025, 1, 1) + rng() % 365) + "T00:00:00.000Z";
  if (done) t["completed"] = "2025-02-21T09:30:00.000Z";
  t["links"] = Json::array();
  return t;
}

Json colourAnswer(const char* which, const auto& table) {
  Json colours = Json::object();
  for (std::size_t i = 0; i < table.size(); ++i)
    colours[std::to_string(i + 1)] = {{"background", table[i]}, {"foreground", "#1d1d1d"}};
  return {{which, colours}};
}

}  // namespace

std::string syntheticCalendarId(int index) {
  return base::format("c_%04d%s@group.calendar.google.com", index, "f3a9b1c7d5e2");
}

std::string syntheticTaskListId(int index) { return base::format("VGFza0xpc3Qt%04d", index); }

void writeSyntheticCache(const std::string& folder, const SyntheticCacheShape& shape) {
  std::mt19937 rng(shape.seed);
  base::makeDirectories(folder);
  std::vector<std::string> calendarIds;
  for (int i = 0; i < shape.calendars; ++i)
    calendarIds.push_back(i == 0 ? shape.googleId : syntheticCalendarId(i));

  Json entries = Json::array();
  for (int i = 0; i < shape.calendars; ++i) {
    entries.push_back({{"kind", "calendar#calendarListEntry"},
                       {"id", calendarIds[i]},
                       {"summary", i == 0 ? shape.googleId : "캘린더 " + std::to_string(i)},
                       {"timeZone", "Asia/Seoul"},
                       {"colorId", std::to_string(1 + i % kColours.size())},
                       {"backgroundColor", kColours[i % kColours.size()]},
                       {"foregroundColor", "#000000"},
                       {"accessRole", "owner"}});
  }
  entries.push_back({{"kind", "calendar#calendarListEntry"},
                     {"id", "ko.south_korea#holiday@group.v.calendar.google.com"},
                     {"summary", "대한민국의 휴일"},
                     {"backgroundColor", "#16a765"}});
  save(folder, "calendar.txt", {{"kind", "calendar#calendarList"}, {"items", entries}});

  Json lists = Json::array();
  for (int i = 0; i < shape.taskLists; ++i)
    lists.push_back({{"kind", "tasks#taskList"},
                     {"id", syntheticTaskListId(i)},
                     {"title", i == 0 ? shape.googleId.substr(0, shape.googleId.find('@')) + "의 목록"
                                      : "목록 " + std::to_string(i)}});
  save(folder, "tasklist.txt", {{"kind", "tasks#taskLists"}, {"items", lists}});
  save(folder, "clr_calendar.txt", colourAnswer("calendar", kColours));
  save(folder, "clr_event.txt", colourAnswer("event", kEventColours));

  // One calendar at a time, so that a large cache never sits in memory whole.
  for (int c = 0; c < shape.calendars; ++c) {
    Json events = Json::array();
    for (int i = c; i < shape.events; i += shape.calendars)
      events.push_back(makeEvent(rng, calendarIds[c], shape.googleId, i < shape.recurringEvents));
    save(folder, calendarIds[c] + ".txt",
         {{"kind", "calendar#events"}, {"summary", calendarIds[c]}, {"timeZone", "Asia/Seoul"},
          {"items", std::move(events)}});
  }

  std::vector<Json> tasks(shape.taskLists, Json::array());
  for (int i = 0; i < shape.tasks && shape.taskLists > 0; ++i) {
    const int l = i % shape.taskLists;
    tasks[l].push_back(makeTask(rng, syntheticTaskListId(l)));
  }
  for (int l = 0; l < shape.taskLists; ++l)
    save(folder, syntheticTaskListId(l) + ".txt", {{"kind", "tasks#tasks"}, {"items", tasks[l]}});
}

}  // namespace testsupport
