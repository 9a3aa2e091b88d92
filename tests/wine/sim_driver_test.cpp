// The driver as the program loads it (beside the program, never from the current directory) and the
// program's link over a real DLL: enumeration, pointer-sized handles, reads and an unplugged device.
// (The simulation's own rules and the line settings are tested natively; its configuration file,
// which another process changes, by the end-to-end test.)
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

using namespace d2xx;
using devlink::FieldText;
using testsupport::SimDriver;

TEST(DriverLibrary, LoadsBesideTheProgramNeverFromTheCurrentDirectoryAndDegradesWhenMissing) {
    // Both ways of looking: by name with Windows' limited search, and by full path where Windows lacks it.
    EXPECT_TRUE(devlink::LimitedDllSearchAvailable()) << "Wine 8 has SetDefaultDllDirectories";
    for (bool limited : {true, false}) {
        EXPECT_TRUE(devlink::DriverLibrary(L"FTD2XX.DLL", limited).IsLoaded()) << limited;
        devlink::DriverLibrary missing(L"NO_SUCH_FTD2XX.DLL", limited);
        EXPECT_FALSE(missing.IsLoaded() || missing.Failure().empty()) << limited;
        EXPECT_FALSE(devlink::DeviceCatalog(missing.Table()).EnumerateDevices());
    }
    // A DLL planted in the current directory must not be picked up by name.
    wchar_t temp[MAX_PATH], previous[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring planted = std::wstring(temp) + L"PLANTED_D2XX.DLL";
    ASSERT_TRUE(CopyFileW((testsupport::ExeFolder() + L"FTD2XX.DLL").c_str(), planted.c_str(), FALSE));
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(temp);
    const bool loaded = devlink::DriverLibrary(L"PLANTED_D2XX.DLL").IsLoaded();
    SetCurrentDirectoryW(previous);
    DeleteFileW(planted.c_str());
    EXPECT_FALSE(loaded);
}

TEST(SimLink, EnumeratesOpensReadsNoMoreThanAskedAndFailsOnceUnplugged) {
    SimDriver sim;
    devlink::LinkState link{sim.Table()};
    devlink::DeviceCatalog catalog{sim.Table()};
    ASSERT_TRUE(catalog.EnumerateDevices() && link.OpenLink(SimDriver::kZevSerial));
    EXPECT_EQ(
        std::tuple(catalog.lNumDevices, FieldText(catalog.sDescriptions[1]), FieldText(catalog.sSerialNumbers[1])),
        std::tuple(2, std::string(SimDriver::kZevDescription), std::string(SimDriver::kZevSerial)));
    EXPECT_TRUE(sizeof(void*) == 4 || reinterpret_cast<std::uintptr_t>(link.lDeviceHandle) > 0xFFFFFFFFull)
        << "an x64 handle survives untruncated";
    ASSERT_TRUE(sim.Queue(SimDriver::kZevSerial, "abcdef"));
    d2xx::DWORD queued = 0, got = 0;
    char buffer[16] = {};
    ASSERT_EQ(link.Read(buffer, 4, &got), FT_OK);
    ASSERT_EQ(link.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(std::pair(std::string(buffer, got), queued), std::pair(std::string("abcd"), d2xx::DWORD{2}));
    ASSERT_TRUE(sim.Unplug(SimDriver::kZevSerial));
    EXPECT_EQ(std::pair(link.GetQueueStatus(&queued), link.Write("x", 1, &got)),
              (std::pair<FT_STATUS, FT_STATUS>(FT_IO_ERROR, FT_IO_ERROR)));
    link.CloseLink();
    EXPECT_EQ(std::pair(sim.IsOpen(SimDriver::kZevSerial), sim.Calls("FT_Close")), std::pair(false, 1ul));
}
