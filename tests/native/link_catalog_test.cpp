// The device catalog and the link over a scripted fake driver: call order and arguments, every
// failure path, and the bounds the driver could push us past.
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace d2xx;
using testsupport::FakeDriver;
using devlink::DeviceCatalog;
using devlink::FieldText;
using devlink::LinkState;

namespace {


devlink::TextField Field(std::string_view text) {
    devlink::TextField f{};
    devlink::AssignField(f, text);
    return f;
}

std::vector<std::string> Calls(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

} // namespace

TEST(TextField, PadsCutsAndStopsAtNulWithoutReadingPast) {
    devlink::TextField f = Field("ZV1");
    EXPECT_EQ(FieldText(f), std::string("ZV1") + std::string(253, ' '));
    f = Field(std::string(300, 'x'));
    EXPECT_EQ(FieldText(f), std::string(256, 'x'));
    f[5] = '\0';
    EXPECT_EQ(FieldText(f), "xxxxx");
}

TEST(EnumerateDevices, QueriesCountThenEachIndexAndKeepsBytesBehindTheNul) {
    FakeDriver fake;
    fake.devices = {{"A1", "FT232R USB UART"}, {"ZV1", "ZEV WiFi Server"}};
    DeviceCatalog catalog(fake.table);
    catalog.sDescriptions[1] = Field("old description that is long");
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(fake.calls, Calls({"count", "desc 0", "serial 0", "desc 1", "serial 1"}));
    EXPECT_EQ(catalog.lNumDevices, 2);
    EXPECT_EQ(FieldText(catalog.sDescriptions[0]), "FT232R USB UART");
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[1]), "ZV1");
    // The driver wrote "ZEV WiFi Server\0"; what followed in the field is still there.
    EXPECT_EQ(std::string(catalog.sDescriptions[1].data() + 16, 12), "that is long");
}

TEST(EnumerateDevices, NoDeviceOrFailedCountLeavesEveryFieldAlone) {
    FakeDriver fake;
    DeviceCatalog catalog(fake.table);
    for (auto& f : catalog.sSerialNumbers)
        f = Field("keep");
    const auto before = catalog.sSerialNumbers;
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(fake.calls, Calls({"count"}));
    EXPECT_EQ(catalog.lNumDevices, 0);
    EXPECT_EQ(catalog.sSerialNumbers, before);

    fake.devices = {{"A", "B"}};
    fake.countStatus = FT_IO_ERROR;
    catalog.lNumDevices = 7;
    EXPECT_FALSE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.sSerialNumbers, before);
}

TEST(EnumerateDevices, MoreThanElevenDevicesFillElevenSlotsOnly) {
    FakeDriver fake;
    for (int i = 0; i < 15; ++i)
        fake.devices.push_back({"S" + std::to_string(i), "ZEV " + std::to_string(i)});
    DeviceCatalog catalog(fake.table);
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 11);
    EXPECT_EQ(fake.calls.back(), "serial 10");
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[10]), "S10");
    // A count the signed field could not hold is clamped too, not turned negative.
    fake.reportedCount = 0xFFFFFFF0u;
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(catalog.lNumDevices, 11);
    fake.reportedCount = 0x7FFF; // a driver reporting success without a count lists nothing
    fake.calls.clear();
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(std::pair(catalog.lNumDevices, fake.calls.size()), std::pair(0, std::size_t{1}));
}

TEST(EnumerateDevices, RetriesAFailingQueryButGivesUpOnAVanishedDevice) {
    FakeDriver fake;
    fake.devices = {{"A1", "ZEV one"}, {"B2", "ZEV two"}, {"C3", "ZEV three"}};
    // Index 0's description fails twice and then answers; index 1 vanished after the count.
    fake.byIndexStatus = [](DWORD index, DWORD flags, int attempt) -> FT_STATUS {
        if (index == 0 && (flags & FT_OPEN_BY_DESCRIPTION) && attempt < 2)
            return FT_IO_ERROR;
        return index == 1 ? FT_DEVICE_NOT_FOUND : FT_OK;
    };
    DeviceCatalog catalog(fake.table);
    catalog.sSerialNumbers[1] = Field("stale");
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(FieldText(catalog.sDescriptions[0]), "ZEV one");
    EXPECT_EQ((fake.attempts[{0, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION}]), 3);
    EXPECT_EQ((fake.attempts[{1, FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER}]), DeviceCatalog::kByIndexAttempts);
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[1]), "");
    EXPECT_EQ(FieldText(catalog.sDescriptions[1]), "");
    EXPECT_EQ(FieldText(catalog.sSerialNumbers[2]), "C3"); // enumeration went on
}

