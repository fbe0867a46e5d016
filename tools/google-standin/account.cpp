#include "account.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace standin {
namespace detail {

using std::chrono::sys_days;

constexpr size_t kCalendarListCap = 250, kEventsCap = 2500, kTasksCap = 100;

std::string param(const Query& query, const std::string& name) {
  const auto it = query.find(name);
  return it == query.end() ? std::string() : it->second;
}

bool flag(const Query& query, const std::string& name, bool fallback) {
  const std::string value = param(query, name);
  return value.empty() ? fallback : value == "true";
}

void requireObject(const Json& body) {
  if (!body.is_object()) throw badRequest("parseError", "Parse Error");
}

enum class Kind { String, Object, Array, Number, Boolean };

// Members of the wrong JSON type are refused when written, so that reading
// the stored items later can rely on them.
void requireTypes(const Json& item, std::initializer_list<std::pair<const char*, Kind>> members) {
  for (const auto& [name, kind] : members) {
    if (!item.contains(name) || item[name].is_null()) continue;
    const Json& value = item[name];
    const bool ok = kind == Kind::String    ? value.is_string()
                    : kind == Kind::Object  ? value.is_object()
                    : kind == Kind::Array   ? value.is_array()
                    : kind == Kind::Number  ? value.is_number_integer()
                                            : value.is_boolean();
    if (!ok) throw badRequest("invalid", std::string("Invalid value for: ") + name);
  }
}

void requireEventTypes(const Json& event) {
  requireTypes(event, {{"id", Kind::String}, {"status", Kind::String}, {"summary", Kind::String},
                       {"description", Kind::String}, {"location", Kind::String}, {"colorId", Kind::String},
                       {"start", Kind::Object}, {"end", Kind::Object}, {"originalStartTime", Kind::Object},
                       {"recurringEventId", Kind::String}, {"recurrence", Kind::Array},
                       {"attendees", Kind::Array}, {"reminders", Kind::Object}, {"sequence", Kind::Number},
                       {"transparency", Kind::String}, {"visibility", Kind::String}});
}

void requireTaskTypes(const Json& task) {
  requireTypes(task, {{"id", Kind::String}, {"title", Kind::String}, {"notes", Kind::String},
                      {"status", Kind::String}, {"due", Kind::String}, {"completed", Kind::String},
                      {"deleted", Kind::Boolean}, {"hidden", Kind::Boolean}, {"links", Kind::Array}});
}

void requireCalendarTypes(const Json& calendar) {
  requireTypes(calendar, {{"summary", Kind::String}, {"description", Kind::String}, {"location", Kind::String},
                          {"timeZone", Kind::String}, {"summaryOverride", Kind::String},
                          {"colorId", Kind::String}, {"backgroundColor", Kind::String},
                          {"foregroundColor", Kind::String}, {"hidden", Kind::Boolean},
                          {"selected", Kind::Boolean}, {"defaultReminders", Kind::Array},
                          {"notificationSettings", Kind::Object}});
}

// Answers the slice of `items` that the page token and maxResults select.
Json pageOf(std::vector<const Json*> items, const Query& query, size_t defaultSize, size_t cap) {
  const size_t size = pageSize(param(query, "maxResults"), defaultSize, cap);
  const std::string token = param(query, "pageToken");
  const size_t offset = token.empty() ? 0 : offsetFromPageToken(token);
  Json page = Json::object();
  Json list = Json::array();
  for (size_t i = offset; i < items.size() && i < offset + size; ++i) list.push_back(*items[i]);
  if (offset + size < items.size()) page["nextPageToken"] = pageTokenFor(offset + size);
  page["items"] = std::move(list);
  return page;
}

int utcOffsetMinutes(const std::string& timeZone) { return timeZone == "Asia/Seoul" ? 540 : 0; }

// "2025-01-02T09:30:00+09:00", "...Z", "...(.sss)"; dates as midnight at the offset.
std::optional<Millis> parseInstant(const std::string& text, int offsetMinutes) {
  const auto day = parseIsoDate(text);
  if (!day) return std::nullopt;
  if (text.size() == 10) return Millis(*day - std::chrono::minutes(offsetMinutes));
  int h = 0, m = 0, s = 0;
  if (text.size() < 19 || text[10] != 'T' ||
      std::sscanf(text.c_str() + 11, "%2d:%2d:%2d", &h, &m, &s) != 3)
    return std::nullopt;
  size_t at = 19;
  int millis = 0;
  if (at < text.size() && text[at] == '.') {
    const size_t start = ++at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    std::string digits = text.substr(start, at - start).substr(0, 3);
    while (digits.size() < 3) digits += '0';
    millis = std::stoi(digits);
  }
  int zone = offsetMinutes;
  if (at < text.size()) {
    if (text[at] == 'Z') {
      zone = 0;
    } else if ((text[at] == '+' || text[at] == '-') && text.size() >= at + 6) {
      int zh = 0, zm = 0;
      if (std::sscanf(text.c_str() + at + 1, "%2d:%2d", &zh, &zm) != 2) return std::nullopt;
      zone = (text[at] == '-' ? -1 : 1) * (zh * 60 + zm);
    } else {
      return std::nullopt;
    }
  }
  return Millis(*day + std::chrono::hours(h) + std::chrono::minutes(m - zone) +
                std::chrono::seconds(s) + std::chrono::milliseconds(millis));
}

std::optional<Millis> instantOf(const Json& when, int offsetMinutes) {
  if (!when.is_object()) return std::nullopt;
  if (when.contains("dateTime") && when["dateTime"].is_string())
    return parseInstant(when["dateTime"].get<std::string>(), offsetMinutes);
  if (when.contains("date") && when["date"].is_string()) {
    const std::string date = when["date"].get<std::string>();
    return date.size() == 10 ? parseInstant(date, offsetMinutes) : std::nullopt;
  }
  return std::nullopt;
}

void checkTimes(const Json& event, int offsetMinutes) {
  if (!event.contains("start")) throw badRequest("required", "Missing start time.");
  if (!event.contains("end")) throw badRequest("required", "Missing end time.");
  const auto start = instantOf(event["start"], offsetMinutes);
  const auto end = instantOf(event["end"], offsetMinutes);
  if (!start || !end) throw badRequest("invalid", "Invalid start or end time.");
  if (*end < *start) throw badRequest("timeRangeEmpty", "The specified time range is empty.");
}

// Google's member order, then whatever else the item carries.
Json ordered(const Json& item, std::initializer_list<const char*> order) {
  Json out = Json::object();
  for (const char* key : order)
    if (item.contains(key)) out[key] = item[key];
  for (const auto& [key, value] : item.items())
    if (!out.contains(key)) out[key] = value;
  return out;
}

Json orderedEvent(const Json& event) {
  return ordered(event, {"kind", "etag", "id", "status", "htmlLink", "created", "updated", "summary",
                         "description", "location", "colorId", "creator", "organizer", "start", "end",
                         "endTimeUnspecified", "recurrence", "recurringEventId", "originalStartTime",
                         "transparency", "visibility", "iCalUID", "sequence", "attendees",
                         "reminders", "eventType"});
}

Json orderedTask(const Json& task) {
  return ordered(task, {"kind", "id", "etag", "title", "updated", "selfLink", "parent", "position",
                        "notes", "status", "due", "completed", "deleted", "hidden", "links",
                        "webViewLink"});
}

const Json& calendarPalette() {
  static const Json palette = [] {
    const char* colors[] = {"#ac725e", "#d06b64", "#f83a22", "#fa573c", "#ff7537", "#ffad46",
                            "#42d692", "#16a765", "#7bd148", "#b3dc6c", "#fbe983", "#fad165",
                            "#92e1c0", "#9fe1e7", "#9fc6e7", "#4986e7", "#9a9cff", "#b99aff",
                            "#c2c2c2", "#cabdbf", "#cca6ac", "#f691b2", "#cd74e6", "#a47ae2"};
    Json out = Json::object();
    for (int i = 0; i < 24; ++i)
      out[std::to_string(i + 1)] = {{"background", colors[i]}, {"foreground", "#1d1d1d"}};
    return out;
  }();
  return palette;
}

const Json& eventPalette() {
  static const Json palette = [] {
    const char* colors[] = {"#a4bdfc", "#7ae7bf", "#dbadff", "#ff887c", "#fbd75b", "#ffb878",
                            "#46d6db", "#e1e1e1", "#5484ed", "#51b749", "#dc2127"};
    Json out = Json::object();
    for (int i = 0; i < 11; ++i)
      out[std::to_string(i + 1)] = {{"background", colors[i]}, {"foreground", "#1d1d1d"}};
    return out;
  }();
  return palette;
}

void applyCalendarColour(Json& entry) {
  const std::string colorId = entry.value("colorId", "");
  if (calendarPalette().contains(colorId)) {
    entry["backgroundColor"] = calendarPalette()[colorId]["background"];
    entry["foregroundColor"] = calendarPalette()[colorId]["foreground"];
  }
}

Json orderedCalendarEntry(const Json& entry) {
  return ordered(entry, {"kind", "etag", "id", "summary", "description", "location", "timeZone",
                         "summaryOverride", "colorId", "backgroundColor", "foregroundColor",
                         "hidden", "selected", "accessRole", "defaultReminders",
                         "notificationSettings", "primary", "conferenceProperties"});
}

Json calendarResource(const Json& entry) {
  Json out = {{"kind", "calendar#calendar"}, {"etag", entry["etag"]}, {"id", entry["id"]}};
  for (const char* key : {"summary", "description", "location", "timeZone"})
    if (entry.contains(key)) out[key] = entry[key];
  out["conferenceProperties"] = {{"allowedConferenceSolutionTypes", Json::array({"hangoutsMeet"})}};
  return out;
}

// Replaces (update) or merges (patch) the writable members.
void applyWritable(Json& target, const Json& body, bool patch, std::initializer_list<const char*> writable) {
  for (const char* key : writable) {
    if (body.contains(key)) {
      if (body[key].is_null()) target.erase(key);
      else if (patch && target.contains(key) && target[key].is_object() && body[key].is_object())
        target[key].merge_patch(body[key]);
      else target[key] = body[key];
    } else if (!patch) {
      target.erase(key);
    }
  }
}

void stamp(Json& item) {
  const Millis now = nowMillis();
  item["etag"] = etagFor(now);
  item["updated"] = rfc3339(now);
}

// Instance ids are "<series id>_<start>": "20250106T003000Z" or "20250106".
std::optional<Json> originalStartFromInstanceId(const std::string& suffix) {
  auto digits = [&](size_t at, size_t n) { return suffix.substr(at, n); };
  if (suffix.size() == 8) {
    const std::string date = digits(0, 4) + "-" + digits(4, 2) + "-" + digits(6, 2);
    if (parseIsoDate(date)) return Json{{"date", date}};
  } else if (suffix.size() == 16 && suffix[8] == 'T' && suffix[15] == 'Z') {
    const std::string date = digits(0, 4) + "-" + digits(4, 2) + "-" + digits(6, 2);
    if (parseIsoDate(date))
      return Json{{"dateTime", date + "T" + digits(9, 2) + ":" + digits(11, 2) + ":" + digits(13, 2) + "Z"}};
  }
  return std::nullopt;
}

}  // namespace detail

