// The bridge DLL's logic against a real zevbridge server on loopback (the simulated devices behind
// it): the driver calls through the bridge, one round trip per receive tick, and every call
// bounded when the bridge is away, hangs or comes back.
#include "bridge/client.h"
#include "bridge/posix_transport.h"
#include "bridge/server.h"
#include "bridge/sim_backend.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace bridge;
using namespace d2xx;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kTokenHex = "00112233445566778899aabbccddeeff";

struct Bridge {
    SimBackend backend;
    Server server;
    std::thread thread;
    Bridge(const std::filesystem::path& config, std::uint16_t port = 0)
        : backend(config, nullptr), server(backend, {.port = port, .token = *ParseToken(kTokenHex)}, nullptr) {
        std::string why;
        EXPECT_TRUE(server.Listen(&why)) << why;
        thread = std::thread([this] { server.Run(); });
    }
    ~Bridge() {
        server.Stop();
        thread.join();
    }
};

// The client as the DLL builds it, counting the requests it sends.
struct Dll {
    int sent = 0;
    std::string endpoint, token = kTokenHex;
    BridgeClient client;
    explicit Dll(std::uint16_t port, ClientTiming timing = {1500, 1500})
        : endpoint("127.0.0.1:" + std::to_string(port)),
          client([this](const Endpoint& e, int ms) { return Counting(ConnectPosix(e, ms)); },
                 [this](const char* name) { return std::string(name) == "ZEV_BRIDGE" ? endpoint : token; }, timing) {}
    std::unique_ptr<Transport> Counting(std::unique_ptr<Transport> inner) {
        struct Counter : Transport {
            std::unique_ptr<Transport> inner;
            int* sent;
            Counter(std::unique_ptr<Transport> i, int* s) : inner(std::move(i)), sent(s) {}
            bool Send(const std::uint8_t* d, std::size_t n, int ms) override { return ++*sent, inner->Send(d, n, ms); }
            long Receive(std::uint8_t* o, std::size_t c, int ms) override { return inner->Receive(o, c, ms); }
        };
        return inner ? std::make_unique<Counter>(std::move(inner), &sent) : nullptr;
    }
    FT_HANDLE Open(const char* serial) {
        FT_HANDLE h = nullptr;
        EXPECT_EQ(client.OpenEx(const_cast<char*>(serial), FT_OPEN_BY_SERIAL_NUMBER, &h), FT_OK);
        return h;
    }
    FT_STATUS Count(DWORD* n) { return client.ListDevices(n, nullptr, FT_LIST_NUMBER_ONLY); }
};

std::filesystem::path Config(const std::string& text) {
    const auto file =
        std::filesystem::path(testing::TempDir()) / ("bridge_client_sim_" + std::to_string(getpid()) + ".txt");
    std::ofstream(file) << text;
    return file;
}

} // namespace

