#include "resources/gen/statusbar_strip.h"

#include <cmath>

namespace gen {

const std::array<StatusBarTileSamples, 22> kStatusBarTileSamples = {{
    {{0, 0, 128}, {225, 238, 255}, {205, 226, 252}, {136, 173, 228}},
    {{230, 232, 87}, {246, 247, 185}, {246, 247, 177}, {245, 247, 175}},
    {{232, 236, 255}, {241, 242, 255}, {240, 242, 255}, {239, 241, 255}},
    {{216, 210, 189}, {241, 239, 230}, {240, 239, 227}, {239, 238, 226}},
    {{255, 191, 255}, {255, 232, 255}, {255, 232, 255}, {255, 231, 255}},
    {{67, 112, 140}, {126, 178, 206}, {54, 134, 185}, {82, 147, 185}},
    {{0, 0, 0}, {97, 107, 135}, {58, 64, 78}, {0, 0, 0}},
    {{3, 2, 2}, {158, 97, 81}, {99, 57, 38}, {31, 21, 18}},
    {{0, 130, 0}, {0, 107, 0}, {0, 64, 0}, {0, 86, 0}},
    {{163, 163, 124}, {248, 247, 243}, {236, 231, 224}, {192, 192, 168}},
    {{50, 85, 133}, {213, 222, 236}, {237, 244, 247}, {144, 168, 205}},
    {{236, 236, 238}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}},
    {{217, 217, 217}, {247, 247, 248}, {241, 241, 241}, {239, 239, 239}},
    {{222, 222, 222}, {187, 187, 187}, {234, 234, 234}, {187, 187, 187}},
    {{238, 245, 255}, {238, 246, 255}, {213, 232, 255}, {195, 224, 255}},
    {{161, 189, 207}, {255, 255, 255}, {208, 223, 244}, {224, 234, 250}},
    {{131, 174, 228}, {237, 245, 253}, {188, 223, 250}, {207, 240, 255}},
    {{207, 227, 196}, {175, 204, 160}, {86, 148, 55}, {80, 144, 48}},
    {{185, 185, 185}, {248, 248, 248}, {235, 235, 235}, {207, 207, 207}},
    {{93, 111, 136}, {223, 232, 242}, {193, 211, 231}, {200, 213, 228}},
    {{118, 147, 203}, {147, 197, 240}, {95, 157, 230}, {44, 84, 176}},
    {{121, 129, 141}, {255, 255, 255}, {224, 225, 225}, {223, 238, 238}},
}};

namespace {

constexpr int kTileW = 15, kTileH = 23;
constexpr int kFirstRow = 1, kFillRow = 10, kLastRow = 21;
constexpr int kUpperEnd = 9; // last row of a glass tile's upper half

// a + (b − a) × t per channel, rounded.
Rgb Mix(Rgb a, Rgb b, double t) {
    auto ch = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (static_cast<double>(y) - x) * t));
    };
    return Rgb{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

double Along(int row, int from, int to) {
    return static_cast<double>(row - from) / (to - from);
}

Rgb InteriorRow(int skin, int row) {
    const StatusBarTileSamples& s = kStatusBarTileSamples[static_cast<std::size_t>(skin)];
    if (StatusBarTileIsGlass(skin)) {
        // Upper half: a light band fading a little towards the fill; then a step to the lower half,
        // which starts at the fill colour and runs to the last row.
        if (row <= kUpperEnd)
            return Mix(s.row1, Mix(s.row1, s.fill, 0.35), Along(row, kFirstRow, kUpperEnd));
        if (row <= kFillRow)
            return s.fill;
        return Mix(s.fill, s.row21, Along(row, kFillRow, kLastRow));
    }
    if (StatusBarTileHasEdgeRows(skin)) {
        // The edge rows keep their own shade; the rows between stay close to the fill.
        if (row == kFirstRow)
            return s.row1;
        if (row == kLastRow)
            return s.row21;
        if (row <= kFillRow)
            return Mix(Mix(s.fill, s.row1, 0.3), s.fill, Along(row, kFirstRow + 1, kFillRow));
        return Mix(s.fill, Mix(s.fill, s.row21, 0.3), Along(row, kFillRow, kLastRow - 1));
    }
    if (row <= kFillRow)
        return Mix(s.row1, s.fill, Along(row, kFirstRow, kFillRow));
    return Mix(s.fill, s.row21, Along(row, kFillRow, kLastRow));
}

void DrawTile(Raster& strip, int skin) {
    const int x0 = skin * kTileW;
    const StatusBarTileSamples& s = kStatusBarTileSamples[static_cast<std::size_t>(skin)];
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            strip.At(x0 + x, y) = s.frame;
    for (int y = kFirstRow; y <= kLastRow; ++y) {
        const Rgb c = InteriorRow(skin, y);
        for (int x = 1; x < kTileW - 1; ++x)
            strip.At(x0 + x, y) = c;
    }
    if (StatusBarTileIsRounded(skin)) {
        // The frame turns the corner one pixel inside, with softened pixels beside it; the outer
        // corner pixel keeps the frame colour that the control samples at (0, 0).
        const int corners[4][2] = {{1, kFirstRow}, {kTileW - 2, kFirstRow}, {1, kLastRow}, {kTileW - 2, kLastRow}};
        for (const auto& c : corners) {
            const int cx = c[0], cy = c[1];
            const int nx = cx == 1 ? 2 : kTileW - 3;
            const int ny = cy == kFirstRow ? kFirstRow + 1 : kLastRow - 1;
            strip.At(x0 + nx, cy) = Mix(s.frame, strip.At(x0 + nx, cy), 0.5);
            strip.At(x0 + cx, ny) = Mix(s.frame, strip.At(x0 + cx, ny), 0.5);
            strip.At(x0 + cx, cy) = s.frame;
        }
    }
}

} // namespace

bool StatusBarTileIsGlass(int skin) {
    switch (skin) {
    case 5:
    case 7:
    case 8:
    case 14:
    case 16:
    case 17:
    case 18:
    case 20:
    case 21:
        return true;
    default:
        return false;
    }
}

bool StatusBarTileHasEdgeRows(int skin) {
    return skin == 6 || skin == 10 || skin == 13 || skin == 19;
}

bool StatusBarTileIsRounded(int skin) {
    return skin == 10 || skin == 13 || skin == 20;
}

Raster BuildStatusBarSkinStrip() {
    Raster strip(kTileW * static_cast<int>(kStatusBarTileSamples.size()), kTileH);
    for (int k = 0; k < static_cast<int>(kStatusBarTileSamples.size()); ++k)
        DrawTile(strip, k);
    return strip;
}

} // namespace gen
