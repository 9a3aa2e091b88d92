#include "bridge/sim_backend.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace bridge {
namespace {

using namespace d2xx;

// A look at the file costs far more than a read of a streaming device; another process that
// rewrites the file cannot tell a look this often from one at every call.
constexpr auto kIoRecheck = std::chrono::milliseconds(20);
// How often a read that waits for bytes looks again.
constexpr auto kReadPoll = std::chrono::milliseconds(2);

class SimPort : public Port {
public:
    SimPort(SimBackend& backend, FT_HANDLE handle, std::string serial)
        : backend_(backend), handle_(handle), serial_(std::move(serial)) {}
    ~SimPort() override { backend_.Close(handle_, serial_); }
    FT_STATUS SetBaudRate(std::uint32_t baud) override {
        return backend_.With(false, [&](sim::World& w) { return w.SetBaudRate(handle_, baud); });
    }
    FT_STATUS SetDataCharacteristics(std::uint8_t bits, std::uint8_t stop, std::uint8_t parity) override {
        return backend_.With(false,
                             [&](sim::World& w) { return w.SetDataCharacteristics(handle_, bits, stop, parity); });
    }
    FT_STATUS SetFlowControl(std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) override {
        return backend_.With(false, [&](sim::World& w) { return w.SetFlowControl(handle_, flow, xon, xoff); });
    }
    FT_STATUS SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        return backend_.With(false, [&](sim::World& w) { return w.SetTimeouts(handle_, readMs, writeMs); });
    }
    FT_STATUS SetChars(std::uint8_t ev, std::uint8_t evOn, std::uint8_t err, std::uint8_t errOn) override {
        return backend_.With(false, [&](sim::World& w) { return w.SetChars(handle_, ev, evOn, err, errOn); });
    }
    FT_STATUS Queue(std::uint32_t* waiting) override {
        return backend_.With(true, [&](sim::World& w) { return w.GetQueueStatus(handle_, waiting); });
    }
    FT_STATUS Read(std::uint8_t* out, std::uint32_t want, std::uint32_t room, std::uint32_t timeoutMs,
                   std::uint32_t* got) override {
        // The world's own read would wait holding the lock of every connection: wait here instead,
        // and ask the world only for what it holds.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            bool again = false;
            const FT_STATUS st = backend_.With(true, [&](sim::World& w) -> FT_STATUS {
                DWORD waiting = 0;
                if (const FT_STATUS q = w.GetQueueStatus(handle_, &waiting))
                    return q;
                if (waiting < want && std::chrono::steady_clock::now() < deadline) {
                    again = true;
                    return FT_OK;
                }
                DWORD n = 0;
                const FT_STATUS r = w.Read(handle_, out, std::min(waiting, room), &n);
                *got = n;
                return r;
            });
            if (!again)
                return st;
            std::this_thread::sleep_for(kReadPoll);
        }
    }
    FT_STATUS Write(const std::uint8_t* data, std::uint32_t n, std::uint32_t* accepted) override {
        const FT_STATUS st = backend_.With(true, [&](sim::World& w) -> FT_STATUS {
            DWORD written = 0;
            const FT_STATUS s = w.Write(handle_, data, n, &written);
            *accepted = written;
            return s;
        });
        if (st == FT_OK)
            backend_.LogWritten(data, n);
        return st;
    }

private:
    SimBackend& backend_;
    FT_HANDLE handle_;
    std::string serial_;
};

} // namespace

SimBackend::SimBackend(std::filesystem::path config, Log log) : config_(std::move(config)), log_(std::move(log)) {}

void SimBackend::Refresh(bool io) {
    const auto now = std::chrono::steady_clock::now();
    if (io && now - lookedAt_ < kIoRecheck)
        return;
    lookedAt_ = now;
    std::error_code ec;
    const bool exists = std::filesystem::is_regular_file(config_, ec);
    const auto stamp = exists ? std::filesystem::last_write_time(config_, ec) : std::filesystem::file_time_type{};
    const auto size = exists ? std::filesystem::file_size(config_, ec) : 0;
    if (exists == seen_ && (!exists || (stamp == stamp_ && size == size_)))
        return;
    seen_ = exists;
    stamp_ = stamp;
    size_ = size;
    if (!exists) {
        world_.Apply(sim::DefaultConfig());
        return;
    }
    std::ifstream in(config_, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int line = 0;
    std::string why;
    if (auto config = sim::ParseConfig(text, &line, &why)) {
        world_.Apply(*config);
    } else if (log_) {
        // A broken file must not pass silently: say where, and keep the devices as they were.
        log_(config_.filename().string() + " line " + std::to_string(line) + ": " + why);
    }
}

void SimBackend::LogWritten(const std::uint8_t* data, std::uint32_t n) {
    std::string name;
    {
        std::lock_guard<std::mutex> guard(lock_);
        name = world_.WriteLogName();
    }
    if (name.empty() || n == 0)
        return;
    std::ofstream(config_.parent_path() / name, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
}

void SimBackend::Close(FT_HANDLE handle, const std::string& serial) {
    std::lock_guard<std::mutex> guard(lock_);
    world_.Close(handle);
    const sim::Device* d = world_.Find(serial);
    if (d && d->stream.sent && log_) {
        const sim::Stream& s = d->stream;
        log_(serial + ": stream sent " + std::to_string(s.sent) + " = read " + std::to_string(s.read) + " + queued " +
             std::to_string(s.queued) + " + purged " + std::to_string(s.purged));
    }
}

FT_STATUS SimBackend::Enumerate(std::vector<DeviceInfo>* devices) {
    return With(false, [&](sim::World& w) -> FT_STATUS {
        DWORD count = 0;
        if (const FT_STATUS st = w.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY))
            return st;
        devices->clear();
        for (DWORD i = 0; i < count; ++i) {
            char serial[256] = {}, description[256] = {};
            void* index = reinterpret_cast<void*>(static_cast<std::uintptr_t>(i));
            if (w.ListDevices(index, serial, FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER) != FT_OK ||
                w.ListDevices(index, description, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION) != FT_OK)
                break; // a fault injected into the by-index queries shortens the list
            devices->push_back({std::string(serial, strnlen(serial, sizeof serial)),
                                std::string(description, strnlen(description, sizeof description))});
        }
        return FT_OK;
    });
}

FT_STATUS SimBackend::Open(std::uint32_t by, std::string_view key, std::unique_ptr<Port>* port) {
    FT_HANDLE handle = nullptr;
    const FT_STATUS st = With(false, [&](sim::World& w) {
        char buffer[256] = {};
        key.copy(buffer, std::min(key.size(), sizeof buffer - 1));
        return w.OpenEx(buffer, by, &handle);
    });
    if (st == FT_OK)
        *port = std::make_unique<SimPort>(*this, handle, std::string(key));
    return st;
}

} // namespace bridge
