#include "bridge/tty_backend.h"

#include "bridge/byte_queue.h"
#include "bridge/sysfs_ports.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace bridge {
namespace {

using namespace d2xx;

speed_t SpeedOf(std::uint32_t baud) {
    static const std::pair<std::uint32_t, speed_t> kSpeeds[] = {
        {300, B300},         {600, B600},         {1200, B1200},      {2400, B2400},     {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},    {57600, B57600},   {115200, B115200},
        {230400, B230400},   {460800, B460800},   {500000, B500000},  {921600, B921600}, {1000000, B1000000},
        {1500000, B1500000}, {2000000, B2000000}, {3000000, B3000000}};
    for (const auto& [rate, speed] : kSpeeds)
        if (rate == baud)
            return speed;
    return B0;
}

class TtyPort : public Port {
public:
    TtyPort(int fd, std::string node, const TtyOptions& options, Log log, std::function<void()> release)
        : fd_(fd), node_(std::move(node)), log_(std::move(log)), release_(std::move(release)),
          rx_(options.receiveCapacity), tx_(options.sendCapacity) {
        if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
            wake_[0] = wake_[1] = -1;
        reader_ = std::thread([this] { ReadLoop(); });
        writer_ = std::thread([this] { WriteLoop(); });
    }
    ~TtyPort() override {
        const char stop = 1;
        [[maybe_unused]] const auto n = write(wake_[1], &stop, 1);
        tx_.Close();
        reader_.join();
        writer_.join();
        close(wake_[0]);
        close(wake_[1]);
        ioctl(fd_, TIOCNXCL); // the next opener may be another process of the same user
        close(fd_);           // HUPCL is off: the modem lines stay as they are
        release_();
    }

    FT_STATUS SetBaudRate(std::uint32_t baud) override {
        const speed_t speed = SpeedOf(baud);
        if (speed == B0)
            return FT_INVALID_BAUD_RATE;
        return Change([&](termios& t) { return cfsetispeed(&t, speed) == 0 && cfsetospeed(&t, speed) == 0; });
    }
    FT_STATUS SetDataCharacteristics(std::uint8_t bits, std::uint8_t stop, std::uint8_t parity) override {
        if ((bits != 7 && bits != 8) || (stop != 0 && stop != 2) || parity > 4)
            return FT_INVALID_PARAMETER;
        return Change([&](termios& t) {
            t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR);
            t.c_cflag |= (bits == 7 ? CS7 : CS8) | (stop == 2 ? CSTOPB : 0);
            // 1 odd, 2 even, 3 mark, 4 space.
            static const tcflag_t kParity[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
            t.c_cflag |= kParity[parity];
            return true;
        });
    }
    FT_STATUS SetFlowControl(std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) override {
        constexpr std::uint16_t kRtsCts = 0x0100, kXonXoff = 0x0400;
        if (flow != 0 && flow != kRtsCts && flow != kXonXoff)
            return FT_INVALID_PARAMETER; // DTR/DSR flow control has no termios equivalent
        return Change([&](termios& t) {
            t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
            t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
            if (flow == kRtsCts)
                t.c_cflag |= CRTSCTS;
            if (flow == kXonXoff) {
                t.c_iflag |= IXON | IXOFF;
                t.c_cc[VSTART] = xon;
                t.c_cc[VSTOP] = xoff;
            }
            return true;
        });
    }
    // Time-outs live in the session (reads wait there); the event and error characters only steer
    // when the chip sends its USB packets, which the kernel's driver decides itself.
    FT_STATUS SetTimeouts(std::uint32_t, std::uint32_t) override { return gone_ ? FT_IO_ERROR : FT_OK; }
    FT_STATUS SetChars(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return gone_ ? FT_IO_ERROR : FT_OK;
    }
    FT_STATUS Queue(std::uint32_t* waiting) override {
        *waiting = static_cast<std::uint32_t>(rx_.Size());
        return gone_ && *waiting == 0 ? FT_IO_ERROR : FT_OK;
    }
    FT_STATUS Read(std::uint8_t* out, std::uint32_t want, std::uint32_t room, std::uint32_t timeoutMs,
                   std::uint32_t* got) override {
        if (want)
            rx_.WaitFor(want, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs));
        *got = static_cast<std::uint32_t>(rx_.Pop(out, room));
        return gone_ && *got == 0 ? FT_IO_ERROR : FT_OK;
    }
    FT_STATUS Write(const std::uint8_t* data, std::uint32_t n, std::uint32_t* accepted) override {
        *accepted = 0;
        if (gone_)
            return FT_IO_ERROR;
        if (!tx_.PushAll(data, n)) {
            Say("send queue full: a write of " + std::to_string(n) + " bytes refused");
            return FT_INSUFFICIENT_RESOURCES;
        }
        *accepted = n;
        return FT_OK;
    }

private:
    template <typename Fn> FT_STATUS Change(Fn&& fn) {
        std::lock_guard<std::mutex> guard(termiosLock_);
        termios t{};
        if (gone_ || tcgetattr(fd_, &t) != 0)
            return FT_IO_ERROR;
        if (!fn(t))
            return FT_INVALID_PARAMETER;
        return tcsetattr(fd_, TCSANOW, &t) == 0 ? FT_OK : FT_IO_ERROR;
    }
    void Say(const std::string& text) const {
        if (log_)
            log_(node_ + ": " + text);
    }
    void Gone(const char* why) {
        if (!gone_.exchange(true))
            Say(std::string("device gone (") + why + ")");
        rx_.Close(); // a read waiting for more returns now
    }
    // Waits until the tty has the event or the port is closing; false when closing.
    bool Await(short event) {
        pollfd fds[2] = {{fd_, event, 0}, {wake_[0], POLLIN, 0}};
        while (poll(fds, 2, -1) < 0)
            if (errno != EINTR)
                return false;
        if (fds[1].revents)
            return false;
        if (fds[0].revents & (POLLERR | POLLNVAL) || (fds[0].revents & POLLHUP && !(fds[0].revents & POLLIN)))
            Gone("hang-up");
        return !gone_;
    }
    void ReadLoop() {
        std::uint8_t buffer[4096];
        std::uint64_t dropped = 0;
        while (Await(POLLIN)) {
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (n <= 0) {
                Gone(n == 0 ? "end of file" : std::strerror(errno));
                return;
            }
            const std::size_t kept = rx_.Push(buffer, static_cast<std::size_t>(n));
            if (kept < static_cast<std::size_t>(n) && dropped == 0)
                Say("receive buffer full (" + std::to_string(rx_.Capacity()) + " bytes unread): dropping input");
            if (kept == static_cast<std::size_t>(n) && dropped) {
                Say(std::to_string(dropped) + " received bytes dropped while the buffer was full");
                dropped = 0;
            }
            dropped += static_cast<std::size_t>(n) - kept;
        }
    }
    void WriteLoop() {
        std::uint8_t buffer[4096];
        for (;;) {
            // (A finite deadline: the largest time point overflows in the wait.)
            tx_.WaitFor(1, std::chrono::steady_clock::now() + std::chrono::hours(1));
            const std::size_t n = tx_.Pop(buffer, sizeof buffer);
            if (n == 0)
                return; // closed and empty
            for (std::size_t done = 0; done < n;) {
                if (!Await(POLLOUT))
                    return;
                const ssize_t w = write(fd_, buffer + done, n - done);
                if (w < 0 && (errno == EAGAIN || errno == EINTR))
                    continue;
                if (w < 0) {
                    Gone(std::strerror(errno));
                    return;
                }
                done += static_cast<std::size_t>(w);
            }
        }
    }

