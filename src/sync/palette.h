// Where the colours of the two colour tables go on their palette pictures
// (the calendar dialog's and the event editor's colour choice).  The windows
// draw the pictures; this only says where each 16 x 16 square lies.
#pragma once

#include <vector>

#include "sync/records.h"

namespace gsync {

constexpr int kPaletteSquareSize = 16;

struct PaletteSquare {
  int left = 0, top = 0;
  int colour = 0;  // 0xRRGGBB
};

// One square per entry of the table, in table order (none for an entry
// that holds no colour).
std::vector<PaletteSquare> paletteSquares(ColourKind kind, const std::vector<int>& table);

// The table entry under a point of the picture (for a click), or -1.
int paletteEntryAt(ColourKind kind, int tableSize, int x, int y);

}  // namespace gsync
