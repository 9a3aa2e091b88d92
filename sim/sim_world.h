// The simulated D2XX driver's state: attached devices, each with a simulated ZEV console (or a
// silent non-ZEV FTDI device), open handles and injected faults. Platform-neutral, so the same
// logic serves the DLL and native tests. Not thread-safe: the DLL serialises calls.
#pragma once

#include "link/d2xx_types.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using d2xx::DWORD;
using d2xx::FT_HANDLE;
using d2xx::FT_STATUS;

struct LineSettings {
    std::uint32_t baud = 0;
    std::uint8_t wordLength = 0, stopBits = 0, parity = 0;
    std::uint16_t flow = 0;
    std::uint8_t xon = 0, xoff = 0;
    std::uint32_t readTimeoutMs = 0, writeTimeoutMs = 0;
    std::uint8_t eventChar = 0, eventEnabled = 0, errorChar = 0, errorEnabled = 0;
};

// An endless device output. Each time the host asks how much is waiting, the driver's queue is
// topped up to `depth` bytes of the stream pattern (stream_pattern.h), so the device sends as fast
// as the host reads. What the device sent is what was read, plus what still waits, plus what a
// close threw away.
struct Stream {
    std::uint32_t depth = 0;   // 0: not sending
    std::uint64_t queued = 0;  // sent, waiting behind the other queued bytes
    std::uint64_t sent = 0;    // into the driver's queue
    std::uint64_t read = 0;    // handed to the host by FT_Read
    std::uint64_t purged = 0;  // dropped from the queue when the handle was closed
};

struct Device {
    std::string serial;
    std::string description;
    bool plugged = true;
    FT_HANDLE handle = nullptr; // null while not open
    LineSettings settings;
    std::deque<std::uint8_t> rx; // device to host, waiting to be read
    std::string line;            // the console's command line being typed
    std::string written;         // everything the host wrote, for tests (bounded)
    Stream stream;
    bool IsZev() const { return description.find("ZEV") != std::string::npos; }
};

struct Fault {
    FT_STATUS status = d2xx::FT_OTHER_ERROR;
    std::uint64_t atCall = 1; // 1-based, counted from when the fault was set
    std::uint64_t times = 1;  // 0: every call from atCall on
    std::uint64_t seen = 0;
    // Counts this call; true when it is one of those the fault (or delay) applies to.
    bool Due();
};

// A call held before it is answered, as a slow driver or a busy USB bus holds it.
struct Delay {
    std::uint32_t ms = 0;
    Fault when; // its status is unused: only the calls it applies to
};

// What "delay", CallCount and the published counters call a count query (FT_ListDevices asking only for the
// number of devices): the start of every enumeration.
constexpr char kEnumeration[] = "enumeration";
// The longest hold a "delay" statement may ask for: long enough for any race a test provokes.
constexpr std::uint32_t kMaxDelayMs = 60000;

// Parsed configuration; see the README for the format.
struct Config {
    struct Entry {
        std::string serial, description;
        bool plugged = true;
    };
    std::vector<Entry> devices;
    std::vector<std::pair<std::string, Fault>> faults;
    std::vector<std::pair<std::string, Delay>> delays; // function name or kEnumeration
    std::string writeLog; // file name for a log of written bytes, relative to the DLL; empty: none
    std::vector<std::pair<std::string, std::uint32_t>> streams; // serial, queue depth
};

// The queue depth a "stream" statement without one gets: more than any host takes in one go.
constexpr std::uint32_t kDefaultStreamDepth = 4u << 20;
constexpr std::uint32_t kMaxStreamDepth = 64u << 20;

// Parses the text; on a malformed line returns its 1-based number in errorLine and no config.
std::optional<Config> ParseConfig(std::string_view text, int* errorLine, std::string* error);
Config DefaultConfig();

class World {
public:
    World() { Apply(DefaultConfig()); }

    // Replaces devices and faults; devices that stay keep their open handle and queues, devices
    // that are no longer listed are unplugged.
    void Apply(const Config& config);
    void Reset();

    // The eleven driver functions.
    FT_STATUS ListDevices(void* arg1, void* arg2, DWORD flags);
    FT_STATUS OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle);
    FT_STATUS SetBaudRate(FT_HANDLE h, std::uint32_t baud);
    FT_STATUS SetDataCharacteristics(FT_HANDLE h, std::uint8_t bits, std::uint8_t stop, std::uint8_t parity);
    FT_STATUS SetFlowControl(FT_HANDLE h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff);
    FT_STATUS SetTimeouts(FT_HANDLE h, std::uint32_t readMs, std::uint32_t writeMs);
    FT_STATUS SetChars(FT_HANDLE h, std::uint8_t ev, std::uint8_t evOn, std::uint8_t err, std::uint8_t errOn);
    FT_STATUS GetQueueStatus(FT_HANDLE h, DWORD* rx);
    FT_STATUS Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* returned);
    FT_STATUS Write(FT_HANDLE h, const void* buffer, DWORD toWrite, DWORD* written);
    FT_STATUS Close(FT_HANDLE h);

    // Test controls.
    void Plug(std::string_view serial, std::string_view description);
    bool Unplug(std::string_view serial);
    void SetFault(std::string_view function, const Fault& fault);
    void ClearFaults() { faults_.clear(); }
    // How long to hold this call of the function (or kEnumeration) before answering it; counts the
    // call towards the delays set for it. The caller holds it: the world only keeps the schedule.
    std::uint32_t TakeDelay(std::string_view function);
    bool QueueBytes(std::string_view serial, std::string_view bytes);
    bool Flood(std::string_view serial, std::size_t count);
    Device* Find(std::string_view serial);
    std::uint64_t CallCount(std::string_view function) const;
    const std::string& WriteLogName() const { return writeLog_; }

    // The most a device keeps of what was written to it.
    static constexpr std::size_t kWrittenLimit = 1 << 20;

private:
    std::optional<FT_STATUS> Enter(const char* function);
    Device* ByHandle(FT_HANDLE h);
    FT_STATUS Settle(FT_HANDLE h, Device** device); // handle check shared by the per-handle calls
    std::vector<Device*> Attached();
    void Console(Device& device, std::uint8_t byte);
    void Reply(Device& device, const std::string& command);
    static void Emit(Device& device, std::string_view text);

    std::vector<std::unique_ptr<Device>> devices_; // driver index order among the plugged ones
    std::map<std::string, Fault, std::less<>> faults_;
    std::map<std::string, Delay, std::less<>> delays_;
    std::map<std::string, std::uint64_t, std::less<>> calls_;
    std::uint64_t nextHandle_ = 1;
    std::string writeLog_;
};

} // namespace sim
