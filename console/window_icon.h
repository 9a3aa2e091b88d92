// The main window's icon, from the program's first icon group.
#pragma once

#include <windows.h>

namespace console {

// The icon at the given square size (32 or 16); null if it cannot be loaded. Shared: never destroyed.
HICON PrincipalIcon(int size);

} // namespace console
