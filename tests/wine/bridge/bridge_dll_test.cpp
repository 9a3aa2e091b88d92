// Our bridge FTD2XX.DLL under Wine against a running zevbridge --sim (tests/wine/bridge/
// with_bridge.sh starts it), loaded as the program loads its driver (this test sits beside it):
// the program's own link and receive pump over Winsock, and an unplugged device reported gone.
// (The client's rules are tested natively, a bridge that dies or comes back by the end-to-end
// walk; here what only Windows shows: the exports, Winsock, the environment.)
#include "console/receive_pump.h"
#include "link/d2xx_library.h"
#include "link/device_catalog.h"
#include "link/link_state.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

using namespace d2xx;

namespace {

// Pump ticks until the console would show the text (or the device is gone); bounded.
std::string PumpUntil(devlink::LinkState& link, const std::string& text, bool* gone) {
    std::string seen;
    for (int i = 0; i < 100 && seen.find(text) == std::string::npos; ++i) {
        const auto tick = console::FetchReceived(link);
        seen += tick.bytes;
        if ((*gone = tick.deviceGone))
            break;
        Sleep(20);
    }
    return seen;
}

} // namespace

TEST(BridgeDll, TheProgramsLinkAndPumpThroughTheBridgeUntilTheDeviceIsUnplugged) {
    ASSERT_TRUE(std::getenv("ZEV_BRIDGE") && std::getenv("ZEV_BRIDGE_SIM")) << "run through with_bridge.sh";
    devlink::DriverLibrary dll;
    ASSERT_TRUE(dll.IsLoaded()) << "the DLL loads and exports the driver functions";
    devlink::DeviceCatalog catalog{dll.Table()};
    devlink::LinkState link{dll.Table()};
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(std::tuple(catalog.lNumDevices, devlink::FieldText(catalog.sSerialNumbers[1])),
              std::tuple(2, std::string("ZV100001")));
    ASSERT_TRUE(link.OpenLink("ZV100001"));
    EXPECT_TRUE(sizeof(void*) == 4 || reinterpret_cast<std::uintptr_t>(link.lDeviceHandle) > 0xFFFFFFFFull);
    d2xx::DWORD written = 0;
    ASSERT_EQ(link.Write("STATUS\r", 7, &written), FT_OK);
    bool gone = false;
    EXPECT_NE(PumpUntil(link, "UART: 9600 8N1", &gone).find("UART: 9600 8N1"), std::string::npos)
        << "the line settings reached the device";

    // Unplugged in the bridge's world: the pump's next ticks say the device is gone.
    std::ofstream(std::string("Z:") + std::getenv("ZEV_BRIDGE_SIM")) << "device FT4K2P9A FT232R USB UART\n";
    PumpUntil(link, "\x01", &gone);
    EXPECT_TRUE(gone);
    link.CloseLink();
}
