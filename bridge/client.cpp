#include "bridge/client.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace bridge {
namespace {

using namespace d2xx;

// Handles are pointer-sized and, on 64-bit builds, above 4 GiB, so a handle cut to 32 bits is
// caught at once.
std::uintptr_t MakeHandle(std::uint64_t n) {
    const std::uintptr_t base = sizeof(void*) == 8 ? static_cast<std::uintptr_t>(0x00005A5B00000000ull) : 0x5A5B0000u;
    return base + static_cast<std::uintptr_t>(n) * 16u;
}

} // namespace

BridgeClient::BridgeClient(Connector connect, Environment environment, ClientTiming timing)
    : connect_(std::move(connect)), environment_(std::move(environment)), timing_(timing) {}

void BridgeClient::Drop() {
    link_.reset();
    reader_ = FrameReader(kMaxFrame);
}

bool BridgeClient::Receive(Frame* frame, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::uint8_t buffer[16384];
    for (;;) {
        if (auto f = reader_.Next()) {
            *frame = std::move(*f);
            return true;
        }
        if (reader_.error() != FrameReader::Error::None)
            return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        const long n = link_->Receive(buffer, sizeof buffer, static_cast<int>(left.count()));
        if (n <= 0)
            return false;
        reader_.Feed(buffer, static_cast<std::size_t>(n));
    }
}

bool BridgeClient::Connect() {
    const auto endpoint = ParseEndpoint(environment_("ZEV_BRIDGE"));
    const auto token = ParseToken(environment_("ZEV_BRIDGE_TOKEN"));
    if (!endpoint || !token)
        return false;
    link_ = connect_(*endpoint, timing_.connectMs);
    if (!link_)
        return false;
    ++connection_; // handles of any earlier connection are gone with it
    const auto hello = FrameWriter(Op::Hello).Bytes(token->data(), token->size()).Finish();
    Frame reply;
    if (!link_->Send(hello.data(), hello.size(), timing_.replyMs) || !Receive(&reply, timing_.replyMs) ||
        reply.op != (static_cast<std::uint8_t>(Op::Hello) | kReplyBit) || BodyReader(reply.body).U32() != FT_OK) {
        Drop();
        return false;
    }
    return true;
}

std::optional<Frame> BridgeClient::Call(FrameWriter request, std::uint8_t op, int extraMs) {
    if (!link_ && !Connect())
        return std::nullopt;
    const auto bytes = request.Finish();
    Frame reply;
    if (!link_->Send(bytes.data(), bytes.size(), timing_.replyMs) || !Receive(&reply, timing_.replyMs + extraMs) ||
        reply.op != (op | kReplyBit) || reply.body.size() < 4) {
        Drop();
        return std::nullopt;
    }
    return reply;
}

BridgeClient::Local* BridgeClient::Find(FT_HANDLE h, FT_STATUS* why) {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == handles_.end()) {
        *why = FT_INVALID_HANDLE;
        return nullptr;
    }
    if (it->second.connection != connection_ || !link_) {
        *why = FT_IO_ERROR; // opened over a connection that is gone: the device is gone for us
        return nullptr;
    }
    return &it->second;
}

FT_STATUS BridgeClient::ListDevices(void* arg1, void* arg2, DWORD flags) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (flags & FT_LIST_NUMBER_ONLY) {
        if (!arg1)
            return FT_INVALID_PARAMETER;
        const auto reply = Call(FrameWriter(Op::ListCount), static_cast<std::uint8_t>(Op::ListCount));
        if (!reply)
            return FT_OTHER_ERROR;
        BodyReader in(reply->body);
        const FT_STATUS st = in.U32();
        const std::uint32_t count = in.U32();
        if (st == FT_OK)
            *static_cast<DWORD*>(arg1) = count;
        return in.ok() ? st : FT_OTHER_ERROR;
    }
    const DWORD what = flags & (FT_OPEN_BY_SERIAL_NUMBER | FT_OPEN_BY_DESCRIPTION);
    if (!(flags & FT_LIST_BY_INDEX) || !arg2 || (what != FT_OPEN_BY_SERIAL_NUMBER && what != FT_OPEN_BY_DESCRIPTION))
        return FT_INVALID_PARAMETER;
    const auto index = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(arg1));
    const auto reply = Call(FrameWriter(Op::ListText).U32(index).U8(static_cast<std::uint8_t>(what)),
                            static_cast<std::uint8_t>(Op::ListText));
    if (!reply)
        return FT_OTHER_ERROR;
    BodyReader in(reply->body);
    const FT_STATUS st = in.U32();
    if (st != FT_OK)
        return st;
    // NUL-terminated at the buffer's start; a text filling all 256 bytes comes without its NUL.
    const std::string_view text = in.Rest();
    const std::size_t n = std::min<std::size_t>(text.size(), 256);
    std::memcpy(arg2, text.data(), n);
    if (n < 256)
        static_cast<char*>(arg2)[n] = '\0';
    return FT_OK;
}

