// The status bar's skin rules: tile geometry, the nine-piece stretch, colour blending and the
// per-skin text and panel border colours. Platform-neutral; colours are 0x00BBGGRR numbers.
#pragma once

#include "win/nine_slice.h"

#include <array>
#include <cstdint>

namespace statusbar {

constexpr int kTileWidth = 15;
constexpr int kTileHeight = 23;
constexpr int kSkinCount = 22;
constexpr int kStripWidth = kTileWidth * kSkinCount; // 330

// GetSkinsColors selectors.
constexpr std::int32_t kFrameColourSelector = 60;
constexpr std::int32_t kFillColourSelector = 70;
// Where those colours are sampled inside a tile.
constexpr int kFrameX = 0, kFrameY = 0, kFillX = 7, kFillY = 10;

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

// Per channel (w × a + (255 − w) × b) / 255, rounded (w is clamped to 0..255). Both colours are RGB.
std::uint32_t BlendRgb(std::uint32_t a, std::uint32_t b, int weight);

// The mix used for skins without a row of their own: the frame blended with grey.
std::uint32_t SkinMixColour(std::uint32_t frame);
// GetForeColorText: the skin's default panel text colour.
std::uint32_t SkinTextColour(std::int32_t skin, std::uint32_t frame);
// GetPanelBorderColor: the skin's default panel border colour.
std::uint32_t SkinPanelBorderColour(std::int32_t skin, std::uint32_t frame, std::uint32_t fill);

// Left column of the tile drawn and sampled: 0 for a custom skin (its first tile), else 15 × skin.
// A skin whose tile lies outside the strip (negative, or past its width) uses the first tile, so
// nothing is ever read outside the strip.
int TileOffset(std::int32_t skin, bool customSkin, int stripWidth);

// The tile's nine-piece stretch (shared with the button and the toolbar).
using win::kTileCorner;
using win::NinePieces;
using win::Piece;

} // namespace statusbar
