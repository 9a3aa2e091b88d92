// What reaches zevbridge from a connection is bytes anyone on the machine can send: any stream,
// split anywhere, must be answered or refused by closing, never crash, and never make the reader
// hold more than one frame. The first input byte says whether the right token comes first (so the
// requests behind the token are reached) and where the rest is split.
#include "bridge/session.h"
#include "bridge/sim_backend.h"

#include <cstdint>
#include <cstdlib>

using namespace bridge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> token(16, 0x5A);
    if (size == 0)
        return 0;
    SimBackend backend("/nonexistent/zev_fuzz_sim.txt", nullptr);
    Session session(backend, token, nullptr, "fuzz");
    FrameReader reader(kMaxHelloFrame);
    const std::size_t chunk = 1 + (data[0] & 0x3F);
    if (data[0] & 0x80) {
        const auto hello = FrameWriter(Op::Hello).Bytes(token.data(), token.size()).Finish();
        reader.Feed(hello.data(), hello.size());
    }
    for (std::size_t at = 1; at < size || reader.Buffered();) {
        const std::size_t n = std::min(chunk, size - at);
        reader.Feed(data + at, n);
        at += n;
        reader.SetLimit(session.FrameLimit());
        auto frame = reader.Next();
        if (!frame) {
            if (reader.error() != FrameReader::Error::None || at >= size)
                break;
            continue;
        }
        // A read time-out would make a read wait for bytes that never come: keep reads prompt.
        if (frame->op == static_cast<std::uint8_t>(Op::SetTimeouts))
            continue;
        std::vector<std::uint8_t> reply;
        std::string why;
        if (!session.Handle(*frame, &reply, &why)) {
            if (why.empty())
                std::abort(); // a closed connection says why in the log
            break;
        }
        if (reply.size() < 10 || reply.size() > kMaxFrame)
            std::abort(); // every reply holds its length, version, op and status, within the bound
        if (reader.Buffered() > kMaxFrame + chunk + 4)
            std::abort();
    }
    return 0;
}
