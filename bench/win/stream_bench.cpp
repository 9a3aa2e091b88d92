// The receive pump at full speed: the program's main window, connected through the device finder
// to a simulated device that sends as fast as the program reads ("stream" in the driver's
// configuration), runs its message loop for a while. Printed: the bytes per second that reach the
// console's text processing, the pump tick's time (median, 99th percentile, worst), how fast the
// window answers WM_NULL sent from another thread, and the proof that no byte was lost: after every
// tick the console must show exactly the tail of the stream the driver handed out, and at the end
// what the device sent must equal what the program read plus what still waits.
//
//   stream_bench [seconds [queue depth]]      (default 30 s, the statement's default depth)
//
// Beside our bridge FTD2XX.DLL (no simulation entry points) the same stream comes from zevbridge
// --sim, configured by its caller: a tick is then a timer message after which the console shows
// new text, the bytes read follow from the console's last stream line (each line is numbered), and
// the bench prints how many bytes the program read for its caller to set against what the bridge's
// simulated device says it sent (scripts/bench-stream.sh).
//
// On a machine shared with other work the wall-clock tick times include the time the program waited
// for a core; the CPU time per tick (the GUI thread's, averaged: the system counts it in 10 ms steps)
// says what the tick itself costs.
#include "console/app_context.h"
#include "console/open_finder.h"
#include "console/principal.h"
#include "finder/dispositivos.h"
#include "sim/sim_api.h"
#include "sim/stream_pattern.h"
#include "win/proc_address.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kSerial = "ZV100001";

template <typename Fn> Fn Resolve(const char* name) {
    const Fn fn = win::ProcAddress<Fn>(GetModuleHandleW(L"FTD2XX.DLL"), name);
    if (!fn) {
        std::fprintf(stderr, "stream_bench: the simulated driver lacks %s\n", name);
        std::exit(2);
    }
    return fn;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return t;
}

