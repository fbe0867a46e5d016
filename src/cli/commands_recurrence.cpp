#include <string_view>
#include <optional>
#include <ostream>

#include "base/datetime.h"
#include "base/text.h"
#include "calendar/recurrence.h"
#include "cli/command.h"

namespace cli {
namespace {

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM", digits exactly where the pattern has them.
std::optional<base::DateTime> parseStart(const std::string& text) {
  static constexpr std::string_view kPattern = "9999-99-99T99:99";
  if (text.size() != 10 && text.size() != 16) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kPattern[i] == '9' ? !digit : text[i] != kPattern[i]) return std::nullopt;
  }
  const auto number = [&](std::size_t pos, std::size_t len) { return std::stoi(text.substr(pos, len)); };
  if (text.size() == 10) return base::tryEncodeDate(number(0, 4), number(5, 2), number(8, 2));
  return base::tryEncodeDateTime(number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2));
}

int expandRuleCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 3) {
    io.err << "usage: daybook-cli expand-rule RULE YEAR START\n";
    return 2;
  }
  int year;
  if (!base::parseInt(args[1], year) || year < 1 || year > 9999) {
    io.err << "연도가 올바르지 않습니다: " << args[1] << "\n";
    return 2;
  }
  const std::optional<base::DateTime> start = parseStart(args[2]);
  if (!start) {
    io.err << "시작 일시가 올바르지 않습니다 (YYYY-MM-DD 또는 YYYY-MM-DDTHH:MM): " << args[2] << "\n";
    return 2;
  }
  for (base::DateTime occurrence : calendar::expandRule(args[0], year, *start))
    io.out << base::formatDateMinute(occurrence) << "\n";
  return 0;
}

int describeRuleCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: daybook-cli describe-rule RULE\n";
    return 2;
  }
  io.out << calendar::describeRuleShort(args[0]) << "\n" << calendar::describeRuleLong(args[0]) << "\n";
  return 0;
}

const Registration expand{{"expand-rule", "expand-rule RULE YEAR START", expandRuleCommand}};
const Registration describe{{"describe-rule", "describe-rule RULE", describeRuleCommand}};

}  // namespace
}  // namespace cli
