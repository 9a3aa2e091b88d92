// Colour numbers and twips: platform-neutral rules shared by the windows and the controls.
#pragma once

#include <cstdint>

namespace win {

// Design-time layouts are in twips; 15 twips make one pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A colour number is 0x00BBGGRR, or 0x80000000 + a system colour index.
constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
constexpr bool IsSystemColour(std::uint32_t colour) { return (colour & kSystemColourFlag) != 0; }
constexpr std::uint32_t SystemColour(int index) { return kSystemColourFlag | static_cast<std::uint32_t>(index); }
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

} // namespace win
