#include "link/d2xx_library.h"

#include "link/driver_candidates.h"
#include "win/proc_address.h"
#include "win/program_folder.h"

#include <cstring>
#include <type_traits>

namespace devlink {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

SetDefaultDllDirectoriesFn FindSetDefaultDllDirectories() {
    return win::ProcAddress<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
}

constexpr DWORD kLimitedSearch = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

} // namespace

bool LimitedDllSearchAvailable() {
    return FindSetDefaultDllDirectories() != nullptr;
}

bool LimitDllSearch() {
    const SetDefaultDllDirectoriesFn limit = FindSetDefaultDllDirectories();
    return limit && limit(kLimitedSearch);
}

DriverLibrary::DriverLibrary(const wchar_t* fileName, bool limitedSearch) {
    DWORD error = ERROR_MOD_NOT_FOUND;
    // Without the limited search the path is a full one, and the driver's own dependencies are
    // looked for beside it first.
    const DWORD flags = limitedSearch ? kLimitedSearch : LOAD_WITH_ALTERED_SEARCH_PATH;
    for (const std::wstring& path :
         DriverCandidates(fileName, limitedSearch, win::ProgramFolder(), win::SystemFolder())) {
        module_ = LoadLibraryExW(path.c_str(), nullptr, flags);
        if (module_)
            break;
        error = GetLastError();
    }
    if (!module_) {
        failure_ = L"no se pudo cargar " + std::wstring(fileName) + L" (error " + std::to_wstring(error) + L")";
        return;
    }
    const char* missing = nullptr;
    auto need = [&](const char* name, auto& slot) {
        slot = win::ProcAddress<std::remove_reference_t<decltype(slot)>>(module_, name);
        if (!slot && !missing)
            missing = name; // the first one missing is the one named
    };
    need("FT_ListDevices", table_.ListDevices);
    need("FT_OpenEx", table_.OpenEx);
    need("FT_SetBaudRate", table_.SetBaudRate);
    need("FT_SetDataCharacteristics", table_.SetDataCharacteristics);
    need("FT_SetFlowControl", table_.SetFlowControl);
    need("FT_SetTimeouts", table_.SetTimeouts);
    need("FT_SetChars", table_.SetChars);
    need("FT_GetQueueStatus", table_.GetQueueStatus);
    need("FT_Read", table_.Read);
    need("FT_Write", table_.Write);
    need("FT_Close", table_.Close);
    if (missing) {
        failure_ = std::wstring(fileName) + L" no exporta " + std::wstring(missing, missing + strlen(missing));
        FreeLibrary(module_);
        module_ = nullptr;
        table_ = {};
    }
}

DriverLibrary::~DriverLibrary() {
    if (module_)
        FreeLibrary(module_);
}

} // namespace devlink
