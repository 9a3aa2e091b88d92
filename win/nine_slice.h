// The nine-slice stretch of a skin tile, shared by the status bar, the button and the toolbar: a
// 15 × 23 tile whose 5 × 5 corners keep their shape, whose 5-pixel bands stretch along their edge
// and whose 5 × 13 centre stretches both ways. Platform-neutral.
#pragma once

#include <array>

namespace win {

// One copy: from the tile (source) to the result (destination).
struct Piece {
    int sx, sy, sw, sh; // source rectangle
    int dx, dy, dw, dh; // destination rectangle
    bool operator==(const Piece&) const = default;
};

constexpr int kTileCorner = 5;

// The nine copies in drawing order for a result of w × h from the tile at sx: the corners made
// c × c (5 at 96 dpi, copied as they are; larger at a larger dpi, each scaled whole, never cut), the
// bands c thick and the centre stretched over the rest.
constexpr std::array<Piece, 9> NinePieces(int sx, int w, int h, int c = kTileCorner) {
    return {{
        {sx, 0, 5, 5, 0, 0, c, c},                      // top-left corner
        {sx + 10, 0, 5, 5, w - c, 0, c, c},             // top-right corner
        {sx + 5, 0, 5, 5, c, 0, w - 2 * c, c},          // top edge
        {sx, 5, 5, 13, 0, c, c, h - 2 * c},             // left edge
        {sx + 5, 5, 5, 13, c, c, w - 2 * c, h - 2 * c}, // centre
        {sx + 10, 5, 5, 13, w - c, c, c, h - 2 * c},    // right edge
        {sx, 18, 5, 5, 0, h - c, c, c},                 // bottom-left corner
        {sx + 5, 18, 5, 5, c, h - c, w - 2 * c, c},     // bottom edge
        {sx + 10, 18, 5, 5, w - c, h - c, c, c},        // bottom-right corner
    }};
}

} // namespace win
