#include "console/reconnect_policy.h"

#include <cwchar>
#include <utility>

namespace console {

void ReconnectPolicy::DeviceGone(std::string serial, std::uint64_t nowMs) {
    serial_ = std::move(serial);
    since_ = nowMs;
    waiting_ = !serial_.empty();
}

ReconnectPolicy::Action ReconnectPolicy::Tick(std::uint64_t nowMs, bool finderOpen) {
    if (!waiting_)
        return Action::None;
    if (nowMs - since_ > kWaitMs) {
        waiting_ = false;
        return Action::GiveUp;
    }
    return finderOpen ? Action::None : Action::Try;
}

void ReconnectPolicy::Tried(bool opened, d2xx::FT_STATUS openStatus) {
    if (opened || openStatus != d2xx::FT_DEVICE_NOT_FOUND)
        waiting_ = false;
}

std::wstring WaitingTip(std::wstring_view serial, int hour, int minute) {
    const int end = (hour * 60 + minute + static_cast<int>(ReconnectPolicy::kWaitMs / 60000)) % (24 * 60);
    wchar_t at[8] = {};
    std::swprintf(at, 8, L"%02d:%02d", end / 60, end % 60);
    return L"Esperando a " + std::wstring(serial) + L" hasta las " + at;
}

} // namespace console
