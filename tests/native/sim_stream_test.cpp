// The simulated device's endless stream: its configuration statement, the queue it keeps topped
// up behind the other queued bytes, its byte counts, and the pattern whose every byte follows
// from its position.
#include "sim/sim_world.h"
#include "sim/stream_pattern.h"

#include <gtest/gtest.h>

#include <string>

using namespace d2xx;

TEST(SimStream, StatementTakesASerialAndAnOptionalDepth) {
    struct Case {
        const char* text;
        int badLine; // 0: parses
        std::uint32_t depth;
    } const cases[] = {
        {"stream ZV1", 0, sim::kDefaultStreamDepth},
        {"stream ZV1 300", 0, 300},
        {"stream ZV1 67108864", 0, sim::kMaxStreamDepth},
        {"\nstream", 2, 0},
        {"stream ZV1 0", 1, 0},
        {"stream ZV1 67108865", 1, 0},
        {"stream ZV1 3x", 1, 0},
        {"stream ZV1 300 more", 1, 0},
    };
    for (const Case& c : cases) {
        int line = 0;
        const auto config = sim::ParseConfig(c.text, &line, nullptr);
        ASSERT_EQ(config.has_value(), c.badLine == 0) << c.text;
        if (config) {
            ASSERT_EQ(config->streams.size(), 1u) << c.text;
            EXPECT_EQ(config->streams[0].first, "ZV1");
            EXPECT_EQ(config->streams[0].second, c.depth) << c.text;
        } else {
            EXPECT_EQ(line, c.badLine) << c.text;
        }
    }
}

TEST(SimStream, QueueIsToppedUpBehindQueuedBytesAndEveryByteIsCounted) {
    sim::World world;
    auto config = sim::ParseConfig("device ZV1 ZEV A\nstream ZV1 100\n", nullptr, nullptr);
    world.Apply(*config);
    FT_HANDLE h = nullptr;
    ASSERT_EQ(world.OpenEx(const_cast<char*>("ZV1"), FT_OPEN_BY_SERIAL_NUMBER, &h), FT_OK);
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

    // Named no more: nothing new is sent, the queue is still read out.
    world.Apply(*sim::ParseConfig("device ZV1 ZEV A\n", nullptr, nullptr));
    ASSERT_EQ(world.GetQueueStatus(h, &queued), FT_OK);
    EXPECT_EQ(queued, 70u);
    ASSERT_EQ(world.Read(h, buffer, 10, &got), FT_OK);
    EXPECT_EQ(std::string(buffer, got), sim::StreamText(98, 10));
    ASSERT_EQ(world.Close(h), FT_OK);
    EXPECT_EQ(s.purged, 60u);
    EXPECT_EQ(s.queued, 0u);
    EXPECT_EQ(s.sent, s.read + s.purged);
}

TEST(SimStream, PatternIsNumberedLinesContinuousAcrossAnyCut) {
    const std::string first = sim::StreamText(0, sim::kStreamLineLength);
    EXPECT_EQ(first.substr(0, 21), "ZEV stream 000000000 ");
    EXPECT_EQ(first.substr(sim::kStreamLineLength - 2), "\r\n");
    EXPECT_EQ(sim::StreamText(123456789ull * sim::kStreamLineLength, 20), "ZEV stream 123456789");
    EXPECT_EQ(sim::StreamText(5, 200), sim::StreamText(5, 59) + sim::StreamText(64, 141));
}