FT_STATUS BridgeClient::OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!arg1 || !handle || (flags != FT_OPEN_BY_SERIAL_NUMBER && flags != FT_OPEN_BY_DESCRIPTION))
        return FT_INVALID_PARAMETER;
    const char* key = static_cast<const char*>(arg1);
    const std::size_t length = strnlen(key, kMaxText);
    const auto reply = Call(FrameWriter(Op::Open).U8(static_cast<std::uint8_t>(flags)).Bytes(key, length),
                            static_cast<std::uint8_t>(Op::Open));
    // With the bridge away no device can be reached: as for an unplugged device, so that a program
    // waiting for its device goes on trying until a restarted bridge shows it again.
    if (!reply)
        return FT_DEVICE_NOT_FOUND;
    BodyReader in(reply->body);
    const FT_STATUS st = in.U32();
    const std::uint32_t remote = in.U32();
    if (st != FT_OK || !in.ok())
        return st != FT_OK ? st : FT_OTHER_ERROR;
    const std::uintptr_t local = MakeHandle(nextHandle_++);
    handles_[local] = Local{connection_, remote, 0, {}, 0};
    *handle = reinterpret_cast<FT_HANDLE>(local);
    return FT_OK;
}

FT_STATUS BridgeClient::Simple(FT_HANDLE h, Op op, const std::function<void(FrameWriter&)>& fields,
                               std::uint32_t* readTimeout) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FT_STATUS why = FT_OK;
    Local* local = Find(h, &why);
    if (!local)
        return why;
    FrameWriter request(op);
    request.U32(local->remote);
    fields(request);
    const auto reply = Call(std::move(request), static_cast<std::uint8_t>(op));
    if (!reply)
        return FT_IO_ERROR;
    const FT_STATUS st = BodyReader(reply->body).U32();
    if (st == FT_OK && readTimeout)
        local->readTimeoutMs = std::min(*readTimeout, kMaxReadWaitMs);
    return st;
}

FT_STATUS BridgeClient::SetBaudRate(FT_HANDLE h, std::uint32_t baud) {
    return Simple(h, Op::SetBaudRate, [&](FrameWriter& w) { w.U32(baud); });
}

FT_STATUS BridgeClient::SetDataCharacteristics(FT_HANDLE h, std::uint8_t bits, std::uint8_t stop, std::uint8_t parity) {
    return Simple(h, Op::SetData, [&](FrameWriter& w) { w.U8(bits).U8(stop).U8(parity); });
}

FT_STATUS BridgeClient::SetFlowControl(FT_HANDLE h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) {
    return Simple(h, Op::SetFlow, [&](FrameWriter& w) { w.U16(flow).U8(xon).U8(xoff); });
}

FT_STATUS BridgeClient::SetTimeouts(FT_HANDLE h, std::uint32_t readMs, std::uint32_t writeMs) {
    return Simple(
        h, Op::SetTimeouts, [&](FrameWriter& w) { w.U32(readMs).U32(writeMs); }, &readMs);
}

FT_STATUS BridgeClient::SetChars(FT_HANDLE h, std::uint8_t ev, std::uint8_t evOn, std::uint8_t err,
                                 std::uint8_t errOn) {
    return Simple(h, Op::SetChars, [&](FrameWriter& w) { w.U8(ev).U8(evOn).U8(err).U8(errOn); });
}

