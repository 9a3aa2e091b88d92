// Where the driver is looked for, with and without Windows' limited library search: never the
// current directory or PATH.
#include "link/driver_candidates.h"

#include <gtest/gtest.h>

using devlink::DriverCandidates;
using Paths = std::vector<std::wstring>;

TEST(DriverCandidates, ByNameWithTheLimitedSearchElseByFullPathInTheProgramsFolderThenSystem32) {
    const std::wstring sys = L"C:\\Windows\\system32", dll = L"FTD2XX.DLL";
    EXPECT_EQ(DriverCandidates(dll, true, L"C:\\ZEV", sys), Paths{dll});
    EXPECT_EQ(DriverCandidates(dll, false, L"C:\\ZEV\\", sys), (Paths{L"C:\\ZEV\\" + dll, sys + L"\\" + dll}));
    EXPECT_EQ(DriverCandidates(dll, false, L"\\\\pc\\zev", L"C:/"), (Paths{L"\\\\pc\\zev\\" + dll, L"C:\\" + dll}));
    // A folder that could not be read, or is not a full path, would mean the current directory.
    EXPECT_EQ(DriverCandidates(dll, false, L".", L""), Paths{});
    EXPECT_EQ(DriverCandidates(dll, false, L"zev", sys), Paths{sys + L"\\" + dll});
    EXPECT_EQ(DriverCandidates(L"D:\\" + dll, false, L"C:\\ZEV", sys), Paths{L"D:\\" + dll}) << "a full path as it is";
}

TEST(DriverCandidates, OnlyADrivesRootOrAServerShareIsAFullPath) {
    for (const wchar_t* full : {L"C:\\", L"d:/zev", L"\\\\s"})
        EXPECT_TRUE(devlink::IsFullPath(full));
    for (const wchar_t* partial : {L"C:", L"C:zev", L"\\zev", L"\\\\", L"\\\\\\x", L"z\\x", L""})
        EXPECT_FALSE(devlink::IsFullPath(partial));
}
