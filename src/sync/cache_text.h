// The cache text form: how every server answer is stored in the cache folder,
// and how such a file is read back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace gsync {

using Json = nlohmann::ordered_json;

// Turns an answer (UTF-8 bytes as received) into the bytes of its cache file:
// cut after every ">", each piece trimmed and converted to CP949 ("?" for
// what CP949 lacks), a byte-order mark at the start of a piece dropped, a "|"
// at the end of a piece removed, pieces written as CR LF lines.  Line breaks
// the server put inside a piece are written as CR LF as well.
std::string toCacheText(std::string_view answer);

// Writes an answer in the cache text form (atomically).
bool writeCacheFile(const std::string& path, std::string_view answer);

// The bytes of a cache file as UTF-8 text, without the line breaks that the
// cache text form put after a ">".
std::string cacheTextToUtf8(std::string_view bytes);

// Reads a cache file back as UTF-8 text, taking out the line breaks that the
// cache text form put after a ">" (they may sit inside a JSON string).
// Nothing when the file cannot be read.
std::optional<std::string> readCacheText(const std::string& path);

// Reads and parses a cache file holding a JSON answer.  On failure returns
// nothing and sets `error` to a Korean message naming the file.
std::optional<Json> readCacheJson(const std::string& path, std::string& error);

// The same for a list answer (an object whose "items" array holds objects),
// keeping only "items" and, of each item, the named members: a large list
// then takes far less memory and time.
std::optional<Json> readCacheItems(const std::string& path, std::string& error,
                                   const std::vector<std::string_view>& itemMembers);

}  // namespace gsync
