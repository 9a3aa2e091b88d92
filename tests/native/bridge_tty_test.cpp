// The bridge's real-device layer on a sysfs tree laid out as the kernel lays it out, with a
// pseudo-terminal standing in for each FTDI port's tty (both ends raw: a new one echoes).
#include "bridge/sysfs_ports.h"
#include "bridge/tty_backend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace bridge;
using namespace d2xx;
namespace fs = std::filesystem;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void Put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

// A sysfs and a /dev of our own. Each port: the USB device folder usb1/1-N with its attributes,
// the interface 1-N:1.I, the tty below it, and class/tty/<node> linking there; /dev/<node> is a
// link to a pseudo-terminal's slave when one is given.
struct Machine {
    fs::path root = fs::path(testing::TempDir()) / ("zev_sysfs_" + std::to_string(getpid()));
    Machine() { fs::remove_all(root); }
    ~Machine() { fs::remove_all(root); }
    fs::path sysfs() const { return root / "sys"; }
    fs::path dev() const { return root / "dev"; }
    void Port(const std::string& node, int usb, int number, const std::string& vendor, const std::string& product,
              const std::string& serial, int interfaces = 1, const std::string& slave = {}) {
        const std::string device = "1-" + std::to_string(usb);
        const fs::path usbDevice = sysfs() / "devices/pci0000:00/0000:00:14.0/usb1" / device;
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"idVendor", vendor},
                                          {"idProduct", "6001"},
                                          {"product", product},
                                          {"serial", serial},
                                          {"bNumInterfaces", " " + std::to_string(interfaces)}})
            Put(usbDevice / name, value);
        const fs::path iface = usbDevice / (device + ":1." + std::to_string(number));
        Put(iface / "bInterfaceNumber", "0" + std::to_string(number));
        Put(iface / node / "tty" / node / "dev", "188:0");
        fs::create_directories(sysfs() / "class/tty");
        fs::create_directory_symlink("../.." / (iface / node / "tty" / node).lexically_relative(sysfs()),
                                     sysfs() / "class/tty" / node);
        if (!slave.empty()) {
            fs::create_directories(dev());
            fs::create_symlink(slave, dev() / node);
        }
    }
};

// A pseudo-terminal whose master side the test holds, as the device would.
struct Pty {
    int master = -1, slave = -1;
    std::string slavePath;
    Pty() {
        char name[128] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0) {
            slavePath = name;
            fcntl(master, F_SETFL, O_NONBLOCK);
        }
    }
    bool Send(const std::string& bytes) {
        std::size_t done = 0;
        return WaitUntil([&] {
            const ssize_t w = write(master, bytes.data() + done, bytes.size() - done);
            done += w > 0 ? static_cast<std::size_t>(w) : 0;
            return done == bytes.size();
        });
    }
    ~Pty() {
        CloseMaster();
        close(slave);
    }
    void CloseMaster() { close(std::exchange(master, -1)); }
    termios Settings() const {
        termios t{};
        tcgetattr(master, &t); // a master's termios calls reach its slave
        return t;
    }
    std::string Receive(std::size_t n) {
        std::string got;
        WaitUntil(
            [&] {
                char buffer[4096];
                const ssize_t r = read(master, buffer, std::min(sizeof buffer, n - got.size()));
                if (r > 0)
                    got.append(buffer, static_cast<std::size_t>(r));
                return got.size() >= n;
            },
            10000);
        return got;
    }
};

// One ZEV device on ttyUSB0, its tty a pseudo-terminal, and the backend over them.
struct Rig {
    Machine m;
    Pty pty;
    std::mutex lock;
    std::string logged; // the backend's log lines
    std::unique_ptr<TtyBackend> backend;
    explicit Rig(std::size_t buffer = 1u << 20) {
        m.Port("ttyUSB0", 1, 0, "0403", "ZEV WiFi Server", "ZV100001", 1, pty.slavePath);
        backend = std::make_unique<TtyBackend>(TtyOptions{m.sysfs(), m.dev(), buffer, buffer}, [this](auto& s) {
            std::lock_guard<std::mutex> guard(lock);
            logged += s + "\n";
        });
    }
    bool Logged(const std::string& part) {
        std::lock_guard<std::mutex> guard(lock);
        return logged.find(part) != std::string::npos;
    }
    std::unique_ptr<Port> Open(FT_STATUS expect = FT_OK) {
        std::unique_ptr<Port> port;
        EXPECT_EQ(backend->Open(FT_OPEN_BY_SERIAL_NUMBER, "ZV100001", &port), expect);
        return port;
    }
};

} // namespace

