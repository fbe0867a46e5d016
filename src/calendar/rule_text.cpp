#include "calendar/rule_text.h"

#include "base/text.h"

namespace calendar {

std::vector<RulePart> splitRuleParts(std::string_view rule) {
  const std::size_t colon = rule.find(':');
  if (colon != std::string_view::npos) rule.remove_prefix(colon + 1);
  std::vector<RulePart> parts;
  while (!rule.empty()) {
    const std::size_t semi = rule.find(';');
    const std::string_view part = rule.substr(0, semi);
    rule = semi == std::string_view::npos ? std::string_view() : rule.substr(semi + 1);
    if (part.empty()) continue;
    const std::size_t eq = part.find('=');
    if (eq == std::string_view::npos) {
      parts.push_back({part, {}});
    } else {
      parts.push_back({part.substr(0, eq), part.substr(eq + 1)});
    }
  }
  return parts;
}

std::vector<std::string_view> splitRuleList(std::string_view value) {
  std::vector<std::string_view> items;
  for (;;) {
    const std::size_t comma = value.find(',');
    items.push_back(value.substr(0, comma));
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return items;
}

int weekdayOfCode(std::string_view code) {
  static constexpr std::string_view kCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
  for (int i = 0; i < 7; ++i) {
    if (code == kCodes[i]) return i + 1;
  }
  return 0;
}

WeekdayEntry parseWeekdayEntry(std::string_view entry) {
  WeekdayEntry parsed;
  if (entry.size() < 2) return parsed;
  parsed.code = entry.substr(entry.size() - 2);
  parsed.weekday = weekdayOfCode(parsed.code);
  parsed.ordinalText = entry.substr(0, entry.size() - 2);
  parsed.ordinal = ruleNumber(parsed.ordinalText, 0);
  return parsed;
}

long long ruleNumber(std::string_view text, long long fallback) {
  long long value;
  return base::parseInt64(text, value) ? value : fallback;
}

}  // namespace calendar