using namespace detail;

// ---- calendars ----------------------------------------------------------

CalendarData& Account::calendar(const std::string& id) {
  return const_cast<CalendarData&>(std::as_const(*this).calendar(id));
}

const CalendarData& Account::calendar(const std::string& id) const {
  for (const CalendarData& data : calendars_) {
    const bool primary = data.entry.value("primary", false);
    if (data.entry["id"] == id || (id == "primary" && primary)) return data;
  }
  throw notFound();
}

CalendarData& Account::writableCalendar(const std::string& id) {
  CalendarData& data = calendar(id);
  const std::string role = data.entry.value("accessRole", "owner");
  if (role != "owner" && role != "writer")
    throw ApiError(403, "requiredAccessLevel", "You need to have writer access to this calendar.");
  return data;
}

Json Account::listCalendarList(const Query& query) const {
  const bool showHidden = flag(query, "showHidden", false);
  std::vector<const Json*> items;
  for (const CalendarData& data : calendars_)
    if (showHidden || !data.entry.value("hidden", false)) items.push_back(&data.entry);
  Json page = pageOf(items, query, 100, kCalendarListCap);
  Json out = {{"kind", "calendar#calendarList"}, {"etag", etagFor(nowMillis())}};
  if (page.contains("nextPageToken")) out["nextPageToken"] = page["nextPageToken"];
  else out["nextSyncToken"] = "CPDAlvWDx70CEPDAlvWDx70CGAU=";
  out["items"] = page["items"];
  return out;
}

