// Record fields and the small text helpers every window uses.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace base {

// Takes the first field off `rest`.  The separator characters are tried in
// their order; the first one that occurs anywhere in `rest` splits it.  The
// field is the text before it (not trimmed); `rest` becomes the text after it,
// skipping as many characters as `separators` is long, trimmed of blanks and
// control characters.  With no separator the field is all of `rest`.
std::string takeField(std::string_view separators, std::string& rest);

// Korean initial-consonant group of the text's first character: 1 (ㄱ) ... 14
// (ㅎ), 15 when the first character is not a Hangul syllable or jamo.
int initialGroup(std::string_view utf8);

// Trims the text; if it is wider than `width`, removes whole characters from
// the end until text + ".." fits, and appends "..".
std::string shortenText(std::string_view utf8, int width,
                        const std::function<int(const std::string&)>& measure);

// UTF-8 percent-encoding for a URL query ("+" never appears: blanks are %20).
std::string urlEncode(std::string_view utf8);
// Percent-encoding of everything but the unreserved characters of RFC 3986
// (letters, digits, "-", ".", "_", "~"), for OAuth parameters.
std::string percentEncode(std::string_view text);

}  // namespace base
