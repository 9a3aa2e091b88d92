// zevbridge's listening side: a TCP socket on 127.0.0.1 only, at most maxConnections connections
// at once (more are closed as they come), one thread per connection running its Session. A
// connection that has not sent the right token within helloDeadline is closed. Linux only.
#pragma once

#include "bridge/device_backend.h"

#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bridge {

struct ServerOptions {
    std::uint16_t port = 0; // 0: any free port
    std::vector<std::uint8_t> token;
    std::chrono::milliseconds helloDeadline{3000};
    std::size_t maxConnections = 8;
    // A client that does not take its reply within this is dropped.
    std::chrono::milliseconds sendTimeout{10000};
};

class Server {
public:
    Server(Backend& backend, ServerOptions options, Log log);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool Listen(std::string* why);
    std::uint16_t Port() const { return port_; }
    // Accepts and serves until Stop().
    void Run();
    // From any thread, or a signal handler: only writes to a pipe.
    void Stop();

private:
    struct Connection {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void Serve(Connection& connection, std::uint64_t number);
    void Reap(bool all);
    void Say(const std::string& text) const {
        if (log_)
            log_(text);
    }

    Backend& backend_;
    ServerOptions options_;
    Log log_;
    int listen_ = -1;
    int stop_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::mutex lock_;
    std::list<Connection> connections_;
};

} // namespace bridge