Json Account::getCalendarListEntry(const std::string& id) const { return calendar(id).entry; }

Json Account::updateCalendarListEntry(const std::string& id, const Json& body, bool patch) {
  requireObject(body);
  requireCalendarTypes(body);
  Json& entry = calendar(id).entry;
  const std::string oldColour = entry.value("colorId", "");
  applyWritable(entry, body, patch,
                {"summaryOverride", "colorId", "hidden", "selected", "defaultReminders",
                 "notificationSettings"});
  if (body.contains("backgroundColor") || body.contains("foregroundColor")) {
    for (const char* key : {"backgroundColor", "foregroundColor"})
      if (body.contains(key) && body[key].is_string()) entry[key] = body[key];
  } else if (entry.value("colorId", "") != oldColour) {
    applyCalendarColour(entry);
  }
  entry["etag"] = etagFor(nowMillis());
  entry = orderedCalendarEntry(entry);
  return entry;
}

void Account::deleteCalendarListEntry(const std::string& id) { deleteCalendar(id); }

Json Account::insertCalendar(const Json& body) {
  requireObject(body);
  requireCalendarTypes(body);
  if (!body.contains("summary") || !body["summary"].is_string())
    throw badRequest("required", "Missing title.");
  CalendarData data;
  Json& entry = data.entry;
  entry = {{"kind", "calendar#calendarListEntry"}, {"etag", etagFor(nowMillis())},
           {"id", "c_" + base32HexId(26) + "@group.calendar.google.com"}};
  applyWritable(entry, body, true, {"summary", "description", "location", "timeZone"});
  if (!entry.contains("timeZone")) entry["timeZone"] = profile_.value("timeZone", "Asia/Seoul");
  entry["colorId"] = std::to_string(calendars_.size() % 24 + 1);
  applyCalendarColour(entry);
  entry["selected"] = true;
  entry["accessRole"] = "owner";
  entry["defaultReminders"] = Json::array();
  entry = orderedCalendarEntry(entry);
  calendars_.push_back(data);
  return calendarResource(calendars_.back().entry);
}

