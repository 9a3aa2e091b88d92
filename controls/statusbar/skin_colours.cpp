#include "controls/statusbar/skin_colours.h"

#include <algorithm>

namespace statusbar {
namespace {

int Channel(std::uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

// Where a skin's colour is one of the tile's own samples rather than a fixed value.
enum class From { Fixed, Frame, Fill };
struct Entry {
    std::uint32_t text;
    From border;
    std::uint32_t fixedBorder;
};

constexpr Entry kTable[kSkinCount] = {
    {Rgb(0, 0, 0), From::Fixed, Rgb(176, 204, 243)},       // 0
    {Rgb(0, 0, 0), From::Frame, 0},                        // 1
    {Rgb(0, 0, 255), From::Fixed, Rgb(205, 205, 207)},     // 2
    {Rgb(93, 93, 93), From::Frame, 0},                     // 3
    {Rgb(0, 0, 0), From::Frame, 0},                        // 4
    {Rgb(255, 255, 255), From::Frame, 0},                  // 5
    {Rgb(255, 255, 255), From::Fixed, Rgb(0, 0, 0)},       // 6
    {Rgb(255, 255, 255), From::Fixed, Rgb(0, 0, 0)},       // 7
    {Rgb(255, 255, 255), From::Fixed, Rgb(0, 0, 0)},       // 8
    {Rgb(93, 93, 93), From::Fill, 0},                      // 9
    {Rgb(81, 115, 155), From::Fixed, Rgb(199, 213, 231)},  // 10
    {Rgb(117, 117, 117), From::Fixed, Rgb(220, 220, 220)}, // 11
    {Rgb(117, 117, 117), From::Fixed, Rgb(180, 180, 180)}, // 12
    {Rgb(140, 140, 140), From::Fixed, Rgb(187, 187, 187)}, // 13
    {Rgb(81, 115, 155), From::Fixed, Rgb(158, 210, 250)},  // 14
    {Rgb(81, 115, 155), From::Frame, 0},                   // 15
    {Rgb(81, 115, 155), From::Fixed, Rgb(158, 210, 250)},  // 16
    {Rgb(255, 255, 255), From::Fill, 0},                   // 17
    {Rgb(176, 187, 189), From::Fixed, Rgb(176, 187, 189)}, // 18
    {Rgb(0, 0, 0), From::Fill, 0},                         // 19
    {Rgb(255, 255, 255), From::Fixed, Rgb(56, 122, 207)},  // 20
    {Rgb(50, 50, 89), From::Fixed, Rgb(176, 187, 189)},    // 21
};

bool KnownSkin(std::int32_t skin) {
    return skin >= 0 && skin < kSkinCount;
}

} // namespace

std::uint32_t BlendRgb(std::uint32_t a, std::uint32_t b, int weight) {
    const int w = std::clamp(weight, 0, 255);
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        // 255 is odd, so an exact half never occurs: rounding to nearest needs no tie rule.
        const int n = w * Channel(a, shift) + (255 - w) * Channel(b, shift);
        out |= static_cast<std::uint32_t>((n + 127) / 255) << shift;
    }
    return out;
}

std::uint32_t SkinMixColour(std::uint32_t frame) {
    return BlendRgb(frame, Rgb(136, 136, 136), 170);
}

std::uint32_t SkinTextColour(std::int32_t skin, std::uint32_t frame) {
    return KnownSkin(skin) ? kTable[skin].text : SkinMixColour(frame);
}

std::uint32_t SkinPanelBorderColour(std::int32_t skin, std::uint32_t frame, std::uint32_t fill) {
    if (!KnownSkin(skin))
        return SkinMixColour(frame);
    switch (kTable[skin].border) {
    case From::Frame:
        return frame;
    case From::Fill:
        return fill;
    case From::Fixed:
        break;
    }
    return kTable[skin].fixedBorder;
}

int TileOffset(std::int32_t skin, bool customSkin, int stripWidth) {
    if (customSkin || skin < 0)
        return 0;
    const long long x = static_cast<long long>(skin) * kTileWidth;
    return x + kTileWidth <= stripWidth ? static_cast<int>(x) : 0;
}

} // namespace statusbar
