// The receive pump's driver half: the queue query, reads of at most 256 bytes and never more
// than still queued, the statuses it records, and what it keeps when a read fails.
#include "console/receive_pump.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace d2xx;
using console::FetchReceived;

namespace {

// A driver whose queue query and reads follow a script. One instance at a time.
struct ScriptedDriver {
    struct ReadStep {
        FT_STATUS status = FT_OK;
        std::string bytes;   // what the read delivers (cut to what was asked)
        DWORD claimed = ~0u; // a count to report instead of the bytes' number
    };
    FT_STATUS queueStatus = FT_OK;
    DWORD queued = 0;
    std::deque<ReadStep> reads;
    std::vector<DWORD> asked; // the count of every read
    int queueCalls = 0, closeCalls = 0;
    FT_HANDLE handle = reinterpret_cast<FT_HANDLE>(0x5A5A);

    static inline ScriptedDriver* current = nullptr;

    static FT_STATUS D2XX_CALL OpenEx(void*, DWORD, FT_HANDLE* h) {
        *h = current->handle;
        return FT_OK;
    }
    static FT_STATUS D2XX_CALL Baud(FT_HANDLE, std::uint32_t) { return FT_OK; }
    static FT_STATUS D2XX_CALL Data(FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t) { return FT_OK; }
    static FT_STATUS D2XX_CALL Flow(FT_HANDLE, std::uint16_t, std::uint8_t, std::uint8_t) { return FT_OK; }
    static FT_STATUS D2XX_CALL Timeouts(FT_HANDLE, std::uint32_t, std::uint32_t) { return FT_OK; }
    static FT_STATUS D2XX_CALL Chars(FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) {
        return FT_OK;
    }
    static FT_STATUS D2XX_CALL Queue(FT_HANDLE h, DWORD* n) {
        EXPECT_EQ(h, current->handle);
        ++current->queueCalls;
        *n = current->queued;
        return current->queueStatus;
    }
    static FT_STATUS D2XX_CALL Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* got) {
        EXPECT_EQ(h, current->handle);
        EXPECT_EQ(*got, 0u) << "bytes read is cleared before each read";
        current->asked.push_back(toRead);
        if (current->reads.empty()) {
            ADD_FAILURE() << "read beyond the script";
            return FT_OTHER_ERROR;
        }
        ReadStep step = current->reads.front();
        current->reads.pop_front();
        const std::size_t n = std::min<std::size_t>(step.bytes.size(), toRead);
        std::copy_n(step.bytes.data(), n, static_cast<char*>(buffer));
        *got = step.claimed != ~0u ? step.claimed : static_cast<DWORD>(n);
        return step.status;
    }
    static FT_STATUS D2XX_CALL Write(FT_HANDLE, void*, DWORD, DWORD*) { return FT_OK; }
    static FT_STATUS D2XX_CALL Close(FT_HANDLE) {
        ++current->closeCalls;
        return FT_OK;
    }

    DriverTable table{nullptr, OpenEx, Baud, Data, Flow, Timeouts, Chars, Queue, Read, Write, Close};
    ScriptedDriver() { current = this; }
    ~ScriptedDriver() { current = nullptr; }
};

class PumpFetch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenLink("ZV1")); }
    void Queue(DWORD count) { driver.queued = count; }
    void ThenRead(std::string bytes, FT_STATUS status = FT_OK) { driver.reads.push_back({status, std::move(bytes)}); }

    ScriptedDriver driver;
    devlink::LinkState link{driver.table};
};

std::string Pattern(std::size_t n, char first = 'a') {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>(first + i % 26);
    return s;
}

} // namespace

TEST_F(PumpFetch, ReadsAQueueOver256BytesIn256AndTheRest) {
    const std::string bytes = Pattern(300);
    Queue(300);
    ThenRead(bytes.substr(0, 256));
    ThenRead(bytes.substr(256));
    const auto got = FetchReceived(link);
    EXPECT_EQ(got.bytes, bytes);
    EXPECT_FALSE(got.deviceGone);
    EXPECT_EQ(driver.asked, (std::vector<DWORD>{256, 44}));
    EXPECT_EQ(link.lLastStatus, 0);
}

