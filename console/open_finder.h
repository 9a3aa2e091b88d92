// The device finder as the main window opens it: over the program's driver, device catalog and
// link, handing the link it opens over to the main window.
#pragma once

#include "console/app_context.h"
#include "console/principal.h"
#include "finder/dispositivos.h"

#include <functional>

namespace console {

inline finder::Dispositivos* OpenFinder(AppContext& app, Principal& principal) {
    return finder::Dispositivos::Show(
        {app.driver, app.catalog, app.link, std::bind_front(&Principal::TakeOverLink, &principal)});
}

// The find button opens the finder, and the main window knows while it is open.
inline void AttachFinder(AppContext& app, Principal& principal) {
    principal.ShowFinder = [&app, &principal] { OpenFinder(app, principal); };
    principal.FinderOpen = [] { return finder::Dispositivos::Instance() != nullptr; };
}

} // namespace console
