// The receive pump at the fastest line: a full console (5000 characters) receiving 30 kB in one
// 100 ms tick (3 Mbaud), with the device's erase sequences and line ends mixed in.
#include "console/console_text.h"
#include "console/receive_pump.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kTickBytes = 30000;

std::wstring FullConsole() {
    std::wstring text;
    for (int i = 0; text.size() < console::kConsoleLimit; ++i)
        text += L"  ssid=Vantoro-Taller  canal " + std::to_wstring(i % 13) + L"  -47 dBm  WPA2\r\n";
    text.resize(console::kConsoleLimit);
    return text;
}

// Device output: reply lines, an echoed command with corrections (BS SP BS), a prompt.
std::string TickBytes() {
    std::string bytes;
    for (int i = 0; bytes.size() < kTickBytes; ++i) {
        bytes += "  " + std::to_string(i) + "  Laboratorio-2G     -63 dBm  WPA2\r\n";
        if (i % 4 == 0)
            bytes += ">STATSU\b \b\b \bUS\r\n";
        if (i % 7 == 0)
            bytes += "linea con LF suelto\n";
    }
    bytes.resize(kTickBytes);
    return bytes;
}

void ApplyToFullConsole(benchmark::State& state) {
    const std::wstring full = FullConsole();
    const std::string tick = TickBytes();
    const console::AnsiTable table = console::Latin1Table();
    for (auto _ : state) {
        std::wstring text = full;
        console::ApplyReceived(text, tick, table);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(tick.size()));
}
BENCHMARK(ApplyToFullConsole);

// The whole neutral tick: queue query, 118 reads of 256 bytes from an in-memory driver, and the
// text processing.
struct MemoryDriver {
    static inline std::string data;
    static inline std::size_t pos = 0;
    static d2xx::FT_STATUS D2XX_CALL OpenEx(void*, d2xx::DWORD, d2xx::FT_HANDLE* h) {
        *h = &data;
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Baud(d2xx::FT_HANDLE, std::uint32_t) { return d2xx::FT_OK; }
    static d2xx::FT_STATUS D2XX_CALL Bits(d2xx::FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t) {
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Flow(d2xx::FT_HANDLE, std::uint16_t, std::uint8_t, std::uint8_t) {
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Timeouts(d2xx::FT_HANDLE, std::uint32_t, std::uint32_t) { return d2xx::FT_OK; }
    static d2xx::FT_STATUS D2XX_CALL Chars(d2xx::FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) {
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Queue(d2xx::FT_HANDLE, d2xx::DWORD* n) {
        *n = static_cast<d2xx::DWORD>(data.size() - pos);
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Read(d2xx::FT_HANDLE, void* buffer, d2xx::DWORD n, d2xx::DWORD* got) {
        const std::size_t k = std::min<std::size_t>(n, data.size() - pos);
        std::memcpy(buffer, data.data() + pos, k);
        pos += k;
        *got = static_cast<d2xx::DWORD>(k);
        return d2xx::FT_OK;
    }
    static d2xx::FT_STATUS D2XX_CALL Write(d2xx::FT_HANDLE, void*, d2xx::DWORD, d2xx::DWORD*) { return d2xx::FT_OK; }
    static d2xx::FT_STATUS D2XX_CALL Close(d2xx::FT_HANDLE) { return d2xx::FT_OK; }
    static inline const d2xx::DriverTable table{nullptr, OpenEx, Baud, Bits,  Flow, Timeouts,
                                                Chars,   Queue,  Read, Write, Close};
};

void WholeTickOnFullConsole(benchmark::State& state) {
    MemoryDriver::data = TickBytes();
    devlink::LinkState link(MemoryDriver::table);
    link.OpenLink("ZV1");
    const std::wstring full = FullConsole();
    const console::AnsiTable table = console::Latin1Table();
    for (auto _ : state) {
        MemoryDriver::pos = 0;
        std::wstring text = full;
        const console::ReceiveResult received = console::FetchReceived(link);
        console::ApplyReceived(text, received.bytes, table);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(MemoryDriver::data.size()));
}
BENCHMARK(WholeTickOnFullConsole);

} // namespace
