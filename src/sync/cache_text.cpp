#include "sync/cache_text.h"

#include "base/files.h"
#include "base/text.h"

namespace gsync {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One piece of an answer as its line (or lines) of the cache file.
void appendPiece(std::string_view piece, std::string& out) {
  std::string text = base::trim(piece);
  // A byte-order mark left at the start of a piece would become "?" in CP949.
  if (base::startsWith(text, kByteOrderMark)) text.erase(0, kByteOrderMark.size());
  std::string cp949 = base::utf8ToCp949(text);
  if (!cp949.empty() && cp949.back() == '|') cp949.pop_back();
  // Inner line breaks (blanks between JSON tokens or XML elements) become CR LF.
  for (std::size_t i = 0; i < cp949.size(); ++i) {
    const char c = cp949[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < cp949.size() && cp949[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += c;
    }
  }
  out += "\r\n";
}

}  // namespace

std::string toCacheText(std::string_view answer) {
  std::string out;
  out.reserve(answer.size() + answer.size() / 8 + 16);
  std::size_t begin = 0;
  while (begin < answer.size()) {
    const std::size_t gt = answer.find('>', begin);
    const std::size_t end = gt == std::string_view::npos ? answer.size() : gt + 1;
    appendPiece(answer.substr(begin, end - begin), out);
    begin = end;
  }
  return out;
}

bool writeCacheFile(const std::string& path, std::string_view answer) {
  return base::writeBytesAtomic(path, toCacheText(answer));
}

std::optional<std::string> readCacheText(const std::string& path) {
  std::optional<std::string> bytes = base::readBytes(path);
  if (!bytes) return std::nullopt;
  const std::string utf8 = base::cp949ToUtf8(*bytes);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    out += utf8[i];
    if (utf8[i] != '>') continue;
    if (utf8.compare(i + 1, 2, "\r\n") == 0)
      i += 2;
    else if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
      i += 1;
  }
  return out;
}

std::optional<Json> readCacheJson(const std::string& path, std::string& error) {
  const std::optional<std::string> text = readCacheText(path);
  const std::string name = path.substr(path.find_last_of('/') + 1);
  if (!text) {
    error = "캐시 파일을 읽을 수 없습니다: " + name;
    return std::nullopt;
  }
  Json json = Json::parse(*text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    error = "캐시 파일의 내용이 올바르지 않습니다: " + name;
    return std::nullopt;
  }
  return json;
}

}  // namespace gsync
