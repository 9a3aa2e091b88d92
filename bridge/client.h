// The logic of our bridge FTD2XX.DLL: the eleven driver functions, each turned into requests to
// zevbridge over a Transport. Platform-neutral; the DLL (ftd2xx_bridge.cpp) adds Winsock and the
// exports.
//
// - The bridge is found through the environment at each connect: ZEV_BRIDGE=127.0.0.1:PORT and
//   ZEV_BRIDGE_TOKEN=<hex>. A call made while no connection stands connects first, so a bridge
//   back on the same port and token is used again at the next call.
// - Every call returns within a bound: a refused connection fails at once, a connect or a reply
//   taking longer than ClientTiming's bounds fails (a read's bound adds its read time-out).
// - When the connection is lost, the device count fails (FT_OTHER_ERROR) and every handle opened
//   over the lost connection answers FT_IO_ERROR, as the vendor's driver does for an unplugged
//   device; closing such a handle succeeds.
// - A queue query's answer carries the waiting bytes (up to kMaxCarry), kept here and handed out
//   by the reads that follow, so a receive tick costs one round trip, not one per read.
#pragma once

#include "bridge/protocol.h"
#include "bridge/transport.h"
#include "link/d2xx_types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace bridge {

using d2xx::DWORD;
using d2xx::FT_HANDLE;
using d2xx::FT_STATUS;

struct ClientTiming {
    int connectMs = 2000;
    int replyMs = 2000; // generous for a loaded machine, short enough for a window to stay usable
};

class BridgeClient {
public:
    // The value of an environment variable, empty when unset.
    using Environment = std::function<std::string(const char* name)>;
    BridgeClient(Connector connect, Environment environment, ClientTiming timing = {});

    FT_STATUS ListDevices(void* arg1, void* arg2, DWORD flags);
    FT_STATUS OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle);
    FT_STATUS SetBaudRate(FT_HANDLE h, std::uint32_t baud);
    FT_STATUS SetDataCharacteristics(FT_HANDLE h, std::uint8_t bits, std::uint8_t stop, std::uint8_t parity);
    FT_STATUS SetFlowControl(FT_HANDLE h, std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff);
    FT_STATUS SetTimeouts(FT_HANDLE h, std::uint32_t readMs, std::uint32_t writeMs);
    FT_STATUS SetChars(FT_HANDLE h, std::uint8_t ev, std::uint8_t evOn, std::uint8_t err, std::uint8_t errOn);
    FT_STATUS GetQueueStatus(FT_HANDLE h, DWORD* rx);
    FT_STATUS Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* returned);
    FT_STATUS Write(FT_HANDLE h, const void* buffer, DWORD toWrite, DWORD* written);
    FT_STATUS Close(FT_HANDLE h);

private:
    struct Local {
        std::uint64_t connection = 0; // which connection opened it
        std::uint32_t remote = 0;
        std::uint32_t readTimeoutMs = 0;
        std::string received; // bytes carried by a queue answer, not yet read
        std::size_t taken = 0;
        std::size_t Held() const { return received.size() - taken; }
    };
    // The reply's body (after its status), or nothing when the bridge could not be reached or
    // broke the protocol (the connection is then dropped).
    std::optional<Frame> Call(FrameWriter request, std::uint8_t op, int extraMs = 0);
    bool Connect();
    void Drop();
    bool Receive(Frame* frame, int ms);
    // The live handle, or a status that says why not.
    Local* Find(FT_HANDLE h, FT_STATUS* why);
    FT_STATUS Simple(FT_HANDLE h, Op op, const std::function<void(FrameWriter&)>& fields,
                     std::uint32_t* readTimeout = nullptr);

    Connector connect_;
    Environment environment_;
    ClientTiming timing_;
    std::recursive_mutex lock_;
    std::unique_ptr<Transport> link_;
    FrameReader reader_{kMaxFrame};
    std::uint64_t connection_ = 0; // counts connections made; 0: none yet
    std::map<std::uintptr_t, Local> handles_;
    std::uint64_t nextHandle_ = 1;
};

} // namespace bridge
