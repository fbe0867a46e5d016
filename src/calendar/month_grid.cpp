#include "calendar/month_grid.h"

#include <algorithm>
#include <optional>

#include "base/text.h"

namespace calendar {

using base::DateTime;

MonthLayout monthLayout(int year, int month, DateTime today) {
  MonthLayout layout;
  layout.year = year;
  layout.month = month;
  const DateTime first = base::encodeDate(year, month, 1);
  layout.leading = base::isoDayOfWeek(first);
  layout.end = layout.leading + base::daysInMonth(year, month);
  layout.firstCell = first - layout.leading;
  if (base::yearOf(today) == year && base::monthOf(today) == month)
    layout.todayCell = cellOfDay(layout, base::dayOf(today));
  return layout;
}

DateTime cellDate(const MonthLayout& layout, int cell) { return layout.firstCell + cell; }

int cellOfDay(const MonthLayout& layout, int day) { return day + layout.leading - 1; }

CellEntries cellEntries(const MonthLayout& layout, const std::function<YearIndex(int)>& indexOf,
                        const std::vector<Holiday>& holidays) {
  CellEntries entries;
  std::optional<YearIndex> index;
  for (int cell = 0; cell < kGridCells; ++cell) {
    const DateTime date = cellDate(layout, cell);
    if (!index || index->year != base::yearOf(date)) index = indexOf(base::yearOf(date));
    const std::vector<std::string>& tokens = index->tokensOn(date);
    entries.tokens[cell] = tokens;
    for (const std::string& token : tokens)
      if (!isHolidayToken(token, holidays))
        entries.cellItems.push_back(std::to_string(cell) + "=" + token);
  }
  return entries;
}

bool cellItemListed(const std::vector<std::string>& cellItems, int cell, std::string_view itemId) {
  const std::string line = std::to_string(cell) + "=" + std::string(itemId);
  return std::find(cellItems.begin(), cellItems.end(), line) != cellItems.end();
}

std::vector<std::string> itemsOfCell(const CellEntries& entries, int cell) {
  std::vector<std::string> ids;
  if (cell < 0 || cell >= kGridCells) return ids;
  for (const std::string& token : entries.tokens[cell])
    if (cellItemListed(entries.cellItems, cell, token)) ids.push_back(token);
  return ids;
}

// ------------------------------------------------------------ colours

Rgb singleTokenBackground(const TokenInfo& token) {
  if (token.type != TokenInfo::Type::Item) return kHolidayCell;
  switch (token.kind) {
    case 0: return rgb(255, 227, 227);
    case 1: return rgb(255, 255, 193);
    case 2: return rgb(163, 240, 121);
    case 3: return rgb(249, 217, 255);
    default: return rgb(254, 249, 157);
  }
}

Rgb cellBackground(const std::vector<std::string>& tokens, const TokenLookup& lookup) {
  if (tokens.empty()) return kEmptyCell;
  if (tokens.size() > 1) return kSeveralTokens;
  return singleTokenBackground(lookup(tokens.front()));
}

std::string markPictureName(const TokenInfo& token) {
  if (token.type == TokenInfo::Type::Holiday) return "IMAGE_KOREA";
  if (token.type == TokenInfo::Type::Missing) return {};
  switch (token.kind) {
    case 0: return "IMAGE_D";
    case 1: return "IMAGE_W";
    case 2: return "IMAGE_M";
    case 3: return "IMAGE_Y";
    case -2: return "IMAGE_GTASKS";
    default: break;
  }
  static const char* const kCategoryPictures[] = {"IMAGE_GCAL",     "IMAGE_WORK",  "IMAGE_MEETING",
                                                  "IMAGE_MEMORIAL", "IMAGE_MONEY", "IMAGE_KOREA"};
  const int category = token.category >= 0 && token.category <= 5 ? token.category : 0;
  return kCategoryPictures[category];
}

std::string categoryPictureName(const TokenInfo& token) {
  if (token.type != TokenInfo::Type::Item || token.kind < 0 || token.category <= 0) return {};
  TokenInfo single = token;
  single.kind = -1;
  return markPictureName(single);
}

namespace {

int channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

std::uint32_t withChannels(std::uint32_t pixel, int r, int g, int b) {
  return (pixel & 0xFF000000u) | rgb(r, g, b);
}

bool isBackground(std::uint32_t pixel, Rgb background) { return (pixel & 0xFFFFFFu) == background; }

}  // namespace

void fadeMark(std::span<std::uint32_t> pixels, Rgb background, int level) {
  auto fade = [level](int c) { return ((255 - level) * c + level * 255) / 256; };
  for (std::uint32_t& p : pixels) {
    if (isBackground(p, background)) continue;
    p = withChannels(p, fade(channel(p, 16)), fade(channel(p, 8)), fade(channel(p, 0)));
  }
}

void blendMarks(std::span<std::uint32_t> own, std::span<const std::uint32_t> other, Rgb background) {
  const std::size_t n = std::min(own.size(), other.size());
  auto mix = [](int a, int b) { return (127 * a + 128 * b) / 256; };
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t& p = own[i];
    if (isBackground(p, background)) continue;
    const std::uint32_t q = other[i];
    p = withChannels(p, mix(channel(p, 16), channel(q, 16)), mix(channel(p, 8), channel(q, 8)),
                     mix(channel(p, 0), channel(q, 0)));
  }
}

Rgb dayNumberColour(const DayNumberState& state) {
  if (!state.inMonth) return state.highlighted ? rgb(255, 255, 255) : rgb(196, 196, 196);
  if (state.today && state.highlighted) return rgb(247, 148, 29);
  if (state.column == 0) return rgb(206, 81, 49);
  if (state.column == kGridColumns - 1) return rgb(49, 138, 182);
  return rgb(101, 101, 101);
}

// ------------------------------------------------------------ texts

namespace {

std::string itemText(const TokenInfo& item) {
  static const char* const kRepeatPrefixes[] = {"반복(일): ", "반복(주): ", "반복(월): ", "반복(연): "};
  if (item.kind >= 0 && item.kind <= 3)
    return base::cutToCp949Width(kRepeatPrefixes[item.kind] + item.text, 90);
  if (item.kind == -2) return base::cutToCp949Width("일정: " + item.text, 86);
  return item.text;
}

}  // namespace

std::vector<TokenDescription> describeTokens(const std::vector<std::string>& tokens,
                                             const TokenLookup& lookup) {
  std::vector<TokenDescription> described;
  for (const std::string& token : tokens) {
    const TokenInfo info = lookup(token);
    if (info.type == TokenInfo::Type::Missing) break;
    TokenDescription d;
    d.pictures.push_back(markPictureName(info));
    if (info.type == TokenInfo::Type::Holiday) {
      d.text = info.text;
    } else {
      if (std::string category = categoryPictureName(info); !category.empty())
        d.pictures.push_back(std::move(category));
      d.text = itemText(info);
    }
    described.push_back(std::move(d));
  }
  return described;
}

std::string longDateText(DateTime date) {
  static const char* const kWeekdays[] = {"월", "화", "수", "목", "금", "토", "일"};
  const base::Date d = base::decodeDate(date);
  return base::format("%04d년 %d월 %d일 %s요일", d.year, d.month, d.day,
                      kWeekdays[base::isoDayOfWeek(date) - 1]);
}

}  // namespace calendar
