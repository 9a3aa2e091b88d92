// The main window's icon. It is stored as the .ico file's bytes (RCDATA) and made into icons at
// run time: ICON statements of several resource scripts number their images from 1 each, so
// their images would collide once linked together.
#pragma once

#include <windows.h>

namespace console {

// The icon of the given square size (32 or 16) from the .ico data with that resource ID; null if
// the data holds no image of that size. Made once and kept for the whole run.
HICON PrincipalIcon(int size);

} // namespace console
