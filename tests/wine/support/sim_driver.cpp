#include "tests/wine/support/sim_driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace testsupport {
namespace {

template <typename Fn> void Resolve(const char* name, Fn& out) {
    HMODULE module = GetModuleHandleW(L"FTD2XX.DLL");
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    if (!proc)
        throw std::runtime_error(std::string("simulated driver lacks ") + name);
    out = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

} // namespace

SimDriver::SimDriver() {
    if (!library.IsLoaded())
        throw std::runtime_error("FTD2XX.DLL did not load beside the test binary");
    Resolve("SimReset", reset_);
    Resolve("SimLoadConfigText", load_);
    Resolve("SimPlug", plug_);
    Resolve("SimUnplug", unplug_);
    Resolve("SimFail", fail_);
    Resolve("SimClearFaults", clearFaults_);
    Resolve("SimQueueBytes", queue_);
    Resolve("SimFlood", flood_);
    Resolve("SimReadWritten", readWritten_);
    Resolve("SimClearWritten", clearWritten_);
    Resolve("SimCallCount", callCount_);
    Resolve("SimIsOpen", isOpen_);
    Resolve("SimQueuedBytes", queued_);
    Resolve("SimGetSettings", settings_);
    Reset();
}

std::string SimDriver::Written(const char* serial) const {
    const d2xx::DWORD total = readWritten_(serial, nullptr, 0);
    std::string bytes(total, '\0');
    readWritten_(serial, bytes.data(), total);
    return bytes;
}

sim::api::Settings SimDriver::Settings(const char* serial) const {
    sim::api::Settings s{};
    settings_(serial, &s);
    return s;
}

std::wstring ExeFolder() {
    wchar_t path[1024] = {};
    GetModuleFileNameW(nullptr, path, 1024);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

} // namespace testsupport
