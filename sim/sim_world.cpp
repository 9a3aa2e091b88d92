#include "sim/sim_world.h"

#include "sim/stream_pattern.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

namespace sim {
namespace {

using namespace d2xx;

constexpr std::size_t kListBuffer = 256; // the caller's buffer for a by-index query

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

// Handles are pointer-sized and, on 64-bit builds, above 4 GiB, so a handle cut to 32 bits is
// caught at once.
FT_HANDLE MakeHandle(std::uint64_t n) {
    const std::uintptr_t base = sizeof(void*) == 8 ? static_cast<std::uintptr_t>(0x00005A5E00000000ull) : 0x5A5E0000u;
    return reinterpret_cast<FT_HANDLE>(base + static_cast<std::uintptr_t>(n) * 16u);
}

bool ParseNumber(const std::string& word, std::uint64_t* out) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos || word.size() > 18)
        return false;
    *out = std::stoull(word);
    return true;
}

const char* const kFunctions[] = {"FT_ListDevices",     "FT_OpenEx",     "FT_SetBaudRate",
                                  "FT_SetDataCharacteristics", "FT_SetFlowControl", "FT_SetTimeouts",
                                  "FT_SetChars",        "FT_GetQueueStatus", "FT_Read",
                                  "FT_Write",           "FT_Close"};

bool KnownFunction(std::string_view name) {
    return std::any_of(std::begin(kFunctions), std::end(kFunctions), [&](const char* f) { return name == f; });
}

} // namespace

std::optional<Config> ParseConfig(std::string_view text, int* errorLine, std::string* error) {
    Config config;
    std::istringstream in{std::string(text)};
    std::string raw;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (errorLine)
            *errorLine = number;
        if (error)
            *error = why;
        return std::nullopt;
    };
    while (std::getline(in, raw)) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "device" || keyword == "unplugged") {
            Config::Entry entry;
            words >> entry.serial;
            std::string rest;
            std::getline(words, rest);
            entry.description = Trim(rest);
            entry.plugged = keyword == "device";
            if (entry.serial.empty() || entry.description.empty())
                return fail("device needs a serial number and a description");
            config.devices.push_back(entry);
        } else if (keyword == "fail" || keyword == "delay") {
            std::string function, amount, word;
            words >> function >> amount;
            const bool delay = keyword == "delay";
            Fault fault;
            std::uint64_t value = 0;
            if (!KnownFunction(function) && !(delay && function == kEnumeration))
                return fail("unknown function '" + function + "'");
            if (delay && (!ParseNumber(amount, &value) || value == 0 || value > kMaxDelayMs))
                return fail("delay must be a number of milliseconds from 1 to " + std::to_string(kMaxDelayMs));
            if (!delay && (!ParseNumber(amount, &value) || value == 0 || value > 0xFFFFFFFFu))
                return fail("fault status must be a number from 1 to 4294967295");
            const auto amountValue = static_cast<std::uint32_t>(value);
            while (words >> word) {
                if (word == "always") {
                    fault.times = 0;
                } else if (word == "at" || word == "times") {
                    std::string n;
                    words >> n;
                    if (!ParseNumber(n, &value) || (word == "at" && value == 0))
                        return fail("'" + word + "' needs a positive number");
                    (word == "at" ? fault.atCall : fault.times) = value;
                } else {
                    return fail("unexpected '" + word + "'");
                }
            }
            if (delay) {
                config.delays.emplace_back(function, Delay{amountValue, fault});
            } else {
                fault.status = amountValue;
                config.faults.emplace_back(function, fault);
            }
        } else if (keyword == "stream") {
            std::string serial, depth;
            words >> serial >> depth;
            std::uint64_t value = kDefaultStreamDepth;
            if (serial.empty())
                return fail("stream needs a serial number");
            if (!depth.empty() && (!ParseNumber(depth, &value) || value == 0 || value > kMaxStreamDepth))
                return fail("stream depth must be a number from 1 to " + std::to_string(kMaxStreamDepth));
            std::string extra;
            if (words >> extra)
                return fail("unexpected '" + extra + "'");
            config.streams.emplace_back(serial, static_cast<std::uint32_t>(value));
        } else if (keyword == "writelog") {
            std::string rest;
            std::getline(words, rest);
            config.writeLog = Trim(rest);
        } else {
            return fail("unknown keyword '" + keyword + "'");
        }
    }
    return config;
}

