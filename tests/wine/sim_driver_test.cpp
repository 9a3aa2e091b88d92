// The driver as the program loads it (beside the program, never from the current directory) and the
// simulated FTD2XX.DLL through the functions the program calls and its test entry points: enumeration,
// pointer-sized handles, line settings, reads, an unplugged device, the configuration text and file
// (the console and the configuration's rules are the driver state's, tested natively).
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace d2xx;
using devlink::FieldText;
using testsupport::SimDriver;

namespace {

class SimLink : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenLink(SimDriver::kZevSerial)); }
    SimDriver sim;
    devlink::LinkState link{sim.Table()};
    devlink::DeviceCatalog catalog{sim.Table()};
};

} // namespace

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

TEST_F(SimLink, EnumeratesOpensWithTheLineSettingsAndReadsNoMoreThanAskedUntilUnplugged) {
    // The count says 2, then every by-index query fails as for a vanished device: no hang.
    sim.Fail("FT_ListDevices", FT_DEVICE_NOT_FOUND, 2, 0);
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[1]), "");
    EXPECT_EQ(sim.Calls("FT_ListDevices"), 1u + 2u * 2u * devlink::DeviceCatalog::kByIndexAttempts);
    sim.ClearFaults();
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(std::tuple(FieldText(catalog.sDescriptions[0]), FieldText(catalog.sSerialNumbers[0]),
                         FieldText(catalog.sDescriptions[1]), FieldText(catalog.sSerialNumbers[1])),
              std::tuple(std::string(SimDriver::kOtherDescription), std::string(SimDriver::kOtherSerial),
                         std::string(SimDriver::kZevDescription), std::string(SimDriver::kZevSerial)));
    if (sizeof(void*) == 8) {
        EXPECT_GT(reinterpret_cast<std::uintptr_t>(link.lDeviceHandle), 0xFFFFFFFFull) << "survives untruncated";
    }
    const auto s = sim.Settings(SimDriver::kZevSerial);
    EXPECT_EQ(std::tuple(s.baud, s.wordLength, s.stopBits, s.parity, s.flow, s.readTimeoutMs, s.writeTimeoutMs,
                         s.eventChar, s.eventEnabled, s.errorEnabled),
              std::tuple(9600u, 8u, 0u, 0u, 0u, 5000u, 0u, 0x7Eu, 1u, 0u));
    ASSERT_TRUE(sim.Queue(SimDriver::kZevSerial, "abcdef"));
    d2xx::DWORD queued = 0, got = 0;
    char buffer[16] = {};
    ASSERT_EQ(link.Read(buffer, 4, &got), FT_OK);
    EXPECT_EQ(std::string(buffer, got), "abcd");
    ASSERT_EQ(link.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(queued, 2u);
    ASSERT_TRUE(sim.Flood(SimDriver::kZevSerial, 30000));
    EXPECT_EQ(sim.Queued(SimDriver::kZevSerial), 30002u);
    ASSERT_TRUE(sim.Unplug(SimDriver::kZevSerial));
    EXPECT_EQ(link.GetQueueStatus(&queued), FT_IO_ERROR);
    EXPECT_EQ(link.Write("x", 1, &got), FT_IO_ERROR);
    link.CloseLink();
    EXPECT_EQ(std::pair(sim.IsOpen(SimDriver::kZevSerial), sim.Calls("FT_Close")), std::pair(false, 1ul));
    EXPECT_FALSE(link.OpenLink("NOPE"));
}

// What the configuration says is tested natively; here the text and the file reach the DLL.
TEST_F(SimLink, TheConfigurationTextAndFileSetTheDevicesAndABadLineChangesNothing) {
    EXPECT_EQ(sim.LoadConfig("device ZVA ZEV Server A\nunplugged ZVB ZEV Server B\ndevice ZVC Other cable\n"), 0u);
    EXPECT_EQ(sim.LoadConfig("device A B\n\nbogus\n"), 3u);
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2) << "a rejected configuration changes nothing";
    EXPECT_EQ(std::pair(FieldText(catalog.sDescriptions[0]), FieldText(catalog.sSerialNumbers[1])),
              std::pair(std::string("ZEV Server A"), std::string("ZVC")));

    // The file beside a private copy of the DLL, read again when another process changes it.
    const std::wstring folder = testsupport::ExeFolder() + L"sim_config_file\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((testsupport::ExeFolder() + L"FTD2XX.DLL").c_str(), (folder + L"FTD2XX.DLL").c_str(), FALSE));
    const std::filesystem::path config(folder + L"ftd2xx_sim.txt");
    auto write = [&](const char* text) { std::ofstream(config, std::ios::binary | std::ios::trunc) << text; };
    write("device ZVA ZEV A\n");
    devlink::DriverLibrary driver((folder + L"FTD2XX.DLL").c_str());
    devlink::DeviceCatalog fromFile(driver.Table());
    const struct {
        const char* text; // null: the file removed
        std::int32_t count;
        const char* second; // serial number in slot 1
    } steps[] = {
        {"device ZVA ZEV A\n", 1, ""},
        {"device ZVA ZEV A\ndevice ZVB ZEV B plugged later\n", 2, "ZVB"}, // the size changes: no timestamp race
        {"device ZVA ZEV A\nthis line is wrong\n", 2, "ZVB"},
        {nullptr, 2, SimDriver::kZevSerial}}; // the default devices
    for (const auto& s : steps) {
        s.text ? write(s.text) : void(std::filesystem::remove(config));
        ASSERT_TRUE(fromFile.EnumerateDevices());
        EXPECT_EQ(fromFile.lNumDevices, s.count) << (s.text ? s.text : "removed");
        if (s.count == 2) {
            EXPECT_EQ(FieldText(fromFile.sSerialNumbers[1]), s.second);
        }
    }
}
