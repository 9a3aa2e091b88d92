#include "win/program_folder.h"

#include <windows.h>

#include <vector>

namespace win {

std::wstring ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return L".";
        if (n < path.size()) {
            std::wstring full(path.data(), n);
            const auto slash = full.find_last_of(L"\\/");
            return slash == std::wstring::npos ? L"." : full.substr(0, slash);
        }
        path.resize(path.size() * 2); // a long path: try again with room for it
    }
}

std::wstring SystemFolder() {
    const UINT needed = GetSystemDirectoryW(nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring folder(needed, L'\0');
    const UINT n = GetSystemDirectoryW(folder.data(), needed);
    if (n == 0 || n >= needed)
        return {};
    folder.resize(n);
    return folder;
}

} // namespace win