TEST(EnumerateDevices, FullLengthTextWithoutNulIsReadToTheFieldEndOnly) {
    FakeDriver fake;
    fake.devices = {{"x", "y"}};
    fake.writeNoNul = true;
    DeviceCatalog catalog(fake.table);
    ASSERT_TRUE(catalog.EnumerateDevices());
    EXPECT_EQ(FieldText(catalog.sDescriptions[0]), std::string(256, 'N'));
}

TEST(CatalogChange, IgnoresOrderCountsDuplicatesAndUsesAllElevenSlots) {
    FakeDriver fake;
    DeviceCatalog catalog(fake.table);
    auto load = [&](std::vector<std::string> serials) {
        fake.devices.clear();
        for (auto& s : serials)
            fake.devices.push_back({s, "ZEV"});
        ASSERT_TRUE(catalog.EnumerateDevices());
    };
    load({"A", "B", "C"});
    EXPECT_TRUE(catalog.IsCatalogChanged()); // nothing listed yet
    catalog.TakeSnapshot();
    EXPECT_FALSE(catalog.IsCatalogChanged());
    load({"C", "A", "B"});
    EXPECT_FALSE(catalog.IsCatalogChanged()) << "same devices at other indices";
    load({"C", "A", "D"});
    EXPECT_TRUE(catalog.IsCatalogChanged());
    load({"C", "A"});
    EXPECT_TRUE(catalog.IsCatalogChanged());

    // Two devices with one serial number: both current slots match the same snapshot slot.
    load({"A", "B"});
    catalog.TakeSnapshot();
    load({"A", "A"});
    EXPECT_FALSE(catalog.IsCatalogChanged());
    // Serial numbers compare over all 256 characters and case-sensitively.
    load({"a", "B"});
    EXPECT_TRUE(catalog.IsCatalogChanged());

    std::vector<std::string> eleven;
    for (int i = 0; i < 11; ++i)
        eleven.push_back("S" + std::to_string(i));
    load(eleven);
    catalog.TakeSnapshot();
    EXPECT_EQ(FieldText(catalog.sPrevSerialNumbers[10]), "S10");
    eleven[10] = "NEW";
    load(eleven);
    EXPECT_TRUE(catalog.IsCatalogChanged()) << "the eleventh slot takes part";
}

TEST(CatalogChange, SnapshotBlanksTheSlotsPastTheCount) {
    FakeDriver fake;
    fake.devices = {{"A", "ZEV"}, {"B", "ZEV"}};
    DeviceCatalog catalog(fake.table);
    catalog.sPrevSerialNumbers[5] = Field("old");
    ASSERT_TRUE(catalog.EnumerateDevices());
    catalog.TakeSnapshot();
    EXPECT_EQ(catalog.lPrevNumDevices, 2);
    EXPECT_EQ(catalog.sPrevSerialNumbers[0], catalog.sSerialNumbers[0]);
    for (int i = 2; i < 11; ++i)
        EXPECT_EQ(FieldText(catalog.sPrevSerialNumbers[static_cast<size_t>(i)]), std::string(256, ' '));
}

TEST(OpenLink, ConfiguresTheLineInOrderWithThePointerSizedHandle) {
    FakeDriver fake;
    LinkState link(fake.table);
    ASSERT_TRUE(link.OpenLink("ZV100001"));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.lDeviceHandle, fake.handle);
    EXPECT_EQ(fake.calls, Calls({"OpenEx ZV100001 1", "SetBaudRate h 9600", "SetDataCharacteristics h 8 0 0",
                                 "SetFlowControl h 0 0 0", "SetTimeouts h 5000 0", "SetChars h 126 1 0 0"}));
    EXPECT_EQ(link.lLastStatus, 0);
}

