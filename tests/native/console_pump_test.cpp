// The receive pump's driver half.
#include "console/receive_pump.h"
#include "sim/stream_pattern.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace d2xx;
using console::FetchReceived;
using Step = testsupport::FakeDriver::ReadStep;

namespace {

struct Pump {
    Pump() { EXPECT_TRUE(link.OpenLink("ZV1")); }
    console::ReceiveResult Tick() {
        fake.calls.clear();
        return FetchReceived(link);
    }
    std::vector<DWORD> Asked() const {
        std::vector<DWORD> out;
        for (const std::string& call : fake.calls)
            if (call.starts_with("Read h "))
                out.push_back(static_cast<DWORD>(std::stoul(call.substr(7))));
        return out;
    }
    testsupport::FakeDriver fake;
    devlink::LinkState link{fake.table};
};

} // namespace

TEST(PumpFetch, BoundedReadsKeepWhatCameBeforeAFailureSayWhenTheDeviceIsGoneAndNothingWhenClosed) {
    const struct {
        DWORD queued;
        std::vector<Step> script;
        std::string bytes;        // what the tick hands over
        std::vector<DWORD> asked; // the count of each read
        FT_STATUS lastStatus;
        FT_STATUS query = FT_OK;
        bool gone = false;
    } cases[] = {
        {300,
         {{sim::StreamText(0, 256)}, {sim::StreamText(0, 300).substr(256)}},
         sim::StreamText(0, 300),
         {256, 44},
         FT_OK},
        // Short reads ask only for the rest; FT_IO_ERROR from a read counts as success.
        {10, {{"abc"}, {"defg", FT_IO_ERROR}, {"hij"}}, "abcdefghij", {10, 7, 3}, FT_OK},
        // A driver claiming more than asked cannot overrun the buffer.
        {3, {{"xyz", FT_OK, 5000}}, "xyz", {3}, FT_OK},
        // Bytes read before a failed or empty read are kept; a first read failing shows nothing.
        {600,
         {{sim::StreamText(0, 256)}, {"", FT_INSUFFICIENT_RESOURCES}},
         sim::StreamText(0, 256),
         {256, 256},
         FT_INSUFFICIENT_RESOURCES},
        {20, {{"12345"}, {""}}, "12345", {20, 15}, FT_OK},
        {4, {{"", FT_OTHER_ERROR}}, "", {4}, FT_OTHER_ERROR},
        {1, {{"z"}}, "z", {1}, FT_OK},
        {0x7FFF, {}, "", {}, FT_OK}, // a driver reporting success without a count: nothing to read
        // Nothing queued: no read.
        {0, {}, "", {}, FT_OK},
        // A failed query reads nothing; only the statuses of a gone device say so.
        {5, {}, "", {}, FT_OTHER_ERROR, FT_OTHER_ERROR},
        {5, {}, "", {}, FT_INVALID_HANDLE, FT_INVALID_HANDLE, true},
        {5, {}, "", {}, FT_DEVICE_NOT_FOUND, FT_DEVICE_NOT_FOUND, true},
        {5, {}, "", {}, FT_DEVICE_NOT_OPENED, FT_DEVICE_NOT_OPENED, true},
        {5, {}, "", {}, FT_IO_ERROR, FT_IO_ERROR, true},
    };
    Pump p;
    for (const auto& c : cases) {
        p.fake.queued = c.queued;
        p.fake.reads.assign(c.script.begin(), c.script.end());
        p.fake.fail["GetQueueStatus"] = c.query;
        const auto got = p.Tick();
        EXPECT_EQ(std::tuple(got.bytes, got.deviceGone, p.Asked()), std::tuple(c.bytes, c.gone, c.asked)) << c.queued;
        EXPECT_EQ(p.link.lLastStatus, static_cast<std::int32_t>(c.lastStatus)) << c.queued;
        EXPECT_TRUE(p.link.IsOpen()) << "the window, not the fetch, ends the link";
    }

    p.fake.fail.clear();
    p.fake.queued = 0x7FFFFFFFu;
    p.fake.reads.assign(console::kMaxBytesPerTick / 256, Step{std::string(256, 'q')});
    EXPECT_EQ(p.Tick().bytes.size(), console::kMaxBytesPerTick);
    EXPECT_EQ(p.Asked().size(), console::kMaxBytesPerTick / 256);

    p.link.CloseLink();
    p.fake.reads = {{"never"}};
    const auto got = p.Tick();
    EXPECT_EQ(std::pair(got.bytes, got.deviceGone), std::pair(std::string(), false));
    EXPECT_EQ(p.fake.calls, std::vector<std::string>{});
}