Config DefaultConfig() {
    Config config;
    // A plain FTDI cable first, so the ZEV device is not at driver index 0.
    config.devices.push_back({"FT4K2P9A", "FT232R USB UART", true});
    config.devices.push_back({"ZV100001", "ZEV WiFi Server", true});
    return config;
}

void World::Apply(const Config& config) {
    std::vector<std::unique_ptr<Device>> next;
    for (const auto& entry : config.devices) {
        auto it = std::find_if(devices_.begin(), devices_.end(),
                               [&](const auto& d) { return d && d->serial == entry.serial; });
        std::unique_ptr<Device> device;
        if (it != devices_.end()) {
            device = std::move(*it);
        } else {
            device = std::make_unique<Device>();
            device->serial = entry.serial;
        }
        device->description = entry.description;
        device->plugged = entry.plugged;
        next.push_back(std::move(device));
    }
    // Devices that left the configuration stay known (an open handle must keep failing) but unplugged.
    for (auto& old : devices_) {
        if (old) {
            old->plugged = false;
            next.push_back(std::move(old));
        }
    }
    devices_ = std::move(next);
    for (auto& device : devices_) {
        // A device no longer named stops sending; what it sent stays queued.
        device->stream.depth = 0;
        for (const auto& [serial, depth] : config.streams)
            if (serial == device->serial)
                device->stream.depth = depth;
    }
    faults_.clear();
    for (const auto& [function, fault] : config.faults)
        faults_[function] = fault;
    delays_.clear();
    for (const auto& [function, delay] : config.delays)
        delays_[function] = delay;
    writeLog_ = config.writeLog;
}

void World::Reset() {
    devices_.clear();
    calls_.clear();
    Apply(DefaultConfig());
}

bool Fault::Due() {
    const std::uint64_t n = ++seen;
    return n >= atCall && (times == 0 || n < atCall + times);
}

std::optional<FT_STATUS> World::Enter(const char* function) {
    ++calls_[function];
    auto it = faults_.find(function);
    if (it != faults_.end() && it->second.Due())
        return it->second.status;
    return std::nullopt;
}

std::uint32_t World::TakeDelay(std::string_view function) {
    auto it = delays_.find(function);
    return it != delays_.end() && it->second.when.Due() ? it->second.ms : 0;
}

std::uint64_t World::CallCount(std::string_view function) const {
    auto it = calls_.find(function);
    return it == calls_.end() ? 0 : it->second;
}

std::vector<Device*> World::Attached() {
    std::vector<Device*> list;
    for (auto& d : devices_)
        if (d->plugged)
            list.push_back(d.get());
    return list;
}

Device* World::Find(std::string_view serial) {
    for (auto& d : devices_)
        if (d->serial == serial)
            return d.get();
    return nullptr;
}

Device* World::ByHandle(FT_HANDLE h) {
    if (!h)
        return nullptr;
    for (auto& d : devices_)
        if (d->handle == h)
            return d.get();
    return nullptr;
}

FT_STATUS World::Settle(FT_HANDLE h, Device** device) {
    *device = ByHandle(h);
    if (!*device)
        return FT_INVALID_HANDLE;
    if (!(*device)->plugged)
        return FT_IO_ERROR; // what the real driver reports for a device pulled while open
    return FT_OK;
}