    int fd_;
    std::string node_;
    Log log_;
    std::function<void()> release_;
    ByteQueue rx_, tx_;
    std::atomic<bool> gone_{false};
    std::mutex termiosLock_;
    int wake_[2] = {-1, -1};
    std::thread reader_, writer_;
};

} // namespace

TtyBackend::TtyBackend(TtyOptions options, Log log) : options_(std::move(options)), log_(std::move(log)) {}

FT_STATUS TtyBackend::Enumerate(std::vector<DeviceInfo>* devices) {
    devices->clear();
    for (const SysfsPort& port : ListFtdiPorts(options_.sysfs))
        devices->push_back({port.serial, port.description});
    return FT_OK;
}

void TtyBackend::Release(const std::string& node) {
    std::lock_guard<std::mutex> guard(lock_);
    open_.erase(node);
}

FT_STATUS TtyBackend::Open(std::uint32_t by, std::string_view key, std::unique_ptr<Port>* port) {
    SysfsPort found;
    for (const SysfsPort& p : ListFtdiPorts(options_.sysfs))
        if ((by == FT_OPEN_BY_SERIAL_NUMBER ? p.serial : p.description) == key) {
            found = p;
            break;
        }
    if (found.node.empty())
        return FT_DEVICE_NOT_FOUND;
    const std::string path = (options_.dev / found.node).string();
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!open_.insert(found.node).second) {
            Say(path + ": busy: open for another connection");
            return FT_DEVICE_NOT_OPENED;
        }
    }
    auto refuse = [&](int fd, const std::string& why, FT_STATUS status) {
        Say("cannot open " + path + " (" + found.serial + "): " + why);
        if (fd >= 0)
            close(fd);
        Release(found.node);
        return status;
    };
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return refuse(-1, "permission denied (the user must be in the dialout group)", FT_DEVICE_NOT_OPENED);
        if (error == EBUSY)
            return refuse(-1, "busy: another program has it", FT_DEVICE_NOT_OPENED);
        return refuse(-1, std::strerror(error), error == ENOENT ? FT_DEVICE_NOT_FOUND : FT_DEVICE_NOT_OPENED);
    }
    // Another program of ours (or any that locks ttys the same way) holds it.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(fd, "busy: another program has it locked", FT_DEVICE_NOT_OPENED);
    termios t{};
    if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &t) != 0)
        return refuse(fd, std::string("not a serial port: ") + std::strerror(errno), FT_DEVICE_NOT_OPENED);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(HUPCL | CRTSCTS);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        return refuse(fd, std::string("cannot set the line: ") + std::strerror(errno), FT_DEVICE_NOT_OPENED);
    tcflush(fd, TCIOFLUSH); // nothing left over from before the open
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines); // a pseudo-terminal has no modem lines: nothing to clear there
    Say("opened " + path + " (" + found.serial + ", " + found.description + ")");
    const std::string node = found.node;
    *port = std::make_unique<TtyPort>(fd, node, options_, log_, [this, node] { Release(node); });
    return FT_OK;
}

} // namespace bridge
