// The simulated driver's configuration file beside the DLL, read again when another process
// changes it. Runs on a private copy of the DLL so other tests never see the file.
#include "link/device_catalog.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void WriteFile(const std::wstring& path, const std::string& text) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

TEST(SimConfigFile, DevicesFollowTheFileAndABrokenFileKeepsThePreviousSet) {
    const std::wstring folder = testsupport::ExeFolder() + L"sim_config_file\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((testsupport::ExeFolder() + L"FTD2XX.DLL").c_str(), (folder + L"FTD2XX.DLL").c_str(), FALSE));
    const std::wstring config = folder + L"ftd2xx_sim.txt";
    WriteFile(config, "device ZVA ZEV A\n");

    devlink::DriverLibrary driver((folder + L"FTD2XX.DLL").c_str());
    ASSERT_TRUE(driver.IsLoaded());
    devlink::DeviceCatalog catalog(driver.Table());
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 1);
    EXPECT_EQ(devlink::FieldText(catalog.sSerialNumbers[0]), "ZVA");

    // Another process plugs a device by rewriting the file (size changes, so no timestamp race).
    WriteFile(config, "device ZVA ZEV A\ndevice ZVB ZEV B plugged later\n");
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(devlink::FieldText(catalog.sDescriptions[1]), "ZEV B plugged later");

    WriteFile(config, "device ZVA ZEV A\nthis line is wrong\n");
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 2);

    DeleteFileW(config.c_str());
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 2) << "no file: the default devices";
    EXPECT_EQ(devlink::FieldText(catalog.sSerialNumbers[1]), "ZV100001");
}
