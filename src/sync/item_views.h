// What the main window's tree, schedule list and detail pane show, without the
// drawing: the year filter, row dates and times, sorting, search matching, the
// clean-up of repeated birthday entries, the detail lines with their links,
// the targets and questions of the delete commands, the body of the task
// completion toggle and the text of an item sent as a text message.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sync/cache_text.h"
#include "sync/records.h"

namespace gsync {

class CacheStore;

inline constexpr const char* kDoneNote = "완료";
inline constexpr const char* kOpenNote = "진행중";
// Shown name of the contacts' birthdays calendar: its entries are changed in
// the address book only.
inline constexpr const char* kBirthdayListName = "주소록 친구들";
// Id part of the contacts' birthdays calendar.
inline constexpr const char* kBirthdayCalendarIdPart = "contacts@group";
// The default task list's shown name; it is never a delete target by check mark.
inline constexpr const char* kDefaultTaskListName = "할일";

bool isTask(const ItemRecord& item);
bool isDone(const ItemRecord& item);  // a completed task
bool inBirthdayList(const ItemRecord& item);

// ------------------------------------------------------------ year filter

enum class YearFilter { All = 0, ThisYear = 1, UpToLastYear = 2, FromNextYear = 3 };

bool inYearFilter(const ItemRecord& item, YearFilter filter, int currentYear);
std::vector<ItemRecord*> applyYearFilter(const std::vector<std::unique_ptr<ItemRecord>>& items,
                                         YearFilter filter, int currentYear);

// ------------------------------------------------------------ row texts

// The date a row shows: an event's start; a completed task's completion
// time, an open task's due date.
base::DateTime rowDate(const ItemRecord& item);
// "yyyy-mm-dd", empty when the date is not above 0.
std::string rowDateText(const ItemRecord& item);
// "오후 02:30", empty when the time is midnight.
std::string rowTimeText(const ItemRecord& item);
// "오전 09:05" / "오후 12:30": the hour on the 12-hour clock.
std::string ampmTime(base::DateTime value);

// ------------------------------------------------------------ sorting

enum class SortColumn { Title = 2, Category = 3, Note = 4, Start = 5 };

// Negative, zero or positive: titles and notes without regard to ASCII case,
// categories as numbers (an item without local attributes counts as 0), starts.
int compareRows(const ItemRecord& a, const ItemRecord& b, SortColumn column);
void sortRows(std::vector<ItemRecord*>& rows, SortColumn column, int direction);

// One direction per sortable column, ascending at first; each sort flips it.
class SortDirections {
 public:
  int of(SortColumn column) const { return directions_[index(column)]; }
  // The direction to sort with now; the next sort of the column goes the other way.
  int take(SortColumn column);
  void reset() { directions_ = {1, 1, 1, 1}; }

 private:
  static std::size_t index(SortColumn column) { return static_cast<std::size_t>(column) - 2; }
  std::array<int, 4> directions_{1, 1, 1, 1};
};

// ------------------------------------------------------------ search

// The title contains the text, ASCII letters compared without case; other
// characters (Korean) only exactly.
bool titleMatches(std::string_view title, std::string_view text);
// Indices of the rows whose titles match, in row order.
std::vector<std::size_t> matchingRows(const std::vector<ItemRecord*>& rows, std::string_view text);

// ------------------------------------------------------------ loading done

// Items to drop after loading: entries of the contacts' birthdays calendar
// that repeat a title of other years (only this year's entry of each title
// stays; when no entry lies in this year the latest stays), and items without
// a title or a start.  Each item appears once.
std::vector<const ItemRecord*> repeatedTitleRemovals(
    const std::vector<std::unique_ptr<ItemRecord>>& items, int currentYear);
// Removes them from the store; returns how many went.
std::size_t removeRepeatedTitles(CacheStore& store, int currentYear);

// ------------------------------------------------------------ detail pane

// The first item of the list's item file whose id is `id`; nothing when the
// file is missing or unreadable or holds no such item.
std::optional<Json> findCachedItem(const std::string& folder, const std::string& listId,
                                   const std::string& id);

struct DetailText {
  std::vector<std::string> lines;
  // For a task: the note its cached state gives ("완료" or "진행중").
  std::optional<std::string> taskNote;
};

using DescribeRule = std::function<std::string(const std::string& rule)>;

// The detail pane's lines for an item and its cached JSON.  `describeLong`
// gives the long Korean description of a recurrence text (the calendar
// library's when empty).
DetailText detailText(const Json& cached, const ItemRecord& item, const DescribeRule& describeLong = {});

// A piece of a line: plain text, or a link with its address.
struct TextSpan {
  std::string text;
  std::string url;  // empty for plain text
};
// Splits a line at the web and mail addresses it holds (http://, https://,
// www., mailto: and plain mail addresses).
std::vector<TextSpan> linkSpans(std::string_view line);
// Only web pages and mail are opened from the detail pane.
bool isOpenableUrl(std::string_view url);

// ------------------------------------------------------------ delete rules

// One tree node as the delete command sees it, in tree order; index 0 is the
// top node "전체".
struct TreeNodeInfo {
  std::string name;
  bool checked = false;
  bool hasChildren = false;
  std::string id;  // empty for the group nodes
};
// The list to delete: unless the top node is checked, the first checked leaf
// not named "할일"; else (or when there is none) the focused node.  -1: none.
int deleteTargetIndex(const std::vector<TreeNodeInfo>& nodes, int focused);

std::string listDeleteRefusal(const ListRecord& list);  // the primary calendar
std::string listDeleteQuestion(const ListRecord& list);

inline constexpr const char* kBirthdayDeleteRefusal = "'주소록 일정 삭제'는 구글주소록에서 하세요.";
inline constexpr const char* kBirthdayEditRefusal = "'주소록 일정 수정'은 구글주소록에서 하세요.";

struct DeletePlan {
  std::vector<const ItemRecord*> items;  // to delete, in row order
  bool birthdayRefused = false;          // some were taken out (show the refusal once)
  std::string question;                  // empty when nothing is left to ask about
};
// One item (the current item of a menu).
DeletePlan planDeleteOne(const ItemRecord& item);
// The checked rows in row order, or the current row when none is checked.
DeletePlan planDeleteChecked(const std::vector<ItemRecord*>& rows, const std::vector<bool>& marks,
                             int currentRow);

// ------------------------------------------------------------ task completion

// The update that switches a task between completed and open, one member per
// line (CR LF), built from its cached JSON; `today` dates the completion.
std::string completionToggleBody(const Json& cachedTask, const ItemRecord& task, base::DateTime today);
// Builds the body from the task's list file and writes it to action.txt;
// false (nothing written) when the file or the task in it is missing.
bool writeCompletionToggle(const std::string& folder, const ItemRecord& task, base::DateTime today);

// ------------------------------------------------------------ text message

struct SmsDraft {
  std::string text;
  // Attendees' mail addresses (an event); the SMS window looks their mobile
  // numbers up in the address book.
  std::vector<std::string> attendeeEmails;
  bool toSelf = false;  // a task: the user's own number is the recipient
};
// The message for an item; `cached` is its item in the list file, when found.
SmsDraft smsDraft(const ItemRecord& item, const Json* cached);

}  // namespace gsync
