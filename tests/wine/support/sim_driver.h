// Test access to the simulated FTD2XX.DLL beside the test binary, loaded by the program's own
// loader, with the simulation's extra entry points resolved by name.
#pragma once

#include "link/d2xx_library.h"
#include "sim/sim_api.h"
#include "win/proc_address.h"

#include <stdexcept>
#include <string>

namespace testsupport {

namespace api = sim::api;
// The simulation's entry point of that name, typed as its header declares it.
#define SIM_ENTRY(name) Entry<api::PFN_##name>(#name)

class SimDriver {
public:
    // Loads the driver and puts the simulation back to its defaults (config file ignored).
    SimDriver() {
        if (!library.IsLoaded())
            throw std::runtime_error("FTD2XX.DLL did not load beside the test binary");
        SIM_ENTRY(SimReset)();
    }

    devlink::DriverLibrary library;
    const d2xx::DriverTable& Table() const { return library.Table(); }

    void Plug(const char* serial, const char* description) const { SIM_ENTRY(SimPlug)(serial, description); }
    bool Unplug(const char* serial) const { return SIM_ENTRY(SimUnplug)(serial) != 0; }
    // function fails with status from its atCall-th call on (counted from now), times calls (0: always).
    void Fail(const char* function, unsigned long status, unsigned long atCall = 1, unsigned long times = 0) const {
        SIM_ENTRY(SimFail)(function, status, atCall, times);
    }
    bool Queue(const char* serial, const std::string& bytes) const {
        return SIM_ENTRY(SimQueueBytes)(serial, bytes.data(), static_cast<d2xx::DWORD>(bytes.size())) != 0;
    }
    unsigned long Queued(const char* serial) const { return SIM_ENTRY(SimQueuedBytes)(serial); }
    std::string Written(const char* serial) const {
        const auto read = SIM_ENTRY(SimReadWritten);
        std::string bytes(read(serial, nullptr, 0), '\0');
        read(serial, bytes.data(), static_cast<d2xx::DWORD>(bytes.size()));
        return bytes;
    }
    void ClearWritten(const char* serial) const { SIM_ENTRY(SimClearWritten)(serial); }
    unsigned long Calls(const char* function) const { return SIM_ENTRY(SimCallCount)(function); }
    bool IsOpen(const char* serial) const { return SIM_ENTRY(SimIsOpen)(serial) != 0; }

    // The default ZEV device (a plain FTDI cable, not a ZEV, is listed before it).
    static constexpr const char* kZevSerial = "ZV100001";
    static constexpr const char* kZevDescription = "ZEV WiFi Server";

private:
    // Throws when the loaded driver lacks the entry point: not the simulation.
    template <typename Fn> static Fn Entry(const char* name) {
        const Fn fn = win::ProcAddress<Fn>(GetModuleHandleW(L"FTD2XX.DLL"), name);
        return fn ? fn : throw std::runtime_error(std::string("simulated driver lacks ") + name);
    }
};

// The folder of the running test binary, with a trailing backslash.
inline std::wstring ExeFolder() {
    wchar_t path[1024] = {};
    GetModuleFileNameW(nullptr, path, 1024);
    const std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

} // namespace testsupport

#undef SIM_ENTRY
