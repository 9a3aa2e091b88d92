#include "controls/toolbar/paint_rules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace toolbarskin {
namespace {

std::vector<Piece> Drawable(std::vector<Piece> pieces) {
    std::erase_if(pieces, [](const Piece& p) { return p.dw <= 0 || p.dh <= 0; });
    return pieces;
}

} // namespace

Frame ChooseFrame(bool hot, int fsStyle, int fsState, bool overStrip, bool menuOpen) {
    if (fsStyle == kStyleSeparator)
        return {};
    if (!hot)
        return fsState == 5 || fsState == 7 ? Frame{kGroupPlain + kTileChecked} : Frame{};
    if (fsStyle == kStyleDropDown) {
        // A disabled dropdown (state 0) shows only its disabled arrow, which every dropdown gets.
        if (fsState == 4) // the strip looks pressed while the cursor is on it and its menu is open
            return {kGroupDropMain + kTileHot, kGroupDropStrip + (overStrip && menuOpen ? kTilePressed : kTileHot)};
        if (fsState == 6)
            return {kGroupDropMain + kTilePressed, kGroupDropStrip + kTilePressed};
        return {};
    }
    switch (fsState) {
    case 4:
    case 36:
        return {kGroupPlain + kTileHot};
    case 6:
    case 38:
        return {kGroupPlain + kTilePressed};
    case 5:
        return {kGroupPlain + kTileCheckedHot};
    case 7:
        return {kGroupPlain + (fsStyle == kStyleCheckGroup ? kTileCheckedHot : kTilePressed)};
    default:
        return {};
    }
}

StateLook LookOf(int fsState) {
    if (fsState == 5)
        return {1, TextColour::Normal, kImageHot};
    if (fsState == 6 || fsState == 7)
        return {1, TextColour::Down, kImageHot};
    if (fsState >= 4)
        return {0, TextColour::Normal, kImageNormal};
    return {0, TextColour::Disabled, kImageDisabled};
}

int Nearest(double v) {
    // The default rounding mode rounds halves to even.
    return static_cast<int>(std::nearbyint(v));
}

ButtonLayout LayOut(bool textRight, const Box& item, int cx, int cy, int textHeight, int offset, bool dropDown) {
    const int a = dropDown ? -kStripWidth : 0, o = offset;
    const int l = item.left, t = item.top, r = item.right, b = item.bottom;
    const double middle = t + (b - t) / 2.0;
    if (textRight)
        return {{l + 4 + o, Nearest(middle - cy / 2.0 + o - 1)},
                {l, Nearest(middle - textHeight / 2.0 + o), r - 4 + a + o, b},
                true};
    return {{Nearest(l + (r - l + a) / 2.0 - cx / 2.0 + 2 * o), t + 2 + o},
            {l + 2 * o, b - textHeight - 6 + o, r + a, b},
            false};
}

Point ArrowAt(int x, int y, int h) {
    return {Nearest(x + kStripWidth / 2.0 - 4), Nearest(y + h / 2.0 - 3)};
}

std::vector<Piece> TilePieces(int tile, int w, int h) {
    const auto nine = statusbar::NinePieces(TileX(tile), w, h);
    return Drawable({nine.begin(), nine.end()});
}

std::vector<Piece> BackgroundPieces(int width, int height) {
    return Drawable({
        {kBackgroundX, 0, kTileWidth, 5, 0, 0, width, 5},
        {kBackgroundX, 5, kTileWidth, 13, 0, 5, width, height - 10},
        {kBackgroundX, 18, kTileWidth, 5, 0, height - 5, width, 5},
    });
}

std::vector<Piece> SeparatorPieces(int w, int h, int skinWidth) {
    const int sw = std::min(w, skinWidth - kSeparatorX);
    return Drawable({
        {kSeparatorX, 0, sw, 7, 0, 0, w, 7},
        {kSeparatorX, 7, sw, 9, 0, 7, w, h - 14},
        {kSeparatorX, 16, sw, 7, 0, h - 7, w, 7},
    });
}

std::string CutAtNul(const char* buffer, std::size_t size) {
    const void* nul = std::memchr(buffer, '\0', size);
    return nul ? std::string(buffer, static_cast<const char*>(nul)) : std::string();
}

} // namespace toolbarskin
