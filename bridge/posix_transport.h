// The client side of a loopback TCP connection over POSIX sockets (Linux): what native tests and
// tools use to talk to zevbridge as the bridge DLL does.
#pragma once

#include "bridge/transport.h"

namespace bridge {

std::unique_ptr<Transport> ConnectPosix(const Endpoint& endpoint, int timeoutMs);

} // namespace bridge
