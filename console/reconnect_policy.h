// When the connected device is seen gone (unplugged: the receive queue query says so), the main window
// keeps trying to open the same serial number once a second, for five minutes, and connects again when
// it comes back. Platform-neutral over the caller's clock (milliseconds); the window's one-second timer
// asks it at each tick what to do.
#pragma once

#include "link/d2xx_types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace console {

class ReconnectPolicy {
public:
    static constexpr std::uint64_t kAttemptEveryMs = 1000;
    static constexpr std::uint64_t kWaitMs = 5 * 60 * 1000;

    // The open link's device is gone: wait for this serial number from now on.
    void DeviceGone(std::string serial, std::uint64_t nowMs);
    // The user pressed "Desconectar", or connected (to this or another device) through the finder.
    void Stop() { waiting_ = false; }
    bool Waiting() const { return waiting_; }
    const std::string& Serial() const { return serial_; }

    enum class Action { None, Try, GiveUp };
    // A tick of the one-second timer: try to open the device now, unless the device finder is open (it
    // lists and connects devices itself); once five minutes have passed, give up.
    Action Tick(std::uint64_t nowMs, bool finderOpen);
    // The open's result. Opened, or refused for any reason other than "not found" (the device is there
    // but cannot be used): the wait is over either way.
    void Tried(bool opened, d2xx::FT_STATUS openStatus);

private:
    std::string serial_;
    std::uint64_t since_ = 0;
    bool waiting_ = false;
};

// The state panel's tool tip while waiting: "Esperando a <serial> hasta las HH:MM", the time being the
// wait's end for a wait that starts at this hour and minute.
std::wstring WaitingTip(std::wstring_view serial, int hour, int minute);

} // namespace console
