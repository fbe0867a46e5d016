// The month views' grid without the drawing: which dates the 7 x 6 cells hold,
// what the year index puts on each cell, the cell backgrounds, the fading and
// blending of the day marks, the day-number colours and the texts that
// describe a day.  The main window's calendar, the compact view and the diary
// share it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"
#include "calendar/holidays.h"
#include "calendar/year_index.h"

namespace calendar {

inline constexpr int kGridColumns = 7;  // column 0 is Sunday, column 6 Saturday
inline constexpr int kGridRows = 6;
inline constexpr int kGridCells = kGridColumns * kGridRows;

// Which cells hold which dates for one month.
struct MonthLayout {
  int year = 0;
  int month = 0;
  // Leading cells: the weekday of the month's first day, Monday = 1 ...
  // Sunday = 7, so a month that begins on a Sunday starts with a whole row
  // of the previous month.
  int leading = 0;
  int end = 0;                    // leading + days in the month
  base::DateTime firstCell = 0;   // date of cell 0
  int todayCell = -1;             // -1 when today is not in the month
};

MonthLayout monthLayout(int year, int month, base::DateTime today);
base::DateTime cellDate(const MonthLayout& layout, int cell);
int cellOfDay(const MonthLayout& layout, int day);  // day of the shown month
inline bool inShownMonth(const MonthLayout& layout, int cell) {
  return cell >= layout.leading && cell < layout.end;
}
inline int cellColumn(int cell) { return cell % kGridColumns; }
inline int cellRow(int cell) { return cell / kGridColumns; }

// The tokens on each cell, and the cell-item list: "cell=item id" for every
// token that is not a holiday key, in cell order.
struct CellEntries {
  std::array<std::vector<std::string>, kGridCells> tokens;
  std::vector<std::string> cellItems;
};

// Looks each cell's date up in the index of its year; `indexOf` is asked once
// per year the grid crosses (a December view also reads the next year).
CellEntries cellEntries(const MonthLayout& layout,
                        const std::function<YearIndex(int year)>& indexOf,
                        const std::vector<Holiday>& holidays);
bool cellItemListed(const std::vector<std::string>& cellItems, int cell, std::string_view itemId);
// The item ids of a cell, in order, as the cell-item list names them.
std::vector<std::string> itemsOfCell(const CellEntries& entries, int cell);

// ------------------------------------------------------------ colours

using Rgb = std::uint32_t;  // 0xRRGGBB
constexpr Rgb rgb(int r, int g, int b) {
  return (static_cast<Rgb>(r) << 16) | (static_cast<Rgb>(g) << 8) | static_cast<Rgb>(b);
}

inline constexpr Rgb kEmptyCell = rgb(255, 255, 255);
inline constexpr Rgb kSeveralTokens = rgb(248, 238, 255);
inline constexpr Rgb kHolidayCell = rgb(255, 242, 240);
inline constexpr Rgb kSelectedCell = rgb(255, 209, 134);
inline constexpr Rgb kCellEdge = rgb(215, 215, 215);
inline constexpr int kMarkFadeLevel = 220;

// What the drawing needs to know of one token: a holiday key, an item of a
// kind (-2 task, -1 single event, 0..3 recurring) with its category, or an
// id whose item no longer exists.
struct TokenInfo {
  enum class Type { Holiday, Item, Missing };
  Type type = Type::Missing;
  int kind = -1;
  int category = 0;
  std::string text;  // holiday name or item title
};
using TokenLookup = std::function<TokenInfo(const std::string& token)>;

// Background of a cell with a single token of that description.
Rgb singleTokenBackground(const TokenInfo& token);
// Background before selection: white, the several-tokens colour or the
// single token's colour.  A token without item counts as a holiday.
Rgb cellBackground(const std::vector<std::string>& tokens, const TokenLookup& lookup);

// Name of the 16 x 16 mark picture of a token; empty for a missing item.
std::string markPictureName(const TokenInfo& token);
// The category picture shown beside a recurring item's mark in the strip;
// empty when the item is not recurring or has no category.
std::string categoryPictureName(const TokenInfo& token);

// Fades every pixel (0xAARRGGBB or 0xRRGGBB) that differs from the background
// toward white: each channel c becomes ((255 - level) * c + level * 255) / 256.
void fadeMark(std::span<std::uint32_t> pixels, Rgb background, int level = kMarkFadeLevel);
// Mixes `other` into `own` where `own` differs from the background:
// (127 * own + 128 * other) / 256 per channel.
void blendMarks(std::span<std::uint32_t> own, std::span<const std::uint32_t> other, Rgb background);

// Day-number colour of a cell.
struct DayNumberState {
  bool inMonth = true;
  bool highlighted = false;  // selected or focused
  bool today = false;
  int column = 1;
};
Rgb dayNumberColour(const DayNumberState& state);

// ------------------------------------------------------------ texts

// What the information strip says of one token.
struct TokenDescription {
  std::vector<std::string> pictures;  // mark, then the category picture of a recurring item
  std::string text;
};
// The tokens from left to right; a missing item ends the description.
std::vector<TokenDescription> describeTokens(const std::vector<std::string>& tokens,
                                             const TokenLookup& lookup);

// "2025년 3월 9일 일요일".
std::string longDateText(base::DateTime date);

}  // namespace calendar
