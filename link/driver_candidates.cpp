#include "link/driver_candidates.h"

namespace devlink {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool IsFullPath(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::vector<std::wstring> DriverCandidates(std::wstring_view fileName, bool limitedSearch,
                                           std::wstring_view programFolder, std::wstring_view systemFolder) {
    if (limitedSearch || IsFullPath(fileName))
        return {std::wstring(fileName)};
    std::vector<std::wstring> candidates;
    for (std::wstring_view folder : {programFolder, systemFolder}) {
        while (!folder.empty() && IsSeparator(folder.back()))
            folder.remove_suffix(1);
        // What is left of a root (C:\) is "C:", which the joined path makes whole again.
        if (IsFullPath(std::wstring(folder) + L'\\'))
            candidates.push_back(std::wstring(folder) + L'\\' + std::wstring(fileName));
    }
    return candidates;
}

} // namespace devlink
