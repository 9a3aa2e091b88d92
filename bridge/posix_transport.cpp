#include "bridge/posix_transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bridge {
namespace {

bool Await(int fd, short event, int timeoutMs) {
    pollfd p{fd, event, 0};
    int r;
    while ((r = poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return r > 0;
}

class PosixTransport : public Transport {
public:
    explicit PosixTransport(int fd) : fd_(fd) {}
    ~PosixTransport() override { close(fd_); }
    bool Send(const std::uint8_t* data, std::size_t n, int timeoutMs) override {
        for (std::size_t done = 0; done < n;) {
            if (!Await(fd_, POLLOUT, timeoutMs))
                return false;
            const ssize_t w = send(fd_, data + done, n - done, MSG_NOSIGNAL);
            if (w < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (w <= 0)
                return false;
            done += static_cast<std::size_t>(w);
        }
        return true;
    }
    long Receive(std::uint8_t* out, std::size_t capacity, int timeoutMs) override {
        if (!Await(fd_, POLLIN, timeoutMs))
            return kTimeout;
        const ssize_t r = recv(fd_, out, capacity, 0);
        if (r < 0)
            return errno == EAGAIN || errno == EINTR ? kTimeout : kError;
        return static_cast<long>(r);
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<Transport> ConnectPosix(const Endpoint& endpoint, int timeoutMs) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return nullptr;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    address.sin_addr.s_addr = htonl(endpoint.address);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        socklen_t length = sizeof error;
        if (error != EINPROGRESS || !Await(fd, POLLOUT, timeoutMs) ||
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            close(fd);
            return nullptr;
        }
    }
    return std::make_unique<PosixTransport>(fd);
}

} // namespace bridge
