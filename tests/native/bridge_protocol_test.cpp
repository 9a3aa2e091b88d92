// The bridge's protocol as zevbridge answers it, one table of conversations over the simulated
// devices; then the listening rules over real loopback sockets.
#include "bridge/posix_transport.h"
#include "bridge/server.h"
#include "bridge/session.h"
#include "bridge/sim_backend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace bridge;
using namespace d2xx;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes kToken = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};

Bytes Hello(Bytes token = kToken) {
    return FrameWriter(Op::Hello).Bytes(token.data(), token.size()).Finish();
}
const auto Open = [](std::string s) {
    return FrameWriter(Op::Open).U8(FT_OPEN_BY_SERIAL_NUMBER).Bytes(s.data(), s.size()).Finish();
};
const auto Queue = [](std::uint32_t h, std::uint32_t room) { return FrameWriter(Op::Queue).U32(h).U32(room).Finish(); };
// A frame's header announcing that length (the op: a count query), without the rest.
Bytes Header(std::uint32_t length, std::uint8_t version = kVersion) {
    Bytes b = FrameWriter(Op::ListCount).Finish();
    b[4] = version;
    std::memcpy(b.data(), &length, 4); // little-endian, as the wire is
    return b;
}

// One connection as the server runs it: bytes through the frame reader, frames to the session.
struct Conn {
    Conn(Backend& backend) : session(std::make_unique<Session>(backend, kToken, nullptr, "test")) {}
    FrameReader reader{kMaxHelloFrame};
    std::unique_ptr<Session> session;
    // The reply, or nothing once the connection is closed (or the frame is still incomplete).
    std::optional<Frame> Send(const Bytes& bytes) {
        if (!session)
            return std::nullopt;
        reader.Feed(bytes.data(), bytes.size());
        reader.SetLimit(session->FrameLimit());
        auto frame = reader.Next();
        std::vector<std::uint8_t> reply;
        std::string why;
        if (!frame || !session->Handle(*frame, &reply, &why)) {
            if (reader.error() != FrameReader::Error::None || frame)
                session.reset();
            EXPECT_TRUE(!frame || !why.empty()) << "the log says why a connection was closed";
            return std::nullopt;
        }
        FrameReader back(kMaxFrame);
        back.Feed(reply.data(), reply.size());
        return back.Next();
    }
};

// What a step expects: the connection closed, or a reply with this status and, where given, the
// number (count, handle, waiting, accepted) and bytes that follow it.
struct Expect {
    FT_STATUS status = FT_OK;
    std::optional<std::uint32_t> number = {};
    std::optional<std::string> bytes = {};
    bool closed = false;
};
const Expect kClosed{.closed = true}, kOk{};
const auto Number = [](std::uint32_t n) { return Expect{FT_OK, n}; };

struct Step {
    int conn;    // 0 or 1
    Bytes frame; // empty: the connection goes away
    Expect expect;
};
using Row = std::pair<const char*, std::vector<Step>>;

const Bytes kDrop, kCount = FrameWriter(Op::ListCount).Finish();

} // namespace

TEST(BridgeProtocol, EachRuleOfTheConversation) {
    Bytes wrong = kToken;
    wrong[16] ^= 1;
    const Row rows[] = {
        {"a token wrong in its last byte closes", {{0, Hello(wrong), kClosed}}},
        {"a request before the token closes", {{0, kCount, kClosed}}},
        {"a first frame over the hello bound closes from its length alone", {{0, Header(kMaxHelloFrame + 1), kClosed}}},
        {"a frame over the bound closes after the token", {{0, Hello(), kOk}, {0, Header(kMaxFrame + 1), kClosed}}},
        {"another protocol version closes", {{0, Header(2, kVersion + 1), kClosed}}},
        {"a request with a short body closes",
         {{0, Hello(), kOk}, {0, FrameWriter(Op::SetBaudRate).U16(1).Finish(), kClosed}}},
        {"by-index text, a write and the queue query carrying its answer",
         {{0, Hello(), kOk},
          {0, kCount, Number(2)},
          {0, FrameWriter(Op::ListText).U32(1).U8(FT_OPEN_BY_DESCRIPTION).Finish(), {FT_OK, {}, "ZEV WiFi Server"}},
          {0, Open("ZV999999"), Expect{FT_DEVICE_NOT_FOUND}},
          {0, Open("ZV100001"), Number(1)},
          {0, FrameWriter(Op::Write).U32(1).Bytes("LIST\r", 5).Finish(), Number(5)},
          {0, Queue(1, 12), {FT_OK, 83, "LIST\r\nConfig"}}}},
        {"own handles, one opener per device, released with the connection or its handle",
         {{0, Hello(), kOk},
          {0, Open("ZV100001"), Number(1)},
          {1, Hello(), kOk},
          {1, Queue(1, 10), Expect{FT_INVALID_HANDLE}},
          {1, Open("ZV100001"), Expect{FT_DEVICE_NOT_OPENED}},
          {1, Open("FT4K2P9A"), Number(1)},
          {1, FrameWriter(Op::Close).U32(1).Finish(), kOk},
          {1, Queue(1, 10), Expect{FT_INVALID_HANDLE}},
          {0, kDrop, kClosed},
          {1, Open("ZV100001"), Number(2)}}},
    };
    for (const auto& [rule, steps] : rows) {
        SCOPED_TRACE(rule);
        SimBackend backend(std::filesystem::path(testing::TempDir()) / "no_such_bridge_sim.txt", nullptr);
        std::unique_ptr<Conn> conns[2];
        int number = 0;
        for (const Step& step : steps) {
            SCOPED_TRACE("step " + std::to_string(++number));
            auto& conn = conns[step.conn];
            if (!conn)
                conn = std::make_unique<Conn>(backend);
            if (step.frame.empty()) {
                conn->session.reset();
                continue;
            }
            const auto reply = conn->Send(step.frame);
            ASSERT_EQ(!reply, step.expect.closed);
            if (!reply) {
                EXPECT_FALSE(conn->session) << "a refused frame closes the connection";
                continue;
            }
            EXPECT_EQ(reply->op, step.frame[5] | kReplyBit);
            BodyReader in(reply->body);
            EXPECT_EQ(in.U32(), step.expect.status);
            if (step.expect.number) {
                EXPECT_EQ(in.U32(), *step.expect.number);
            }
            if (step.expect.bytes) {
                EXPECT_EQ(in.Rest(), *step.expect.bytes);
            }
        }
    }
}

