#include "tests/wine/support/sim_driver.h"

#include <stdexcept>

namespace testsupport {

SimDriver::SimDriver() {
    if (!library.IsLoaded())
        throw std::runtime_error("FTD2XX.DLL did not load beside the test binary");
    Reset();
}

void* SimDriver::Proc(const char* name) {
    HMODULE module = GetModuleHandleW(L"FTD2XX.DLL");
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    if (!proc)
        throw std::runtime_error(std::string("simulated driver lacks ") + name);
    return reinterpret_cast<void*>(proc);
}

std::string SimDriver::Written(const char* serial) const {
    const auto read = SIM_ENTRY(SimReadWritten);
    std::string bytes(read(serial, nullptr, 0), '\0');
    read(serial, bytes.data(), static_cast<d2xx::DWORD>(bytes.size()));
    return bytes;
}

api::Settings SimDriver::Settings(const char* serial) const {
    api::Settings s{};
    SIM_ENTRY(SimGetSettings)(serial, &s);
    return s;
}

std::wstring ExeFolder() {
    wchar_t path[1024] = {};
    GetModuleFileNameW(nullptr, path, 1024);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

} // namespace testsupport
