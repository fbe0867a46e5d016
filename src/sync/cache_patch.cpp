#include "sync/cache_patch.h"

#include <algorithm>
#include <optional>

#include "base/files.h"
#include "base/text.h"
#include "sync/cache_store.h"
#include "sync/cache_text.h"

namespace gsync {
namespace {

std::string listFilePath(const std::string& folder, const std::string& listName) {
  return base::joinPath(folder, listName + ".txt");
}

void setError(std::string* error, const std::string& message) {
  if (error) *error = message;
}

std::optional<Json> readJsonObject(const std::string& path, std::string* error) {
  std::string message;
  std::optional<Json> json = readCacheJson(path, message);
  if (json && !json->is_object()) {
    json.reset();
    message = "캐시 파일의 내용이 올바르지 않습니다: " + path.substr(path.find_last_of('/') + 1);
  }
  if (!json) setError(error, message);
  return json;
}

bool writeJson(const std::string& path, const Json& json, std::string* error) {
  if (writeCacheFile(path, json.dump(1, ' ', false, Json::error_handler_t::replace))) return true;
  setError(error, "캐시 파일을 저장할 수 없습니다: " + path.substr(path.find_last_of('/') + 1));
  return false;
}

// The item array of a list file, or nothing when it has none.
Json* itemsOf(Json& list) {
  const auto it = list.find("items");
  return it != list.end() && it->is_array() ? &*it : nullptr;
}

Json::iterator findById(Json& items, const std::string& id) {
  return std::find_if(items.begin(), items.end(), [&](const Json& item) {
    const auto it = item.is_object() ? item.find("id") : item.end();
    return item.is_object() && it != item.end() && it->is_string() && it->get<std::string>() == id;
  });
}

// The "kind" of a list answer that holds items of the answer's kind, for a
// list file made from scratch.
std::string listKindFor(const Json& item) {
  const auto it = item.find("kind");
  const std::string kind = it != item.end() && it->is_string() ? it->get<std::string>() : "";
  if (kind == "calendar#event") return "calendar#events";
  if (kind == "tasks#task") return "tasks#tasks";
  if (kind == "calendar#calendarListEntry") return "calendar#calendarList";
  if (kind == "tasks#taskList") return "tasks#taskLists";
  return {};
}

// An id that is safe to use as a file name in the cache folder.
bool isPlainFileName(const std::string& id) {
  return !id.empty() && id != "." && id != ".." && id.find('/') == std::string::npos &&
         id.find('\0') == std::string::npos;
}

}  // namespace

bool insertCachedItem(const std::string& folder, const std::string& listName,
                      std::string* error) {
  std::optional<Json> answer = readJsonObject(base::joinPath(folder, kActionFile), error);
  bool written = false;
  if (answer) {
    const std::string path = listFilePath(folder, listName);
    std::optional<Json> list;
    if (base::fileExists(path)) {
      list = readJsonObject(path, error);
    } else {
      list = Json::object();
      if (const std::string kind = listKindFor(*answer); !kind.empty()) (*list)["kind"] = kind;
    }
    if (list) {
      if (Json* items = itemsOf(*list))
        items->push_back(std::move(*answer));
      else
        (*list)["items"] = Json::array({std::move(*answer)});
      written = writeJson(path, *list, error);
    }
  }
  dropYearIndex(folder);
  return written;
}

bool replaceCachedItem(const std::string& folder, const std::string& listName,
                       const std::string& id, std::string* error) {
  bool written = false;
  const std::string path = listFilePath(folder, listName);
  std::optional<Json> answer = readJsonObject(base::joinPath(folder, kActionFile), error);
  std::optional<Json> list = answer ? readJsonObject(path, error) : std::nullopt;
  if (list) {
    if (Json* items = itemsOf(*list)) {
      if (const auto it = findById(*items, id); it != items->end()) {
        *it = std::move(*answer);
        written = writeJson(path, *list, error);
      }
    }
  }
  dropYearIndex(folder);
  return written;
}

bool removeCachedItem(const std::string& folder, const std::string& listName,
                      const std::string& id, std::string* error) {
  // A calendar or task list leaves with its item file.
  if ((listName == kCalendarListName || listName == kTaskListName) && isPlainFileName(id))
    base::removeFile(base::joinPath(folder, itemFileName(id)));

  bool written = false;
  const std::string path = listFilePath(folder, listName);
  if (base::fileExists(path)) {
    if (std::optional<Json> list = readJsonObject(path, error)) {
      if (Json* items = itemsOf(*list)) {
        if (const auto it = findById(*items, id); it != items->end()) {
          items->erase(it);
          if (items->empty()) list->erase("items");
          written = writeJson(path, *list, error);
        }
      }
    }
  }
  dropYearIndex(folder);
  return written;
}

void dropYearIndex(const std::string& folder) {
  for (const std::string& name : base::listFiles(folder, ".tmp"))
    base::removeFile(base::joinPath(folder, name));
}

bool queueEventDeletion(const std::string& folder, const std::string& calendarId,
                        const std::string& eventId) {
  if (calendarId.empty() || eventId.empty()) return false;
  const std::string path = base::joinPath(folder, kDeletionQueueFile);
  std::vector<std::string> lines = base::readLines(path).value_or(std::vector<std::string>{});
  const std::string line = calendarId + "|" + eventId;
  if (std::find(lines.begin(), lines.end(), line) != lines.end()) return true;
  lines.push_back(line);
  return base::writeLines(path, lines);
}

}  // namespace gsync
