// Test access to the simulated FTD2XX.DLL beside the test binary, loaded by the program's own
// loader, with the simulation's extra entry points resolved.
#pragma once

#include "link/d2xx_library.h"
#include "sim/sim_api.h"

#include <string>

namespace testsupport {

class SimDriver {
public:
    // Loads the driver and puts the simulation back to its defaults (config file ignored).
    SimDriver();

    devlink::DriverLibrary library;
    const d2xx::DriverTable& Table() const { return library.Table(); }

    void Reset() const { reset_(); }
    unsigned long LoadConfig(const char* text) const { return load_(text); }
    void Plug(const char* serial, const char* description) const { plug_(serial, description); }
    bool Unplug(const char* serial) const { return unplug_(serial) != 0; }
    // function fails with status from its atCall-th call on (counted from now), times calls (0: always).
    void Fail(const char* function, unsigned long status, unsigned long atCall = 1, unsigned long times = 0) const {
        fail_(function, status, atCall, times);
    }
    void ClearFaults() const { clearFaults_(); }
    bool Queue(const char* serial, const std::string& bytes) const {
        return queue_(serial, bytes.data(), static_cast<d2xx::DWORD>(bytes.size())) != 0;
    }
    bool Flood(const char* serial, unsigned long count) const { return flood_(serial, count) != 0; }
    std::string Written(const char* serial) const;
    void ClearWritten(const char* serial) const { clearWritten_(serial); }
    unsigned long Calls(const char* function) const { return callCount_(function); }
    bool IsOpen(const char* serial) const { return isOpen_(serial) != 0; }
    unsigned long Queued(const char* serial) const { return queued_(serial); }
    sim::api::Settings Settings(const char* serial) const;

    // The default devices.
    static constexpr const char* kZevSerial = "ZV100001";
    static constexpr const char* kZevDescription = "ZEV WiFi Server";
    static constexpr const char* kOtherSerial = "FT4K2P9A";
    static constexpr const char* kOtherDescription = "FT232R USB UART";

private:
    sim::api::PFN_SimReset reset_ = nullptr;
    sim::api::PFN_SimLoadConfigText load_ = nullptr;
    sim::api::PFN_SimPlug plug_ = nullptr;
    sim::api::PFN_SimUnplug unplug_ = nullptr;
    sim::api::PFN_SimFail fail_ = nullptr;
    sim::api::PFN_SimClearFaults clearFaults_ = nullptr;
    sim::api::PFN_SimQueueBytes queue_ = nullptr;
    sim::api::PFN_SimFlood flood_ = nullptr;
    sim::api::PFN_SimReadWritten readWritten_ = nullptr;
    sim::api::PFN_SimClearWritten clearWritten_ = nullptr;
    sim::api::PFN_SimCallCount callCount_ = nullptr;
    sim::api::PFN_SimIsOpen isOpen_ = nullptr;
    sim::api::PFN_SimQueuedBytes queued_ = nullptr;
    sim::api::PFN_SimGetSettings settings_ = nullptr;
};

// The folder of the running test binary, with a trailing backslash.
std::wstring ExeFolder();

} // namespace testsupport