Json Account::getCalendar(const std::string& id) const { return calendarResource(calendar(id).entry); }

Json Account::updateCalendar(const std::string& id, const Json& body, bool patch) {
  requireObject(body);
  requireCalendarTypes(body);
  Json& entry = writableCalendar(id).entry;
  if (!patch && (!body.contains("summary") || !body["summary"].is_string()))
    throw badRequest("required", "Missing title.");
  applyWritable(entry, body, patch, {"summary", "description", "location"});
  if (body.contains("timeZone") && body["timeZone"].is_string()) entry["timeZone"] = body["timeZone"];
  entry["etag"] = etagFor(nowMillis());
  return calendarResource(entry);
}

void Account::deleteCalendar(const std::string& id) {
  const CalendarData& data = calendar(id);
  if (data.entry.value("primary", false))
    throw badRequest("cannotDeletePrimaryCalendar", "Cannot delete primary calendar.");
  std::erase_if(calendars_, [&](const CalendarData& c) { return &c == &data; });
}

// ---- events -------------------------------------------------------------

Json* Account::findEvent(CalendarData& data, const std::string& id) {
  for (Json& event : data.events)
    if (event["id"] == id) return &event;
  return nullptr;
}

Json& Account::eventOrNewException(CalendarData& data, const std::string& id) {
  if (Json* event = findEvent(data, id)) return *event;
  const size_t cut = id.rfind('_');
  if (cut == std::string::npos) throw notFound();
  const Json* series = findEvent(data, id.substr(0, cut));
  const auto originalStart = originalStartFromInstanceId(id.substr(cut + 1));
  if (!series || !series->contains("recurrence") || !originalStart) throw notFound();
  Json exception = *series;
  exception.erase("recurrence");
  exception["id"] = id;
  exception["recurringEventId"] = (*series)["id"];
  exception["originalStartTime"] = *originalStart;
  exception["start"] = *originalStart;
  if ((*series)["start"].contains("timeZone")) exception["originalStartTime"]["timeZone"] = (*series)["start"]["timeZone"];
  data.events.push_back(orderedEvent(exception));
  return data.events.back();
}

