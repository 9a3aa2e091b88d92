// The colours that belong to each of the 22 built-in skins: the text colours a button follows while
// ColorSchemas is 1, and the face and border tones the skin bitmaps are painted in. Platform-neutral.
#pragma once

#include <cstdint>

namespace skinbutton {

constexpr int kBuiltInSkinCount = 22; // skins 0 to 21 are bitmap resources 101 to 122
constexpr int kFirstSkinResource = 101;
constexpr int kSkinLink = 22;   // no bitmap: the container's background and coloured text
constexpr int kSkinCustom = 23; // the picture in SkinCustomPicture

struct SkinColours {
    std::uint32_t backDefault;   // BackColorSkinDefault
    std::uint32_t borderDefault; // BorderColorSkinDefault
    std::uint32_t foreNormal, foreUp, foreDown, foreDisabled, foreCheck;
};

// The row of a built-in skin; null for any other Skin value (link, custom or out of range).
const SkinColours* BuiltInSkinColours(int skin);

} // namespace skinbutton
