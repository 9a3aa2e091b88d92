#include "bridge/protocol.h"

#include <charconv>
#include <cstring>

namespace bridge {

FrameWriter::FrameWriter(std::uint8_t op) : bytes_{0, 0, 0, 0, kVersion, op} {}

FrameWriter& FrameWriter::U8(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

FrameWriter& FrameWriter::U16(std::uint16_t v) {
    return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8));
}

FrameWriter& FrameWriter::U32(std::uint32_t v) {
    return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
}

FrameWriter& FrameWriter::Bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
    return *this;
}

std::vector<std::uint8_t> FrameWriter::Finish() {
    const auto n = static_cast<std::uint32_t>(bytes_.size() - 4);
    for (int i = 0; i < 4; ++i)
        bytes_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    return std::move(bytes_);
}

bool BodyReader::Take(std::size_t n) {
    if (!ok_ || size_ - pos_ < n)
        ok_ = false;
    return ok_;
}

std::uint8_t BodyReader::U8() {
    if (!Take(1))
        return 0;
    return data_[pos_++];
}

std::uint16_t BodyReader::U16() {
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t BodyReader::U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
}

std::string_view BodyReader::Rest() {
    if (!ok_)
        return {};
    std::string_view rest(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
    pos_ = size_;
    return rest;
}

void FrameReader::Feed(const void* data, std::size_t n) {
    if (error_ != Error::None)
        return;
    // Drop what was taken out before growing, so the buffer stays bounded.
    if (start_ > 0 && start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ > (64u << 10)) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    const auto* p = static_cast<const std::uint8_t*>(data);
    buffer_.insert(buffer_.end(), p, p + n);
}

std::optional<Frame> FrameReader::Next() {
    if (error_ != Error::None || Buffered() < 4)
        return std::nullopt;
    const std::uint8_t* p = buffer_.data() + start_;
    const std::uint32_t length = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    if (length > limit_) {
        error_ = Error::TooLarge;
        return std::nullopt;
    }
    if (length < 2) {
        error_ = Error::TooShort;
        return std::nullopt;
    }
    if (Buffered() < 5)
        return std::nullopt;
    if (p[4] != kVersion) { // known as soon as it arrives, before the rest of the frame
        error_ = Error::BadVersion;
        return std::nullopt;
    }
    if (Buffered() < 4 + static_cast<std::size_t>(length))
        return std::nullopt;
    Frame frame;
    frame.op = p[5];
    frame.body.assign(p + 6, p + 4 + length);
    start_ += 4 + static_cast<std::size_t>(length);
    return frame;
}

const char* ErrorText(FrameReader::Error e) {
    switch (e) {
    case FrameReader::Error::TooLarge:
        return "frame too large";
    case FrameReader::Error::TooShort:
        return "frame too short";
    case FrameReader::Error::BadVersion:
        return "unknown protocol version";
    case FrameReader::Error::None:
        break;
    }
    return "no error";
}

std::optional<std::vector<std::uint8_t>> ParseToken(std::string_view hex) {
    if (hex.size() % 2 || hex.size() / 2 < kMinTokenBytes || hex.size() / 2 > kMaxTokenBytes)
        return std::nullopt;
    std::vector<std::uint8_t> token(hex.size() / 2);
    for (std::size_t i = 0; i < token.size(); ++i) {
        const char* first = hex.data() + 2 * i;
        const auto [end, ec] = std::from_chars(first, first + 2, token[i], 16);
        if (ec != std::errc() || end != first + 2)
            return std::nullopt;
    }
    return token;
}

bool TokenMatches(const std::vector<std::uint8_t>& expected, std::string_view offered) {
    // Every byte of the expected token is looked at whatever the offer holds; a short offer is
    // compared against zeros, and its length decides only at the end.
    std::uint8_t difference = offered.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::uint8_t offer = i < offered.size() ? static_cast<std::uint8_t>(offered[i]) : 0;
        difference = static_cast<std::uint8_t>(difference | (offer ^ expected[i]));
    }
    return !expected.empty() && difference == 0;
}

std::optional<Endpoint> ParseEndpoint(std::string_view text) {
    Endpoint endpoint;
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view host = text.substr(0, colon), port = text.substr(colon + 1);
    for (int part = 0; part < 4; ++part) {
        unsigned value = 256;
        const auto [end, ec] = std::from_chars(host.data(), host.data() + host.size(), value);
        const std::size_t used = static_cast<std::size_t>(end - host.data());
        if (ec != std::errc() || value > 255 || used == 0 || used > 3)
            return std::nullopt;
        endpoint.address = (endpoint.address << 8) | value;
        host.remove_prefix(used);
        if (part < 3) {
            if (host.empty() || host[0] != '.')
                return std::nullopt;
            host.remove_prefix(1);
        }
    }
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (!host.empty() || ec != std::errc() || end != port.data() + port.size() || value == 0 || value > 65535 ||
        (endpoint.address >> 24) != 127)
        return std::nullopt;
    endpoint.port = static_cast<std::uint16_t>(value);
    return endpoint;
}

} // namespace bridge
