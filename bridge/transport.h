// A client's connection to zevbridge, as the bridge DLL's logic sees it: bytes out and in, each
// within a time bound. Winsock in the DLL, POSIX sockets natively. Platform-neutral interface.
#pragma once

#include "bridge/protocol.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace bridge {

class Transport {
public:
    enum : long { kClosed = 0, kError = -1, kTimeout = -2 };
    virtual ~Transport() = default;
    // All n bytes, or false.
    virtual bool Send(const std::uint8_t* data, std::size_t n, int timeoutMs) = 0;
    // Some bytes (their count), or kClosed, kError or kTimeout.
    virtual long Receive(std::uint8_t* out, std::size_t capacity, int timeoutMs) = 0;
};

// Connects within the time bound (a refused connection fails at once); null on failure.
using Connector = std::function<std::unique_ptr<Transport>(const Endpoint& endpoint, int timeoutMs)>;

} // namespace bridge
