// Loading the account from its seed file, with dates relative to today.
#include <cctype>
#include <cstdio>

#include "account.h"

namespace standin {
using namespace detail;
namespace {

using namespace std::chrono;

struct Cursor {
  const std::string& text;
  size_t at = 0;
  bool done() const { return at >= text.size(); }
  char peek() const { return done() ? '\0' : text[at]; }
  bool take(std::string_view word) {
    if (text.compare(at, word.size(), word) != 0) return false;
    at += word.size();
    return true;
  }
  std::optional<int> number() {
    const size_t start = at;
    while (!done() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    if (at == start || at - start > 6) return std::nullopt;
    return std::stoi(text.substr(start, at - start));
  }
  std::optional<int> signedNumber() {
    if (peek() != '+' && peek() != '-') return 0;
    const int sign = text[at++] == '-' ? -1 : 1;
    const auto value = number();
    return value ? std::optional(sign * *value) : std::nullopt;
  }
};

sys_days addMonths(sys_days day, int count) {
  year_month_day ymd{day};
  const year_month_day moved = ymd + months(count);
  const auto last = year_month_day_last(moved.year(), month_day_last(moved.month()));
  return sys_days(moved.ok() ? moved : year_month_day(last));
}

sys_days clampedDate(year y, int monthNumber, int dayNumber) {
  const year_month_day ymd{y, month(monthNumber), day(dayNumber)};
  if (ymd.ok()) return sys_days(ymd);
  return sys_days(year_month_day_last(y, month_day_last(month(monthNumber))));
}

std::optional<sys_days> anchor(Cursor& in, sys_days today) {
  const year_month_day now{today};
  static const char* weekdays[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
  for (int i = 0; i < 7; ++i)
    if (in.take(weekdays[i])) {
      const weekday thisDay{today};
      const int sinceMonday = (thisDay.c_encoding() + 6) % 7;
      return today - days(sinceMonday) + days(i);
    }
  if (in.take("today")) return today;
  if (in.take("Y")) {
    const auto shift = in.signedNumber();
    int m = 0, d = 0;
    if (!shift || !in.take("/")) return std::nullopt;
    const auto mm = in.number();
    if (!mm || !in.take("-")) return std::nullopt;
    const auto dd = in.number();
    if (!dd || (m = *mm) < 1 || m > 12 || (d = *dd) < 1 || d > 31) return std::nullopt;
    return clampedDate(now.year() + years(*shift), m, d);
  }
  if (in.take("M")) {
    const auto shift = in.signedNumber();
    if (!shift || !in.take("/")) return std::nullopt;
    const auto dd = in.number();
    if (!dd || *dd < 1 || *dd > 31) return std::nullopt;
    const year_month_day first = year_month_day{now.year(), now.month(), day(1)} + months(*shift);
    return clampedDate(first.year(), int(unsigned(first.month())), *dd);
  }
  if (in.peek() == '+' || in.peek() == '-') return today;
  return std::nullopt;
}

void resolveWhen(Json& when, sys_days today, const std::string& timeZone, int offsetMinutes) {
  if (!when.is_object()) return;
  if (when.contains("date") && when["date"].is_string()) {
    if (const auto date = resolveSeedDate(when["date"], today)) when["date"] = isoDate(date->day);
  }
  if (when.contains("dateTime") && when["dateTime"].is_string()) {
    if (const auto date = resolveSeedDate(when["dateTime"], today)) {
      const int minutes = std::max(date->minutes, 0);
      const char sign = offsetMinutes < 0 ? '-' : '+';
      char text[40];
      std::snprintf(text, sizeof text, "%sT%02d:%02d:00%c%02d:%02d", isoDate(date->day).c_str(),
                    minutes / 60, minutes % 60, sign, std::abs(offsetMinutes) / 60,
                    std::abs(offsetMinutes) % 60);
      when["dateTime"] = text;
    }
    if (!when.contains("timeZone")) when["timeZone"] = timeZone;
  }
}

// An end one day (all-day) or one hour after the start when the seed leaves it out.
Json defaultEnd(const Json& start) {
  Json end = start;
  if (start.contains("date")) {
    if (const auto day = parseIsoDate(start["date"].get<std::string>())) end["date"] = isoDate(*day + days(1));
  } else if (start.contains("dateTime")) {
    std::string text = start["dateTime"];
    int hour = 0;
    if (text.size() >= 16 && std::sscanf(text.c_str() + 11, "%2d", &hour) == 1 && hour < 23) {
      const std::string next = std::to_string(hour + 1);
      text.replace(11, 2, next.size() == 1 ? "0" + next : next);
      end["dateTime"] = text;
    }
  }
  return end;
}

// "<series>_20250106T003000Z" for timed instances, "<series>_20250106" for all-day ones.
std::string instanceId(const std::string& seriesId, const Json& originalStart) {
  auto compact = [](std::string text) {
    std::erase_if(text, [](char c) { return c == '-' || c == ':'; });
    return text;
  };
  if (originalStart.contains("date")) return seriesId + "_" + compact(originalStart["date"]);
  const std::string dateTime = originalStart.value("dateTime", "");
  const size_t zone = dateTime.find_first_of("+-Z", 19);
  int offset = 0, zh = 0, zm = 0;
  if (zone != std::string::npos && dateTime[zone] != 'Z' &&
      std::sscanf(dateTime.c_str() + zone + 1, "%2d:%2d", &zh, &zm) == 2)
    offset = (dateTime[zone] == '-' ? -1 : 1) * (zh * 60 + zm);
  const auto day = parseIsoDate(dateTime);
  int h = 0, m = 0, s = 0;
  if (!day || std::sscanf(dateTime.c_str() + 11, "%2d:%2d:%2d", &h, &m, &s) != 3)
    return seriesId + "_" + base32HexId(8);
  const auto utc = sys_seconds(*day) + hours(h) + minutes(m - offset) + seconds(s);
  const auto utcDay = floor<days>(utc);
  const hh_mm_ss hms{utc - utcDay};
  char text[24];
  std::snprintf(text, sizeof text, "T%02d%02d%02dZ", int(hms.hours().count()), int(hms.minutes().count()),
                int(hms.seconds().count()));
  return seriesId + "_" + compact(isoDate(utcDay)) + text;
}

}  // namespace

std::optional<SeedDate> resolveSeedDate(const std::string& text, sys_days today) {
  Cursor in{text};
  auto day = anchor(in, today);
  if (!day) return std::nullopt;
  while (in.peek() == '+' || in.peek() == '-') {
    const auto count = in.signedNumber();
    if (!count) return std::nullopt;
    const char unit = in.peek();
    ++in.at;
    if (unit == 'd') *day += days(*count);
    else if (unit == 'w') *day += days(7 * *count);
    else if (unit == 'm') *day = addMonths(*day, *count);
    else if (unit == 'y') *day = addMonths(*day, 12 * *count);
    else return std::nullopt;
  }
  SeedDate result{*day};
  if (in.take(" ")) {
    const auto h = in.number();
    if (!h || !in.take(":")) return std::nullopt;
    const auto m = in.number();
    if (!m || *h > 23 || *m > 59) return std::nullopt;
    result.minutes = *h * 60 + *m;
  }
  return in.done() ? std::optional(result) : std::nullopt;
}

void Account::load(const Json& seed, sys_days today, const std::string& baseUrl) {
  if (!seed.is_object() || !seed.contains("account") || !seed["account"].is_object() ||
      !seed["account"].contains("email"))
    throw std::runtime_error("the seed has no \"account\" with an \"email\"");
  baseUrl_ = baseUrl;
  const Json& account = seed["account"];
  const std::string email = account["email"];
  profile_ = {{"email", email},
              {"name", account.value("name", email.substr(0, email.find('@')))},
              {"givenName", account.value("givenName", "")},
              {"familyName", account.value("familyName", "")},
              {"picture", account.value("picture", "")},
              {"locale", account.value("locale", "ko")},
              {"timeZone", account.value("timeZone", "Asia/Seoul")}};
  oauth_ = seed.value("oauth", Json::object());
  tokenLifetime_ = seed.value("tokenLifetimeSeconds", 3599);
  calendars_.clear();
  taskLists_.clear();
  for (const Json& calendar : seed.value("calendars", Json::array())) loadCalendar(calendar, today);
  for (const Json& list : seed.value("taskLists", Json::array())) loadTaskList(list, today);
  if (taskLists_.empty()) loadTaskList(Json{{"title", "내 할 일 목록"}}, today);
}

void Account::loadCalendar(const Json& seed, sys_days today) {
  if (!seed.is_object()) throw std::runtime_error("a calendar of the seed is not an object");
  CalendarData data;
  Json& entry = data.entry;
  const bool primary = seed.value("primary", false);
  entry = {{"kind", "calendar#calendarListEntry"}, {"etag", etagFor(nowMillis())},
           {"id", seed.value("id", primary ? email() : "c_" + base32HexId(26) + "@group.calendar.google.com")}};
  entry["summary"] = seed.value("summary", primary ? email() : std::string("캘린더"));
  entry["timeZone"] = profile_["timeZone"];
  entry["colorId"] = std::to_string(calendars_.size() % 24 + 1);
  entry["selected"] = true;
  entry["accessRole"] = "owner";
  entry["defaultReminders"] = Json::array();
  for (const auto& [key, value] : seed.items())
    if (key != "events") entry[key] = value;
  applyCalendarColour(entry);
  for (const char* key : {"backgroundColor", "foregroundColor"})
    if (seed.contains(key)) entry[key] = seed[key];
  entry = orderedCalendarEntry(entry);
  calendars_.push_back(std::move(data));

  CalendarData& added = calendars_.back();
  const std::string timeZone = added.entry["timeZone"];
  const int offset = utcOffsetMinutes(timeZone);
  for (Json event : seed.value("events", Json::array())) {
    if (!event.is_object()) throw std::runtime_error("an event of the seed is not an object");
    requireEventTypes(event);
    for (const char* key : {"start", "end", "originalStartTime"})
      if (event.contains(key)) resolveWhen(event[key], today, timeZone, offset);
    if (event.contains("start") && !event.contains("end")) event["end"] = defaultEnd(event["start"]);
    if (!event.contains("id") && event.contains("recurringEventId") && event.contains("originalStartTime"))
      event["id"] = instanceId(event["recurringEventId"], event["originalStartTime"]);
    added.events.push_back(newEvent(added, event));
  }
}

void Account::loadTaskList(const Json& seed, sys_days today) {
  if (!seed.is_object()) throw std::runtime_error("a task list of the seed is not an object");
  TaskListData data;
  const std::string id = seed.value("id", base64UrlId(22));
  data.list = {{"kind", "tasks#taskList"}, {"id", id}, {"title", seed.value("title", "")},
               {"selfLink", baseUrl_ + "/tasks/v1/users/@me/lists/" + id}};
  for (Json task : seed.value("tasks", Json::array())) {
    if (!task.is_object()) throw std::runtime_error("a task of the seed is not an object");
    if (task.contains("due") && task["due"].is_string())
      if (const auto date = resolveSeedDate(task["due"], today)) task["due"] = isoDate(date->day);
    if (task.contains("completed") && task["completed"].is_string())
      if (const auto date = resolveSeedDate(task["completed"], today))
        task["completed"] = rfc3339(Millis(date->day + minutes(std::max(date->minutes, 0) - 540)));
    Json made = newTask(id, task);
    normaliseTask(made);
    data.tasks.push_back(orderedTask(made));
  }
  touchTaskList(data);
  taskLists_.push_back(std::move(data));
}

}  // namespace standin
