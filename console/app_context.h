// What lives for the whole run and is shared by the windows: the driver, the device catalog and
// the link. Created once by the program's entry point; tests make their own.
#pragma once

#include "link/d2xx_library.h"
#include "link/device_catalog.h"
#include "link/link_state.h"

namespace console {

struct AppContext {
    AppContext() = default;
    // Tests name another driver file (for example one that does not exist).
    explicit AppContext(const wchar_t* driverFile) : driver(driverFile) {}

    devlink::DriverLibrary driver;
    devlink::DeviceCatalog catalog{driver.Table()};
    devlink::LinkState link{driver.Table()};
};

} // namespace console
