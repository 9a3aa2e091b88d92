// A scripted stand-in for the D2XX driver for native tests: devices, forced failures per call,
// and a log of every call with its arguments. One instance at a time (the table holds plain
// function pointers, so they reach the instance through `current`).
#pragma once

#include "link/d2xx_types.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

using namespace d2xx;

struct FakeDriver {
    struct Dev {
        std::string serial, description;
    };
    std::vector<Dev> devices;
    DWORD reportedCount = ~0u; // ~0: the size of devices; 0x7FFF: success without writing a count
    FT_STATUS countStatus = FT_OK;
    // Decides the status of a by-index query before it is answered: (index, flag, attempt) -> status.
    std::function<FT_STATUS(DWORD, DWORD, int)> byIndexStatus;
    // Per-function forced status for the link calls, FT_OK when absent.
    std::map<std::string, FT_STATUS> fail;
    std::vector<std::string> calls;
    std::map<std::pair<DWORD, DWORD>, int> attempts;
    FT_HANDLE handle = reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(sizeof(void*) == 8 ? 0x7FFE12345678ull : 0x1234));
    bool writeNoNul = false;

    static inline FakeDriver* current = nullptr;

    static FT_STATUS D2XX_CALL ListDevices(void* a1, void* a2, DWORD flags) {
        FakeDriver& f = *current;
        if (flags == FT_LIST_NUMBER_ONLY) {
            f.calls.push_back("count");
            if (a2 != nullptr)
                return FT_INVALID_PARAMETER;
            if (f.countStatus != FT_OK)
                return f.countStatus;
            if (f.reportedCount != 0x7FFF)
                *static_cast<DWORD*>(a1) = f.reportedCount == ~0u ? static_cast<DWORD>(f.devices.size()) : f.reportedCount;
            return FT_OK;
        }
        const auto index = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(a1));
        const bool bySerial = flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER);
        EXPECT_TRUE(bySerial || flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION)) << std::hex << flags;
        f.calls.push_back((bySerial ? "serial " : "desc ") + std::to_string(index));
        const int attempt = f.attempts[{index, flags}]++;
        if (f.byIndexStatus) {
            if (FT_STATUS st = f.byIndexStatus(index, flags, attempt))
                return st;
        }
        if (index >= f.devices.size())
            return FT_DEVICE_NOT_FOUND;
        const std::string& text = bySerial ? f.devices[index].serial : f.devices[index].description;
        char* buffer = static_cast<char*>(a2);
        if (f.writeNoNul) {
            std::memset(buffer, 'N', 256); // a full-length text without its NUL
        } else {
            std::memcpy(buffer, text.c_str(), text.size() + 1);
        }
        return FT_OK;
    }
    FT_STATUS Step(const std::string& call) {
        calls.push_back(call);
        auto it = fail.find(call.substr(0, call.find(' ')));
        return it == fail.end() ? FT_OK : it->second;
    }
    std::string H(FT_HANDLE h) const { return h == handle ? "h" : "BAD-HANDLE"; }
    static FT_STATUS D2XX_CALL OpenEx(void* a1, DWORD flags, FT_HANDLE* h) {
        FakeDriver& f = *current;
        const char* s = static_cast<const char*>(a1);
        EXPECT_NE(std::memchr(s, 0, 256), nullptr) << "serial buffer not NUL-terminated within 256 bytes";
        FT_STATUS st = f.Step("OpenEx " + std::string(s) + " " + std::to_string(flags));
        if (st == FT_OK)
            *h = f.handle;
        return st;
    }
    static FT_STATUS D2XX_CALL SetBaudRate(FT_HANDLE h, std::uint32_t b) {
        return current->Step("SetBaudRate " + current->H(h) + " " + std::to_string(b));
    }
    static FT_STATUS D2XX_CALL SetData(FT_HANDLE h, std::uint8_t w, std::uint8_t s, std::uint8_t p) {
        return current->Step("SetDataCharacteristics " + current->H(h) + " " + std::to_string(w) + " " +
                             std::to_string(s) + " " + std::to_string(p));
    }
    static FT_STATUS D2XX_CALL SetFlow(FT_HANDLE h, std::uint16_t fl, std::uint8_t on, std::uint8_t off) {
        return current->Step("SetFlowControl " + current->H(h) + " " + std::to_string(fl) + " " + std::to_string(on) +
                             " " + std::to_string(off));
    }
    static FT_STATUS D2XX_CALL SetTimeouts(FT_HANDLE h, std::uint32_t r, std::uint32_t w) {
        return current->Step("SetTimeouts " + current->H(h) + " " + std::to_string(r) + " " + std::to_string(w));
    }
    static FT_STATUS D2XX_CALL SetChars(FT_HANDLE h, std::uint8_t e, std::uint8_t eo, std::uint8_t r, std::uint8_t ro) {
        return current->Step("SetChars " + current->H(h) + " " + std::to_string(e) + " " + std::to_string(eo) + " " +
                             std::to_string(r) + " " + std::to_string(ro));
    }
    static FT_STATUS D2XX_CALL Queue(FT_HANDLE h, DWORD* n) {
        *n = 3;
        return current->Step("GetQueueStatus " + current->H(h));
    }
    static FT_STATUS D2XX_CALL Read(FT_HANDLE h, void*, DWORD n, DWORD* got) {
        *got = 0;
        return current->Step("Read " + current->H(h) + " " + std::to_string(n));
    }
    static FT_STATUS D2XX_CALL Write(FT_HANDLE h, void* data, DWORD n, DWORD* written) {
        *written = n;
        return current->Step("Write " + current->H(h) + " " + std::string(static_cast<const char*>(data), n));
    }
    static FT_STATUS D2XX_CALL Close(FT_HANDLE h) { return current->Step("Close " + current->H(h)); }

    DriverTable table{ListDevices, OpenEx, SetBaudRate, SetData, SetFlow, SetTimeouts, SetChars, Queue, Read, Write,
                      Close};

    FakeDriver() { current = this; }
    ~FakeDriver() { current = nullptr; }
};

} // namespace testsupport
