// The name "Guardar como…" offers for a session: ZEV_<serial>_<yyyymmdd-hhmmss>.txt, the serial made
// safe for a file name, "consola" in its place when no device is connected. Platform-neutral.
#pragma once

#include "console/clock_panels.h"

#include <string>
#include <string_view>

namespace console {

// serial: the connected device's, empty when none is connected. Characters a file name cannot hold
// (control characters and \ / : * ? " < > |) become "_", and a serial longer than any real one is cut.
std::wstring SessionFileName(std::wstring_view serial, const ClockSample& now);

} // namespace console
