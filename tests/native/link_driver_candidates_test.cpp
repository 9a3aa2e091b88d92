// Where the driver is looked for, with and without Windows' limited library search: never the
// current directory or PATH.
#include "link/driver_candidates.h"

#include <gtest/gtest.h>

using Paths = std::vector<std::wstring>;

TEST(DriverCandidates, ByNameWithTheLimitedSearchElseByFullPathInTheProgramsFolderThenSystem32) {
    const std::wstring sys = L"C:\\Windows\\system32";
    const struct {
        const wchar_t *file, *program;
        std::wstring system;
        bool limited;
        Paths expected;
    } cases[] = {{L"FTD2XX.DLL", L"C:\\ZEV", sys, true, {L"FTD2XX.DLL"}},
                 {L"FTD2XX.DLL", L"C:\\ZEV\\", sys, false, {L"C:\\ZEV\\FTD2XX.DLL", sys + L"\\FTD2XX.DLL"}},
                 {L"FTD2XX.DLL", L"\\\\pc\\zev", L"C:/", false, {L"\\\\pc\\zev\\FTD2XX.DLL", L"C:\\FTD2XX.DLL"}},
                 // A folder that could not be read, or is not a full path, would mean the current directory.
                 {L"FTD2XX.DLL", L".", L"", false, {}},
                 {L"FTD2XX.DLL", L"zev", sys, false, {sys + L"\\FTD2XX.DLL"}},
                 {L"D:\\FTD2XX.DLL", L"C:\\ZEV", sys, false, {L"D:\\FTD2XX.DLL"}}}; // a full path as it is
    for (const auto& c : cases)
        EXPECT_EQ(devlink::DriverCandidates(c.file, c.limited, c.program, c.system), c.expected);
}

TEST(DriverCandidates, OnlyADrivesRootOrAServerShareIsAFullPath) {
    for (const wchar_t* full : {L"C:\\", L"d:/zev", L"\\\\s"})
        EXPECT_TRUE(devlink::IsFullPath(full));
    for (const wchar_t* partial : {L"C:", L"C:zev", L"\\zev", L"\\\\", L"\\\\\\x", L"z\\x", L""})
        EXPECT_FALSE(devlink::IsFullPath(partial));
}
