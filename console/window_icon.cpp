#include "console/window_icon.h"

#include "resources/dialogs_ids.h"
#include "win/window_base.h"

namespace console {

HICON PrincipalIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(IDI_PRINCIPAL), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace console
