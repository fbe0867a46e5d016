// Korean descriptions of a recurrence rule.  Part names are matched exactly
// here (the rules are written in upper case); values are shown as written.
#include <string>

#include "base/text.h"
#include "calendar/recurrence.h"
#include "calendar/rule_text.h"

namespace calendar {
namespace {

struct FrequencyWords {
  std::string_view code, word, unit;
};

constexpr FrequencyWords kFrequencies[] = {
    {"DAILY", "매일", "일"},
    {"WEEKLY", "매주", "주"},
    {"MONTHLY", "매월", "개월"},
    {"YEARLY", "매년", "년"},
};

const FrequencyWords* frequencyWords(std::string_view code) {
  for (const FrequencyWords& f : kFrequencies) {
    if (f.code == code) return &f;
  }
  return nullptr;
}

std::string_view weekdayWord(int weekday) {
  static constexpr std::string_view kWords[] = {"월", "화", "수", "목", "금", "토", "일"};
  return weekday >= 1 && weekday <= 7 ? kWords[weekday - 1] : std::string_view();
}

std::string positiveOrdinalWord(unsigned long long n) {
  switch (n) {
    case 1: return "첫번째";
    case 2: return "두번째";
    case 3: return "세번째";
    case 4: return "네번째";
    default: return std::to_string(n) + "번째";
  }
}

// "2TU" -> "두번째화", "MO" -> "월"; empty for an entry without a weekday code.
std::string weekdayEntryWord(std::string_view item) {
  const WeekdayEntry entry = parseWeekdayEntry(item);
  if (entry.weekday == 0) return {};
  std::string word = entry.hasOrdinal() ? ordinalWord(entry.ordinalText) : std::string();
  return word.append(weekdayWord(entry.weekday));
}

// The value of the first part with this exact name.
const RulePart* findPart(const std::vector<RulePart>& parts, std::string_view name) {
  for (const RulePart& part : parts) {
    if (part.name == name) return &part;
  }
  return nullptr;
}

void appendJoined(std::string& out, const std::vector<std::string>& items, std::string_view separator) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.append(separator);
    out.append(items[i]);
  }
}

// "매주, 월요일, 수요일" or "매월, 월요일, ..., 금요일중에서 그달의 마지막날".
std::string frequencyPhrase(const FrequencyWords& frequency, const std::vector<RulePart>& parts) {
  std::string phrase(frequency.word);
  if (const RulePart* part = findPart(parts, "BYMONTH")) {
    for (std::string_view v : splitRuleList(part->value)) phrase.append(", ").append(v).append("월");
  }
  if (const RulePart* part = findPart(parts, "BYMONTHDAY")) {
    for (std::string_view v : splitRuleList(part->value)) {
      if (ruleNumber(v, 1) < 0) {
        phrase.append(", ").append(ordinalWord(v)).append("날");
      } else {
        phrase.append(", ").append(v).append("일");
      }
    }
  }
  if (const RulePart* part = findPart(parts, "BYDAY")) {
    for (std::string_view v : splitRuleList(part->value)) {
      const std::string word = weekdayEntryWord(v);
      if (!word.empty()) phrase.append(", ").append(word).append("요일");
    }
  }
  if (const RulePart* part = findPart(parts, "BYSETPOS")) {
    phrase.append("중에서 그달의 ");
    std::vector<std::string> positions;
    for (std::string_view v : splitRuleList(part->value)) positions.push_back(ordinalWord(v));
    appendJoined(phrase, positions, ",");
    phrase.append("날");
  }
  return phrase;
}

// "2014년 12월 31일까지"; empty when UNTIL does not start with a date.
std::string untilPhrase(std::string_view value) {
  if (value.size() < 8) return {};
  for (char c : value.substr(0, 8)) {
    if (c < '0' || c > '9') return {};
  }
  const int y = std::stoi(std::string(value.substr(0, 4)));
  const int m = std::stoi(std::string(value.substr(4, 2)));
  const int d = std::stoi(std::string(value.substr(6, 2)));
  if (!base::isValidDate(y, m, d)) return {};
  return base::format("%d년 %d월 %d일까지", y, m, d);
}

}  // namespace

std::string ordinalWord(std::string_view number) {
  const long long n = ruleNumber(number, 0);
  if (n == -1) return "마지막";
  if (n < 0) return "마지막에서 " + positiveOrdinalWord(0ULL - static_cast<unsigned long long>(n));
  if (n == 0) return "0번째";
  return positiveOrdinalWord(static_cast<unsigned long long>(n));
}

std::string describeRuleShort(std::string_view rule) {
  if (!base::contains(rule, "RRULE")) return {};
  std::string out;
  for (const RulePart& part : splitRuleParts(rule)) {
    std::vector<std::string> items;
    if (part.name == "FREQ") {
      if (const FrequencyWords* f = frequencyWords(part.value)) out.append(f->word);
    } else if (part.name == "BYMONTH") {
      for (std::string_view v : splitRuleList(part.value)) items.push_back(std::string(v) + "월");
    } else if (part.name == "BYMONTHDAY") {
      for (std::string_view v : splitRuleList(part.value)) items.push_back(std::string(v) + "일");
    } else if (part.name == "BYDAY") {
      for (std::string_view v : splitRuleList(part.value)) {
        std::string word = weekdayEntryWord(v);
        if (!word.empty()) items.push_back(std::move(word));
      }
    }
    appendJoined(out, items, ",");
  }
  return out;
}

std::string describeRuleLong(std::string_view rule) {
  if (!base::contains(rule, "RRULE")) return {};
  const std::vector<RulePart> parts = splitRuleParts(rule);
  std::vector<std::string> phrases;
  std::string_view unit;  // set by a FREQ part written before INTERVAL
  for (const RulePart& part : parts) {
    if (part.name == "FREQ") {
      if (const FrequencyWords* f = frequencyWords(part.value)) {
        unit = f->unit;
        phrases.push_back(frequencyPhrase(*f, parts));
      }
    } else if (part.name == "INTERVAL") {
      phrases.push_back(std::string(part.value).append(unit).append("마다"));
    } else if (part.name == "COUNT") {
      phrases.push_back(std::string(part.value) + "회만");
    } else if (part.name == "UNTIL") {
      if (std::string phrase = untilPhrase(part.value); !phrase.empty()) phrases.push_back(std::move(phrase));
    }
  }
  std::string out;
  appendJoined(out, phrases, ", ");
  return out;
}

}  // namespace calendar
