// A scripted D2XX driver for native tests; one at a time, as the table's plain functions reach it through `current`.
#pragma once

#include "link/d2xx_types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

using namespace d2xx;

struct FakeDriver {
    struct Dev {
        std::string serial, description;
    };
    struct ReadStep {
        std::string bytes; // what the read delivers (cut to what was asked)
        FT_STATUS status = FT_OK;
        DWORD claimed = ~0u; // a count to report instead of the bytes' number
    };
    std::vector<Dev> devices;
    // Forced statuses, FT_OK when absent: by the whole call ("desc 1") or by its name ("count", "Read").
    std::map<std::string, FT_STATUS> fail;
    std::vector<std::string> calls;
    FT_HANDLE handle =
        reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(sizeof(void*) == 8 ? 0x7FFE12345678ull : 0x1234));
    bool writeNoNul = false;
    DWORD queued = 3;           // what the queue query reports; 0x7FFF: success without writing a count
    std::deque<ReadStep> reads; // none: a read delivers nothing

    static inline FakeDriver* current = nullptr;

    static FT_STATUS D2XX_CALL ListDevices(void* a1, void* a2, DWORD flags) {
        FakeDriver& f = *current;
        if (flags == FT_LIST_NUMBER_ONLY) {
            const FT_STATUS st = Log("count");
            if (st == FT_OK && a2 == nullptr)
                *static_cast<DWORD*>(a1) = static_cast<DWORD>(f.devices.size());
            return a2 ? FT_INVALID_PARAMETER : st;
        }
        const auto index = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(a1));
        const bool bySerial = flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER);
        if (const FT_STATUS st = Log(bySerial ? "serial" : "desc", index))
            return st;
        if (index >= f.devices.size())
            return FT_DEVICE_NOT_FOUND;
        const std::string& text = bySerial ? f.devices[index].serial : f.devices[index].description;
        if (f.writeNoNul)
            std::memset(a2, 'N', 256); // a full-length text without its NUL
        else
            std::memcpy(a2, text.c_str(), text.size() + 1);
        return FT_OK;
    }
    // Logs the call as "Name arg..." and answers its forced status.
    static std::string Arg(const std::string& s) { return s; }
    static std::string Arg(FT_HANDLE h) { return h == current->handle ? "h" : "BAD-HANDLE"; }
    static std::string Arg(unsigned v) { return std::to_string(v); }
    template <typename... Args> static FT_STATUS Log(const std::string& name, Args... args) {
        current->calls.push_back(name);
        ((current->calls.back() += " " + Arg(args)), ...);
        auto it = current->fail.find(current->calls.back());
        it = it != current->fail.end() ? it : current->fail.find(name);
        return it == current->fail.end() ? FT_OK : it->second;
    }
    static FT_STATUS D2XX_CALL Read(FT_HANDLE h, void* buffer, DWORD n, DWORD* got) {
        const FT_STATUS st = Log("Read", h, n);
        if (current->reads.empty()) {
            *got = 0;
            return st;
        }
        EXPECT_EQ(*got, 0u) << "bytes read is cleared before each read";
        const ReadStep step = current->reads.front();
        current->reads.pop_front();
        const std::size_t size = std::min<std::size_t>(step.bytes.size(), n);
        std::copy_n(step.bytes.data(), size, static_cast<char*>(buffer));
        *got = step.claimed != ~0u ? step.claimed : static_cast<DWORD>(size);
        return step.status;
    }

    DriverTable table{
        ListDevices,
        [](void* serial, DWORD flags, FT_HANDLE* h) {
            EXPECT_NE(std::memchr(serial, 0, 256), nullptr) << "serial buffer not NUL-terminated within 256 bytes";
            const FT_STATUS st = Log("OpenEx", std::string(static_cast<const char*>(serial)), flags);
            *h = st == FT_OK ? current->handle : *h;
            return st;
        },
        [](FT_HANDLE h, std::uint32_t b) { return Log("SetBaudRate", h, b); },
        [](FT_HANDLE h, std::uint8_t w, std::uint8_t s, std::uint8_t p) {
            return Log("SetDataCharacteristics", h, w, s, p);
        },
        [](FT_HANDLE h, std::uint16_t fl, std::uint8_t on, std::uint8_t off) {
            return Log("SetFlowControl", h, fl, on, off);
        },
        [](FT_HANDLE h, std::uint32_t r, std::uint32_t w) { return Log("SetTimeouts", h, r, w); },
        [](FT_HANDLE h, std::uint8_t e, std::uint8_t eo, std::uint8_t r, std::uint8_t ro) {
            return Log("SetChars", h, e, eo, r, ro);
        },
        [](FT_HANDLE h, DWORD* n) {
            *n = current->queued != 0x7FFF ? current->queued : *n;
            return Log("GetQueueStatus", h);
        },
        Read,
        [](FT_HANDLE h, void* data, DWORD n, DWORD* written) {
            *written = n;
            return Log("Write", h, std::string(static_cast<const char*>(data), n));
        },
        [](FT_HANDLE h) { return Log("Close", h); },
    };

    FakeDriver() { current = this; }
    ~FakeDriver() { current = nullptr; }
};

} // namespace testsupport
