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

} // namespace console
