// The device catalog and the link over a scripted fake driver, and where the driver is looked for.
#include "link/device_catalog.h"
#include "link/driver_candidates.h"
#include "link/link_state.h"
#include "tests/support/fake_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace d2xx;
using devlink::DeviceCatalog;
using devlink::DriverCandidates;
using devlink::FieldText;
using devlink::LinkState;
using Paths = std::vector<std::wstring>;
using Texts = std::vector<std::string>;
using namespace std::string_literals;

namespace {

devlink::TextField Field(std::string_view text) {
    devlink::TextField f{};
    devlink::AssignField(f, text);
    return f;
}

// A catalog over a fake driver that lists devices by serial number ("ZEV <serial>" their description).
struct Catalog {
    Catalog& Attach(const Texts& serials) {
        fake.devices.clear();
        for (const auto& s : serials)
            fake.devices.push_back({s, "ZEV " + s});
        return *this;
    }
    Texts Serials() const {
        Texts out;
        for (int i = 0; i < catalog.lNumDevices; ++i)
            out.push_back(FieldText(catalog.sSerialNumbers[static_cast<std::size_t>(i)]));
        return out;
    }
    testsupport::FakeDriver fake;
    DeviceCatalog catalog{fake.table};
};

} // namespace

TEST(EnumerateDevices, CountThenEachIndexInElevenBlankPaddedSlotsRetryingAndFailingWithoutTouchingAField) {
    EXPECT_EQ(FieldText(Field("ZV1")), std::string("ZV1") + std::string(253, ' '));
    Catalog c;
    c.Attach({"A1", "ZV1"});
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    EXPECT_EQ(c.fake.calls, (Texts{"count", "desc 0", "serial 0", "desc 1", "serial 1"}));
    EXPECT_EQ(std::tuple(c.Serials(), FieldText(c.catalog.sDescriptions[0])), std::tuple(Texts{"A1", "ZV1"}, "ZEV A1"));

    // Index 1 vanished after the count: its queries are tried a few times, then its fields are empty.
    c.Attach({"A1", "B2", "C3"}).fake.fail = {{"desc 1", FT_DEVICE_NOT_FOUND}, {"serial 1", FT_IO_ERROR}};
    c.fake.calls.clear();
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    EXPECT_EQ(std::count(c.fake.calls.begin(), c.fake.calls.end(), "serial 1"), DeviceCatalog::kByIndexAttempts);
    EXPECT_EQ(std::tuple(c.Serials(), FieldText(c.catalog.sDescriptions[2]), FieldText(c.catalog.sDescriptions[1])),
              std::tuple(Texts{"A1", "", "C3"}, "ZEV C3"s, ""s));
    c.fake.fail.clear();

    Texts fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen.push_back("S" + std::to_string(i));
    c.Attach(fifteen);
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    EXPECT_EQ(std::tuple(c.catalog.lNumDevices, c.fake.calls.back(), c.Serials().back()),
              std::tuple(11, std::string("serial 10"), std::string("S10")));
    // No device: only the count query, and every slot keeps its text.
    c.Attach({}).fake.calls.clear();
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    EXPECT_EQ(std::tuple(c.fake.calls, c.Serials(), FieldText(c.catalog.sSerialNumbers[10])),
              std::tuple(Texts{"count"}, Texts{}, "S10"s));
    // A text without NUL is read to the field's end.
    c.Attach({"N"}).fake.writeNoNul = true;
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    EXPECT_EQ(FieldText(c.catalog.sDescriptions[0]), std::string(256, 'N'));

    const auto before = c.catalog.sSerialNumbers;
    c.fake.fail["count"] = FT_IO_ERROR;
    EXPECT_FALSE(c.catalog.EnumerateDevices());
    EXPECT_EQ(std::tuple(c.catalog.sSerialNumbers, c.catalog.lNumDevices), std::tuple(before, 1)) << "a failed count";
}

TEST(CatalogChange, IgnoresOrderAndDuplicatesComparesWholeSerialsAndUsesAllElevenSlots) {
    Texts eleven, elevenNew;
    for (int i = 0; i < 11; ++i)
        eleven.push_back("S" + std::to_string(i));
    elevenNew = eleven;
    elevenNew[10] = "NEW";
    const struct {
        Texts serials;
        bool changed, snapshot; // snapshot taken after the comparison
    } steps[] = {
        {{"A", "B", "C"}, true, true},  {{"C", "A", "B"}, false, false},
        {{"C", "A", "D"}, true, false}, {{"C", "A"}, true, false},
        {{"A", "B"}, true, true},       {{"A", "A"}, false, false},
        {{"a", "B"}, true, false},      {eleven, true, true},
        {elevenNew, true, false},
    };
    Catalog c;
    for (const auto& s : steps) {
        c.Attach(s.serials);
        ASSERT_TRUE(c.catalog.EnumerateDevices());
        EXPECT_EQ(c.catalog.IsCatalogChanged(), s.changed) << testing::PrintToString(s.serials);
        if (s.snapshot)
            c.catalog.TakeSnapshot();
    }
    // The snapshot copies the listed slots and blanks the rest.
    c.Attach({"A", "B"}).catalog.sPrevSerialNumbers[5] = Field("old");
    ASSERT_TRUE(c.catalog.EnumerateDevices());
    c.catalog.TakeSnapshot();
    EXPECT_EQ(std::pair(c.catalog.lPrevNumDevices, FieldText(c.catalog.sPrevSerialNumbers[1])), std::pair(2, "B"s));
    for (int i = 2; i < 11; ++i)
        EXPECT_EQ(FieldText(c.catalog.sPrevSerialNumbers[static_cast<size_t>(i)]), std::string(256, ' '));
}

