#include "sync/palette.h"

namespace gsync {
namespace {

PaletteSquare squareOf(ColourKind kind, int index) {
  PaletteSquare s;
  if (kind == ColourKind::Calendar) {
    // Twelve to a row; everything after the first row shares the second.
    s.left = (index % 12) * 20 + 6;
    s.top = index < 12 ? 6 : 26;
  } else {
    s.left = index * 23 + 9;
    s.top = 6;
  }
  return s;
}

}  // namespace

std::vector<PaletteSquare> paletteSquares(ColourKind kind, const std::vector<int>& table) {
  std::vector<PaletteSquare> squares;
  squares.reserve(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] == kNoColour) continue;
    PaletteSquare s = squareOf(kind, static_cast<int>(i));
    s.colour = table[i];
    squares.push_back(s);
  }
  return squares;
}

int paletteEntryAt(ColourKind kind, int tableSize, int x, int y) {
  // Later squares are painted over earlier ones, so the last hit wins.
  for (int i = tableSize - 1; i >= 0; --i) {
    const PaletteSquare s = squareOf(kind, i);
    if (x >= s.left && x < s.left + kPaletteSquareSize && y >= s.top &&
        y < s.top + kPaletteSquareSize)
      return i;
  }
  return -1;
}

}  // namespace gsync
