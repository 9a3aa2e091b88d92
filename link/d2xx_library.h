// Loads FTD2XX.DLL at run time and fills the driver table. When the library (or one of its
// functions) is missing, the table's every call fails and the program stays usable.
#pragma once

#include "link/d2xx_types.h"

#include <windows.h>

#include <string>

namespace devlink {

// Whether this Windows can limit where libraries are searched for (SetDefaultDllDirectories and the
// LOAD_LIBRARY_SEARCH_ flags: Windows 8 and later, Windows 7 with its loader update). Looked up at
// run time, so the program still starts on a Windows without it.
bool LimitedDllSearchAvailable();
// Limits every later library search of the process to the program's folder and System32; false
// where that is not available.
bool LimitDllSearch();

class DriverLibrary {
public:
    // Looks only in the program's folder and in System32, never in the current directory or PATH:
    // by name with the limited search where Windows has it, else by full path in each folder.
    explicit DriverLibrary(const wchar_t* fileName = L"FTD2XX.DLL", bool limitedSearch = LimitedDllSearchAvailable());
    ~DriverLibrary();
    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    // Why loading failed, for the user; empty when loaded.
    const std::wstring& Failure() const { return failure_; }
    const d2xx::DriverTable& Table() const { return IsLoaded() ? table_ : d2xx::UnavailableDriver(); }

private:
    HMODULE module_ = nullptr;
    d2xx::DriverTable table_{};
    std::wstring failure_;
};

} // namespace devlink
