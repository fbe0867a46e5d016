// Patching the cached lists after the server accepted a change, and the
// small files beside them.  `listName` is a list id (its item file
// "<id>.txt"), or "calendar" / "tasklist" for the two list files.  The new or
// changed item is the server's answer in action.txt.
//
// The files are edited as JSON: the other items and the members of every item
// stay as the server sent them, in their order; the result is written in the
// cache text form.  Every patch ends by dropping the year index.
#pragma once

#include <string>

namespace gsync {

inline constexpr const char* kCalendarListName = "calendar";
inline constexpr const char* kTaskListName = "tasklist";

// Each returns whether the list file was written; `error` (when given)
// receives a Korean message when a file could not be used.  A file that is
// not valid JSON is never overwritten.

// Appends the answer to the list's items (creating the file, or its "items",
// when missing).
bool insertCachedItem(const std::string& folder, const std::string& listName,
                      std::string* error = nullptr);
// Puts the answer in place of the item with this id; nothing when none has it.
bool replaceCachedItem(const std::string& folder, const std::string& listName,
                       const std::string& id, std::string* error = nullptr);
// Removes the item with this id ("items" goes when it empties).  Removing a
// calendar or task list from its list file also deletes that list's item file.
bool removeCachedItem(const std::string& folder, const std::string& listName,
                      const std::string& id, std::string* error = nullptr);

// Deletes the year index files ("*.tmp"); it is rebuilt on demand.
void dropYearIndex(const std::string& folder);

// Adds "calendar id|event id" to delevents.txt unless that line is there.
bool queueEventDeletion(const std::string& folder, const std::string& calendarId,
                        const std::string& eventId);

}  // namespace gsync
