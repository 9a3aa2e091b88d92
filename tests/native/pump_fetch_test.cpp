// The receive pump's driver half: the queue query, reads of at most 256 bytes and never more
// than still queued, the statuses it records, and what it keeps when a read fails.
#include "console/receive_pump.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace d2xx;
using console::FetchReceived;

namespace {

// The fake driver with a scripted queue query and reads. One instance at a time.
class PumpFetch : public ::testing::Test {
protected:
    struct ReadStep {
        std::string bytes; // what the read delivers (cut to what was asked)
        FT_STATUS status = FT_OK;
        DWORD claimed = ~0u; // a count to report instead of the bytes' number
    };
    void SetUp() override {
        current = this;
        table.GetQueueStatus = [](FT_HANDLE h, DWORD* n) {
            EXPECT_EQ(h, current->fake.handle);
            ++current->queueCalls;
            if (current->queued != 0x7FFF) // this count: success without writing one
                *n = current->queued;
            return current->queueStatus;
        };
        table.Read = [](FT_HANDLE h, void* buffer, DWORD toRead, DWORD* got) -> FT_STATUS {
            EXPECT_EQ(h, current->fake.handle);
            EXPECT_EQ(*got, 0u) << "bytes read is cleared before each read";
            current->asked.push_back(toRead);
            if (current->reads.empty()) {
                ADD_FAILURE() << "read beyond the script";
                return FT_OTHER_ERROR;
            }
            const ReadStep step = current->reads.front();
            current->reads.pop_front();
            const std::size_t n = std::min<std::size_t>(step.bytes.size(), toRead);
            std::copy_n(step.bytes.data(), n, static_cast<char*>(buffer));
            *got = step.claimed != ~0u ? step.claimed : static_cast<DWORD>(n);
            return step.status;
        };
        ASSERT_TRUE(link.OpenLink("ZV1"));
    }

    static inline PumpFetch* current = nullptr;
    testsupport::FakeDriver fake;
    DriverTable table = fake.table;
    devlink::LinkState link{table};
    FT_STATUS queueStatus = FT_OK;
    DWORD queued = 0;
    std::deque<ReadStep> reads;
    std::vector<DWORD> asked; // the count of every read
    int queueCalls = 0;
};

std::string Pattern(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

} // namespace

TEST_F(PumpFetch, ReadsAtMost256NeverMoreThanStillQueuedAndKeepsWhatCameBeforeAFailure) {
    const struct {
        DWORD queued;
        std::vector<ReadStep> script;
        std::string bytes;        // what the tick hands over
        std::vector<DWORD> asked; // the count of each read
        FT_STATUS lastStatus;
    } cases[] = {
        {300, {{Pattern(256)}, {Pattern(300).substr(256)}}, Pattern(300), {256, 44}, FT_OK},
        // Short reads ask only for the rest; FT_IO_ERROR from a read counts as success.
        {10, {{"abc"}, {"defg", FT_IO_ERROR}, {"hij"}}, "abcdefghij", {10, 7, 3}, FT_OK},
        // A driver claiming more than asked cannot overrun the buffer.
        {3, {{"xyz", FT_OK, 5000}}, "xyz", {3}, FT_OK},
        // Bytes read before a failed or empty read are kept; a first read failing shows nothing.
        {600, {{Pattern(256)}, {"", FT_INSUFFICIENT_RESOURCES}}, Pattern(256), {256, 256}, FT_INSUFFICIENT_RESOURCES},
        {20, {{"12345"}, {""}}, "12345", {20, 15}, FT_OK},
        {4, {{"", FT_OTHER_ERROR}}, "", {4}, FT_OTHER_ERROR},
        {1, {{"z"}}, "z", {1}, FT_OK},
        {0x7FFF, {}, "", {}, FT_OK}, // a driver reporting success without a count: nothing to read
        // Nothing queued, or a negative count: no read.
        {0, {}, "", {}, FT_OK},
        {0x80000000u, {}, "", {}, FT_OK},
    };
    for (const auto& c : cases) {
        queued = c.queued;
        reads.assign(c.script.begin(), c.script.end());
        asked.clear();
        const auto got = FetchReceived(link);
        EXPECT_EQ(got.bytes, c.bytes) << c.queued;
        EXPECT_FALSE(got.deviceGone);
        EXPECT_EQ(asked, c.asked) << c.queued;
        EXPECT_EQ(link.lLastStatus, static_cast<std::int32_t>(c.lastStatus)) << c.queued;
        EXPECT_TRUE(link.IsOpen()) << "a failed read leaves the link open";
    }
}

TEST_F(PumpFetch, AFailedQueryReadsNothingAndOnlyAGoneDeviceEndsTheLink) {
    queued = 5;
    const std::pair<FT_STATUS, bool> cases[] = {
        {FT_OTHER_ERROR, false},   {FT_INSUFFICIENT_RESOURCES, false}, {FT_INVALID_PARAMETER, false},
        {FT_INVALID_HANDLE, true}, {FT_DEVICE_NOT_FOUND, true},        {FT_DEVICE_NOT_OPENED, true},
        {FT_IO_ERROR, true}};
    for (const auto& [status, gone] : cases) {
        queueStatus = status;
        const auto got = FetchReceived(link);
        EXPECT_TRUE(got.bytes.empty());
        EXPECT_EQ(got.deviceGone, gone) << status;
        EXPECT_EQ(link.lLastStatus, static_cast<std::int32_t>(status));
    }
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(link.IsOpen()) << "the window, not the fetch, ends the link";
}

TEST_F(PumpFetch, AClosedLinkMakesNoDriverCallAndAnAbsurdQueueTakesBoundedTicks) {
    queued = 0x7FFFFFFFu;
    const std::size_t reads256 = console::kMaxBytesPerTick / 256;
    for (std::size_t i = 0; i < reads256; ++i)
        reads.push_back({std::string(256, 'q')});
    EXPECT_EQ(FetchReceived(link).bytes.size(), console::kMaxBytesPerTick);
    EXPECT_EQ(asked.size(), reads256);

    link.CloseLink();
    queueCalls = 0;
    reads = {{"never"}};
    const auto got = FetchReceived(link);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(got.deviceGone);
    EXPECT_EQ(queueCalls, 0);
    EXPECT_EQ(asked.size(), reads256);
}
