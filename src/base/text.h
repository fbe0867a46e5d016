// Text helpers.  Text in memory is UTF-8; files and byte widths are CP949.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace base {

// UTF-8 -> CP949.  Characters CP949 lacks (and invalid UTF-8) become "?".
std::string utf8ToCp949(std::string_view utf8);
// CP949 -> UTF-8.  Bytes that are not valid CP949 become "?".
std::string cp949ToUtf8(std::string_view cp949);
// UTF-8 text as it comes back after a trip through CP949 ("?" for what CP949 lacks).
std::string cp949Lossy(std::string_view utf8);

// Number of bytes the text takes in CP949.
std::size_t cp949Width(std::string_view utf8);
// The longest prefix whose CP949 form has at most maxBytes bytes; never splits a
// character (a double-byte character that does not fit is dropped whole).
std::string cutToCp949Width(std::string_view utf8, std::size_t maxBytes);
// The same on CP949 bytes: a double-byte character is never split.
std::string cutCp949Bytes(std::string_view cp949, std::size_t maxBytes);
bool isCp949LeadByte(unsigned char c);

// Removes leading and trailing blanks and control characters (bytes <= ' ').
std::string trim(std::string_view text);
std::string trimLeft(std::string_view text);
std::string trimRight(std::string_view text);

std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);
bool contains(std::string_view text, std::string_view part);
bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);
std::string replaceAll(std::string text, std::string_view from, std::string_view to);
std::string replaceFirst(std::string text, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view text, char separator);

bool isValidUtf8(std::string_view text);

// UTF-8 code points of a text (invalid bytes come out as U+FFFD).
std::u32string toCodePoints(std::string_view utf8);
std::string fromCodePoints(std::u32string_view codePoints);
// Splits UTF-8 text into its characters (one string per code point).
std::vector<std::string> characters(std::string_view utf8);

// Numbers as the files hold them.  Parsing accepts surrounding blanks only.
bool parseInt(std::string_view text, int& out);
bool parseInt64(std::string_view text, long long& out);
bool parseDouble(std::string_view text, double& out);
int toIntDef(std::string_view text, int fallback);
// Shortest decimal text that reads back to the same double.
std::string formatShortest(double value);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace base
