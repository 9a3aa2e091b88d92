// Guards the simulated driver (a test tool): its console, configuration text and endless stream.
#include "sim/sim_world.h"
#include "sim/stream_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace d2xx;

namespace {

std::string Talk(sim::World& world, FT_HANDLE h, const std::string& bytes) {
    DWORD n = 0, queued = 0;
    EXPECT_EQ(world.Write(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n), FT_OK);
    EXPECT_EQ(world.GetQueueStatus(h, &queued), FT_OK);
    std::string reply(queued, '\0');
    EXPECT_TRUE(queued == 0 || world.Read(h, reply.data(), queued, &n) == FT_OK);
    return reply;
}

FT_HANDLE Open(sim::World& world, const char* serial) {
    FT_HANDLE h = nullptr;
    EXPECT_EQ(world.OpenEx(const_cast<char*>(serial), FT_OPEN_BY_SERIAL_NUMBER, &h), FT_OK) << serial;
    return h;
}

} // namespace

TEST(SimConsole, EchoesErasesAndAnswersEachCommandTheCableStaysSilent) {
    sim::World world; // the default devices: a plain FTDI cable, then a ZEV device
    const FT_HANDLE zev = Open(world, "ZV100001"), cable = Open(world, "FT4K2P9A");
    EXPECT_TRUE(sizeof(void*) == 4 || reinterpret_cast<std::uintptr_t>(zev) > 0xFFFFFFFFull) << "above 4 GiB on x64";
    ASSERT_EQ(world.SetBaudRate(zev, 9600), FT_OK);
    ASSERT_EQ(world.SetDataCharacteristics(zev, 8, 0, 0), FT_OK);
    const std::string echo = Talk(world, zev, "HE");
    EXPECT_EQ(echo + Talk(world, zev, "L"), "HEL");
    EXPECT_EQ(Talk(world, zev, "\x08\x7F\x08\x08"), "\x08 \x08\x08 \x08\x08 \x08")
        << "erases only while the line has text";
    EXPECT_EQ(Talk(world, zev, "\r"), "\r\n>") << "an empty line gives only a new prompt";
    const std::pair<const char*, const char*> commands[] = {{"SCAN\r", "redes encontradas"},
                                                            {"STATUS\r", "UART: 9600 8N1"},
                                                            {"list\r", "ssid="},
                                                            {"FOO\r\n", "ERROR: comando desconocido 'FOO'\r\n"}};
    for (const auto& [command, expected] : commands) {
        const std::string reply = Talk(world, zev, command);
        EXPECT_EQ(reply.rfind(std::string(command).substr(0, 4), 0), 0u) << reply;
        EXPECT_NE(reply.find(expected), std::string::npos) << command << ": " << reply;
        EXPECT_TRUE(reply.ends_with("\r\n>")) << "reply lines end with CR LF, then the prompt";
    }
    EXPECT_EQ(Talk(world, cable, "HELP\r"), "");
    DWORD count = 0; // a count query is the start of an enumeration, counted as such
    ASSERT_EQ(world.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
    EXPECT_EQ(std::tuple(count, world.CallCount("enumeration"), world.CallCount("FT_ListDevices")),
              std::tuple(DWORD{2}, 1u, 1u));
}

TEST(SimConfig, DevicesFaultsDelaysStreamsAndTheLineOfAMistake) {
    int line = 0;
    const auto config =
        sim::ParseConfig("# two ZEVs\ndevice ZVA ZEV Server A\nunplugged ZVB ZEV Server B\n"
                         "device ZVC Other cable\nfail FT_Read 4 at 2 times 3\nfail FT_Close 4294967295\n"
                         "stream ZV1\nstream ZV2 300\nstream ZV3 67108864\ndelay enumeration 1500 at 2\n",
                         &line, nullptr);
    ASSERT_TRUE(config);
    ASSERT_EQ(config->devices.size(), 3u);
    EXPECT_EQ(std::tuple(config->devices[1].serial, config->devices[1].description, config->devices[1].plugged),
              std::tuple("ZVB", "ZEV Server B", false));
    ASSERT_EQ(config->faults.size(), 2u);
    const sim::Fault& f = config->faults[0].second;
    EXPECT_EQ(std::tuple(config->faults[0].first, f.status, f.atCall, f.times), std::tuple("FT_Read", 4u, 2u, 3u));
    using Streams = decltype(config->streams);
    EXPECT_EQ(config->streams,
              (Streams{{"ZV1", sim::kDefaultStreamDepth}, {"ZV2", 300}, {"ZV3", sim::kMaxStreamDepth}}));
    // A delay holds only the calls it names, on the schedule a fault has.
    sim::World world;
    world.Apply(*config);
    const std::uint32_t held[] = {world.TakeDelay("enumeration"), world.TakeDelay("FT_Read"),
                                  world.TakeDelay("enumeration"), world.TakeDelay("enumeration")};
    EXPECT_EQ(std::vector<std::uint32_t>(std::begin(held), std::end(held)),
              (std::vector<std::uint32_t>{0, 0, 1500, 0}));
    const std::pair<const char*, int> bad[] = {
        {"device A B\nfail FT_Nothing 4\n", 2},
        {"device A B\n\nfail FT_Read zero\n", 3},
        {"delay enumeration 0", 1},
        {"delay FT_Nothing 5", 1},
        {"fail enumeration 4", 1},
        {"delay enumeration 60001 at 2", 1},
    };
    for (const auto& [text, at] : bad) {
        EXPECT_FALSE(sim::ParseConfig(text, &line, nullptr)) << text;
        EXPECT_EQ(line, at) << text;
    }
}

TEST(SimStream, QueueIsToppedUpEveryByteIsCountedAndThePatternIsContinuous) {
    sim::World world;
    auto config = sim::ParseConfig("device ZV1 ZEV A\nstream ZV1 100\n", nullptr, nullptr);
    world.Apply(*config);
    const FT_HANDLE h = Open(world, "ZV1");
    ASSERT_TRUE(world.QueueBytes("ZV1", "ab"));
    const sim::Stream& s = world.Find("ZV1")->stream;

    DWORD queued = 0, got = 0;
    char buffer[160] = {};
    ASSERT_EQ(world.GetQueueStatus(h, &queued), FT_OK);
    EXPECT_EQ(queued, 102u);
    ASSERT_EQ(world.Read(h, buffer, 70, &got), FT_OK);
    EXPECT_EQ(std::string(buffer, got), "ab" + sim::StreamText(0, 68));
    ASSERT_EQ(world.GetQueueStatus(h, &queued), FT_OK); // topped up again, no more
    EXPECT_EQ(queued, 100u);
    EXPECT_EQ(s.sent, 168u);
    ASSERT_EQ(world.Read(h, buffer, 30, &got), FT_OK);
    EXPECT_EQ(std::string(buffer, got), sim::StreamText(68, 30)) << "the stream goes on where it stopped";
    EXPECT_EQ(s.read, 98u);
    EXPECT_EQ(s.queued, 70u);
    ASSERT_EQ(world.Close(h), FT_OK);
    EXPECT_EQ(s.purged, 70u);
    EXPECT_EQ(s.sent, s.read + s.purged);
}