TEST(BridgeProtocol, FramesSplitAnywhereAndTheSizeBound) {
    Bytes both = FrameWriter(Op::Queue).U32(7).U32(9).Finish();
    const Bytes close = FrameWriter(Op::Close).U32(3).Finish();
    both.insert(both.end(), close.begin(), close.end());
    for (std::size_t cut = 0; cut <= both.size(); ++cut) {
        FrameReader reader(kMaxHelloFrame);
        std::vector<Frame> frames;
        for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>(0, cut), {cut, both.size()}}) {
            reader.Feed(both.data() + from, to - from);
            while (auto f = reader.Next())
                frames.push_back(*f);
        }
        ASSERT_EQ(frames.size(), 2u) << cut;
        EXPECT_EQ(std::tuple(frames[0].op, frames[0].body.size(), frames[1].op, reader.Buffered()),
                  std::tuple(std::uint8_t(Op::Queue), 8u, std::uint8_t(Op::Close), 0u));
    }
    for (const auto& [length, error] :
         {std::pair(10u, FrameReader::Error::None), {11u, FrameReader::Error::TooLarge}}) {
        FrameReader atBound(10); // a frame as long as the bound is awaited
        const Bytes header = Header(length);
        atBound.Feed(header.data(), header.size());
        EXPECT_FALSE(atBound.Next());
        EXPECT_EQ(atBound.error(), error) << length;
    }
}

TEST(BridgeProtocol, TokensAndEndpointsFromTheEnvironment) {
    EXPECT_FALSE(ParseToken("000102030405060708090a0b0c0d0e0z")) << "not hex";
    const auto e = ParseEndpoint("127.0.0.1:40001");
    ASSERT_TRUE(e);
    EXPECT_EQ(std::tuple(e->address, e->port), std::tuple(0x7F000001u, std::uint16_t{40001}));
    for (const char* bad : {"10.0.0.1:40001", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.256:5", "127.0.0.1:5x"})
        EXPECT_FALSE(ParseEndpoint(bad)) << bad << ": not a loopback address and port";
}

namespace {

// A raw client of a running server.
struct Client {
    std::unique_ptr<Transport> link;
    explicit Client(std::uint16_t port, std::uint32_t address = 0x7F000001)
        : link(ConnectPosix({address, port}, 2000)) {}
    bool Send(const Bytes& b) { return link && link->Send(b.data(), b.size(), 2000); }
    // Sent, and answered FT_OK before the bound.
    bool Ok(const Bytes& b) {
        FrameReader reader(kMaxFrame);
        std::uint8_t buffer[4096];
        if (!Send(b))
            return false;
        for (;;) {
            if (auto f = reader.Next())
                return BodyReader(f->body).U32() == FT_OK;
            const long n = link->Receive(buffer, sizeof buffer, 5000);
            if (n <= 0)
                return false;
            reader.Feed(buffer, static_cast<std::size_t>(n));
        }
    }
    // The server closed this connection: the next read sees the end, well within the bound.
    bool Closed() {
        std::uint8_t b;
        return link && link->Receive(&b, 1, 5000) == Transport::kClosed;
    }
};

} // namespace

TEST(BridgeServer, LoopbackOnlyTheHelloDeadlineTheCapAndABadFrameClosedAlone) {
    SimBackend backend(std::filesystem::path(testing::TempDir()) / "no_such_bridge_sim.txt", nullptr);
    ServerOptions options;
    options.token = kToken;
    options.helloDeadline = std::chrono::milliseconds(300);
    options.maxConnections = 2;
    Server server(backend, options, nullptr);
    std::string why;
    ASSERT_TRUE(server.Listen(&why)) << why;
    std::thread thread([&] { server.Run(); });
    const std::uint16_t port = server.Port();
    EXPECT_FALSE(Client(port, 0x7F000002).link) << "another loopback address is refused";
    {
        Client silent(port);
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_TRUE(silent.Closed()) << "without the token in time";
        EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(250));
    }
    Client good(port), bad(port);
    EXPECT_TRUE(good.Ok(Hello()));
    EXPECT_TRUE(bad.Send(Header(kMaxHelloFrame + 1)));
    EXPECT_TRUE(bad.Closed()) << "a frame too large closes its connection";
    EXPECT_TRUE(good.Ok(kCount)) << "and no other";
    Client second(port);
    EXPECT_TRUE(second.Ok(Hello()));
    EXPECT_TRUE(Client(port).Closed()) << "beyond the cap";
    server.Stop();
    thread.join();
}
