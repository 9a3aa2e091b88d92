// The main window's pictures: the toolbar skin "Skin_VBNET.bmp", the four 32 x 32 toolbar images
// and the window icon, drawn from code so they are ours and reproducible.
#pragma once

#include "resources/gen/bitmap.h"

namespace gen {

// Magenta: transparent in the skin's tiles, arrows and separator, and in the toolbar images.
constexpr Rgb kConsoleTransparent{255, 0, 255};

// The toolbar skin, 216 x 23:
//   x = 15 t (t = 0..11), 15 x 23   button frame tiles: t = g + s with g 0 plain, 4 dropdown main
//                                   part, 8 dropdown arrow strip; s 0 hot, 1 pressed, 2 checked,
//                                   3 checked and hot
//   (180, 0) and (180, 7), 7 x 7    dropdown arrow, enabled and disabled
//   x = 187, 8 x 23                 separator
//   x = 195, 15 x 23                background (copied opaque)
//   (215, 0), (215, 6), (215, 10)   text colours: normal, pressed, disabled
Raster ToolbarSkin();
constexpr Rgb kSkinTextNormal{0, 0, 0};
constexpr Rgb kSkinTextDown{0, 0, 128};
constexpr Rgb kSkinTextDisabled{141, 141, 141};

// The toolbar images, size x size (32, and 48 for a display at 150 %), in button order: find devices,
// disconnect, clear, about.
Raster ToolImage(int index, int size = 32);
// The window icon at size x size: 16, 24, 32 and 48 are stored.
Raster PrincipalIcon(int size);
constexpr int kPrincipalIconSizes[] = {32, 16, 48, 24};

} // namespace gen
