#include "base/fields.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/text.h"

namespace base {

std::string takeField(std::string_view separators, std::string& rest) {
  std::size_t pos = std::string::npos;
  for (char sep : separators) {
    pos = rest.find(sep);
    if (pos != std::string::npos) break;
  }
  if (pos == std::string::npos) {
    std::string field = std::move(rest);
    rest.clear();
    return field;
  }
  std::string field = rest.substr(0, pos);
  const std::size_t after = std::min(rest.size(), pos + separators.size());
  rest = trim(std::string_view(rest).substr(after));
  return field;
}

namespace {

// Other double-byte characters (symbols, Hanja) are placed by comparing their
// CP949 bytes with the first syllable of each group, as the name index always has.
int byteOrderGroup(std::string_view utf8) {
  const std::string bytes = utf8ToCp949(characters(utf8).front());
  if (bytes.empty() || !isCp949LeadByte(static_cast<unsigned char>(bytes[0]))) return 15;
  static const char* const kBounds[] = {"나", "다", "라", "마", "바", "사", "아",
                                        "자", "차", "카", "타", "파", "하"};
  for (int i = 0; i < 13; ++i)
    if (bytes < utf8ToCp949(kBounds[i])) return i + 1;
  return 14;
}

}  // namespace

int initialGroup(std::string_view utf8) {
  const std::u32string cps = toCodePoints(utf8.substr(0, std::min<std::size_t>(utf8.size(), 4)));
  if (cps.empty()) return 15;
  const char32_t c = cps.front();
  int consonant = -1;  // index in ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ
  if (c >= 0xAC00 && c <= 0xD7A3) {
    consonant = static_cast<int>((c - 0xAC00) / (21 * 28));
  } else if (c >= 0x3131 && c <= 0x314E) {
    // Compatibility jamo consonants, with the final-only clusters skipped.
    static const int kJamo[] = {0, 1, -1, 2, -1, -1, 3, 4, 5, -1, -1, -1, -1, -1, -1, -1,
                                6, 7, 8, -1, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    consonant = kJamo[c - 0x3131];
  }
  if (consonant < 0) return byteOrderGroup(utf8);
  // Groups by consonant: doubled consonants sort with their plain ones.
  static const int kGroup[] = {1, 1, 2, 3, 3, 4, 5, 6, 6, 7, 7, 8, 9, 9, 10, 11, 12, 13, 14};
  return kGroup[consonant];
}

std::string shortenText(std::string_view utf8, int width,
                        const std::function<int(const std::string&)>& measure) {
  std::string text = trim(utf8);
  if (measure(text) <= width) return text;
  std::vector<std::string> chars = characters(text);
  while (!chars.empty()) {
    chars.pop_back();
    std::string candidate;
    for (const std::string& ch : chars) candidate += ch;
    candidate += "..";
    if (measure(candidate) <= width) return candidate;
  }
  return "..";
}

namespace {

std::string percentEncodeExcept(std::string_view text, std::string_view keep) {
  std::string out;
  for (unsigned char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       keep.find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}

}  // namespace

std::string urlEncode(std::string_view utf8) { return percentEncodeExcept(utf8, "-_.~*"); }

std::string percentEncode(std::string_view text) { return percentEncodeExcept(text, "-_.~"); }

}  // namespace base