TEST(BridgeSysfs, ListsFtdiPortsOnlyInNodeOrderWithTheChipsPortLetters) {
    Machine m;
    m.Port("ttyUSB10", 4, 0, "0403", "ZEV WiFi Server", "ZV100001");
    m.Port("ttyUSB1", 2, 0, "10c4", "CP2102 USB to UART Bridge Controller", "0001"); // not FTDI
    m.Port("ttyUSB2", 3, 0, "0403", "Dual RS232-HS", "FT9XYZ", 2);
    m.Port("ttyUSB3", 3, 1, "0403", "Dual RS232-HS", "FT9XYZ", 2);
    std::vector<std::tuple<std::string, std::string, std::string>> got;
    for (const auto& p : ListFtdiPorts(m.sysfs()))
        got.emplace_back(p.node, p.serial, p.description);
    EXPECT_EQ(got, (decltype(got){{"ttyUSB2", "FT9XYZA", "Dual RS232-HS A"},
                                  {"ttyUSB3", "FT9XYZB", "Dual RS232-HS B"},
                                  {"ttyUSB10", "ZV100001", "ZEV WiFi Server"}}));
}

TEST(BridgeTty, SetsUpTheLineCarriesBytesBothWaysAndDrainsALongWriteSlowly) {
    Rig rig;
    Pty& pty = rig.pty;
    auto port = rig.Open();
    ASSERT_TRUE(port);
    termios t = pty.Settings();
    EXPECT_EQ(std::tuple(cfgetospeed(&t), t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL | CLOCAL | CREAD)),
              std::tuple(speed_t{B9600}, tcflag_t{CS8 | CLOCAL | CREAD}))
        << "9600 8N1, no flow control, no hang-up on close";
    EXPECT_EQ(
        std::tuple(port->SetBaudRate(115200), port->SetDataCharacteristics(8, 2, 0), port->SetFlowControl(0x100, 0, 0)),
        std::tuple(FT_OK, FT_OK, FT_OK));
    // (A pseudo-terminal keeps 8 bits without parity whatever it is told: those cannot show here.)
    t = pty.Settings();
    EXPECT_EQ(std::tuple(cfgetospeed(&t), t.c_cflag & (CSIZE | CSTOPB | CRTSCTS)),
              std::tuple(speed_t{B115200}, tcflag_t{CS8 | CSTOPB | CRTSCTS}));
    EXPECT_EQ(port->SetBaudRate(12345), FT_INVALID_BAUD_RATE);

    std::uint32_t n = 0;
    ASSERT_EQ(port->Write(reinterpret_cast<const std::uint8_t*>("LIST\r"), 5, &n), FT_OK);
    EXPECT_EQ(pty.Receive(5), "LIST\r");
    ASSERT_TRUE(pty.Send("ok\r\n>"));
    std::uint8_t buffer[16];
    ASSERT_EQ(port->Read(buffer, 5, sizeof buffer, 5000, &n), FT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), n), "ok\r\n>");

    // Far more than the pseudo-terminal holds: accepted at once, then drained as the other end reads.
    std::string paste(300000, '\0');
    for (std::size_t i = 0; i < paste.size(); ++i)
        paste[i] = static_cast<char>('a' + i % 26);
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(
        port->Write(reinterpret_cast<const std::uint8_t*>(paste.data()), static_cast<std::uint32_t>(paste.size()), &n),
        FT_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2)) << "accepted, not waited for";
    EXPECT_EQ(n, paste.size());
    EXPECT_EQ(pty.Receive(paste.size()), paste);
}

TEST(BridgeTty, OneOpenerAFullReceiveBufferKeepsTheOldestAndUnpluggedIsGone) {
    Rig rig(4096);
    auto port = rig.Open();
    ASSERT_TRUE(port);
    rig.Open(FT_DEVICE_NOT_OPENED);
    EXPECT_TRUE(rig.Logged("busy: open for another connection"));
    std::string sent(6000, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(rig.pty.Send(sent));
    std::uint32_t n = 0;
    EXPECT_TRUE(WaitUntil([&] { return rig.Logged("receive buffer full"); }));
    std::string got(4096, '\0');
    ASSERT_EQ(port->Read(reinterpret_cast<std::uint8_t*>(got.data()), 0, 4096, 0, &n), FT_OK);
    EXPECT_EQ(got, sent.substr(0, 4096));
    ASSERT_TRUE(rig.pty.Send("z"));
    EXPECT_TRUE(WaitUntil([&] { return rig.Logged("1904 received bytes dropped"); }));

    // Unplugged: what came before is still read, then the port is gone.
    ASSERT_TRUE(WaitUntil([&] { return port->Queue(&n) == FT_OK && n == 1; }));
    rig.pty.CloseMaster();
    std::uint8_t buffer[8];
    EXPECT_TRUE(WaitUntil([&] { return rig.Logged("device gone"); }));
    EXPECT_EQ(std::tuple(port->Read(buffer, 0, 8, 0, &n), n, buffer[0]), std::tuple(FT_OK, 1u, std::uint8_t{'z'}));
    EXPECT_EQ(std::tuple(port->Queue(&n), port->Write(buffer, 1, &n)), std::tuple(FT_IO_ERROR, FT_IO_ERROR));
}