TEST(OpenLink, AFailedOpenClosesNothingAFailedStepClosesOnce) {
    const char* steps[] = {"SetBaudRate", "SetDataCharacteristics", "SetFlowControl", "SetTimeouts", "SetChars"};
    {
        FakeDriver fake;
        fake.fail["OpenEx"] = FT_DEVICE_NOT_FOUND;
        LinkState link(fake.table);
        EXPECT_FALSE(link.OpenLink("ZV1"));
        EXPECT_EQ(fake.calls, Calls({"OpenEx ZV1 1"}));
        EXPECT_FALSE(link.IsOpen());
    }
    for (size_t i = 0; i < std::size(steps); ++i) {
        FakeDriver fake;
        fake.fail[steps[i]] = FT_IO_ERROR;
        LinkState link(fake.table);
        EXPECT_FALSE(link.OpenLink("ZV1")) << steps[i];
        ASSERT_EQ(fake.calls.size(), i + 3) << steps[i] << ": stops at the failing step, then closes";
        EXPECT_EQ(fake.calls[i + 1].substr(0, std::strlen(steps[i])), steps[i]);
        EXPECT_EQ(fake.calls.back(), "Close h");
        EXPECT_EQ(link.lLastStatus, i == 0 ? static_cast<int>(FT_IO_ERROR) : 0) << "only the baud rate status is kept";
        EXPECT_FALSE(link.IsOpen());
        link.CloseLink();
        EXPECT_EQ(fake.calls.size(), i + 3) << "closed once";
    }
}

TEST(OpenLink, LongSerialIsCutAndTerminated) {
    FakeDriver fake;
    LinkState link(fake.table);
    ASSERT_TRUE(link.OpenLink(std::string(400, 'Q')));
    EXPECT_EQ(fake.calls[0], "OpenEx " + std::string(255, 'Q') + " 1");
}

TEST(CloseLink, ClosesOnceAndNoCallReachesTheDriverAfterwards) {
    FakeDriver fake;
    LinkState link(fake.table);
    DWORD n = 0;
    EXPECT_EQ(link.GetQueueStatus(&n), FT_INVALID_HANDLE) << "before any open";
    link.CloseLink();
    EXPECT_TRUE(fake.calls.empty());

    ASSERT_TRUE(link.OpenLink("ZV1"));
    fake.calls.clear();
    EXPECT_EQ(link.Write("HI", 2, &n), FT_OK);
    link.CloseLink();
    link.CloseLink();
    char buffer[4];
    EXPECT_EQ(link.Write("X", 1, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(link.Read(buffer, 4, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(link.GetQueueStatus(&n), FT_INVALID_HANDLE);
    EXPECT_EQ(fake.calls, Calls({"Write h HI", "Close h"}));
}

TEST(OpenLink, ReopeningClosesThePreviousHandleFirst) {
    FakeDriver fake;
    LinkState link(fake.table);
    ASSERT_TRUE(link.OpenLink("ZV1"));
    fake.calls.clear();
    ASSERT_TRUE(link.OpenLink("ZV2"));
    EXPECT_EQ(fake.calls.front(), "Close h");
}

TEST(UnavailableDriver, EveryOperationFailsWithoutTouchingAnything) {
    DeviceCatalog catalog(UnavailableDriver());
    LinkState link(UnavailableDriver());
    catalog.lNumDevices = 0;
    EXPECT_FALSE(catalog.EnumerateDevices());
    EXPECT_FALSE(link.OpenLink("ZV1"));
    EXPECT_FALSE(link.IsOpen());
    DWORD n = 77;
    EXPECT_NE(UnavailableDriver().GetQueueStatus(nullptr, &n), FT_OK);
    EXPECT_EQ(n, 77u);
}
