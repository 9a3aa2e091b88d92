// The 22 built-in skins of the skinned button: 105 × 23 pixels, seven 15 × 23 frames side by side
// (hot, pressed, checked, checked-hot, normal, disabled, disabled-checked), each painted in its
// skin's face and border tones. Platform-neutral: the generator writes them, a test regenerates them.
#pragma once

#include "resources/gen/bitmap.h"

#include <string>

namespace gen {

constexpr int kButtonSkinWidth = 105;
constexpr int kButtonSkinHeight = 23;
constexpr int kButtonFrameWidth = 15;

// Skin 0 to 21; an empty raster for any other number.
Raster ButtonSkin(int skin);
// The file the skin is kept in, relative to the resources folder.
std::string ButtonSkinFile(int skin);

} // namespace gen
