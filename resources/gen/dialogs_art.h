// The pictures of the device finder and the About window: the About logo and the two windows'
// icons, drawn from code so they are ours and reproducible.
#pragma once

#include "resources/gen/bitmap.h"

namespace gen {

// 197 x 77 at 96 dpi; 296 x 116 at 144 is stored too, for a display at 150 %.
Raster AboutLogo(int dpi = 96);
// The two windows' icons, size x size; magenta is the transparent colour. 16, 24 and 32 are stored,
// for the title bar at 100 %, 150 % and 200 %.
Raster FinderIcon(int size = 16);
Raster AboutIcon(int size = 16);
constexpr int kDialogIconSizes[] = {16, 24, 32};
constexpr Rgb kIconTransparent{255, 0, 255};

} // namespace gen
