// The driver half of the receive pump: one tick's queue query and reads. Platform-neutral over
// the link; the window turns the result into console text (console_text.h).
#pragma once

#include "link/link_state.h"

#include <cstddef>
#include <string>

namespace console {

// No read asks for more than this.
constexpr std::size_t kReceiveBufferSize = 256;
// The most one tick fetches: twice what the fastest line delivers in a tick (about 120 kB at
// 12 Mbaud), so a tick keeps up with any real device. What a tick leaves stays queued for the next
// one, so a driver reporting an absurd queue cannot stall the window or exhaust memory, and nothing
// is lost. It also bounds a tick's reads, which the 256-byte buffer makes many.
constexpr std::size_t kMaxBytesPerTick = 256u << 10;

struct ReceiveResult {
    // Every byte read this tick, in order: also those read before a read failed or came back
    // empty, which would otherwise be lost.
    std::string bytes;
    // The queue query said the device is no longer there (unplugged, handle invalid): the link
    // is of no further use.
    bool deviceGone = false;
};

// One tick: query the queue, then read what it reported in reads of at most kReceiveBufferSize,
// never asking for more than is still queued. lLastStatus gets the status of the query and of
// every read. FT_IO_ERROR from a read counts as success. A closed link makes no driver call.
ReceiveResult FetchReceived(devlink::LinkState& link);

// Queue query statuses that mean the device is gone for good.
bool MeansDeviceGone(d2xx::FT_STATUS status);

} // namespace console
