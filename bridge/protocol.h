// The bridge's wire protocol between our bridge FTD2XX.DLL and zevbridge: binary frames over a
// loopback TCP connection, each a request answered by exactly one reply.
//
//   frame   = length (u32, little-endian: the bytes that follow) | version (u8) | op (u8) | body
//   request = op from Op;   reply = op | kReplyBit, body starting with the FT_STATUS (u32)
//
// The first frame of a connection must be Hello carrying the shared token, and must be small;
// a connection that breaks any rule is closed, and only that connection. Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kReplyBit = 0x80;

enum class Op : std::uint8_t {
    Hello = 1,       // token bytes                           -> status
    ListCount = 2,   //                                       -> status, count u32
    ListText = 3,    // index u32, what u8 (1 serial, 2 desc) -> status, text
    Open = 4,        // what u8, key bytes                    -> status, handle u32
    SetBaudRate = 5, // handle, baud u32                      -> status
    SetData = 6,     // handle, bits u8, stop u8, parity u8   -> status
    SetFlow = 7,     // handle, flow u16, xon u8, xoff u8     -> status
    SetTimeouts = 8, // handle, read ms u32, write ms u32     -> status
    SetChars = 9,    // handle, event u8, on u8, error u8, on u8 -> status
    Queue = 10,      // handle, room u32                      -> status, still waiting u32, up to room bytes
    Read = 11,       // handle, want u32, room u32            -> status, up to room bytes
    Write = 12,      // handle, bytes                         -> status, accepted u32
    Close = 13,      // handle                                -> status
};
constexpr std::uint8_t kLastOp = static_cast<std::uint8_t>(Op::Close);

// Bounds. A write is one frame, accepted whole or refused whole; a reply carries at most
// kMaxCarry received bytes. Before the token is checked only a hello-sized frame is read, so an
// unauthenticated peer cannot make either side hold more than that.
constexpr std::size_t kMaxWrite = 1u << 20;
constexpr std::size_t kMaxCarry = 256u << 10;
constexpr std::size_t kFrameOverhead = 16; // version, op, status or handle and counts
constexpr std::size_t kMaxFrame = kMaxWrite + kFrameOverhead;
constexpr std::size_t kMaxHelloFrame = 128;
constexpr std::size_t kMinTokenBytes = 16; // 128 bits
constexpr std::size_t kMaxTokenBytes = 64;
// A read waits at most this long whatever read time-out was set, so a reply's deadline is bounded.
constexpr std::uint32_t kMaxReadWaitMs = 60000;
constexpr std::size_t kMaxText = 255; // a listed text fits the driver's 256-byte buffer with its NUL

struct Frame {
    std::uint8_t op = 0;
    std::vector<std::uint8_t> body;
};

// Builds a frame: constructed with its op, then the body's fields, then Finish.
class FrameWriter {
public:
    explicit FrameWriter(std::uint8_t op);
    explicit FrameWriter(Op op) : FrameWriter(static_cast<std::uint8_t>(op)) {}
    FrameWriter& U8(std::uint8_t v);
    FrameWriter& U16(std::uint16_t v);
    FrameWriter& U32(std::uint32_t v);
    FrameWriter& Bytes(const void* data, std::size_t n);
    // The finished frame, its length field filled in.
    std::vector<std::uint8_t> Finish();

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a body's fields with bounds checks: after any short read ok() is false for good.
class BodyReader {
public:
    explicit BodyReader(const std::vector<std::uint8_t>& body) : data_(body.data()), size_(body.size()) {}
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    // Whatever is left.
    std::string_view Rest();
    bool ok() const { return ok_; }
    // True when every byte was read and nothing was short.
    bool Done() const { return ok_ && pos_ == size_; }

private:
    bool Take(std::size_t n);
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
    bool ok_ = true;
};

// Splits a byte stream into frames. Holds at most one incomplete frame plus what was fed since;
// a frame whose length exceeds the limit is refused from its length field, before its body.
class FrameReader {
public:
    enum class Error { None, TooLarge, TooShort, BadVersion };
    explicit FrameReader(std::size_t limit) : limit_(limit) {}
    // The limit applies to frames not yet taken out.
    void SetLimit(std::size_t limit) { limit_ = limit; }
    void Feed(const void* data, std::size_t n);
    // The next whole frame, or nothing when more bytes are needed or the stream is broken (error()).
    std::optional<Frame> Next();
    Error error() const { return error_; }
    std::size_t Buffered() const { return buffer_.size() - start_; }

private:
    std::size_t limit_;
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
    Error error_ = Error::None;
};

const char* ErrorText(FrameReader::Error e);

// The token as hex (at least kMinTokenBytes bytes); nothing when malformed or too short or long.
std::optional<std::vector<std::uint8_t>> ParseToken(std::string_view hex);
// Compares in time that depends on the expected token's length only, never on where they differ.
bool TokenMatches(const std::vector<std::uint8_t>& expected, std::string_view offered);

// "127.0.0.1:PORT": only a loopback address (127.x.y.z), as the token travels in the clear.
struct Endpoint {
    std::uint32_t address = 0; // host order
    std::uint16_t port = 0;
};
std::optional<Endpoint> ParseEndpoint(std::string_view text);

} // namespace bridge
