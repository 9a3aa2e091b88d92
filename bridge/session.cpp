#include "bridge/session.h"

#include <algorithm>

namespace bridge {

using namespace d2xx;

Session::Session(Backend& backend, const std::vector<std::uint8_t>& token, Log log, std::string name)
    : backend_(backend), token_(token), log_(std::move(log)), name_(std::move(name)) {}

Session::~Session() {
    for (auto& [handle, open] : handles_)
        LogLine("released " + open.serial + " (connection closed)");
}

void Session::LogLine(const std::string& text) const {
    if (log_)
        log_(name_ + ": " + text);
}

Session::Open* Session::Find(std::uint32_t handle) {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : &it->second;
}

bool Session::Handle(const Frame& frame, std::vector<std::uint8_t>* reply, std::string* why) {
    BodyReader in(frame.body);
    if (!authenticated_) {
        // Nothing but the token is answered before the token.
        if (frame.op != static_cast<std::uint8_t>(Op::Hello)) {
            *why = "first frame is not the token";
            return false;
        }
        if (!TokenMatches(token_, in.Rest())) {
            *why = "wrong token";
            return false;
        }
        authenticated_ = true;
        *reply = FrameWriter(frame.op | kReplyBit).U32(FT_OK).Finish();
        return true;
    }
    if (frame.op == 0 || frame.op > kLastOp || frame.op == static_cast<std::uint8_t>(Op::Hello)) {
        *why = "unknown request " + std::to_string(frame.op);
        return false;
    }
    FrameWriter out(frame.op | kReplyBit);
    if (!Request(static_cast<Op>(frame.op), in, out)) {
        *why = "malformed request " + std::to_string(frame.op);
        return false;
    }
    *reply = out.Finish();
    return true;
}

bool Session::Request(Op op, BodyReader& in, FrameWriter& out) {
    switch (op) {
    case Op::ListCount: {
        if (!in.Done())
            return false;
        listed_.clear();
        const FT_STATUS st = backend_.Enumerate(&listed_);
        out.U32(st).U32(st == FT_OK ? static_cast<std::uint32_t>(listed_.size()) : 0);
        return true;
    }
    case Op::ListText: {
        const std::uint32_t index = in.U32();
        const std::uint8_t what = in.U8();
        if (!in.Done() || (what != FT_OPEN_BY_SERIAL_NUMBER && what != FT_OPEN_BY_DESCRIPTION))
            return false;
        // By-index queries read the list the count query saw, so the two agree.
        if (index >= listed_.size()) {
            out.U32(FT_DEVICE_NOT_FOUND);
            return true;
        }
        const std::string& text = what == FT_OPEN_BY_SERIAL_NUMBER ? listed_[index].serial : listed_[index].description;
        out.U32(FT_OK).Bytes(text.data(), std::min(text.size(), kMaxText));
        return true;
    }
    case Op::Open: {
        const std::uint8_t by = in.U8();
        const std::string_view key = in.Rest();
        if (!in.ok() || (by != FT_OPEN_BY_SERIAL_NUMBER && by != FT_OPEN_BY_DESCRIPTION) || key.size() > kMaxText)
            return false;
        std::unique_ptr<Port> port;
        const FT_STATUS st = key.empty() ? FT_DEVICE_NOT_FOUND : backend_.Open(by, key, &port);
        if (st != FT_OK || !port) {
            LogLine("open " + std::string(key) + " failed with status " + std::to_string(st));
            out.U32(st == FT_OK ? FT_OTHER_ERROR : st).U32(0);
            return true;
        }
        const std::uint32_t handle = nextHandle_++;
        handles_[handle] = Open{std::move(port), std::string(key), 0};
        LogLine("opened " + std::string(key));
        out.U32(FT_OK).U32(handle);
        return true;
    }
    default:
        break;
    }
    // Every other request names one of this connection's handles first.
    const std::uint32_t handle = in.U32();
    Open* open = Find(handle);
    auto status = [&](FT_STATUS st) {
        out.U32(open ? st : FT_INVALID_HANDLE);
        return true;
    };
    switch (op) {
    case Op::SetBaudRate: {
        const std::uint32_t baud = in.U32();
        return in.Done() && status(open ? open->port->SetBaudRate(baud) : 0);
    }
    case Op::SetData: {
        const std::uint8_t bits = in.U8(), stop = in.U8(), parity = in.U8();
        return in.Done() && status(open ? open->port->SetDataCharacteristics(bits, stop, parity) : 0);
    }
    case Op::SetFlow: {
        const std::uint16_t flow = in.U16();
        const std::uint8_t xon = in.U8(), xoff = in.U8();
        return in.Done() && status(open ? open->port->SetFlowControl(flow, xon, xoff) : 0);
    }
    case Op::SetTimeouts: {
        const std::uint32_t readMs = in.U32(), writeMs = in.U32();
        if (!in.Done())
            return false;
        const FT_STATUS st = open ? open->port->SetTimeouts(readMs, writeMs) : 0;
        if (open && st == FT_OK)
            open->readTimeoutMs = std::min(readMs, kMaxReadWaitMs);
        return status(st);
    }
    case Op::SetChars: {
        const std::uint8_t ev = in.U8(), evOn = in.U8(), err = in.U8(), errOn = in.U8();
        return in.Done() && status(open ? open->port->SetChars(ev, evOn, err, errOn) : 0);
    }
    case Op::Queue:
    case Op::Read: {
        const std::uint32_t want = op == Op::Read ? in.U32() : 0;
        const std::uint32_t room = static_cast<std::uint32_t>(std::min<std::size_t>(in.U32(), kMaxCarry));
        if (!in.Done())
            return false;
        if (!open)
            return status(0);
        std::vector<std::uint8_t> bytes(room);
        std::uint32_t got = 0, waiting = 0;
        // A queue query carries what already waits (up to room), so a receive tick needs no
        // round trip per read; a read waits up to the read time-out for what it wants.
        FT_STATUS st = op == Op::Read ? open->port->Read(bytes.data(), std::min(want, room), room,
                                                         want ? open->readTimeoutMs : 0, &got)
                                      : open->port->Queue(&waiting);
        if (op == Op::Queue && st == FT_OK && waiting && room) {
            st = open->port->Read(bytes.data(), 0, room, 0, &got);
            if (st == FT_OK)
                st = open->port->Queue(&waiting);
        }
        got = std::min(got, room);
        out.U32(st);
        if (op == Op::Queue)
            out.U32(st == FT_OK ? waiting : 0);
        out.Bytes(bytes.data(), got); // bytes taken from the device are never dropped
        return true;
    }
    case Op::Write: {
        const std::string_view data = in.Rest();
        if (!in.ok() || data.size() > kMaxWrite)
            return false;
        std::uint32_t accepted = 0;
        const FT_STATUS st = open ? open->port->Write(reinterpret_cast<const std::uint8_t*>(data.data()),
                                                      static_cast<std::uint32_t>(data.size()), &accepted)
                                  : 0;
        status(st);
        out.U32(accepted);
        return true;
    }
    case Op::Close:
        if (!in.Done())
            return false;
        if (open) {
            LogLine("closed " + open->serial);
            handles_.erase(handle);
            out.U32(FT_OK);
            return true;
        }
        return status(0);
    default:
        return false;
    }
}

} // namespace bridge