TEST(BridgeClient, DriverCallsThroughTheBridgeOneRoundTripPerReceiveTick) {
    Bridge bridge(Config("device FT4K2P9A FT232R USB UART\ndevice ZV100001 ZEV WiFi Server\n"));
    Dll dll(bridge.server.Port());
    DWORD n = 0;
    ASSERT_EQ(dll.Count(&n), FT_OK);
    EXPECT_EQ(n, 2u);
    const FT_HANDLE h = dll.Open("ZV100001");
    EXPECT_TRUE(sizeof(void*) == 4 || reinterpret_cast<std::uintptr_t>(h) > 0xFFFFFFFFull) << "pointer-sized handles";
    ASSERT_EQ(dll.client.SetTimeouts(h, 5000, 0), FT_OK);
    ASSERT_EQ(dll.client.Write(h, "HELP\r", 5, &n), FT_OK);

    // A tick as the program's pump makes it: the queue, then reads of at most 256 bytes (here a
    // first read, a second look at the queue, then the rest).
    const int before = dll.sent;
    std::string got(10, '\0');
    DWORD total = 0;
    ASSERT_EQ(dll.client.GetQueueStatus(h, &total), FT_OK);
    ASSERT_EQ(dll.client.Read(h, got.data(), 10, &n), FT_OK);
    ASSERT_EQ(dll.client.GetQueueStatus(h, &n), FT_OK);
    EXPECT_EQ(n, total - 10) << "what was carried and not yet read still counts";
    for (DWORD left = n, r = 0; left; left -= r) {
        char buffer[256];
        ASSERT_EQ(dll.client.Read(h, buffer, std::min<DWORD>(left, 256), &r), FT_OK);
        got.append(buffer, r);
    }
    EXPECT_EQ(dll.sent - before, 2) << "the reads were served from the queue queries' answers";
    EXPECT_EQ(got.substr(0, 29), "HELP\r\nComandos disponibles:\r\n");
    EXPECT_TRUE(got.ends_with("\r\n>"));
    const std::string big(kMaxWrite + 1, 'x');
    EXPECT_EQ(dll.client.Write(h, big.data(), static_cast<DWORD>(big.size()), &n), FT_INSUFFICIENT_RESOURCES);

    EXPECT_EQ(dll.client.Close(h), FT_OK);
    EXPECT_EQ(dll.client.GetQueueStatus(h, &n), FT_INVALID_HANDLE);
}

TEST(BridgeClient, BoundedWhenTheBridgeIsAwayHangsOrComesBack) {
    const auto config = Config("device ZV100001 ZEV WiFi Server\n");
    auto bridge = std::make_unique<Bridge>(config);
    const std::uint16_t port = bridge->server.Port();
    Dll dll(port);
    const FT_HANDLE h = dll.Open("ZV100001");
    DWORD n = 0;
    ASSERT_EQ(dll.client.Write(h, "AB", 2, &n), FT_OK);
    ASSERT_EQ(dll.client.GetQueueStatus(h, &n), FT_OK); // "AB" echoed, carried here
    bridge.reset();                                     // the bridge dies mid-session
    char buffer[8];
    EXPECT_EQ(std::tuple(dll.client.GetQueueStatus(h, &n), n), std::tuple(FT_OK, 2u)) << "what came is still reported";
    EXPECT_EQ(std::tuple(dll.client.Read(h, buffer, 2, &n), n), std::tuple(FT_OK, 2u)) << "and read";
    auto t0 = Clock::now();
    EXPECT_EQ(dll.client.GetQueueStatus(h, &n), FT_IO_ERROR) << "the open link is reported gone";
    EXPECT_EQ(dll.Count(&n), FT_OTHER_ERROR) << "the device count fails";
    FT_HANDLE again = nullptr;
    EXPECT_EQ(dll.client.OpenEx(const_cast<char*>("ZV100001"), FT_OPEN_BY_SERIAL_NUMBER, &again), FT_DEVICE_NOT_FOUND)
        << "no device can be reached, as if unplugged";
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000)) << "a refused connection fails at once";

    bridge = std::make_unique<Bridge>(config, port); // back on the same port and token
    EXPECT_EQ(dll.Count(&n), FT_OK) << "used again at the next call";
    EXPECT_EQ(dll.client.GetQueueStatus(h, &n), FT_IO_ERROR) << "a handle of the lost connection stays gone";
    bridge.reset();

    // A listener that never answers: each call ends at its bound.
    const int mute = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(mute, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(mute, 4), 0);
    getsockname(mute, reinterpret_cast<sockaddr*>(&address), &length);
    Dll hung(ntohs(address.sin_port));
    t0 = Clock::now();
    EXPECT_EQ(hung.Count(&n), FT_OTHER_ERROR);
    const auto waited = Clock::now() - t0;
    EXPECT_GE(waited, std::chrono::milliseconds(1450)) << "the reply bound, not sooner";
    EXPECT_LT(waited, std::chrono::milliseconds(6000));
    close(mute);
}