TEST(OpenLink, ConfiguresInOrderClosesOnceCutsALongSerialReopensAndNothingReachesTheDriverWhenClosed) {
    const Texts configured = {"OpenEx ZV1 1",           "SetBaudRate h 9600",   "SetDataCharacteristics h 8 0 0",
                              "SetFlowControl h 0 0 0", "SetTimeouts h 5000 0", "SetChars h 126 1 0 0"};
    for (std::size_t failing = 0; failing <= configured.size(); ++failing) {
        testsupport::FakeDriver fake;
        const std::string step = failing < configured.size() ? configured[failing] : "";
        if (!step.empty())
            fake.fail[step.substr(0, step.find(' '))] = FT_IO_ERROR;
        LinkState link(fake.table);
        FT_STATUS opened = 99;
        EXPECT_EQ(link.OpenLink("ZV1", &opened), step.empty()) << step;
        EXPECT_EQ(opened, failing == 0 ? FT_IO_ERROR : FT_OK) << "the open's own status, which tells why";
        Texts expected(configured.begin(),
                       configured.begin() + static_cast<std::ptrdiff_t>(std::min(failing + 1, configured.size())));
        if (failing > 0 && !step.empty())
            expected.push_back("Close h");
        EXPECT_EQ(fake.calls, expected) << "stops at the failing step, then closes; a failed open closes nothing";
        EXPECT_EQ(link.lLastStatus, failing == 1 ? static_cast<int>(FT_IO_ERROR) : 0) << "the baud rate's status";
        link.CloseLink();
        EXPECT_EQ(fake.calls.size(), expected.size() + (step.empty() ? 1 : 0)) << "closed once";
    }

    testsupport::FakeDriver fake;
    LinkState link(fake.table);
    DWORD n = 0;
    char buffer[4];
    // Each call in turn: a braced list is evaluated in order.
    const auto calls = [&] {
        return std::vector<FT_STATUS>{link.Write("HI", 2, &n), link.Read(buffer, 4, &n), link.GetQueueStatus(&n)};
    };
    const std::vector<FT_STATUS> refused(3, FT_INVALID_HANDLE);
    EXPECT_EQ(calls(), refused) << "before any open";
    link.CloseLink();
    ASSERT_TRUE(link.OpenLink(std::string(400, 'Q')));
    EXPECT_EQ(std::pair(fake.calls[0], link.lDeviceHandle),
              std::pair("OpenEx " + std::string(255, 'Q') + " 1", fake.handle));
    ASSERT_TRUE(link.OpenLink("ZV2"));
    EXPECT_EQ(fake.calls[6], "Close h") << "the previous handle first";
    link.CloseLink();
    EXPECT_EQ(link.SerialNumber(), "ZV2") << "the device last opened, kept after the close";
    ASSERT_TRUE(link.OpenLink("ZV2"));
    fake.calls.clear();
    EXPECT_EQ(calls(), std::vector<FT_STATUS>(3, FT_OK));
    link.CloseLink();
    link.CloseLink();
    EXPECT_EQ(calls(), refused);
    EXPECT_EQ(fake.calls, (Texts{"Write h HI", "Read h 4", "GetQueueStatus h", "Close h"}));

    DeviceCatalog catalog(UnavailableDriver());
    LinkState none(UnavailableDriver());
    EXPECT_FALSE(catalog.EnumerateDevices() || none.OpenLink("ZV1") || none.IsOpen());
    n = 77;
    EXPECT_NE(UnavailableDriver().GetQueueStatus(nullptr, &n), FT_OK);
    EXPECT_EQ(n, 77u);
}

TEST(DriverCandidates, ByNameWithTheLimitedSearchElseByFullPathInTheProgramsFolderThenSystem32) {
    const std::wstring sys = L"C:\\Windows\\system32", dll = L"FTD2XX.DLL";
    EXPECT_EQ(DriverCandidates(dll, true, L"C:\\ZEV", sys), Paths{dll});
    EXPECT_EQ(DriverCandidates(dll, false, L"C:\\ZEV\\", sys), (Paths{L"C:\\ZEV\\" + dll, sys + L"\\" + dll}));
    // A folder that could not be read, or is not a full path, would mean the current directory.
    EXPECT_EQ(DriverCandidates(dll, false, L".", L""), Paths{});
    EXPECT_EQ(DriverCandidates(dll, false, L"zev", sys), Paths{sys + L"\\" + dll});
    EXPECT_EQ(DriverCandidates(L"D:\\" + dll, false, L"C:\\ZEV", sys), Paths{L"D:\\" + dll}) << "a full path as it is";

    for (const wchar_t* full : {L"C:\\", L"d:/zev", L"\\\\s"})
        EXPECT_TRUE(devlink::IsFullPath(full));
    for (const wchar_t* partial : {L"C:", L"C:zev", L"\\zev", L"\\\\", L"\\\\\\x", L"z\\x", L""})
        EXPECT_FALSE(devlink::IsFullPath(partial));
}