FT_STATUS World::ListDevices(void* arg1, void* arg2, DWORD flags) {
    if (flags & FT_LIST_NUMBER_ONLY)
        ++calls_[kEnumeration];
    if (auto st = Enter("FT_ListDevices"))
        return *st;
    const auto attached = Attached();
    if (flags & FT_LIST_NUMBER_ONLY) {
        if (!arg1)
            return FT_INVALID_PARAMETER;
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(attached.size());
        return FT_OK;
    }
    const DWORD what = flags & (FT_OPEN_BY_SERIAL_NUMBER | FT_OPEN_BY_DESCRIPTION);
    if (what != FT_OPEN_BY_SERIAL_NUMBER && what != FT_OPEN_BY_DESCRIPTION)
        return FT_INVALID_PARAMETER;
    auto textOf = [&](const Device* d) -> const std::string& {
        return what == FT_OPEN_BY_SERIAL_NUMBER ? d->serial : d->description;
    };
    // A full-length text comes without its NUL, as the real driver may send it.
    auto copyOut = [&](const Device* d, char* buffer) {
        const std::string& text = textOf(d);
        const std::size_t n = std::min(text.size(), kListBuffer);
        std::memcpy(buffer, text.data(), n);
        if (n < kListBuffer)
            buffer[n] = '\0';
    };
    if (flags & FT_LIST_BY_INDEX) {
        const auto index = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(arg1));
        if (!arg2)
            return FT_INVALID_PARAMETER;
        if (index >= attached.size())
            return FT_DEVICE_NOT_FOUND;
        copyOut(attached[index], static_cast<char*>(arg2));
        return FT_OK;
    }
    if (flags & FT_LIST_ALL) {
        // arg1: a NULL-terminated array of buffer pointers; arg2: the count written back.
        if (!arg1 || !arg2)
            return FT_INVALID_PARAMETER;
        auto** buffers = static_cast<char**>(arg1);
        std::size_t i = 0;
        for (; i < attached.size() && buffers[i]; ++i)
            copyOut(attached[i], buffers[i]);
        *static_cast<DWORD*>(arg2) = static_cast<DWORD>(attached.size());
        return FT_OK;
    }
    return FT_INVALID_PARAMETER;
}

