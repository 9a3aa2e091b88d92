// The pictures of the device finder and the About window: the About logo and the two windows'
// 16 x 16 icons, drawn from code so they are ours and reproducible.
#pragma once

#include "resources/gen/bitmap.h"

namespace gen {

Raster AboutLogo();  // 197 x 77
Raster FinderIcon(); // 16 x 16; magenta is the transparent colour
Raster AboutIcon();  // 16 x 16; magenta is the transparent colour
constexpr Rgb kIconTransparent{255, 0, 255};

} // namespace gen
