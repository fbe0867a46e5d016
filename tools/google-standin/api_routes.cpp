// Calendar v3 and Tasks v1 over the account.
#include "impl.h"

namespace standin {
namespace {

// Answers `body` with the `fields` selector of the request applied.
void answer(const httplib::Request& request, httplib::Response& response, const Json& body) {
  sendJson(response, 200, selectFields(body, request.get_param_value("fields")));
}

void noContent(httplib::Response& response) { response.status = 204; }

std::string match(const httplib::Request& request, size_t index) { return request.matches[index].str(); }

}  // namespace

void addCalendarRoutes(Server::Impl& impl) {
  httplib::Server& http = *impl.http;
  using Request = httplib::Request;
  using Response = httplib::Response;
  const std::string list = "/calendar/v3/users/me/calendarList";
  const std::string calendars = "/calendar/v3/calendars";
  const std::string events = calendars + "/([^/]+)/events";

  http.Get(list, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.listCalendarList(queryOf(q))); }));
  http.Get(list + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.getCalendarListEntry(match(q, 1)));
  }));
  http.Put(list + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateCalendarListEntry(match(q, 1), parseBody(q), false));
  }));
  http.Patch(list + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateCalendarListEntry(match(q, 1), parseBody(q), true));
  }));
  http.Delete(list + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.deleteCalendarListEntry(match(q, 1));
    noContent(r);
  }));

  http.Post(calendars, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.insertCalendar(parseBody(q))); }));
  http.Get(calendars + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.getCalendar(match(q, 1))); }));
  http.Put(calendars + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateCalendar(match(q, 1), parseBody(q), false));
  }));
  http.Patch(calendars + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateCalendar(match(q, 1), parseBody(q), true));
  }));
  http.Delete(calendars + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.deleteCalendar(match(q, 1));
    noContent(r);
  }));

  http.Get(events, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.listEvents(match(q, 1), queryOf(q))); }));
  http.Post(events, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.insertEvent(match(q, 1), parseBody(q))); }));
  http.Get(events + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.getEvent(match(q, 1), match(q, 2)));
  }));
  http.Put(events + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateEvent(match(q, 1), match(q, 2), parseBody(q), false));
  }));
  http.Patch(events + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateEvent(match(q, 1), match(q, 2), parseBody(q), true));
  }));
  http.Delete(events + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.deleteEvent(match(q, 1), match(q, 2));
    noContent(r);
  }));

  http.Get("/calendar/v3/colors", guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, Account::colors()); }));
}

void addTasksRoutes(Server::Impl& impl) {
  httplib::Server& http = *impl.http;
  using Request = httplib::Request;
  using Response = httplib::Response;
  const std::string lists = "/tasks/v1/users/@me/lists";
  const std::string tasks = "/tasks/v1/lists/([^/]+)/tasks";

  http.Get(lists, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.listTaskLists(queryOf(q))); }));
  http.Post(lists, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.insertTaskList(parseBody(q))); }));
  http.Get(lists + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.getTaskList(match(q, 1))); }));
  http.Put(lists + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateTaskList(match(q, 1), parseBody(q), false));
  }));
  http.Patch(lists + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateTaskList(match(q, 1), parseBody(q), true));
  }));
  http.Delete(lists + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.deleteTaskList(match(q, 1));
    noContent(r);
  }));

  http.Get(tasks, guarded(impl, [&account = impl.account](const Request& q, Response& r) { answer(q, r, account.listTasks(match(q, 1), queryOf(q))); }));
  http.Post(tasks, guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.insertTask(match(q, 1), parseBody(q), queryOf(q)));
  }));
  http.Post("/tasks/v1/lists/([^/]+)/clear", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.clearCompletedTasks(match(q, 1));
    noContent(r);
  }));
  http.Get(tasks + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.getTask(match(q, 1), match(q, 2)));
  }));
  http.Put(tasks + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateTask(match(q, 1), match(q, 2), parseBody(q), false));
  }));
  http.Patch(tasks + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    answer(q, r, account.updateTask(match(q, 1), match(q, 2), parseBody(q), true));
  }));
  http.Delete(tasks + "/([^/]+)", guarded(impl, [&account = impl.account](const Request& q, Response& r) {
    account.deleteTask(match(q, 1), match(q, 2));
    noContent(r);
  }));
}

}  // namespace standin
