#include "console/window_icon.h"

#include "resources/dialogs_ids.h"
#include "win/window_base.h"

#include <map>

namespace console {

HICON PrincipalIcon(int size) {
    // Not LR_SHARED: the shared cache may hand back the first size loaded for any later size, and a
    // window moved to another scale needs its own. Made once per size instead, shared by windows and classes.
    static std::map<int, HICON> made;
    auto it = made.find(size);
    if (it == made.end())
        it = made
                 .emplace(size, static_cast<HICON>(LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(IDI_PRINCIPAL),
                                                              IMAGE_ICON, size, size, 0)))
                 .first;
    return it->second;
}

} // namespace console