FT_STATUS World::OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    if (auto st = Enter("FT_OpenEx"))
        return *st;
    if (!arg1 || !handle || (flags != FT_OPEN_BY_SERIAL_NUMBER && flags != FT_OPEN_BY_DESCRIPTION))
        return FT_INVALID_PARAMETER;
    const char* text = static_cast<const char*>(arg1);
    const std::string key(text, strnlen(text, kListBuffer));
    for (Device* d : Attached()) {
        if ((flags == FT_OPEN_BY_SERIAL_NUMBER ? d->serial : d->description) != key)
            continue;
        if (d->handle)
            return FT_DEVICE_NOT_OPENED; // already in use by someone
        d->handle = MakeHandle(nextHandle_++);
        d->settings = LineSettings{};
        d->line.clear();
        *handle = d->handle;
        return FT_OK;
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS World::SetBaudRate(FT_HANDLE h, std::uint32_t baud) {
    if (auto st = Enter("FT_SetBaudRate"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    if (baud < 183 || baud > 3000000)
        return FT_INVALID_BAUD_RATE;
    d->settings.baud = baud;
    return FT_OK;
}

FT_STATUS World::SetDataCharacteristics(FT_HANDLE h, std::uint8_t bits, std::uint8_t stop, std::uint8_t parity) {
    if (auto st = Enter("FT_SetDataCharacteristics"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    if ((bits != 7 && bits != 8) || (stop != 0 && stop != 2) || parity > 4)
        return FT_INVALID_PARAMETER;
    d->settings.wordLength = bits;
    d->settings.stopBits = stop;
    d->settings.parity = parity;
    return FT_OK;
}

FT_STATUS World::SetFlowControl(FT_HANDLE h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) {
    if (auto st = Enter("FT_SetFlowControl"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    d->settings.flow = flow;
    d->settings.xon = xon;
    d->settings.xoff = xoff;
    return FT_OK;
}

FT_STATUS World::SetTimeouts(FT_HANDLE h, std::uint32_t readMs, std::uint32_t writeMs) {
    if (auto st = Enter("FT_SetTimeouts"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    d->settings.readTimeoutMs = readMs;
    d->settings.writeTimeoutMs = writeMs;
    return FT_OK;
}

FT_STATUS World::SetChars(FT_HANDLE h, std::uint8_t ev, std::uint8_t evOn, std::uint8_t err, std::uint8_t errOn) {
    if (auto st = Enter("FT_SetChars"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    d->settings.eventChar = ev;
    d->settings.eventEnabled = evOn;
    d->settings.errorChar = err;
    d->settings.errorEnabled = errOn;
    return FT_OK;
}

FT_STATUS World::GetQueueStatus(FT_HANDLE h, DWORD* rx) {
    if (auto st = Enter("FT_GetQueueStatus"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    if (!rx)
        return FT_INVALID_PARAMETER;
    Stream& stream = d->stream;
    if (stream.queued < stream.depth) {
        stream.sent += stream.depth - stream.queued;
        stream.queued = stream.depth;
    }
    *rx = static_cast<DWORD>(std::min<std::uint64_t>(d->rx.size() + stream.queued, 0xFFFFFFFFu));
    return FT_OK;
}

FT_STATUS World::Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* returned) {
    if (auto st = Enter("FT_Read"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    if (!returned || (toRead && !buffer))
        return FT_INVALID_PARAMETER;
    Stream& stream = d->stream;
    if (toRead > d->rx.size() + stream.queued && d->settings.readTimeoutMs) {
        // Nothing more will arrive while we wait: the real driver returns after the read timeout.
        std::this_thread::sleep_for(std::chrono::milliseconds(d->settings.readTimeoutMs));
    }
    // The bytes queued before the stream's come first.
    const std::size_t n = std::min<std::size_t>(toRead, d->rx.size());
    std::copy_n(d->rx.begin(), n, static_cast<std::uint8_t*>(buffer));
    d->rx.erase(d->rx.begin(), d->rx.begin() + static_cast<std::ptrdiff_t>(n));
    const auto fromStream = static_cast<std::size_t>(std::min<std::uint64_t>(toRead - n, stream.queued));
    StreamPattern(stream.read + stream.purged, static_cast<char*>(buffer) + n, fromStream);
    stream.queued -= fromStream;
    stream.read += fromStream;
    *returned = static_cast<DWORD>(n + fromStream);
    return FT_OK;
}

FT_STATUS World::Write(FT_HANDLE h, const void* buffer, DWORD toWrite, DWORD* written) {
    if (auto st = Enter("FT_Write"))
        return *st;
    Device* d = nullptr;
    if (FT_STATUS st = Settle(h, &d))
        return st;
    if (!written || (toWrite && !buffer))
        return FT_INVALID_PARAMETER;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (d->written.size() + toWrite > kWrittenLimit)
        d->written.clear();
    d->written.append(reinterpret_cast<const char*>(bytes), toWrite);
    if (d->IsZev())
        for (DWORD i = 0; i < toWrite; ++i)
            Console(*d, bytes[i]);
    *written = toWrite;
    return FT_OK;
}

FT_STATUS World::Close(FT_HANDLE h) {
    if (auto st = Enter("FT_Close"))
        return *st;
    Device* d = ByHandle(h);
    if (!d)
        return FT_INVALID_HANDLE;
    d->handle = nullptr;
    d->rx.clear();
    d->stream.purged += d->stream.queued;
    d->stream.queued = 0;
    return FT_OK;
}

void World::Plug(std::string_view serial, std::string_view description) {
    if (Device* d = Find(serial)) {
        d->description = std::string(description);
        d->plugged = true;
        // Plugged again: it goes to the end of the driver's list, as a fresh enumeration would.
        auto it = std::find_if(devices_.begin(), devices_.end(), [&](const auto& p) { return p.get() == d; });
        std::rotate(it, it + 1, devices_.end());
        return;
    }
    auto d = std::make_unique<Device>();
    d->serial = std::string(serial);
    d->description = std::string(description);
    devices_.push_back(std::move(d));
}

bool World::Unplug(std::string_view serial) {
    Device* d = Find(serial);
    if (!d || !d->plugged)
        return false;
    d->plugged = false;
    d->line.clear();
    return true;
}

void World::SetFault(std::string_view function, const Fault& fault) {
    Fault f = fault;
    f.seen = 0;
    faults_[std::string(function)] = f;
}

bool World::QueueBytes(std::string_view serial, std::string_view bytes) {
    Device* d = Find(serial);
    if (!d)
        return false;
    d->rx.insert(d->rx.end(), bytes.begin(), bytes.end());
    return true;
}

bool World::Flood(std::string_view serial, std::size_t count) {
    Device* d = Find(serial);
    if (!d)
        return false;
    static const std::string kLine = "0123456789 ZEV flood ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n";
    for (std::size_t i = 0; i < count; ++i)
        d->rx.push_back(static_cast<std::uint8_t>(kLine[i % kLine.size()]));
    return true;
}

void World::Emit(Device& device, std::string_view text) { device.rx.insert(device.rx.end(), text.begin(), text.end()); }

// The ZEV console: echo, line editing with BS, and a reply plus a new prompt after CR.
void World::Console(Device& device, std::uint8_t byte) {
    constexpr std::size_t kMaxLine = 128;
    switch (byte) {
    case '\r': {
        Emit(device, "\r\n");
        const std::string command = Trim(device.line);
        device.line.clear();
        if (!command.empty())
            Reply(device, command);
        Emit(device, ">");
        return;
    }
    case '\n': // a terminal that ends lines with CR LF: the LF is not part of the next command
        return;
    case 0x08:
    case 0x7F:
        if (!device.line.empty()) {
            device.line.pop_back();
            Emit(device, "\x08 \x08");
        }
        return;
    default:
        if (byte < 0x20 || device.line.size() >= kMaxLine)
            return; // other control characters and overlong lines are ignored, as the firmware does
        device.line.push_back(static_cast<char>(byte));
        Emit(device, std::string_view(reinterpret_cast<const char*>(&byte), 1));
        return;
    }
}

void World::Reply(Device& device, const std::string& command) {
    const std::string word = Upper(command);
    std::ostringstream out;
    if (word == "HELP") {
        out << "Comandos disponibles:\r\n"
               "  SCAN    busca redes WiFi\r\n"
               "  STATUS  estado del servidor\r\n"
               "  LIST    configuracion guardada\r\n"
               "  HELP    esta ayuda\r\n";
    } else if (word == "SCAN") {
        out << "Buscando redes...\r\n"
               "  1  Vantoro-Taller     -47 dBm  WPA2\r\n"
               "  2  Laboratorio-2G     -63 dBm  WPA2\r\n"
               "  3  Invitados          -78 dBm  abierta\r\n"
               "3 redes encontradas\r\n";
    } else if (word == "STATUS") {
        const LineSettings& s = device.settings;
        const char parity = "NOEMS"[s.parity < 5 ? s.parity : 0];
        out << "Servidor ZEV " << device.serial << "\r\n"
            << "  WiFi: conectado a Vantoro-Taller\r\n"
               "  IP: 192.168.4.20  puerto TCP 23\r\n"
            << "  UART: " << s.baud << ' ' << int(s.wordLength) << parity << (s.stopBits == 2 ? 2 : 1) << "\r\n";
    } else if (word == "LIST") {
        out << "Configuracion guardada:\r\n"
               "  ssid=Vantoro-Taller\r\n"
               "  modo=cliente\r\n"
               "  dhcp=si\r\n"
               "  puerto=23\r\n";
    } else {
        out << "ERROR: comando desconocido '" << command << "'\r\n";
    }
    Emit(device, out.str());
}

} // namespace sim
