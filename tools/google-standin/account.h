// The Google account held in memory: profile, calendars with their events,
// task lists with their tasks.  Every operation answers Google's JSON or
// throws ApiError; callers hold the server's lock.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "google_json.h"

namespace standin {

using Query = std::map<std::string, std::string>;

struct CalendarData {
  Json entry;  // the calendar-list entry; the calendar resource is a subset
  std::vector<Json> events;
};

struct TaskListData {
  Json list;
  std::vector<Json> tasks;
};

class Account {
 public:
  // Replaces everything with the seed.  Relative dates ("+3d 14:00",
  // "Y+1/05-05") are resolved against `today`.  Throws std::runtime_error
  // for a seed that is not an account.
  void load(const Json& seed, std::chrono::sys_days today, const std::string& baseUrl);

  std::string email() const { return profile_.value("email", ""); }
  const Json& profile() const { return profile_; }
  const Json& seedOAuth() const { return oauth_; }
  int tokenLifetimeSeconds() const { return tokenLifetime_; }

  Json listCalendarList(const Query& query) const;
  Json getCalendarListEntry(const std::string& id) const;
  Json updateCalendarListEntry(const std::string& id, const Json& body, bool patch);
  void deleteCalendarListEntry(const std::string& id);

  Json insertCalendar(const Json& body);
  Json getCalendar(const std::string& id) const;
  Json updateCalendar(const std::string& id, const Json& body, bool patch);
  void deleteCalendar(const std::string& id);

  Json listEvents(const std::string& calendarId, const Query& query) const;
  Json getEvent(const std::string& calendarId, const std::string& id) const;
  Json insertEvent(const std::string& calendarId, const Json& body);
  Json updateEvent(const std::string& calendarId, const std::string& id, const Json& body, bool patch);
  void deleteEvent(const std::string& calendarId, const std::string& id);
  // Adds events without the access and time checks of insertEvent (bulk
  // loads in tests); false for an unknown calendar, ApiError for bad members.
  bool appendEvents(const std::string& calendarId, const std::vector<Json>& events);

  static Json colors();

  Json listTaskLists(const Query& query) const;
  Json getTaskList(const std::string& id) const;
  Json insertTaskList(const Json& body);
  Json updateTaskList(const std::string& id, const Json& body, bool patch);
  void deleteTaskList(const std::string& id);

  Json listTasks(const std::string& listId, const Query& query) const;
  Json getTask(const std::string& listId, const std::string& id) const;
  Json insertTask(const std::string& listId, const Json& body, const Query& query);
  Json updateTask(const std::string& listId, const std::string& id, const Json& body, bool patch);
  void deleteTask(const std::string& listId, const std::string& id);
  void clearCompletedTasks(const std::string& listId);

 private:
  CalendarData& calendar(const std::string& id);
  const CalendarData& calendar(const std::string& id) const;
  CalendarData& writableCalendar(const std::string& id);
  TaskListData& taskList(const std::string& id);
  const TaskListData& taskList(const std::string& id) const;
  Json* findEvent(CalendarData& calendar, const std::string& id);
  Json& eventOrNewException(CalendarData& calendar, const std::string& id);
  Json updateEventIn(CalendarData& calendar, Json& event, const Json& body, bool patch);
  Json newEvent(const CalendarData& calendar, Json body);
  Json newTask(const std::string& listId, Json body);
  void touchTaskList(TaskListData& list);

  void loadCalendar(const Json& seed, std::chrono::sys_days today);
  void loadTaskList(const Json& seed, std::chrono::sys_days today);

  Json profile_ = Json::object();
  Json oauth_ = Json::object();
  int tokenLifetime_ = 3599;
  std::string baseUrl_;
  std::vector<CalendarData> calendars_;
  std::vector<TaskListData> taskLists_;
};

// Resolves a relative seed date ("today", "+3d", "mon-2w 09:30", "Y/12-25",
// "Y+1/05-05", "M/25", "M+1/25 10:00"); absolute dates pass through.  Returns
// the date and, when given, minutes after midnight.
struct SeedDate {
  std::chrono::sys_days day;
  int minutes = -1;  // -1: no time of day
};
std::optional<SeedDate> resolveSeedDate(const std::string& text, std::chrono::sys_days today);

// Shared by the account's operations and its seed loading.
namespace detail {
int utcOffsetMinutes(const std::string& timeZone);
void applyCalendarColour(Json& entry);
Json orderedCalendarEntry(const Json& entry);
Json orderedTask(const Json& task);
void normaliseTask(Json& task);  // throws ApiError for a bad due date or status
void requireEventTypes(const Json& event);  // throws ApiError for a member of the wrong type
}  // namespace detail

}  // namespace standin
