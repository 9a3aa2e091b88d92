// GDI drawing of the status bar's skin: the nine-piece stretch of a tile and the panel boxes.
#pragma once

#include "controls/statusbar/panel_table.h"
#include "controls/statusbar/skin_colours.h"

#include <windows.h>

namespace statusbar {

// The bar's own background colour (the system button face): what shows where no skin is drawn.
COLORREF BarBackgroundColour();

enum class CopyResult { Drawn, NothingToDraw, CopyFailed };

// Stretches the tile at tileX of the skin surface over w × h through a temporary surface (HALFTONE)
// and copies the result to dest at (x, y), its corners corner × corner. An empty size draws nothing;
// CopyFailed means the final copy did not happen.
CopyResult DrawSkinTile(HDC dest, int x, int y, int w, int h, HDC skinDc, int tileX, int corner = kTileCorner);


// The panel's box (a one-pixel outline, filled when back is not -1) or, with no fill and borderMode 1,
// the separator line at its right edge.
void DrawPanelBox(HDC dc, const tPanel& p, std::int32_t back, COLORREF pen, std::int32_t borderMode);

} // namespace statusbar
