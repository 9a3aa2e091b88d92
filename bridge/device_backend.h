// What zevbridge serves the driver calls from: a set of devices that can be listed and opened, one
// connection at a time each. Two back ends: the kernel's serial ports (tty_backend.h) and the
// simulated devices (sim_backend.h). Platform-neutral interface.
#pragma once

#include "link/d2xx_types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

using d2xx::FT_STATUS;

// One line of the bridge's log.
using Log = std::function<void(const std::string&)>;

struct DeviceInfo {
    std::string serial;
    std::string description;
};

// An open device. Destroying it closes the device and makes it free for the next opener.
class Port {
public:
    virtual ~Port() = default;
    virtual FT_STATUS SetBaudRate(std::uint32_t baud) = 0;
    virtual FT_STATUS SetDataCharacteristics(std::uint8_t bits, std::uint8_t stop, std::uint8_t parity) = 0;
    virtual FT_STATUS SetFlowControl(std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) = 0;
    virtual FT_STATUS SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) = 0;
    virtual FT_STATUS SetChars(std::uint8_t ev, std::uint8_t evOn, std::uint8_t err, std::uint8_t errOn) = 0;
    // Bytes received and waiting; answered at once.
    virtual FT_STATUS Queue(std::uint32_t* waiting) = 0;
    // Waits up to timeoutMs until `want` bytes wait (not at all for want 0), then takes up to
    // `room` of those that wait.
    virtual FT_STATUS Read(std::uint8_t* out, std::uint32_t want, std::uint32_t room, std::uint32_t timeoutMs,
                           std::uint32_t* got) = 0;
    // Accepts all n bytes for sending, or none.
    virtual FT_STATUS Write(const std::uint8_t* data, std::uint32_t n, std::uint32_t* accepted) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    // The attached devices in driver index order.
    virtual FT_STATUS Enumerate(std::vector<DeviceInfo>* devices) = 0;
    // Opens by serial number (d2xx::FT_OPEN_BY_SERIAL_NUMBER) or description; a device open
    // elsewhere is FT_DEVICE_NOT_OPENED.
    virtual FT_STATUS Open(std::uint32_t by, std::string_view key, std::unique_ptr<Port>* port) = 0;
};

} // namespace bridge
