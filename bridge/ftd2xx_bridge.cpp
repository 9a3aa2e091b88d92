// Our bridge FTD2XX.DLL: the eleven D2XX functions the program calls, forwarded to zevbridge (a
// native Linux program that owns the real devices) over loopback TCP. Found through the environment:
// ZEV_BRIDGE=127.0.0.1:PORT and ZEV_BRIDGE_TOKEN=<hex>. The logic is in client.h; this file adds
// Winsock and the exports.
#include "bridge/client.h"

#include <windows.h>
#include <winsock2.h>

#include <memory>
#include <string>

#define BRIDGE_EXPORT extern "C" __declspec(dllexport)

#ifndef WSA_FLAG_NO_HANDLE_INHERIT
#define WSA_FLAG_NO_HANDLE_INHERIT 0x80
#endif

namespace {

using d2xx::FT_HANDLE;
using d2xx::FT_STATUS;

// Waits until the socket can be written (or failed) or read; false on time-out.
bool Await(SOCKET s, bool write, int timeoutMs) {
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int r = select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &limit);
    return r > 0 && FD_ISSET(s, &ready);
}

class WinsockTransport : public bridge::Transport {
public:
    explicit WinsockTransport(SOCKET s) : s_(s) {}
    ~WinsockTransport() override { closesocket(s_); }
    bool Send(const std::uint8_t* data, std::size_t n, int timeoutMs) override {
        for (std::size_t done = 0; done < n;) {
            if (!Await(s_, true, timeoutMs))
                return false;
            const int w = send(s_, reinterpret_cast<const char*>(data + done),
                               static_cast<int>(std::min<std::size_t>(n - done, 1 << 20)), 0);
            if (w == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            if (w <= 0)
                return false;
            done += static_cast<std::size_t>(w);
        }
        return true;
    }
    long Receive(std::uint8_t* out, std::size_t capacity, int timeoutMs) override {
        if (!Await(s_, false, timeoutMs))
            return kTimeout;
        const int r = recv(s_, reinterpret_cast<char*>(out), static_cast<int>(capacity), 0);
        if (r == SOCKET_ERROR)
            return WSAGetLastError() == WSAEWOULDBLOCK ? kTimeout : kError;
        return r;
    }

private:
    SOCKET s_;
};

std::unique_ptr<bridge::Transport> ConnectWinsock(const bridge::Endpoint& endpoint, int timeoutMs) {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        return nullptr;
    // Not inherited: a program the host starts must not keep the bridge's connection open.
    const SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET)
        return nullptr;
    u_long nonBlocking = 1;
    const BOOL noDelay = TRUE;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    address.sin_addr.s_addr = htonl(endpoint.address);
    int error = 0, length = sizeof error;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR &&
        (WSAGetLastError() != WSAEWOULDBLOCK || !Await(s, true, timeoutMs) ||
         getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0)) {
        closesocket(s); // refused: the failure set answers at once
        return nullptr;
    }
    return std::make_unique<WinsockTransport>(s);
}

std::string Environment(const char* name) {
    char value[256] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bridge::BridgeClient& Client() {
    static bridge::BridgeClient client(ConnectWinsock, Environment);
    return client;
}

} // namespace

BRIDGE_EXPORT FT_STATUS WINAPI FT_ListDevices(void* a1, void* a2, d2xx::DWORD flags) {
    return Client().ListDevices(a1, a2, flags);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_OpenEx(void* a1, d2xx::DWORD flags, FT_HANDLE* h) {
    return Client().OpenEx(a1, flags, h);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_SetBaudRate(FT_HANDLE h, ULONG baud) {
    return Client().SetBaudRate(h, baud);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_SetDataCharacteristics(FT_HANDLE h, UCHAR bits, UCHAR stop, UCHAR parity) {
    return Client().SetDataCharacteristics(h, bits, stop, parity);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_SetFlowControl(FT_HANDLE h, USHORT flow, UCHAR xon, UCHAR xoff) {
    return Client().SetFlowControl(h, flow, xon, xoff);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_SetTimeouts(FT_HANDLE h, ULONG readMs, ULONG writeMs) {
    return Client().SetTimeouts(h, readMs, writeMs);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_SetChars(FT_HANDLE h, UCHAR ev, UCHAR evOn, UCHAR err, UCHAR errOn) {
    return Client().SetChars(h, ev, evOn, err, errOn);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_GetQueueStatus(FT_HANDLE h, d2xx::DWORD* rx) {
    return Client().GetQueueStatus(h, rx);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_Read(FT_HANDLE h, void* buffer, d2xx::DWORD toRead, d2xx::DWORD* got) {
    return Client().Read(h, buffer, toRead, got);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_Write(FT_HANDLE h, void* buffer, d2xx::DWORD toWrite, d2xx::DWORD* written) {
    return Client().Write(h, buffer, toWrite, written);
}
BRIDGE_EXPORT FT_STATUS WINAPI FT_Close(FT_HANDLE h) {
    return Client().Close(h);
}
