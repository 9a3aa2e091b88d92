// zevbridge --sim FILE: the simulated devices of our simulated driver, behind the bridge. The same
// world and the same configuration file format (sim/sim_world.h), read again whenever the file
// changes (the I/O calls look at most every 20 ms), so a test can plug and unplug devices and
// make the whole chain run where no device exists. Written bytes go to the file named by
// "writelog", beside the configuration file. Platform-neutral (std::filesystem).
#pragma once

#include "bridge/device_backend.h"
#include "sim/sim_world.h"

#include <chrono>
#include <filesystem>
#include <mutex>

namespace bridge {

class SimBackend : public Backend {
public:
    SimBackend(std::filesystem::path config, Log log);
    FT_STATUS Enumerate(std::vector<DeviceInfo>* devices) override;
    FT_STATUS Open(std::uint32_t by, std::string_view key, std::unique_ptr<Port>* port) override;

    // Every world call goes through here: one at a time, the file looked at first.
    template <typename Fn> auto With(bool io, Fn&& fn) {
        std::lock_guard<std::mutex> guard(lock_);
        Refresh(io);
        return fn(world_);
    }
    void LogWritten(const std::uint8_t* data, std::uint32_t n);
    // Closes a port; a device that streamed logs what it sent, so a benchmark can account for every byte.
    void Close(d2xx::FT_HANDLE handle, const std::string& serial);

private:
    void Refresh(bool io);

    std::mutex lock_;
    sim::World world_;
    std::filesystem::path config_;
    Log log_;
    bool seen_ = false;
    std::filesystem::file_time_type stamp_{};
    std::uintmax_t size_ = 0;
    std::chrono::steady_clock::time_point lookedAt_{};
};

} // namespace bridge
