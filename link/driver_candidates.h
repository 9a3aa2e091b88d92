// Where the driver library is looked for. A Windows that can restrict the library search (Windows 8
// and later, Windows 7 with its 2011 loader update) is asked by name, with the search limited to the
// program's folder and System32. An older one cannot limit its search, so the driver is asked for by
// full path in those two folders in turn: the current directory and PATH are never searched either way.
// Platform-neutral, so the choice is tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace devlink {

struct DriverCandidate {
    std::wstring path;
    // True: load by this name with the search limited to the program's folder and System32.
    // False: load exactly this full path.
    bool limitedSearch = false;
    bool operator==(const DriverCandidate&) const = default;
};

// True for "C:\..." and "\\server\..." paths: the only ones the loader takes without searching.
bool IsFullPath(std::wstring_view path);

// The loads to try, in order. A folder that is empty or not a full path (a program path that could
// not be read) is left out rather than turned into a search of the current directory.
std::vector<DriverCandidate> DriverCandidates(std::wstring_view fileName, bool limitedSearchAvailable,
                                              std::wstring_view programFolder, std::wstring_view systemFolder);

} // namespace devlink
