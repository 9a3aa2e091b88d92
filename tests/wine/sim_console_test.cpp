// The simulated ZEV device's console, through the driver functions the program uses.
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

using namespace d2xx;
using testsupport::SimDriver;

namespace {

class SimConsole : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenLink(SimDriver::kZevSerial)); }

    void Send(const std::string& bytes) {
        d2xx::DWORD written = 0;
        ASSERT_EQ(link.Write(bytes.data(), static_cast<d2xx::DWORD>(bytes.size()), &written), FT_OK);
        EXPECT_EQ(written, bytes.size());
    }
    std::string Receive() {
        d2xx::DWORD queued = 0, got = 0;
        EXPECT_EQ(link.GetQueueStatus(&queued), FT_OK);
        std::string bytes(queued, '\0');
        if (queued) {
            EXPECT_EQ(link.Read(bytes.data(), queued, &got), FT_OK);
        }
        bytes.resize(got);
        return bytes;
    }

    SimDriver sim;
    devlink::LinkState link{sim.Table()};
};

} // namespace

TEST_F(SimConsole, EchoesEachByteAndRecordsWhatWasWritten) {
    Send("HE");
    Send("L");
    EXPECT_EQ(Receive(), "HEL");
    EXPECT_EQ(sim.Written(SimDriver::kZevSerial), "HEL");
}

TEST_F(SimConsole, BackspaceErasesOnlyWhileTheLineHasText) {
    Send("AB\x08");
    EXPECT_EQ(Receive(), "AB\x08 \x08");
    Send("\x08\x08\x08");
    EXPECT_EQ(Receive(), "\x08 \x08") << "one more erase, then nothing on the empty line";
    Send("\r");
    EXPECT_EQ(Receive(), "\r\n>") << "an empty line gives only a new prompt";
}

TEST_F(SimConsole, EachCommandAnswersAfterCrLfAndEndsWithAPrompt) {
    const std::pair<const char*, const char*> commands[] = {
        {"HELP", "Comandos disponibles"}, {"SCAN", "redes encontradas"}, {"STATUS", "UART: 9600 8N1"},
        {"LIST", "ssid="}, {"list", "ssid="}};
    for (const auto& [command, expected] : commands) {
        Send(std::string(command) + "\r");
        const std::string reply = Receive();
        EXPECT_EQ(reply.rfind(std::string(command) + "\r\n", 0), 0u) << reply;
        EXPECT_NE(reply.find(expected), std::string::npos) << command << ": " << reply;
        EXPECT_EQ(reply.back(), '>');
        EXPECT_EQ(reply.find('\n', reply.size() - 3), reply.size() - 2) << "reply lines end with CR LF";
    }
}

TEST_F(SimConsole, UnknownCommandsGetAnErrorLineAndLfIsIgnored) {
    Send("FOO\r\n");
    const std::string reply = Receive();
    EXPECT_NE(reply.find("ERROR: comando desconocido 'FOO'\r\n"), std::string::npos) << reply;
    EXPECT_EQ(reply.back(), '>');
}

TEST_F(SimConsole, TheNonZevDeviceStaysSilent) {
    devlink::LinkState other(sim.Table());
    ASSERT_TRUE(other.OpenLink(SimDriver::kOtherSerial));
    d2xx::DWORD written = 0, queued = 99;
    ASSERT_EQ(other.Write("HELP\r", 5, &written), FT_OK);
    ASSERT_EQ(other.GetQueueStatus(&queued), FT_OK);
    EXPECT_EQ(queued, 0u);
}

TEST_F(SimConsole, FaultsAndFloodsAreInjectable) {
    sim.Fail("FT_Write", FT_IO_ERROR, 2, 1);
    d2xx::DWORD written = 0;
    EXPECT_EQ(link.Write("a", 1, &written), FT_OK);
    EXPECT_EQ(link.Write("b", 1, &written), FT_IO_ERROR);
    EXPECT_EQ(link.Write("c", 1, &written), FT_OK);
    Receive();
    ASSERT_TRUE(sim.Flood(SimDriver::kZevSerial, 30000));
    EXPECT_EQ(sim.Queued(SimDriver::kZevSerial), 30000u);
    EXPECT_EQ(Receive().size(), 30000u);
}

TEST(SimConfig, ParsesDevicesAndFaultsAndNamesTheBadLine) {
    SimDriver sim;
    EXPECT_EQ(sim.LoadConfig("# two ZEVs\n"
                             "device ZVA ZEV Server A\n"
                             "unplugged ZVB ZEV Server B\n"
                             "device ZVC Other cable\n"
                             "fail FT_Read 4 at 2 times 3\n"),
              0u);
    devlink::DeviceCatalog catalog(sim.Table());
    ASSERT_TRUE(catalog.EnumerateDevices());
    ASSERT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(devlink::FieldText(catalog.sDescriptions[0]), "ZEV Server A");
    EXPECT_EQ(devlink::FieldText(catalog.sSerialNumbers[1]), "ZVC");

    EXPECT_EQ(sim.LoadConfig("device A B\nfail FT_Nothing 4\n"), 2u);
    EXPECT_EQ(sim.LoadConfig("device A B\n\nfail FT_Read zero\n"), 3u);
    EXPECT_EQ(sim.LoadConfig("device lonely\n"), 1u);
    EXPECT_EQ(sim.LoadConfig("bogus\n"), 1u);
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 2) << "a rejected configuration changes nothing";
}
