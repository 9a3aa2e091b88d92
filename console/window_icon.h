// The main window's icon. It is stored as the .ico file's bytes (RCDATA) and made into icons at
// run time: ICON statements of several resource scripts number their images from 1 each, so
// their images would collide once linked together.
#pragma once

#include <windows.h>

namespace console {

// The icon of the given square size from the .ico data (16, 24, 32 and 48 are stored; another size is
// made from the nearest larger one); null when the data holds no image. Made once and kept for the
// whole run.
HICON PrincipalIcon(int size);

} // namespace console
