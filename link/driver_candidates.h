// Where the driver library is looked for. A Windows that can limit its library search (Windows 8 and
// later, Windows 7 with its 2011 loader update) is asked by name, with the search limited to the
// program's folder and System32. An older one cannot limit it, so the driver is asked for by full
// path in those two folders in turn: the current directory and PATH are never searched either way.
// Platform-neutral, so the choice is tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace devlink {

// True for "C:\..." and "\\server\..." paths: the only ones the loader takes without searching.
bool IsFullPath(std::wstring_view path);

// The names to load, in order: with the limited search, the file name itself; without it, the full
// path in each folder. A folder that is empty or not a full path (a program path that could not be
// read) is left out rather than turned into a search of the current directory.
std::vector<std::wstring> DriverCandidates(std::wstring_view fileName, bool limitedSearch,
                                           std::wstring_view programFolder, std::wstring_view systemFolder);

} // namespace devlink
