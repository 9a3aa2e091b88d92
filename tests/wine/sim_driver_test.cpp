// The driver as the program loads it: beside the program, never from the current directory. (The
// simulation's own rules and handles are tested natively; the program's link over the simulated DLL
// by the main window's and the finder's tests; its configuration file, which another process
// changes, by the end-to-end test.)
#include "link/device_catalog.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

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