// CPU time of the calling thread, in ms.
double ThreadCpuMs() {
    FILETIME created{}, ended{}, kernel{}, user{};
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ms = [](FILETIME f) {
        return static_cast<double>((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

// What the console must show once `read` bytes of the stream went by: their last
// console::kConsoleLimit characters, cut back to start at their first line break.
std::wstring ExpectedConsole(unsigned long long read) {
    const size_t take = static_cast<size_t>(std::min<unsigned long long>(read, console::kConsoleLimit));
    const std::string tail = sim::StreamText(read - take, take);
    const size_t cut = tail.find("\r\n");
    return std::wstring(tail.begin() + static_cast<std::ptrdiff_t>(cut == std::string::npos ? 0 : cut), tail.end());
}

// How far into the stream the console's text ends, from its last whole line's number; 0 when the
// text holds no whole stream line.
unsigned long long ConsoleOffset(const std::wstring& text) {
    const size_t end = text.rfind(L"\r\n");
    if (end == std::wstring::npos || end + 2 < sim::kStreamLineLength)
        return 0;
    const size_t start = end + 2 - sim::kStreamLineLength;
    if (text.compare(start, 11, L"ZEV stream ") != 0)
        return 0;
    const unsigned long long line = std::wcstoull(text.c_str() + start + 11, nullptr, 10);
    return (line + 1) * sim::kStreamLineLength + (text.size() - end - 2);
}

// Polls the window from another thread, as another program would, and keeps each answer's time.
class Prober {
public:
    explicit Prober(HWND target) : target_(target), thread_([this] { Run(); }) {}
    ~Prober() {
        stop_ = true;
        thread_.join();
    }
    std::vector<double> times; // ms
    int unanswered = 0;

private:
    void Run() {
        while (!stop_) {
            const LARGE_INTEGER t0 = Now();
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(target_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result))
                times.push_back(1000 * Seconds(t0, Now()));
            else
                ++unanswered;
            Sleep(10);
        }
    }
    HWND target_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const double duration = argc > 1 ? _wtof(argv[1]) : 30.0;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    console::AppContext app;
    if (!app.driver.IsLoaded()) {
        std::fprintf(stderr, "stream_bench: FTD2XX.DLL did not load\n");
        return 2;
    }
    const bool bridged = !win::ProcAddress<sim::api::PFN_SimReset>(GetModuleHandleW(L"FTD2XX.DLL"), "SimReset");
    sim::api::PFN_SimCallCount calls = nullptr;
    sim::api::PFN_SimStreamCounts counts = nullptr;
    if (!bridged) {
        calls = Resolve<sim::api::PFN_SimCallCount>("SimCallCount");
        counts = Resolve<sim::api::PFN_SimStreamCounts>("SimStreamCounts");
        Resolve<sim::api::PFN_SimReset>("SimReset")();
        // A depth may follow the seconds, for looking at smaller ticks.
        const std::string config = "device ZV100001 ZEV WiFi Server\nstream ZV100001 " +
                                   (argc > 2 ? std::to_string(_wtoi(argv[2])) : std::string()) + "\n";
        if (Resolve<sim::api::PFN_SimLoadConfigText>("SimLoadConfigText")(config.c_str()) != 0)
            return 2;
    }

    console::Principal principal(app);
    if (!principal.Open())
        return 2;
    // Connected as the user does it: the finder lists the one device, Conectar opens it.
    finder::Dispositivos* finder = console::OpenFinder(app, principal);
    if (!finder)
        return 2;
    finder->btnConectar_Click();
    if (!app.link.IsOpen()) {
        std::fprintf(stderr, "stream_bench: could not connect\n");
        return 2;
    }

    std::vector<double> ticks; // ms
    double tickCpuMs = 0;
    unsigned long long mismatches = 0, firstRead = 0, lastRead = 0;
    LARGE_INTEGER first{}, last{};
    std::wstring firstMismatch;
    {
        Prober prober(principal.Hwnd());
        const LARGE_INTEGER start = Now();
        MSG msg;
        while (Seconds(start, Now()) < duration && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            const bool timer = msg.message == WM_TIMER && msg.hwnd == principal.Hwnd();
            const unsigned long queries = timer && !bridged ? calls("FT_GetQueueStatus") : 0;
            const double cpu0 = timer ? ThreadCpuMs() : 0;
            const LARGE_INTEGER t0 = Now();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            const LARGE_INTEGER t1 = Now();
            const double cpu1 = timer ? ThreadCpuMs() : 0;
            // A tick of the pump is the timer message during which the driver was asked for its queue
            // (through the bridge: after which the console changed).
            if (!timer ||
                (bridged ? ConsoleOffset(principal.ConsoleText()) == lastRead : calls("FT_GetQueueStatus") == queries))
                continue;
            sim::api::StreamCounts c{};
            if (bridged)
                c.read = ConsoleOffset(principal.ConsoleText());
            else
                counts(kSerial, &c);
            if (ticks.empty()) {
                first = t1; // the rate counts from the end of the first tick
                firstRead = c.read;
            }
            ticks.push_back(1000 * Seconds(t0, t1));
            tickCpuMs += cpu1 - cpu0;
            last = t1;
            lastRead = c.read;
            if (c.read >= console::kConsoleLimit && principal.ConsoleText() != ExpectedConsole(c.read)) {
                if (mismatches++ == 0)
                    firstMismatch = principal.ConsoleText().substr(0, 80);
            }
        }
        std::printf("window answers WM_NULL: %zu probes, median %.2f ms, p99 %.2f ms, worst %.2f ms, %d unanswered\n",
                    prober.times.size(), Percentile(prober.times, 0.5), Percentile(prober.times, 0.99),
                    Percentile(prober.times, 1.0), prober.unanswered);
    }
    sim::api::StreamCounts c{};
    if (!bridged)
        counts(kSerial, &c);
    const double seconds = Seconds(first, last);
    const double rate = seconds > 0 ? static_cast<double>(lastRead - firstRead) / seconds : 0;
    std::printf("pump ticks: %zu, median %.2f ms, p99 %.2f ms, worst %.2f ms; CPU per tick %.2f ms (mean)\n",
                ticks.size(), Percentile(ticks, 0.5), Percentile(ticks, 0.99), Percentile(ticks, 1.0),
                ticks.empty() ? 0.0 : tickCpuMs / static_cast<double>(ticks.size()));
    std::printf("stream: %.0f bytes/s (%.2f MB/s) into the console over %.1f s\n", rate, rate / 1e6, seconds);
    if (bridged)
        std::printf("read by the program: %llu bytes\n", lastRead);
    else
        std::printf("device sent %llu = read %llu + still queued %llu + purged %llu: %s\n", c.sent, c.read, c.queued,
                    c.purged, c.sent == c.read + c.queued + c.purged && c.purged == 0 ? "nothing lost" : "MISMATCH");
    std::printf("console showed the exact tail of what was read after %s tick (%llu mismatches)\n",
                mismatches == 0 ? "every" : "NOT every", mismatches);
    if (mismatches)
        std::printf("first mismatch began: %ls\n", firstMismatch.c_str());
    DestroyWindow(principal.Hwnd());
    return mismatches == 0 && c.sent == c.read + c.queued + c.purged && !ticks.empty() ? 0 : 1;
}
