// The one open (or closed) link to a device: handle, last driver status and the open flag.
// Platform-neutral over the injected driver table. No driver call is ever made with the handle
// of a closed link: the I/O entry points below refuse with FT_INVALID_HANDLE instead.
#pragma once

#include "link/d2xx_types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace devlink {

// The serial settings the device expects.
constexpr std::uint32_t kBaudRate = 9600;
constexpr std::uint32_t kReadTimeoutMs = 5000;
constexpr std::uint32_t kWriteTimeoutMs = 0;
constexpr std::uint8_t kEventChar = 0x7E; // "~"

class LinkState {
public:
    explicit LinkState(const d2xx::DriverTable& driver) : driver_(driver) {}
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    d2xx::FT_HANDLE lDeviceHandle = nullptr;
    std::int32_t lLastStatus = 0;

    bool IsOpen() const { return bOpen_; }

    // Opens the device with this serial number (ANSI bytes) and sets up the line. A failure after
    // the open closes the handle again. Silent either way: the caller only learns the result, and in
    // openStatus (when given) FT_OpenEx's status, which tells a device not there from one refused.
    bool OpenLink(std::string_view serialNumber, d2xx::FT_STATUS* openStatus = nullptr);
    // The serial number of the device last opened; kept after the link closes, so the device can be
    // waited for when it was unplugged.
    const std::string& SerialNumber() const { return serialNumber_; }
    // Closes an open link; on a closed one it does nothing.
    void CloseLink();

    d2xx::FT_STATUS GetQueueStatus(d2xx::DWORD* rxBytes);
    d2xx::FT_STATUS Read(void* buffer, d2xx::DWORD toRead, d2xx::DWORD* returned);
    d2xx::FT_STATUS Write(const void* data, d2xx::DWORD count, d2xx::DWORD* written);

private:
    bool Configure();

    const d2xx::DriverTable& driver_;
    bool bOpen_ = false;
    std::string serialNumber_;
};

} // namespace devlink