Json Account::newEvent(const CalendarData& data, Json body) {
  const Millis now = nowMillis();
  const std::string calendarId = data.entry["id"];
  const std::string id = body.contains("id") && body["id"].is_string() && !body["id"].get<std::string>().empty()
                             ? body["id"].get<std::string>()
                             : base32HexId(26);
  const Json self = {{"email", email()}, {"self", true}};
  body["kind"] = "calendar#event";
  body["etag"] = etagFor(now);
  body["id"] = id;
  if (!body.contains("status")) body["status"] = "confirmed";
  body["htmlLink"] = "https://www.google.com/calendar/event?eid=" + base64Url(id + " " + calendarId);
  if (!body.contains("created")) body["created"] = rfc3339(now);
  body["updated"] = rfc3339(now);
  if (!body.contains("creator")) body["creator"] = self;
  if (!body.contains("organizer"))
    body["organizer"] = data.entry.value("primary", false)
                            ? self
                            : Json{{"email", calendarId}, {"displayName", data.entry.value("summary", "")}, {"self", true}};
  if (!body.contains("iCalUID")) body["iCalUID"] = id + "@google.com";
  if (!body.contains("sequence")) body["sequence"] = 0;
  if (!body.contains("reminders") && !body.contains("recurringEventId")) body["reminders"] = {{"useDefault", true}};
  if (!body.contains("eventType")) body["eventType"] = "default";
  return orderedEvent(body);
}

