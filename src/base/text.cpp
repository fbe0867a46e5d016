#include "base/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

namespace base {
namespace {

// One conversion with iconv; an input sequence that cannot be converted is
// replaced by "?" and skipped (one byte for invalid input, one character for
// an unconvertible one).
std::string convert(const char* to, const char* from, std::string_view input, bool fromUtf8) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out;
  out.reserve(input.size() * 3 / 2 + 8);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one character of input and write "?".
    size_t skip = 1;
    if (fromUtf8) {
      const unsigned char c = static_cast<unsigned char>(*in);
      size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
      // Only skip a whole sequence when its continuation bytes are there.
      bool whole = len <= inLeft;
      for (size_t i = 1; whole && i < len; ++i)
        whole = (static_cast<unsigned char>(in[i]) & 0xC0) == 0x80;
      skip = whole ? len : 1;
    } else {
      const unsigned char c = static_cast<unsigned char>(*in);
      skip = (isCp949LeadByte(c) && inLeft >= 2) ? 2 : 1;
    }
    skip = std::min(skip, inLeft);
    in += skip;
    inLeft -= skip;
    out.push_back('?');
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string utf8ToCp949(std::string_view utf8) { return convert("CP949", "UTF-8", utf8, true); }
std::string cp949ToUtf8(std::string_view cp949) { return convert("UTF-8", "CP949", cp949, false); }
std::string cp949Lossy(std::string_view utf8) { return cp949ToUtf8(utf8ToCp949(utf8)); }

std::size_t cp949Width(std::string_view utf8) { return utf8ToCp949(utf8).size(); }

bool isCp949LeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::string cutCp949Bytes(std::string_view cp949, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < cp949.size()) {
    const std::size_t w =
        isCp949LeadByte(static_cast<unsigned char>(cp949[i])) && i + 1 < cp949.size() ? 2 : 1;
    if (i + w > maxBytes) break;
    i += w;
  }
  return std::string(cp949.substr(0, i));
}

std::string cutToCp949Width(std::string_view utf8, std::size_t maxBytes) {
  // ASCII that fits (ids, most keys) needs no conversion.
  if (utf8.size() <= maxBytes &&
      std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(utf8);
  std::string result;
  std::size_t width = 0;
  for (const std::string& ch : characters(utf8)) {
    const std::size_t w = utf8ToCp949(ch).size();
    if (width + w > maxBytes) break;
    width += w;
    result += ch;
  }
  return result;
}

std::string trimLeft(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && isBlank(text[b])) ++b;
  return std::string(text.substr(b));
}

std::string trimRight(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && isBlank(text[e - 1])) --e;
  return std::string(text.substr(0, e));
}

std::string trim(std::string_view text) { return trimLeft(trimRight(text)); }

std::string toUpperAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string toLowerAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && toUpperAscii(a) == toUpperAscii(b);
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

std::string replaceFirst(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  const std::size_t pos = text.find(from);
  if (pos != std::string::npos) text.replace(pos, from.size(), to);
  return text;
}

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t pos = text.find(separator, start);
    if (pos == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

bool isValidUtf8(std::string_view text) {
  iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  bool ok = true;
  char buffer[4096];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    if (iconv(cd, &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

std::u32string toCodePoints(std::string_view s) {
  std::u32string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<std::size_t>(len) > s.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(len);
  }
  return out;
}

std::string fromCodePoints(std::u32string_view cps) {
  std::string out;
  for (char32_t cp : cps) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::vector<std::string> characters(std::string_view utf8) {
  std::vector<std::string> out;
  for (char32_t cp : toCodePoints(utf8)) out.push_back(fromCodePoints(std::u32string(1, cp)));
  return out;
}

bool parseInt64(std::string_view text, long long& out) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  const char* b = t.data();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  long long v = 0;
  auto [p, ec] = std::from_chars(b, e, v, 10);
  if (ec != std::errc() || p != e) return false;
  out = v;
  return true;
}

bool parseInt(std::string_view text, int& out) {
  long long v;
  if (!parseInt64(text, v) || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int>(v);
  return true;
}

bool parseDouble(std::string_view text, double& out) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  const char* b = t.data();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  double v = 0;
  auto [p, ec] = std::from_chars(b, e, v);
  if (ec != std::errc() || p != e) return false;
  out = v;
  return true;
}

int toIntDef(std::string_view text, int fallback) {
  int v;
  return parseInt(text, v) ? v : fallback;
}

std::string formatShortest(double value) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc()) return "0";
  return std::string(buf, p);
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  va_end(args);
  return out;
}

}  // namespace base
