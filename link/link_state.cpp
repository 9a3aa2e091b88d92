#include "link/link_state.h"

#include "link/device_catalog.h"

#include <algorithm>
#include <array>

namespace devlink {

bool LinkState::OpenLink(std::string_view serialNumber, d2xx::FT_STATUS* openStatus) {
    CloseLink(); // never leak a handle by opening over an open link

    // A NUL-terminated ANSI string in a buffer of the catalog's field size; a longer text is cut.
    std::array<char, kFieldLength> buffer{};
    std::copy_n(serialNumber.data(), std::min(serialNumber.size(), buffer.size() - 1), buffer.begin());

    d2xx::FT_HANDLE handle = nullptr;
    const d2xx::FT_STATUS opened = driver_.OpenEx(buffer.data(), d2xx::FT_OPEN_BY_SERIAL_NUMBER, &handle);
    if (openStatus)
        *openStatus = opened;
    if (opened != d2xx::FT_OK)
        return false;
    lDeviceHandle = handle;
    bOpen_ = true;
    serialNumber_.assign(buffer.data());
    if (!Configure()) {
        CloseLink();
        return false;
    }
    return true;
}

bool LinkState::Configure() {
    lLastStatus = static_cast<std::int32_t>(driver_.SetBaudRate(lDeviceHandle, kBaudRate));
    return lLastStatus == static_cast<std::int32_t>(d2xx::FT_OK) &&
           driver_.SetDataCharacteristics(lDeviceHandle, d2xx::FT_BITS_8, d2xx::FT_STOP_BITS_1, d2xx::FT_PARITY_NONE) ==
               d2xx::FT_OK &&
           driver_.SetFlowControl(lDeviceHandle, d2xx::FT_FLOW_NONE, 0, 0) == d2xx::FT_OK &&
           driver_.SetTimeouts(lDeviceHandle, kReadTimeoutMs, kWriteTimeoutMs) == d2xx::FT_OK &&
           driver_.SetChars(lDeviceHandle, kEventChar, 1, 0, 0) == d2xx::FT_OK;
}

void LinkState::CloseLink() {
    if (!bOpen_)
        return;
    driver_.Close(lDeviceHandle); // the status tells nothing the program could act on
    bOpen_ = false;
}

d2xx::FT_STATUS LinkState::GetQueueStatus(d2xx::DWORD* rxBytes) {
    return bOpen_ ? driver_.GetQueueStatus(lDeviceHandle, rxBytes) : d2xx::FT_INVALID_HANDLE;
}

d2xx::FT_STATUS LinkState::Read(void* buffer, d2xx::DWORD toRead, d2xx::DWORD* returned) {
    return bOpen_ ? driver_.Read(lDeviceHandle, buffer, toRead, returned) : d2xx::FT_INVALID_HANDLE;
}

d2xx::FT_STATUS LinkState::Write(const void* data, d2xx::DWORD count, d2xx::DWORD* written) {
    // The driver's signature takes a non-const buffer; it only reads from it.
    return bOpen_ ? driver_.Write(lDeviceHandle, const_cast<void*>(data), count, written) : d2xx::FT_INVALID_HANDLE;
}

} // namespace devlink