Json Account::listEvents(const std::string& calendarId, const Query& query) const {
  const CalendarData& data = calendar(calendarId);
  const int offset = utcOffsetMinutes(data.entry.value("timeZone", ""));
  const bool showDeleted = flag(query, "showDeleted", false);
  const bool singleEvents = flag(query, "singleEvents", false);
  std::optional<Millis> timeMin, timeMax;
  for (auto [name, bound] : {std::pair{"timeMin", &timeMin}, std::pair{"timeMax", &timeMax}}) {
    const std::string text = param(query, name);
    if (text.empty()) continue;
    *bound = parseInstant(text, offset);
    if (!*bound || text.size() == 10) throw badRequest("badRequest", std::string("Bad Request: ") + name);
  }
  const std::string text = param(query, "q");

  std::vector<const Json*> items;
  for (const Json& event : data.events) {
    const bool cancelled = event.value("status", "") == "cancelled";
    // Cancelled instances of a series stay visible so that a client can
    // subtract them from the series.
    if (cancelled && !showDeleted && (singleEvents || !event.contains("recurringEventId"))) continue;
    const auto start = instantOf(event.value("start", Json()), offset);
    const auto end = instantOf(event.value("end", Json()), offset);
    if (timeMax && start && *start >= *timeMax) continue;
    if (timeMin && end && !event.contains("recurrence") && *end <= *timeMin) continue;
    if (!text.empty()) {
      const std::string haystack = event.value("summary", "") + "\n" + event.value("description", "") +
                                   "\n" + event.value("location", "");
      if (haystack.find(text) == std::string::npos) continue;
    }
    items.push_back(&event);
  }
  Json page = pageOf(items, query, 250, kEventsCap);
  Json out = {{"kind", "calendar#events"}, {"etag", etagFor(nowMillis())},
              {"summary", data.entry.value("summary", "")}};
  if (data.entry.contains("description")) out["description"] = data.entry["description"];
  out["updated"] = rfc3339(nowMillis());
  out["timeZone"] = data.entry.value("timeZone", "UTC");
  out["accessRole"] = data.entry.value("accessRole", "owner");
  out["defaultReminders"] = data.entry.value("defaultReminders", Json::array());
  if (page.contains("nextPageToken")) out["nextPageToken"] = page["nextPageToken"];
  else out["nextSyncToken"] = "CKjQ5ZrYm_oCEKjQ5ZrYm_oCGAUgjN2ZqwI=";
  out["items"] = page["items"];
  return out;
}

Json Account::getEvent(const std::string& calendarId, const std::string& id) const {
  for (const Json& event : calendar(calendarId).events)
    if (event["id"] == id) return event;
  throw notFound();
}

Json Account::insertEvent(const std::string& calendarId, const Json& body) {
  requireObject(body);
  CalendarData& data = writableCalendar(calendarId);
  requireEventTypes(body);
  checkTimes(body, utcOffsetMinutes(data.entry.value("timeZone", "")));
  if (body.contains("id") && body["id"].is_string() && findEvent(data, body["id"]))
    throw ApiError(409, "duplicate", "The requested identifier already exists.");
  data.events.push_back(newEvent(data, body));
  return data.events.back();
}

Json Account::updateEvent(const std::string& calendarId, const std::string& id, const Json& body, bool patch) {
  requireObject(body);
  CalendarData& data = writableCalendar(calendarId);
  const size_t before = data.events.size();
  try {
    return updateEventIn(data, eventOrNewException(data, id), body, patch);
  } catch (...) {
    if (data.events.size() > before) data.events.pop_back();  // no exception left behind by a refused write
    throw;
  }
}


Json Account::updateEventIn(CalendarData& data, Json& event, const Json& body, bool patch) {
  Json updated = event;
  applyWritable(updated, body, patch,
                {"status", "summary", "description", "location", "colorId", "start", "end",
                 "endTimeUnspecified", "recurrence", "transparency", "visibility", "attendees",
                 "reminders", "extendedProperties", "source", "guestsCanModify"});
  requireEventTypes(updated);
  if (!patch && !updated.contains("status")) updated["status"] = "confirmed";
  if (updated.value("status", "") != "cancelled")
    checkTimes(updated, utcOffsetMinutes(data.entry.value("timeZone", "")));
  updated["sequence"] = event.value("sequence", 0) + 1;
  stamp(updated);
  event = orderedEvent(updated);
  return event;
}

void Account::deleteEvent(const std::string& calendarId, const std::string& id) {
  CalendarData& data = writableCalendar(calendarId);
  Json& event = eventOrNewException(data, id);
  if (event.value("status", "") == "cancelled") throw ApiError(410, "deleted", "Resource has been deleted");
  event["status"] = "cancelled";
  stamp(event);
}

