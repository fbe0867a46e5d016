#include "sync/cache_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

// CP949 to UTF-8 for whole cache files.  Cache files are mostly ASCII, so
// ASCII is copied as it is and only the runs of double-byte characters go
// through one iconv descriptor.  Bytes that are not CP949 become "?".
class Cp949Decoder {
 public:
  Cp949Decoder() : cd_(iconv_open("UTF-8", "CP949")) {}
  ~Cp949Decoder() {
    if (ok()) iconv_close(cd_);
  }
  Cp949Decoder(const Cp949Decoder&) = delete;
  Cp949Decoder& operator=(const Cp949Decoder&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  void append(std::string_view run, std::string& out) {
    char* in = const_cast<char*>(run.data());
    std::size_t inLeft = run.size();
    char buffer[512];
    while (inLeft > 0) {
      char* o = buffer;
      std::size_t oLeft = sizeof buffer;
      const std::size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
      out.append(buffer, static_cast<std::size_t>(o - buffer));
      if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // Not CP949: one character (or a lone byte) becomes "?".
      const std::size_t skip =
          base::isCp949LeadByte(static_cast<unsigned char>(*in)) && inLeft >= 2 ? 2 : 1;
      in += skip;
      inLeft -= skip;
      out += '?';
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
  }

 private:
  iconv_t cd_;
};

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// Copies ASCII text, leaving out a line break that follows a ">".
void appendAsciiRun(std::string_view run, std::string& out) {
  while (!run.empty()) {
    const std::size_t gt = run.find('>');
    if (gt == std::string_view::npos) {
      out.append(run);
      return;
    }
    out.append(run.substr(0, gt + 1));
    run.remove_prefix(gt + 1);
    if (run.starts_with("\r\n"))
      run.remove_prefix(2);
    else if (run.starts_with('\n'))
      run.remove_prefix(1);
  }
}

// Cache files run to megabytes: read them in one piece.
std::optional<std::string> readWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string data;
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return data;
}

}  // namespace

std::string cacheTextToUtf8(std::string_view bytes) {
  Cp949Decoder decoder;
  if (!decoder.ok()) return {};
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t j = i;
    if (isAscii(bytes[i])) {
      while (j < bytes.size() && isAscii(bytes[j])) ++j;
      appendAsciiRun(bytes.substr(i, j - i), out);
    } else {
      // Double-byte characters: a lead byte and its trail byte (which may
      // lie in the ASCII range) are taken together.
      while (j < bytes.size() && !isAscii(bytes[j])) j = std::min(j + 2, bytes.size());
      decoder.append(bytes.substr(i, j - i), out);
    }
    i = j;
  }
  return out;
}

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
  std::optional<std::string> bytes = readWholeFile(path);
  if (!bytes) return std::nullopt;
  return cacheTextToUtf8(*bytes);
}

namespace {

std::optional<Json> parseCacheFile(const std::string& path, std::string& error,
                                   const Json::parser_callback_t& filter) {
  const std::optional<std::string> text = readCacheText(path);
  const std::string name = path.substr(path.find_last_of('/') + 1);
  if (!text) {
    error = "캐시 파일을 읽을 수 없습니다: " + name;
    return std::nullopt;
  }
  Json json = Json::parse(*text, filter, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    error = "캐시 파일의 내용이 올바르지 않습니다: " + name;
    return std::nullopt;
  }
  return json;
}

}  // namespace

std::optional<Json> readCacheJson(const std::string& path, std::string& error) {
  return parseCacheFile(path, error, nullptr);
}

std::optional<Json> readCacheItems(const std::string& path, std::string& error,
                                   const std::vector<std::string_view>& itemMembers) {
  // Depth 1 holds the answer's own members, depth 3 the members of each item.
  auto keep = [&](int depth, Json::parse_event_t event, Json& parsed) {
    if (event != Json::parse_event_t::key) return true;
    const std::string& key = parsed.get_ref<const std::string&>();
    if (depth == 1) return key == "items";
    if (depth == 3)
      return std::find(itemMembers.begin(), itemMembers.end(), key) != itemMembers.end();
    return true;
  };
  return parseCacheFile(path, error, keep);
}

}  // namespace gsync
