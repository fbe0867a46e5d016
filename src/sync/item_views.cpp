#include "sync/item_views.h"

#include <algorithm>
#include <map>
#include <regex>
#include <unordered_set>

#include "base/files.h"
#include "base/text.h"
#include "sync/cache_store.h"
#include "sync/google_time.h"

#if defined(DAYBOOK_HAVE_CALENDAR) && __has_include("calendar/recurrence.h")
#include "calendar/recurrence.h"
#define DAYBOOK_HAVE_RULE_TEXT 1
#endif

namespace gsync {
namespace {

std::string defaultDescribeLong([[maybe_unused]] const std::string& rule) {
#ifdef DAYBOOK_HAVE_RULE_TEXT
  return calendar::describeRuleLong(rule);
#else
  return {};
#endif
}

const Json* member(const Json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

// A text member; numbers are given as their text, anything else as absent.
std::optional<std::string> text(const Json& object, const char* key) {
  const Json* value = member(object, key);
  if (!value) return std::nullopt;
  if (value->is_string()) return value->get<std::string>();
  if (value->is_number()) return value->dump();
  return std::nullopt;
}

std::optional<base::DateTime> timeMember(const Json& object, const char* key) {
  const std::optional<std::string> value = text(object, key);
  return value ? parseGoogleDateTime(*value) : std::nullopt;
}

std::string dateText(base::DateTime value, char separator = '-') {
  const base::Date d = base::decodeDate(value);
  return base::format("%04d%c%02d%c%02d", d.year, separator, d.month, separator, d.day);
}

std::string dateMinuteText(base::DateTime value) {
  const base::Time t = base::decodeTime(value);
  return dateText(value) + base::format(" %02d:%02d", t.hour, t.minute);
}

// A JSON string with its quotes and escapes; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& value) {
  return Json(value).dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

std::vector<std::string> textLines(const std::string& value) {
  const std::string unified = base::replaceAll(base::replaceAll(value, "\r\n", "\n"), "\r", "\n");
  return base::split(unified, '\n');
}

// A block of text (notes, description): "내용: " before its first line, eight
// blanks before every further line.
void addBlock(std::vector<std::string>& lines, const std::string& block) {
  const std::string trimmed = base::trim(block);
  if (trimmed.empty()) return;
  bool first = true;
  for (const std::string& line : textLines(trimmed)) {
    lines.push_back((first ? "내용: " : "        ") + base::trimRight(line));
    first = false;
  }
}

void addLine(std::vector<std::string>& lines, const char* label, const std::optional<std::string>& value) {
  if (value && !value->empty()) lines.push_back(label + *value);
}

int categoryOf(const ItemRecord& item) { return item.extra ? item.extra->category : 0; }

int compareText(const std::string& a, const std::string& b) {
  const std::string la = base::toLowerAscii(a), lb = base::toLowerAscii(b);
  return la < lb ? -1 : (lb < la ? 1 : 0);
}

template <class T>
int compareValues(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

void taskDetail(const Json& cached, DetailText& out) {
  std::vector<std::string>& lines = out.lines;
  if (const auto updated = timeMember(cached, "updated")) lines.push_back("작성일: " + dateMinuteText(*updated));
  if (const auto notes = text(cached, "notes")) addBlock(lines, *notes);
  if (const auto due = timeMember(cached, "due")) lines.push_back("마감: " + dateText(*due));
  if (member(cached, "completed")) {
    if (const auto completed = timeMember(cached, "completed"))
      lines.push_back("완료: " + dateText(*completed));
    out.taskNote = kDoneNote;
  } else {
    out.taskNote = kOpenNote;
  }
}

// `start` or `end` of an event: its dateTime, else its date.
std::optional<base::DateTime> eventTime(const Json& event, const char* key) {
  const Json* when = member(event, key);
  if (!when) return std::nullopt;
  if (auto t = timeMember(*when, "dateTime")) return t;
  return timeMember(*when, "date");
}

void eventPeriod(const Json& cached, const ItemRecord& item, std::vector<std::string>& lines) {
  const base::DateTime start = eventTime(cached, "start").value_or(item.start);
  const base::DateTime end = eventTime(cached, "end").value_or(item.end);
  if (start <= 0) return;
  if (item.timed) {
    lines.push_back("시간: " + dateText(start) + " " + ampmTime(start) + " ~ " + dateText(end) + " " +
                    ampmTime(end));
    return;
  }
  // An all-day event's end date is the day after its last day.
  const int days = base::dayNumber(end) - base::dayNumber(start);
  if (days < 2)
    lines.push_back("날짜: " + dateText(start));
  else
    lines.push_back("기간: " + dateText(start) + " ~ " + dateText(end - 1));
}

void eventDetail(const Json& cached, const ItemRecord& item, const DescribeRule& describeLong,
                 std::vector<std::string>& lines) {
  if (const auto created = timeMember(cached, "created")) lines.push_back("작성일: " + dateMinuteText(*created));
  addLine(lines, "링크: ", text(cached, "htmlLink"));
  if (const auto description = text(cached, "description")) addBlock(lines, *description);
  addLine(lines, "장소: ", text(cached, "location"));
  eventPeriod(cached, item, lines);
  if (const Json* recurrence = member(cached, "recurrence"); recurrence && recurrence->is_array()) {
    for (const Json& rule : *recurrence) {
      if (!rule.is_string()) continue;
      const std::string description = describeLong(rule.get<std::string>());
      if (description.empty()) continue;
      lines.push_back("반복설정: " + description);
      break;
    }
  }
  if (const Json* attendees = member(cached, "attendees"); attendees && attendees->is_array()) {
    bool first = true;
    for (const Json& attendee : *attendees) {
      const std::optional<std::string> email = text(attendee, "email");
      if (!email || email->empty()) continue;
      lines.push_back((first ? "참석자: " : "          ") + *email);
      first = false;
    }
  }
}

// Trailing punctuation ends a sentence rather than an address.
std::string trimLinkEnd(std::string link) {
  while (!link.empty() && std::string_view(".,;:!?)]'").find(link.back()) != std::string_view::npos)
    link.pop_back();
  return link;
}

}  // namespace

bool isTask(const ItemRecord& item) { return item.kind == kTask; }
bool isDone(const ItemRecord& item) { return item.note == kDoneNote; }
bool inBirthdayList(const ItemRecord& item) { return item.list && item.list->name == kBirthdayListName; }

// ------------------------------------------------------------ year filter

bool inYearFilter(const ItemRecord& item, YearFilter filter, int currentYear) {
  if (filter == YearFilter::All) return true;
  const base::DateTime thisYear = base::encodeDate(currentYear, 1, 1);
  const base::DateTime nextYear = base::encodeDate(currentYear + 1, 1, 1);
  switch (filter) {
    case YearFilter::ThisYear: return item.start >= thisYear && item.start < nextYear;
    case YearFilter::UpToLastYear: return item.start < thisYear;
    case YearFilter::FromNextYear: return item.start >= nextYear;
    case YearFilter::All: break;
  }
  return true;
}

std::vector<ItemRecord*> applyYearFilter(const std::vector<std::unique_ptr<ItemRecord>>& items,
                                         YearFilter filter, int currentYear) {
  std::vector<ItemRecord*> rows;
  rows.reserve(items.size());
  for (const auto& item : items)
    if (inYearFilter(*item, filter, currentYear)) rows.push_back(item.get());
  return rows;
}

// ------------------------------------------------------------ row texts

base::DateTime rowDate(const ItemRecord& item) {
  if (isTask(item) && isDone(item)) return item.end;
  return item.start;
}

std::string rowDateText(const ItemRecord& item) {
  const base::DateTime date = rowDate(item);
  return date > 0 ? dateText(date) : std::string{};
}

std::string rowTimeText(const ItemRecord& item) {
  const base::DateTime date = rowDate(item);
  const base::Time t = base::decodeTime(date);
  return t.hour != 0 || t.minute != 0 ? ampmTime(date) : std::string{};
}

std::string ampmTime(base::DateTime value) {
  const base::Time t = base::decodeTime(value);
  const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
  return base::format("%s %02d:%02d", t.hour < 12 ? "오전" : "오후", hour, t.minute);
}

// ------------------------------------------------------------ sorting

int compareRows(const ItemRecord& a, const ItemRecord& b, SortColumn column) {
  switch (column) {
    case SortColumn::Title: return compareText(a.title, b.title);
    case SortColumn::Category: return compareValues(categoryOf(a), categoryOf(b));
    case SortColumn::Note: return compareText(a.note, b.note);
    case SortColumn::Start: return compareValues(a.start, b.start);
  }
  return 0;
}

void sortRows(std::vector<ItemRecord*>& rows, SortColumn column, int direction) {
  std::stable_sort(rows.begin(), rows.end(), [&](const ItemRecord* a, const ItemRecord* b) {
    return compareRows(*a, *b, column) * direction < 0;
  });
}

int SortDirections::take(SortColumn column) {
  int& direction = directions_[index(column)];
  const int now = direction;
  direction = -direction;
  return now;
}

// ------------------------------------------------------------ search

bool titleMatches(std::string_view title, std::string_view text) {
  return base::contains(base::toLowerAscii(title), base::toLowerAscii(text));
}

std::vector<std::size_t> matchingRows(const std::vector<ItemRecord*>& rows, std::string_view text) {
  std::vector<std::size_t> found;
  if (text.empty()) return found;
  const std::string lowered = base::toLowerAscii(text);
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (base::contains(base::toLowerAscii(rows[i]->title), lowered)) found.push_back(i);
  return found;
}

// ------------------------------------------------------------ loading done

std::vector<const ItemRecord*> repeatedTitleRemovals(
    const std::vector<std::unique_ptr<ItemRecord>>& items, int currentYear) {
  std::unordered_set<const ItemRecord*> remove;
  std::map<std::string, std::vector<const ItemRecord*>> birthdaysByTitle;
  for (const auto& item : items) {
    if (item->title.empty() && item->start == 0) remove.insert(item.get());
    else if (item->list && base::contains(item->list->id, kBirthdayCalendarIdPart))
      birthdaysByTitle[item->list->id + '\n' + item->title].push_back(item.get());
  }
  for (const auto& [title, entries] : birthdaysByTitle) {
    const bool repeated = std::any_of(entries.begin(), entries.end(),
                                      [&](const ItemRecord* e) { return e->start != entries[0]->start; });
    if (!repeated) continue;
    const bool anyThisYear = std::any_of(entries.begin(), entries.end(), [&](const ItemRecord* e) {
      return base::yearOf(e->start) == currentYear;
    });
    const ItemRecord* latest = *std::max_element(
        entries.begin(), entries.end(), [](const ItemRecord* a, const ItemRecord* b) { return a->start < b->start; });
    for (const ItemRecord* e : entries) {
      const bool keep = anyThisYear ? base::yearOf(e->start) == currentYear : e == latest;
      if (!keep) remove.insert(e);
    }
  }
  std::vector<const ItemRecord*> ordered;
  for (const auto& item : items)
    if (remove.count(item.get())) ordered.push_back(item.get());
  return ordered;
}

std::size_t removeRepeatedTitles(CacheStore& store, int currentYear) {
  const std::vector<const ItemRecord*> removals = repeatedTitleRemovals(store.items(), currentYear);
  for (const ItemRecord* item : removals) store.removeItem(item);
  return removals.size();
}

// ------------------------------------------------------------ detail pane

std::optional<Json> findCachedItem(const std::string& folder, const std::string& listId,
                                   const std::string& id) {
  const std::string path = base::joinPath(folder, itemFileName(listId));
  if (listId.empty() || !base::fileExists(path)) return std::nullopt;
  std::string error;
  const std::optional<Json> json = readCacheJson(path, error);
  if (!json) return std::nullopt;
  const Json* items = member(*json, "items");
  if (!items || !items->is_array()) return std::nullopt;
  for (const Json& item : *items)
    if (text(item, "id") == id) return item;
  return std::nullopt;
}

DetailText detailText(const Json& cached, const ItemRecord& item, const DescribeRule& describeLong) {
  DetailText out;
  out.lines.push_back("일정: " + item.title);
  if (isTask(item))
    taskDetail(cached, out);
  else
    eventDetail(cached, item, describeLong ? describeLong : DescribeRule(defaultDescribeLong), out.lines);
  return out;
}

std::vector<TextSpan> linkSpans(std::string_view line) {
  static const std::regex pattern(
      R"(((https?://|mailto:|www\.)[A-Za-z0-9\-._~:/?#\[\]@!$&()*+,;=%]+)|([A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)+))",
      std::regex::icase);
  std::vector<TextSpan> spans;
  const std::string subject(line);
  std::size_t done = 0;
  for (auto it = std::sregex_iterator(subject.begin(), subject.end(), pattern); it != std::sregex_iterator();
       ++it) {
    const std::size_t at = static_cast<std::size_t>(it->position());
    const std::string link = trimLinkEnd(it->str());
    if (link.empty() || at < done) continue;
    if (at > done) spans.push_back({subject.substr(done, at - done), {}});
    std::string url = link;
    const std::string lower = base::toLowerAscii(link);
    if (base::startsWith(lower, "www.")) url = "http://" + link;
    else if (!base::startsWith(lower, "http") && !base::startsWith(lower, "mailto:")) url = "mailto:" + link;
    spans.push_back({link, url});
    done = at + link.size();
  }
  if (done < subject.size()) spans.push_back({subject.substr(done), {}});
  return spans;
}

bool isOpenableUrl(std::string_view url) {
  const std::string lower = base::toLowerAscii(url);
  return base::startsWith(lower, "http://") || base::startsWith(lower, "https://") ||
         base::startsWith(lower, "mailto:");
}

// ------------------------------------------------------------ delete rules

int deleteTargetIndex(const std::vector<TreeNodeInfo>& nodes, int focused) {
  const auto isList = [&](int i) {
    return i >= 0 && static_cast<std::size_t>(i) < nodes.size() && !nodes[i].id.empty();
  };
  if (!nodes.empty() && !nodes[0].checked) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      const TreeNodeInfo& node = nodes[i];
      if (node.checked && !node.hasChildren && node.name != kDefaultTaskListName && !node.id.empty())
        return static_cast<int>(i);
    }
  }
  // The group nodes "전체" and "캘린더" are no lists: nothing to delete then.
  return isList(focused) ? focused : -1;
}

std::string listDeleteRefusal(const ListRecord& list) {
  return base::format("'%s' 목록은 삭제할 수 없습니다!", list.name.c_str());
}

std::string listDeleteQuestion(const ListRecord& list) {
  const std::string what = base::format(list.isTaskList ? "'%s' 할일 목록을 " : "'%s' 캘린더를 ", list.name.c_str());
  return what + "삭제하시겠습니까?";
}

namespace {

std::string deleteQuestion(const std::vector<const ItemRecord*>& items) {
  if (items.size() == 1)
    return base::format("'%s' %s 삭제하시겠습니까?", items[0]->title.c_str(),
                        isTask(*items[0]) ? "일정을" : "이벤트를");
  return base::format("'일정 %d개'를 삭제하시겠습니까?", static_cast<int>(items.size()));
}

DeletePlan planFor(const std::vector<const ItemRecord*>& chosen) {
  DeletePlan plan;
  for (const ItemRecord* item : chosen) {
    if (inBirthdayList(*item))
      plan.birthdayRefused = true;
    else
      plan.items.push_back(item);
  }
  if (!plan.items.empty()) plan.question = deleteQuestion(plan.items);
  return plan;
}

}  // namespace

DeletePlan planDeleteOne(const ItemRecord& item) { return planFor({&item}); }

DeletePlan planDeleteChecked(const std::vector<ItemRecord*>& rows, const std::vector<bool>& marks,
                             int currentRow) {
  std::vector<const ItemRecord*> chosen;
  for (std::size_t i = 0; i < rows.size() && i < marks.size(); ++i)
    if (marks[i]) chosen.push_back(rows[i]);
  if (chosen.empty() && currentRow >= 0 && static_cast<std::size_t>(currentRow) < rows.size())
    chosen.push_back(rows[currentRow]);
  return planFor(chosen);
}

// ------------------------------------------------------------ task completion

std::string completionToggleBody(const Json& cachedTask, const ItemRecord& task, base::DateTime today) {
  std::vector<std::string> lines = {"{"};
  lines.push_back(" \"id\": " + jsonString(text(cachedTask, "id").value_or(task.id)) + ",");
  lines.push_back(" \"title\": " + jsonString(task.title) + ",");
  if (const auto due = text(cachedTask, "due")) lines.push_back(" \"due\": " + jsonString(*due) + ",");
  if (const auto notes = text(cachedTask, "notes")) {
    std::string joined;
    for (const std::string& line : textLines(*notes)) joined += (joined.empty() ? "" : "\n") + line;
    lines.push_back(" \"notes\": " + jsonString(base::trim(joined)) + ",");
  }
  if (text(cachedTask, "status") != "completed") {
    lines.push_back(" \"status\": \"completed\",");
    lines.push_back(" \"completed\": \"" + dateText(today) + "T00:00:00.000Z\"");
  } else {
    lines.push_back(" \"status\": \"needsAction\"");
  }
  lines.push_back("}");
  std::string body;
  for (const std::string& line : lines) body += line + "\r\n";
  return body;
}

bool writeCompletionToggle(const std::string& folder, const ItemRecord& task, base::DateTime today) {
  if (!task.list) return false;
  const std::optional<Json> cached = findCachedItem(folder, task.list->id, task.id);
  if (!cached) return false;
  return base::writeTextFile(base::joinPath(folder, kActionFile), completionToggleBody(*cached, task, today));
}

// ------------------------------------------------------------ text message

SmsDraft smsDraft(const ItemRecord& item, const Json* cached) {
  SmsDraft draft;
  const base::DateTime date = rowDate(item);
  std::string when;
  if (date > 0) {
    when = dateText(date, '.');
    if (item.timed && !isTask(item)) {
      const base::Time t = base::decodeTime(date);
      when += base::format(" %02d:%02d", t.hour, t.minute);
    }
  }
  draft.text = when + "\r\n[" + item.title + "]";
  if (isTask(item)) {
    draft.toSelf = true;
    if (!cached) return draft;
    if (const auto notes = text(*cached, "notes"); notes && !base::trim(*notes).empty())
      draft.text += "\r\n" + base::trim(*notes);
    if (const auto due = timeMember(*cached, "due")) draft.text += "\r\n마감: " + dateText(*due);
    if (const auto completed = timeMember(*cached, "completed")) draft.text += "\r\n완료: " + dateText(*completed);
    return draft;
  }
  if (!cached) return draft;
  if (const auto location = text(*cached, "location"); location && !location->empty())
    draft.text += "\r\n장소: " + *location;
  if (const auto description = text(*cached, "description"); description && !base::trim(*description).empty())
    draft.text += "\r\n" + base::trim(*description);
  if (const Json* attendees = member(*cached, "attendees"); attendees && attendees->is_array())
    for (const Json& attendee : *attendees)
      if (const auto email = text(attendee, "email"); email && !email->empty())
        draft.attendeeEmails.push_back(*email);
  return draft;
}

}  // namespace gsync
