// The status bar's built-in skin strip: 22 tiles of 15 × 23 pixels side by side (330 × 23, 24-bit),
// each a one-pixel frame around a vertical gradient. Platform-neutral; the generator writes it and a
// test proves the committed bitmap equal.
#pragma once

#include "resources/gen/bitmap.h"

#include <array>

namespace gen {

// The four colours every tile must show exactly: frame (0, 0), first inner row (7, 1), fill (7, 10),
// last inner row (7, 21).
struct StatusBarTileSamples {
    Rgb frame, row1, fill, row21;
};
extern const std::array<StatusBarTileSamples, 22> kStatusBarTileSamples;

// Tiles whose interior steps between rows 9 and 12 (an upper and a lower half: a glass look).
bool StatusBarTileIsGlass(int skin);
// Tiles whose first or last inner row has a shade clearly apart from the rows next to it.
bool StatusBarTileHasEdgeRows(int skin);
// Tiles with rounded corners.
bool StatusBarTileIsRounded(int skin);

Raster BuildStatusBarSkinStrip();

} // namespace gen
