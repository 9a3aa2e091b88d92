// The main window's icon, from the program's first icon group.
#pragma once

#include <windows.h>

namespace console {

// The icon of the given square size (16, 24, 32 and 48 are stored; another size is made from the
// nearest one); null if it cannot be loaded. Made once per size and kept for the whole run.
HICON PrincipalIcon(int size);

} // namespace console