TEST_F(PumpFetch, ShortReadsAskOnlyForWhatIsStillQueued) {
    Queue(10);
    ThenRead("abc");
    ThenRead("defg", FT_IO_ERROR); // counts as success
    ThenRead("hij");
    EXPECT_EQ(FetchReceived(link).bytes, "abcdefghij");
    EXPECT_EQ(driver.asked, (std::vector<DWORD>{10, 7, 3}));
    EXPECT_EQ(link.lLastStatus, 0);
}

TEST_F(PumpFetch, AnEmptyOrFailedQueryReadsNothing) {
    Queue(0);
    EXPECT_TRUE(FetchReceived(link).bytes.empty());
    Queue(0x80000000u); // a negative count
    EXPECT_TRUE(FetchReceived(link).bytes.empty());
    driver.queueStatus = FT_OTHER_ERROR;
    Queue(5);
    const auto got = FetchReceived(link);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(got.deviceGone) << "only statuses that mean the device is gone end the link";
    EXPECT_EQ(link.lLastStatus, static_cast<std::int32_t>(FT_OTHER_ERROR));
    EXPECT_TRUE(driver.asked.empty());
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(PumpFetch, BytesReadBeforeAFailedOrEmptyReadAreKept) {
    Queue(600);
    ThenRead(Pattern(256));
    ThenRead("", FT_INSUFFICIENT_RESOURCES);
    auto got = FetchReceived(link);
    EXPECT_EQ(got.bytes, Pattern(256));
    EXPECT_EQ(link.lLastStatus, static_cast<std::int32_t>(FT_INSUFFICIENT_RESOURCES));
    EXPECT_TRUE(link.IsOpen()) << "a failed read leaves the link open";

    driver.asked.clear();
    Queue(20);
    ThenRead("12345");
    ThenRead(""); // success with no bytes
    got = FetchReceived(link);
    EXPECT_EQ(got.bytes, "12345");
    EXPECT_EQ(driver.asked, (std::vector<DWORD>{20, 15}));

    // The very first read failing shows nothing.
    Queue(4);
    ThenRead("", FT_OTHER_ERROR);
    EXPECT_TRUE(FetchReceived(link).bytes.empty());
}

TEST_F(PumpFetch, QueryStatusesThatMeanTheDeviceIsGone) {
    for (FT_STATUS status : {FT_INVALID_HANDLE, FT_DEVICE_NOT_FOUND, FT_DEVICE_NOT_OPENED, FT_IO_ERROR}) {
        driver.queueStatus = status;
        const auto got = FetchReceived(link);
        EXPECT_TRUE(got.deviceGone) << status;
        EXPECT_EQ(link.lLastStatus, static_cast<std::int32_t>(status));
    }
    for (FT_STATUS status : {FT_INSUFFICIENT_RESOURCES, FT_INVALID_PARAMETER, FT_OTHER_ERROR})
        EXPECT_FALSE(console::MeansDeviceGone(status)) << status;
}

TEST_F(PumpFetch, AClosedLinkMakesNoDriverCall) {
    link.CloseLink();
    Queue(5);
    ThenRead("never");
    const auto got = FetchReceived(link);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(got.deviceGone);
    EXPECT_EQ(driver.queueCalls, 0);
    EXPECT_TRUE(driver.asked.empty());
}

TEST_F(PumpFetch, ADriverClaimingMoreThanAskedCannotOverrunTheBuffer) {
    Queue(3);
    driver.reads.push_back({FT_OK, "xyz", 5000});
    EXPECT_EQ(FetchReceived(link).bytes, "xyz");
}

TEST_F(PumpFetch, AnAbsurdQueueIsFetchedInBoundedTicks) {
    Queue(0x7FFFFFFFu);
    const std::size_t reads = console::kMaxBytesPerTick / 256;
    for (std::size_t i = 0; i < reads; ++i)
        ThenRead(std::string(256, 'q'));
    const auto got = FetchReceived(link);
    EXPECT_EQ(got.bytes.size(), console::kMaxBytesPerTick);
    EXPECT_EQ(driver.asked.size(), reads);
    EXPECT_TRUE(driver.reads.empty());
}
