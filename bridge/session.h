// One client connection's side of the protocol in zevbridge: the token check, the connection's own
// handles, and each request turned into back-end calls and a reply. Platform-neutral; the socket
// layer (server.h) feeds it frames and enforces the first frame's deadline.
#pragma once

#include "bridge/device_backend.h"
#include "bridge/protocol.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bridge {

class Session {
public:
    Session(Backend& backend, const std::vector<std::uint8_t>& token, Log log, std::string name);
    // Closes the connection's devices, so others may open them.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Answers one frame into *reply. False: the connection must be closed (*why says why).
    bool Handle(const Frame& frame, std::vector<std::uint8_t>* reply, std::string* why);
    bool Authenticated() const { return authenticated_; }
    // What the next frame may be at most.
    std::size_t FrameLimit() const { return authenticated_ ? kMaxFrame : kMaxHelloFrame; }
    std::size_t OpenHandles() const { return handles_.size(); }

private:
    struct Open {
        std::unique_ptr<Port> port;
        std::string serial;
        std::uint32_t readTimeoutMs = 0;
    };
    bool Request(Op op, BodyReader& in, FrameWriter& out);
    Open* Find(std::uint32_t handle);
    void LogLine(const std::string& text) const;

    Backend& backend_;
    const std::vector<std::uint8_t>& token_;
    Log log_;
    std::string name_;
    bool authenticated_ = false;
    std::vector<DeviceInfo> listed_; // the last enumeration, which the by-index queries read
    std::map<std::uint32_t, Open> handles_;
    std::uint32_t nextHandle_ = 1;
};

} // namespace bridge
