#include "bridge/server.h"

#include "bridge/session.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bridge {
namespace {

// Waits for the event on fd or for the stop pipe; 1 ready, 0 time-out, -1 stopping or error.
int Await(int fd, short event, int stopFd, int timeoutMs) {
    pollfd fds[2] = {{fd, event, 0}, {stopFd, POLLIN, 0}};
    int r;
    while ((r = poll(fds, 2, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (r < 0 || fds[1].revents)
        return -1;
    return r == 0 ? 0 : 1;
}

int Milliseconds(std::chrono::steady_clock::duration d) {
    return static_cast<int>(std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(d).count()));
}

} // namespace

Server::Server(Backend& backend, ServerOptions options, Log log)
    : backend_(backend), options_(std::move(options)), log_(std::move(log)) {
    if (pipe2(stop_, O_CLOEXEC | O_NONBLOCK) != 0)
        stop_[0] = stop_[1] = -1;
}

Server::~Server() {
    Stop();
    Reap(true);
    if (listen_ >= 0)
        close(listen_);
    close(stop_[0]);
    close(stop_[1]);
}

bool Server::Listen(std::string* why) {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // never another interface: the token travels in the clear
    socklen_t length = sizeof address;
    if (listen_ < 0 || stop_[0] < 0 || setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listen_, 16) != 0 ||
        getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        *why = std::strerror(errno);
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

void Server::Stop() {
    const char byte = 1;
    [[maybe_unused]] const auto n = write(stop_[1], &byte, 1);
}

void Server::Reap(bool all) {
    std::list<Connection> finished;
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (all || it->done)
                finished.splice(finished.end(), connections_, it);
            it = next;
        }
    }
    for (Connection& c : finished)
        c.thread.join(); // each stops at once: the stop pipe or its closed socket wakes it
}

void Server::Run() {
    std::uint64_t number = 0;
    while (Await(listen_, POLLIN, stop_[0], -1) > 0) {
        const int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            // Out of descriptors or memory: the pending connection stays, so do not spin on it.
            if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        Reap(false);
        std::lock_guard<std::mutex> guard(lock_);
        ++number;
        if (connections_.size() >= options_.maxConnections) {
            Say("connection " + std::to_string(number) + " refused: " + std::to_string(connections_.size()) +
                " connections already");
            close(fd);
            continue;
        }
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        Connection& c = connections_.emplace_back();
        c.fd = fd;
        c.thread = std::thread([this, &c, number] { Serve(c, number); });
    }
}

void Server::Serve(Connection& connection, std::uint64_t number) {
    const int fd = connection.fd;
    const std::string name = "connection " + std::to_string(number);
    std::string why;
    {
        Session session(backend_, options_.token, log_, name);
        FrameReader reader(kMaxHelloFrame);
        const auto deadline = std::chrono::steady_clock::now() + options_.helloDeadline;
        std::vector<std::uint8_t> buffer(64u << 10), reply;
        while (why.empty()) {
            // Before the token, wait no longer than its deadline and read no more than a hello.
            const int timeout =
                session.Authenticated() ? -1 : Milliseconds(deadline - std::chrono::steady_clock::now());
            const int ready = Await(fd, POLLIN, stop_[0], timeout);
            if (ready <= 0) {
                why = ready == 0 ? "no token in time" : "bridge stopping";
                break;
            }
            const ssize_t n = recv(fd, buffer.data(), session.Authenticated() ? buffer.size() : kMaxHelloFrame + 4, 0);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (n <= 0) {
                why = n == 0 ? "closed by the client" : std::strerror(errno);
                break;
            }
            reader.Feed(buffer.data(), static_cast<std::size_t>(n));
            reader.SetLimit(session.FrameLimit());
            while (why.empty()) {
                auto frame = reader.Next();
                if (!frame) {
                    if (reader.error() != FrameReader::Error::None)
                        why = ErrorText(reader.error());
                    break;
                }
                if (!session.Handle(*frame, &reply, &why))
                    break;
                reader.SetLimit(session.FrameLimit());
                const auto sendBy = std::chrono::steady_clock::now() + options_.sendTimeout;
                for (std::size_t done = 0; done < reply.size() && why.empty();) {
                    if (Await(fd, POLLOUT, stop_[0], Milliseconds(sendBy - std::chrono::steady_clock::now())) <= 0) {
                        why = "the client does not take its reply";
                        break;
                    }
                    const ssize_t w = send(fd, reply.data() + done, reply.size() - done, MSG_NOSIGNAL);
                    if (w < 0 && (errno == EAGAIN || errno == EINTR))
                        continue;
                    if (w <= 0)
                        why = std::strerror(errno);
                    else
                        done += static_cast<std::size_t>(w);
                }
            }
        }
        Say(name + " closed: " + why);
    } // the session's devices are released here, before the connection counts as gone
    close(fd);
    connection.done = true;
}

} // namespace bridge