bool Account::appendEvents(const std::string& calendarId, const std::vector<Json>& events) {
  CalendarData* data = nullptr;
  try {
    data = &calendar(calendarId);
  } catch (const ApiError&) {
    return false;
  }
  for (const Json& event : events) {
    requireObject(event);
    requireEventTypes(event);
  }
  for (const Json& event : events) data->events.push_back(newEvent(*data, event));
  return true;
}

Json Account::colors() {
  return {{"kind", "calendar#colors"}, {"updated", "2012-02-14T00:00:00.000Z"},
          {"calendar", calendarPalette()}, {"event", eventPalette()}};
}

// ---- task lists and tasks ----------------------------------------------

TaskListData& Account::taskList(const std::string& id) {
  return const_cast<TaskListData&>(std::as_const(*this).taskList(id));
}

const TaskListData& Account::taskList(const std::string& id) const {
  if (id == "@default" && !taskLists_.empty()) return taskLists_.front();
  for (const TaskListData& data : taskLists_)
    if (data.list["id"] == id) return data;
  throw notFound();
}

void Account::touchTaskList(TaskListData& list) {
  stamp(list.list);
  list.list = ordered(list.list, {"kind", "id", "etag", "title", "updated", "selfLink"});
  int position = 0;
  for (Json& task : list.tasks) {
    char text[24];
    std::snprintf(text, sizeof text, "%020d", position++);
    task["position"] = text;
  }
}

Json Account::listTaskLists(const Query& query) const {
  std::vector<const Json*> items;
  for (const TaskListData& data : taskLists_) items.push_back(&data.list);
  Json page = pageOf(items, query, 20, kTasksCap);
  Json out = {{"kind", "tasks#taskLists"}, {"etag", etagFor(nowMillis())}};
  if (page.contains("nextPageToken")) out["nextPageToken"] = page["nextPageToken"];
  out["items"] = page["items"];
  return out;
}

Json Account::getTaskList(const std::string& id) const { return taskList(id).list; }

Json Account::insertTaskList(const Json& body) {
  requireObject(body);
  TaskListData data;
  const std::string id = base64UrlId(22);
  data.list = {{"kind", "tasks#taskList"}, {"id", id},
               {"title", body.contains("title") && body["title"].is_string() ? body["title"] : Json("")},
               {"selfLink", baseUrl_ + "/tasks/v1/users/@me/lists/" + id}};
  touchTaskList(data);
  taskLists_.push_back(std::move(data));
  return taskLists_.back().list;
}

Json Account::updateTaskList(const std::string& id, const Json& body, bool patch) {
  requireObject(body);
  TaskListData& data = taskList(id);
  if (body.contains("title")) {
    if (!body["title"].is_string()) throw badRequest("invalid", "Invalid Value");
    data.list["title"] = body["title"];
  } else if (!patch) {
    data.list["title"] = "";
  }
  touchTaskList(data);
  return data.list;
}

void Account::deleteTaskList(const std::string& id) {
  const TaskListData& data = taskList(id);
  if (&data == &taskLists_.front()) throw badRequest("invalid", "Invalid Value");
  std::erase_if(taskLists_, [&](const TaskListData& list) { return &list == &data; });
}

Json Account::newTask(const std::string& listId, Json body) {
  const std::string id = body.contains("id") && body["id"].is_string() ? body["id"].get<std::string>() : base64UrlId(22);
  body["kind"] = "tasks#task";
  body["id"] = id;
  if (!body.contains("title")) body["title"] = "";
  body["selfLink"] = baseUrl_ + "/tasks/v1/lists/" + listId + "/tasks/" + id;
  if (!body.contains("status")) body["status"] = "needsAction";
  if (!body.contains("links")) body["links"] = Json::array();
  body["webViewLink"] = "https://tasks.google.com/task/" + id;
  stamp(body);
  return body;
}

