// The driver as the program loads it (beside the program, never from the current directory) and the
// simulated FTD2XX.DLL through the functions the program calls: enumeration, line settings, reads, an
// unplugged device, the ZEV console, faults and the configuration text and file.
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
    // Writes the bytes, then reads everything the device queued in reply.
    std::string Talk(const std::string& bytes) {
        d2xx::DWORD n = 0, queued = 0;
        EXPECT_EQ(link.Write(bytes.data(), static_cast<d2xx::DWORD>(bytes.size()), &n), FT_OK);
        EXPECT_EQ(link.GetQueueStatus(&queued), FT_OK);
        std::string reply(queued, '\0');
        EXPECT_TRUE(queued == 0 || link.Read(reply.data(), queued, &n) == FT_OK);
        return reply.substr(0, queued ? n : 0);
    }
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
    ASSERT_TRUE(sim.Unplug(SimDriver::kZevSerial));
    EXPECT_EQ(link.GetQueueStatus(&queued), FT_IO_ERROR);
    EXPECT_EQ(link.Write("x", 1, &got), FT_IO_ERROR);
    link.CloseLink();
    EXPECT_EQ(std::pair(sim.IsOpen(SimDriver::kZevSerial), sim.Calls("FT_Close")), std::pair(false, 1ul));
    EXPECT_FALSE(link.OpenLink("NOPE"));
}

TEST_F(SimLink, TheZevConsoleEchoesErasesAndAnswersEachCommandOthersStaySilent) {
    const std::string first = Talk("HE");
    EXPECT_EQ(first + Talk("L"), "HEL");
    EXPECT_EQ(sim.Written(SimDriver::kZevSerial), "HEL");
    EXPECT_EQ(Talk("\x08\x08\x08\x08"), "\x08 \x08\x08 \x08\x08 \x08") << "erases only while the line has text";
    EXPECT_EQ(Talk("\r"), "\r\n>") << "an empty line gives only a new prompt";
    const std::pair<const char*, const char*> commands[] = {{"HELP", "Comandos disponibles"},
                                                            {"SCAN", "redes encontradas"},
                                                            {"STATUS", "UART: 9600 8N1"},
                                                            {"list", "ssid="},
                                                            {"FOO\r\n", "ERROR: comando desconocido 'FOO'\r\n"}};
    for (const auto& [command, expected] : commands) {
        const std::string sent = std::string(command).ends_with("\n") ? command : std::string(command) + "\r";
        const std::string reply = Talk(sent);
        EXPECT_EQ(reply.rfind(std::string(command).substr(0, 4), 0), 0u) << reply;
        EXPECT_NE(reply.find(expected), std::string::npos) << command << ": " << reply;
        EXPECT_TRUE(reply.ends_with("\r\n>")) << "reply lines end with CR LF, then the prompt";
    }
    devlink::LinkState other(sim.Table());
    ASSERT_TRUE(other.OpenLink(SimDriver::kOtherSerial));
    d2xx::DWORD written = 0, queued = 99;
    ASSERT_EQ(other.Write("HELP\r", 5, &written), FT_OK);
    ASSERT_EQ(other.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(queued, 0u);
    sim.Fail("FT_Write", FT_IO_ERROR, 2, 1);
    EXPECT_EQ(std::tuple(link.Write("a", 1, &written), link.Write("b", 1, &written), link.Write("c", 1, &written)),
              std::tuple(FT_OK, FT_IO_ERROR, FT_OK));
    const unsigned long echoed = sim.Queued(SimDriver::kZevSerial);
    ASSERT_TRUE(sim.Flood(SimDriver::kZevSerial, 30000));
    EXPECT_EQ(sim.Queued(SimDriver::kZevSerial), echoed + 30000u);
}

TEST_F(SimLink, TheConfigurationTextAndFileSetDevicesAndFaultsAndABadLineChangesNothing) {
    EXPECT_EQ(sim.LoadConfig("# two ZEVs\ndevice ZVA ZEV Server A\nunplugged ZVB ZEV Server B\n"
                             "device ZVC Other cable\nfail FT_Read 4 at 2 times 3\n"),
              0u);
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(std::pair(FieldText(catalog.sDescriptions[0]), FieldText(catalog.sSerialNumbers[1])),
              std::pair(std::string("ZEV Server A"), std::string("ZVC")));
    const std::pair<const char*, unsigned long> bad[] = {{"device A B\nfail FT_Nothing 4\n", 2},
                                                         {"device A B\n\nfail FT_Read zero\n", 3},
                                                         {"device lonely\n", 1},
                                                         {"bogus\n", 1}};
    for (const auto& [text, line] : bad)
        EXPECT_EQ(sim.LoadConfig(text), line) << text;
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 2) << "a rejected configuration changes nothing";

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
