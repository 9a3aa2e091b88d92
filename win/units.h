// Colour numbers and twips: platform-neutral rules shared by the windows and the controls.
#pragma once

#include <cstdint>

namespace win {

// Screen units: design-time layouts are in twips (1440 to the inch), fonts in points (72 to the
// inch), fixed pixel sizes of pictures and skins are pixels at 96 dpi. Each window lays itself out
// for its own dpi, so one rule converts them all; at 96 dpi every result is what it always was.
constexpr int kDefaultDpi = 96;
constexpr int kTwipsPerInch = 1440;

// n × dpi / per, to the nearest whole number, halves away from zero.
constexpr int ScaleRounded(long long n, int dpi, int per) {
    const long long scaled = n * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + per / 2) / per : -((-scaled + per / 2) / per));
}
// 15 twips make one pixel at 96 dpi, 10 at 144.
constexpr int TwipsToPixels(int twips, int dpi = kDefaultDpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }
// A size given in pixels at 96 dpi (a picture, a skin's corner, a panel width) at this dpi.
constexpr int ScaleToDpi(int pixels96, int dpi) { return ScaleRounded(pixels96, dpi, kDefaultDpi); }
// A line or border at least one whole pixel wide at any dpi.
constexpr int LineWidthForDpi(int pixels96, int dpi) {
    const int w = ScaleToDpi(pixels96, dpi);
    return w > 0 ? w : 1;
}
// The character height (a LOGFONT's negative height, as a positive number) of a font of this size.
constexpr int PointsToPixels(double points, int dpi) {
    const double exact = points * dpi / 72.0;
    return static_cast<int>(exact >= 0 ? exact + 0.5 : exact - 0.5);
}

// A colour number is 0x00BBGGRR, or 0x80000000 + a system colour index.
constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
constexpr bool IsSystemColour(std::uint32_t colour) { return (colour & kSystemColourFlag) != 0; }
constexpr std::uint32_t SystemColour(int index) { return kSystemColourFlag | static_cast<std::uint32_t>(index); }
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

} // namespace win
