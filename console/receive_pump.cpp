#include "console/receive_pump.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace console {

bool MeansDeviceGone(d2xx::FT_STATUS status) {
    switch (status) {
    case d2xx::FT_INVALID_HANDLE:
    case d2xx::FT_DEVICE_NOT_FOUND:
    case d2xx::FT_DEVICE_NOT_OPENED:
    case d2xx::FT_IO_ERROR:
        return true;
    default:
        return false;
    }
}

ReceiveResult FetchReceived(devlink::LinkState& link) {
    ReceiveResult result;
    if (!link.IsOpen())
        return result;

    d2xx::DWORD queuedCount = 0;
    const d2xx::FT_STATUS queryStatus = link.GetQueueStatus(&queuedCount);
    link.lLastStatus = static_cast<std::int32_t>(queryStatus);
    if (queryStatus != d2xx::FT_OK) {
        result.deviceGone = MeansDeviceGone(queryStatus);
        return result;
    }
    // The count is a signed quantity for the device's protocol: "0 or less" ends the tick.
    if (static_cast<std::int32_t>(queuedCount) <= 0)
        return result;
    const std::size_t queued = std::min<std::size_t>(queuedCount, kMaxBytesPerTick);

    std::array<char, kReceiveBufferSize> buffer{};
    while (result.bytes.size() < queued) {
        const auto ask = static_cast<d2xx::DWORD>(std::min(buffer.size(), queued - result.bytes.size()));
        d2xx::DWORD got = 0;
        const d2xx::FT_STATUS status = link.Read(buffer.data(), ask, &got);
        link.lLastStatus = static_cast<std::int32_t>(status);
        if (status != d2xx::FT_OK && status != d2xx::FT_IO_ERROR)
            break; // failed: what was read so far is still shown
        if (got == 0)
            break; // no data: likewise
        // A driver claiming more than it was asked for cannot have put more into the buffer.
        result.bytes.append(buffer.data(), std::min(got, ask));
    }
    return result;
}

} // namespace console
