#include "sync/google_time.h"

#include <string>

#include "base/text.h"

namespace gsync {
namespace {

// The text before the first `separator` (all of it when there is none); the
// rest after it stays in `text`.
std::string_view takeUntil(std::string_view& text, char separator) {
  const std::size_t at = text.find(separator);
  const std::string_view field = text.substr(0, at);
  text = at == std::string_view::npos ? std::string_view{} : text.substr(at + 1);
  return field;
}

bool readNumber(std::string_view field, int& out) {
  return !field.empty() && base::parseInt(field, out);
}

}  // namespace

std::optional<base::DateTime> parseGoogleDateTime(std::string_view text) {
  int year = 0, month = 0, day = 0;
  if (!readNumber(takeUntil(text, '-'), year) || !readNumber(takeUntil(text, '-'), month) ||
      !readNumber(takeUntil(text, 'T'), day))
    return std::nullopt;
  int hour = 0, minute = 0, second = 0;
  if (!text.empty()) {
    if (!readNumber(takeUntil(text, ':'), hour) || !readNumber(takeUntil(text, ':'), minute) ||
        !readNumber(text.substr(0, 2), second))
      return std::nullopt;
  }
  return base::tryEncodeDateTime(year, month, day, hour, minute, second);
}

}  // namespace gsync
