// What the toolbar painter draws for each button: the skin picture's layout, the frame tiles by
// hot/style/state, the state's offset, text colour and image mode, where image and text go, and the
// copies that stretch tiles, background and separator. Platform-neutral, so the tables and the
// arithmetic are tested natively; the Win32 painter only carries them out.
#pragma once

#include "controls/statusbar/skin_colours.h"

#include <cstddef>
#include <string>
#include <vector>

namespace toolbarskin {

using statusbar::Piece;

// The skin picture, in pixels from its top left corner.
constexpr int kTileWidth = statusbar::kTileWidth, kTileHeight = statusbar::kTileHeight;
constexpr int kArrowX = 180, kArrowEnabledY = 0, kArrowDisabledY = 7, kArrowSize = 7;
constexpr int kSeparatorX = 187, kBackgroundX = 195;
constexpr int kTextColourX = 215, kTextNormalY = 0, kTextDownY = 6, kTextDisabledY = 10;
// Anything smaller would have the painter read outside the picture.
constexpr int kSkinMinWidth = kTextColourX + 1, kSkinMinHeight = kTileHeight;
// A dropdown button's arrow strip at its right end.
constexpr int kStripWidth = 13;
// Button texts are read into a buffer of this many characters, NUL included.
constexpr int kTextBuffer = 32;

// Tile number = group + look.
constexpr int kGroupPlain = 0, kGroupDropMain = 4, kGroupDropStrip = 8;
constexpr int kTileHot = 0, kTilePressed = 1, kTileChecked = 2, kTileCheckedHot = 3;
constexpr int kNoTile = -1;
constexpr int TileX(int tile) {
    return kTileWidth * tile;
}

// Button styles as the tables compare them (exact values).
constexpr int kStyleSeparator = 1, kStyleCheckGroup = 6, kStyleDropDown = 8;

struct Frame {
    int main = kNoTile;  // over the whole item, or over its main part when there is a strip tile
    int strip = kNoTile; // over a dropdown button's arrow strip
    bool operator==(const Frame&) const = default;
};
// hot: the cursor is over the item; overStrip: over its arrow strip; menuOpen: a popup menu is shown
// (the dropdown's own menu). A separator gets no frame: it is a gap between buttons, never hot.
Frame ChooseFrame(bool hot, int fsStyle, int fsState, bool overStrip, bool menuOpen);

enum class TextColour { Normal, Down, Disabled };
constexpr int kImageDisabled = 0, kImageNormal = 1, kImageHot = 2;
struct StateLook {
    int offset = 0; // image and text move this far right and down (pressed or checked)
    TextColour colour = TextColour::Normal;
    int imageMode = kImageNormal; // when the cursor is not over the button
    bool operator==(const StateLook&) const = default;
};
// A check-group button is coloured like every other button in the same state: its look never depends
// on the button painted before it.
StateLook LookOf(int fsState);
// Under the cursor the hot image, except for a disabled button: it must not look usable.
constexpr int ImageMode(const StateLook& look, bool hot) {
    return hot && look.imageMode != kImageDisabled ? kImageHot : look.imageMode;
}

// Hidden buttons are skipped; the exact values are compared, so hidden and checked (9) is drawn.
constexpr bool IsHidden(int fsState) {
    return fsState == 8 || fsState == 12;
}

// v taken to the nearest integer, halves to the even neighbour.
int Nearest(double v);

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box&) const = default;
};
struct ButtonLayout {
    Point image;
    Box text;
    bool rightAligned = false; // else centred
    bool operator==(const ButtonLayout&) const = default;
};
// Image (cx × cy) and text (textHeight high) of the button whose item rectangle is item, moved by the
// state's offset; a dropdown button keeps them off its arrow strip.
ButtonLayout LayOut(bool textRight, const Box& item, int cx, int cy, int textHeight, int offset, bool dropDown);
// Top left corner of the 7 × 7 arrow in the strip whose left top corner is (x, y), h high.
Point ArrowAt(int x, int y, int h);

// The copies that draw, each leaving out what has no room (a result smaller than the fixed parts):
// a frame tile over its own w × h surface (corners copied, edges and centre stretched) ...
std::vector<Piece> TilePieces(int tile, int w, int h);
// ... the background over the whole width × height (top 5 and bottom 5 rows kept, the rest stretched)
std::vector<Piece> BackgroundPieces(int width, int height);
// ... and a separator over its own w × h, read no wider than the picture has room for.
std::vector<Piece> SeparatorPieces(int w, int h, int skinWidth);

// Whether a text of this length (as the toolbar reports it, -1 for none) is read: it must fit the
// buffer with its NUL, so 31 characters are shown whole and longer texts not at all.
constexpr bool TextFits(long long length) {
    return length >= 0 && length < kTextBuffer;
}
// The buffer's text up to its first NUL; empty when it holds none.
std::string CutAtNul(const char* buffer, std::size_t size);

} // namespace toolbarskin