FT_STATUS BridgeClient::GetQueueStatus(FT_HANDLE h, DWORD* rx) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!rx)
        return FT_INVALID_PARAMETER;
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == handles_.end())
        return FT_INVALID_HANDLE;
    Local& local = it->second;
    FT_STATUS st = FT_OK;
    std::uint32_t waiting = 0;
    if (Find(h, &st)) {
        const auto room = static_cast<std::uint32_t>(kMaxCarry - std::min(kMaxCarry, local.Held()));
        const auto reply =
            Call(FrameWriter(Op::Queue).U32(local.remote).U32(room), static_cast<std::uint8_t>(Op::Queue));
        if (!reply) {
            st = FT_IO_ERROR;
        } else {
            BodyReader in(reply->body);
            st = in.U32();
            waiting = in.U32();
            const std::string_view carried = in.Rest();
            if (local.taken == local.received.size()) {
                local.received.clear();
                local.taken = 0;
            }
            local.received.append(carried.data(), carried.size());
        }
    }
    // What was carried here before the device or the bridge went away is still handed out first.
    if (local.Held() && st != FT_OK) {
        waiting = 0;
        st = FT_OK;
    }
    if (st == FT_OK)
        *rx = static_cast<DWORD>(std::min<std::uint64_t>(std::uint64_t(local.Held()) + waiting, 0xFFFFFFFFu));
    return st;
}

FT_STATUS BridgeClient::Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* returned) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!returned || (toRead && !buffer))
        return FT_INVALID_PARAMETER;
    *returned = 0;
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == handles_.end())
        return FT_INVALID_HANDLE;
    Local& local = it->second;
    auto* out = static_cast<char*>(buffer);
    const std::size_t held = std::min<std::size_t>(toRead, local.Held());
    std::memcpy(out, local.received.data() + local.taken, held);
    local.taken += held;
    *returned = static_cast<DWORD>(held);
    if (held == toRead)
        return FT_OK; // served from what the queue query carried: no round trip
    FT_STATUS st = FT_OK;
    if (!Find(h, &st))
        return held ? FT_OK : st;
    const auto want = static_cast<std::uint32_t>(std::min<std::size_t>(toRead - held, kMaxCarry));
    const auto reply =
        Call(FrameWriter(Op::Read).U32(local.remote).U32(want).U32(static_cast<std::uint32_t>(kMaxCarry)),
             static_cast<std::uint8_t>(Op::Read), static_cast<int>(local.readTimeoutMs));
    if (!reply)
        return FT_IO_ERROR;
    BodyReader in(reply->body);
    st = in.U32();
    const std::string_view got = in.Rest();
    const std::size_t now = std::min<std::size_t>(got.size(), want);
    std::memcpy(out + held, got.data(), now);
    *returned = static_cast<DWORD>(held + now);
    // More than asked for waits here for the next reads.
    local.received.assign(got.data() + now, got.size() - now);
    local.taken = 0;
    return st;
}

FT_STATUS BridgeClient::Write(FT_HANDLE h, const void* buffer, DWORD toWrite, DWORD* written) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!written || (toWrite && !buffer))
        return FT_INVALID_PARAMETER;
    *written = 0;
    FT_STATUS st = FT_OK;
    Local* local = Find(h, &st);
    if (!local)
        return st;
    if (toWrite > kMaxWrite)
        return FT_INSUFFICIENT_RESOURCES; // one write is one frame: refused whole, nothing sent
    const auto reply =
        Call(FrameWriter(Op::Write).U32(local->remote).Bytes(buffer, toWrite), static_cast<std::uint8_t>(Op::Write));
    if (!reply)
        return FT_IO_ERROR;
    BodyReader in(reply->body);
    st = in.U32();
    *written = in.U32();
    return st;
}

FT_STATUS BridgeClient::Close(FT_HANDLE h) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FT_STATUS st = FT_OK;
    Local* local = Find(h, &st);
    if (!local) {
        if (st == FT_IO_ERROR)
            handles_.erase(reinterpret_cast<std::uintptr_t>(h)); // the bridge released it with its connection
        return st == FT_IO_ERROR ? FT_OK : st;
    }
    const auto reply = Call(FrameWriter(Op::Close).U32(local->remote), static_cast<std::uint8_t>(Op::Close));
    handles_.erase(reinterpret_cast<std::uintptr_t>(h));
    return reply ? BodyReader(reply->body).U32() : FT_OK;
}

} // namespace bridge