// Google keeps only the date of `due`, and `completed` follows `status`.
void detail::normaliseTask(Json& task) {
  requireTaskTypes(task);
  if (task.contains("due") && task["due"].is_string()) {
    const std::string due = task["due"];
    if (!parseIsoDate(due)) throw badRequest("invalid", "Invalid value for: due");
    task["due"] = due.substr(0, 10) + "T00:00:00.000Z";
  }
  const std::string status = task.value("status", "needsAction");
  if (status != "needsAction" && status != "completed") throw badRequest("invalid", "Invalid value for: status");
  if (status == "completed" && !task.contains("completed")) task["completed"] = rfc3339(nowMillis());
  if (status == "needsAction") task.erase("completed");
}

Json Account::listTasks(const std::string& listId, const Query& query) const {
  const TaskListData& data = taskList(listId);
  const bool showCompleted = flag(query, "showCompleted", true);
  const bool showHidden = flag(query, "showHidden", false);
  const bool showDeleted = flag(query, "showDeleted", false);
  std::vector<const Json*> items;
  for (const Json& task : data.tasks) {
    if (task.value("deleted", false) && !showDeleted) continue;
    if (task.value("hidden", false) && !showHidden) continue;
    if (task.value("status", "") == "completed" && !showCompleted) continue;
    items.push_back(&task);
  }
  Json page = pageOf(items, query, 20, kTasksCap);
  Json out = {{"kind", "tasks#tasks"}, {"etag", etagFor(nowMillis())}};
  if (page.contains("nextPageToken")) out["nextPageToken"] = page["nextPageToken"];
  out["items"] = page["items"];
  return out;
}

Json Account::getTask(const std::string& listId, const std::string& id) const {
  for (const Json& task : taskList(listId).tasks)
    if (task["id"] == id && !task.value("deleted", false)) return task;
  throw notFound();
}

Json Account::insertTask(const std::string& listId, const Json& body, const Query& query) {
  requireObject(body);
  TaskListData& data = taskList(listId);
  Json task = newTask(data.list["id"], body);
  normaliseTask(task);
  const std::string parent = param(query, "parent"), previous = param(query, "previous");
  if (!parent.empty()) task["parent"] = parent;
  auto at = data.tasks.begin();
  if (!previous.empty()) {
    at = std::find_if(data.tasks.begin(), data.tasks.end(), [&](const Json& t) { return t["id"] == previous; });
    if (at == data.tasks.end()) throw badRequest("invalid", "Invalid Value");
    ++at;
  }
  const auto index = at - data.tasks.begin();
  data.tasks.insert(at, orderedTask(task));
  touchTaskList(data);
  return data.tasks[index];
}

Json Account::updateTask(const std::string& listId, const std::string& id, const Json& body, bool patch) {
  requireObject(body);
  TaskListData& data = taskList(listId);
  for (Json& task : data.tasks) {
    if (task["id"] != id || task.value("deleted", false)) continue;
    Json updated = task;
    applyWritable(updated, body, patch, {"title", "notes", "status", "due", "completed", "deleted", "hidden", "links"});
    if (!updated.contains("title")) updated["title"] = "";
    normaliseTask(updated);
    stamp(updated);
    task = orderedTask(updated);
    touchTaskList(data);
    return task;
  }
  throw notFound();
}

void Account::deleteTask(const std::string& listId, const std::string& id) {
  TaskListData& data = taskList(listId);
  for (Json& task : data.tasks) {
    if (task["id"] != id || task.value("deleted", false)) continue;
    task["deleted"] = true;
    stamp(task);
    return;
  }
  throw notFound();
}

void Account::clearCompletedTasks(const std::string& listId) {
  TaskListData& data = taskList(listId);
  for (Json& task : data.tasks)
    if (task.value("status", "") == "completed") task["hidden"] = true;
  touchTaskList(data);
}

}  // namespace standin
