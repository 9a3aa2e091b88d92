// Where the driver is looked for, with and without Windows' limited library search: never the
// current directory or PATH.
#include "link/driver_candidates.h"

#include <gtest/gtest.h>

using devlink::DriverCandidate;
using devlink::DriverCandidates;
using devlink::IsFullPath;
using List = std::vector<DriverCandidate>;

TEST(DriverCandidates, ByNameWithTheLimitedSearchElseByFullPathInTheProgramsFolderThenSystem32) {
    const struct {
        const wchar_t *file, *program, *system;
        bool limited;
        List expected;
    } cases[] = {
        {L"FTD2XX.DLL", L"C:\\ZEV", L"C:\\Windows\\system32", true, {{L"FTD2XX.DLL", true}}},
        {L"FTD2XX.DLL",
         L"C:\\ZEV\\",
         L"C:\\Windows\\system32",
         false,
         {{L"C:\\ZEV\\FTD2XX.DLL", false}, {L"C:\\Windows\\system32\\FTD2XX.DLL", false}}},
        {L"FTD2XX.DLL",
         L"\\\\server\\share\\zev",
         L"C:\\",
         false,
         {{L"\\\\server\\share\\zev\\FTD2XX.DLL", false}, {L"C:\\FTD2XX.DLL", false}}},
        // A folder that could not be read, or is not a full path, would mean the current directory.
        {L"FTD2XX.DLL", L".", L"", false, {}},
        {L"FTD2XX.DLL", L"zev", L"C:/Windows/system32/", false, {{L"C:/Windows/system32\\FTD2XX.DLL", false}}},
        // A full path is taken as it is, either way.
        {L"D:\\lab\\FTD2XX.DLL", L"C:\\ZEV", L"C:\\Windows\\system32", false, {{L"D:\\lab\\FTD2XX.DLL", false}}},
        {L"D:\\lab\\FTD2XX.DLL", L"C:\\ZEV", L"C:\\Windows\\system32", true, {{L"D:\\lab\\FTD2XX.DLL", true}}},
        {L"", L"C:\\ZEV", L"C:\\Windows\\system32", false, {}},
    };
    for (const auto& c : cases) {
        const List got = DriverCandidates(c.file, c.limited, c.program, c.system);
        ASSERT_EQ(got.size(), c.expected.size()) << c.program << " " << c.limited;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].path, c.expected[i].path);
            EXPECT_EQ(got[i].limitedSearch, c.expected[i].limitedSearch) << got[i].path.size();
        }
    }
}

TEST(DriverCandidates, OnlyADrivesRootOrAServerShareIsAFullPath) {
    for (const wchar_t* full : {L"C:\\", L"d:/zev", L"\\\\s"})
        EXPECT_TRUE(IsFullPath(full));
    for (const wchar_t* partial : {L"C:", L"C:zev", L"\\zev", L"\\\\", L"\\\\\\x", L"z\\x", L""})
        EXPECT_FALSE(IsFullPath(partial));
}
