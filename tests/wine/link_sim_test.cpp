// The link logic against the simulated driver, loaded the way the program loads the real one.
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

using namespace d2xx;
using devlink::FieldText;
using testsupport::SimDriver;

// Both ways of looking: by name with Windows' limited search, and by full path where Windows lacks it.
TEST(DriverLibrary, LoadsTheDriverBesideTheProgramAndDegradesWhenMissing) {
    EXPECT_TRUE(devlink::LimitedDllSearchAvailable()) << "Wine 8 has SetDefaultDllDirectories";
    for (bool limited : {true, false}) {
        devlink::DriverLibrary present(L"FTD2XX.DLL", limited);
        EXPECT_TRUE(present.IsLoaded()) << limited;
        EXPECT_TRUE(present.Failure().empty());

        devlink::DriverLibrary missing(L"NO_SUCH_FTD2XX.DLL", limited);
        EXPECT_FALSE(missing.IsLoaded());
        EXPECT_FALSE(missing.Failure().empty());
        devlink::DeviceCatalog catalog(missing.Table());
        devlink::LinkState link(missing.Table());
        EXPECT_FALSE(catalog.EnumerateDevices());
        EXPECT_FALSE(link.OpenLink(SimDriver::kZevSerial));
    }
}

TEST(DriverLibrary, ARelativePathInTheCurrentDirectoryIsNotSearched) {
    // A DLL planted in the current directory under another name must not be picked up by name.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring planted = std::wstring(temp) + L"PLANTED_D2XX.DLL";
    ASSERT_TRUE(CopyFileW((testsupport::ExeFolder() + L"FTD2XX.DLL").c_str(), planted.c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(temp);
    devlink::DriverLibrary fromCwd(L"PLANTED_D2XX.DLL");
    SetCurrentDirectoryW(previous);
    DeleteFileW(planted.c_str());
    EXPECT_FALSE(fromCwd.IsLoaded());
}

TEST(SimulatedLink, EnumeratesTheDefaultDevicesWithTheZevOneSecond) {
    SimDriver sim;
    devlink::DeviceCatalog catalog(sim.Table());
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(FieldText(catalog.sDescriptions[0]), SimDriver::kOtherDescription);
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[0]), SimDriver::kOtherSerial);
    EXPECT_EQ(FieldText(catalog.sDescriptions[1]), SimDriver::kZevDescription);
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[1]), SimDriver::kZevSerial);

    catalog.TakeSnapshot();
    sim.Plug("ZV200002", "ZEV WiFi Server B");
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 3);
    EXPECT_TRUE(catalog.IsCatalogChanged());
}

TEST(SimulatedLink, OpensWithTheLineSettingsAndAPointerSizedHandle) {
    SimDriver sim;
    devlink::LinkState link(sim.Table());
    ASSERT_TRUE(link.OpenLink(SimDriver::kZevSerial));
    EXPECT_TRUE(sim.IsOpen(SimDriver::kZevSerial));
    if (sizeof(void*) == 8) {
        EXPECT_GT(reinterpret_cast<std::uintptr_t>(link.lDeviceHandle), 0xFFFFFFFFull) << "handle survives untruncated";
    }
    const auto s = sim.Settings(SimDriver::kZevSerial);
    EXPECT_EQ(s.baud, 9600u);
    EXPECT_EQ(s.wordLength, 8u);
    EXPECT_EQ(s.stopBits, 0u);
    EXPECT_EQ(s.parity, 0u);
    EXPECT_EQ(s.flow, 0u);
    EXPECT_EQ(s.readTimeoutMs, 5000u);
    EXPECT_EQ(s.writeTimeoutMs, 0u);
    EXPECT_EQ(s.eventChar, 0x7Eu);
    EXPECT_EQ(s.eventEnabled, 1u);
    EXPECT_EQ(s.errorEnabled, 0u);
    link.CloseLink();
    EXPECT_FALSE(sim.IsOpen(SimDriver::kZevSerial));
    link.CloseLink();
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
}

TEST(SimulatedLink, FailuresOfOpenAndConfigurationAreClosedCleanly) {
    SimDriver sim;
    devlink::LinkState link(sim.Table());
    EXPECT_FALSE(link.OpenLink("NOPE"));
    EXPECT_EQ(sim.Calls("FT_Close"), 0u);

    sim.Fail("FT_SetBaudRate", FT_IO_ERROR, 1, 1);
    EXPECT_FALSE(link.OpenLink(SimDriver::kZevSerial));
    EXPECT_EQ(link.lLastStatus, static_cast<int>(FT_IO_ERROR));
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_FALSE(sim.IsOpen(SimDriver::kZevSerial)) << "the device is free for the next try";
    EXPECT_TRUE(link.OpenLink(SimDriver::kZevSerial));
}

TEST(SimulatedLink, AVanishingDeviceDoesNotHangEnumeration) {
    SimDriver sim;
    devlink::DeviceCatalog catalog(sim.Table());
    // The count says 2, then every by-index query of the run fails as for an unplugged device.
    sim.Fail("FT_ListDevices", FT_DEVICE_NOT_FOUND, 2, 0);
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[0]), "");
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[1]), "");
    EXPECT_EQ(sim.Calls("FT_ListDevices"), 1u + 2u * 2u * devlink::DeviceCatalog::kByIndexAttempts);
}

TEST(SimulatedLink, ReadsNeverExceedWhatIsAskedOrQueuedAndUnplugIsAnIoError) {
    SimDriver sim;
    devlink::LinkState link(sim.Table());
    ASSERT_TRUE(link.OpenLink(SimDriver::kZevSerial));
    ASSERT_TRUE(sim.Queue(SimDriver::kZevSerial, "abcdef"));
    d2xx::DWORD queued = 0, got = 0;
    ASSERT_EQ(link.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(queued, 6u);
    char buffer[16] = {};
    ASSERT_EQ(link.Read(buffer, 4, &got), FT_OK);
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    ASSERT_EQ(link.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(queued, 2u);

    ASSERT_TRUE(sim.Unplug(SimDriver::kZevSerial));
    EXPECT_EQ(link.GetQueueStatus(&queued), FT_IO_ERROR);
    EXPECT_EQ(link.Write("x", 1, &got), FT_IO_ERROR);
    link.CloseLink();
    EXPECT_EQ(link.GetQueueStatus(&queued), FT_INVALID_HANDLE);
}
