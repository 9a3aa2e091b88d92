// zevmeasure: measures and steers a running ZEV Config (or the bare window) from outside, as the
// benchmark and soak scripts need it. Runs under Wine beside the program; windows are found by their
// class within the program's process, so nothing depends on captions or screen positions.
//
//   zevmeasure start <exe>                 starts exe in its folder; "pid <n> startup_ms <ms>
//                                          input_idle_ms <ms>": CreateProcess to its window shown and
//                                          answering, and to WaitForInputIdle's return
//   zevmeasure stats <pid>                 "windows <n> ws_kib <n> peak_ws_kib <n>"
//   zevmeasure answer <pid> [ms]           the main window answers WM_NULL within ms: "answer_ms <ms>"
//   zevmeasure connect <pid>               find button, first ZEV device, Conectar, "Conectado con"
//   zevmeasure disconnect <pid>            disconnect button, "Desconectado"
//   zevmeasure cycles <pid> <kind> <n> [config]
//                                          kind: connect (connect and disconnect), finder (open and
//                                          close it), about (open and close it), plug (with the finder
//                                          open, unplug and plug a second ZEV device through the
//                                          simulated driver's configuration file, config)
//   zevmeasure close <pid>                 closes the main window and waits for the program to end
//
// Every wait gives up after a while and says what it waited for and what the program's windows
// showed then: a hung program fails the run, and its log tells why.
#include "bench/win/process_windows.h"
#include "console/console_ids.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

using namespace measure;

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr wchar_t kMainClass[] = L"ZevPrincipal";
constexpr wchar_t kFinderClass[] = L"ZevConfigDispositivos";
constexpr wchar_t kAboutClass[] = L"ZevConfigAbout";
constexpr wchar_t kToolbarHostClass[] = L"ZevToolbar1";
constexpr wchar_t kSecondDevice[] = L"ZV200002";

DWORD g_pid = 0; // the program steered, whose windows a failure describes

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "zevmeasure: %s\n", what);
    if (g_pid)
        std::fprintf(stderr, "what the program showed:\n%s", DescribeWindows(g_pid).c_str());
    std::exit(1);
}

void Require(bool ok, const char* what) {
    if (!ok)
        Fail(what);
}

HWND MainWindow(DWORD pid) {
    HWND main = FindTopLevel(pid, kMainClass);
    Require(main != nullptr, "no main window in that process");
    return main;
}

// A toolbar button (1 to 4) clicked: the toolbar's notification to its host, as a click sends it.
void ClickTool(HWND main, int index) {
    HWND host = FindDescendant(main, kToolbarHostClass, L"");
    HWND bar = FindDescendant(main, TOOLBARCLASSNAMEW, L"");
    Require(host && bar, "no toolbar");
    PostMessageW(host, WM_COMMAND, MAKEWPARAM(IDC_TOOL_FIRST + index, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
}

void ClickButton(HWND window, const wchar_t* caption) {
    HWND button = FindDescendant(window, L"", caption);
    Require(button != nullptr, "no such button");
    PostMessageW(button, BM_CLICK, 0, 0);
}

HWND WaitWindow(DWORD pid, const wchar_t* className, const char* what) {
    HWND found = nullptr;
    Require(WaitFor([&] { return (found = FindTopLevel(pid, className)) != nullptr; }, kWaitMs), what);
    return found;
}

void WaitGone(DWORD pid, const wchar_t* className, const char* what) {
    Require(WaitFor([&] { return FindTopLevel(pid, className) == nullptr; }, kWaitMs), what);
}

void WaitText(HWND window, const wchar_t* text, const char* what) {
    Require(WaitFor([&] { return FindDescendant(window, L"", text) != nullptr; }, kWaitMs), what);
}

// The index of the finder's first list item containing text, or -1.
int FindItem(HWND finder, const std::wstring& text) {
    HWND list = FindDescendant(finder, L"ListBox", L"");
    if (!list)
        return -1;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0)
            continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        if (item.find(text) != std::wstring::npos)
            return i;
    }
    return -1;
}

// Count queries the simulated driver has answered in the program: each enumeration starts with one.
DWORD Enumerations(DWORD pid) {
    static const sim::api::PublishedCounters* counters = SimCounters(pid);
    Require(counters != nullptr, "the program's driver publishes no counters (is it the simulated one?)");
    return counters->enumerations;
}

// The finder open with a device listed by its first refresh. It fills the list when it opens and
// refreshes a moment later; the first refresh of a run rebuilds the list (the set it compares with
// is still empty), which drops a selection made before it, though the list looks the same. So a
// selection waits for both enumerations, counted by the driver, not for the first listed item.
HWND OpenFinder(DWORD pid, HWND main) {
    const DWORD before = Enumerations(pid);
    ClickTool(main, 1);
    HWND finder = WaitWindow(pid, kFinderClass, "the finder did not open");
    Require(WaitFor([&] { return Enumerations(pid) - before >= 2; }, kWaitMs),
            "the finder did not enumerate the devices twice (on opening and on its first refresh)");
    Require(WaitFor([&] { return FindItem(finder, L"Serie") >= 0; }, kWaitMs), "the finder lists no device");
    return finder;
}

void Connect(DWORD pid) {
    HWND main = MainWindow(pid);
    HWND finder = OpenFinder(pid, main);
    HWND list = FindDescendant(finder, L"ListBox", L"");
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(FindItem(finder, L"Serie")), 0);
    ClickButton(finder, L"Conectar");
    WaitText(main, L"Conectado con ", "the status bar never said Conectado con");
    WaitGone(pid, kFinderClass, "the finder did not close after connecting");
}

void Disconnect(DWORD pid) {
    HWND main = MainWindow(pid);
    ClickTool(main, 2);
    WaitText(main, L"Desconectado", "the status bar never said Desconectado");
}

void WriteConfig(const wchar_t* path, bool withSecond) {
    FILE* f = _wfopen(path, L"wb");
    Require(f != nullptr, "cannot write the configuration file");
    std::fputs("device ZV100001 ZEV WiFi Server\n", f);
    if (withSecond)
        std::fputs("device ZV200002 ZEV WiFi Server B\n", f);
    std::fclose(f);
}

void Cycles(DWORD pid, const std::wstring& kind, int n, const wchar_t* config) {
    HWND main = MainWindow(pid);
    if (kind == L"plug") {
        Require(config != nullptr, "plug needs the configuration file");
        HWND finder = OpenFinder(pid, main);
        for (int i = 0; i < n; ++i) {
            WriteConfig(config, false);
            Require(WaitFor([&] { return FindItem(finder, kSecondDevice) < 0; }, kWaitMs), "unplugged device still listed");
            WriteConfig(config, true);
            Require(WaitFor([&] { return FindItem(finder, kSecondDevice) >= 0; }, kWaitMs), "plugged device not listed");
        }
        ClickButton(finder, L"Cancelar");
        WaitGone(pid, kFinderClass, "the finder did not close");
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (kind == L"connect") {
            Connect(pid);
            Disconnect(pid);
        } else if (kind == L"finder") {
            OpenFinder(pid, main);
            ClickButton(FindTopLevel(pid, kFinderClass), L"Cancelar");
            WaitGone(pid, kFinderClass, "the finder did not close");
        } else if (kind == L"about") {
            ClickTool(main, 4);
            HWND about = WaitWindow(pid, kAboutClass, "About did not open");
            ClickButton(about, L"Aceptar");
            WaitGone(pid, kAboutClass, "About did not close");
        } else {
            Fail("unknown kind of cycle");
        }
    }
}

void Start(const wchar_t* exe) {
    std::wstring folder = exe;
    folder.resize(folder.find_last_of(L"\\/") == std::wstring::npos ? 0 : folder.find_last_of(L"\\/"));
    std::wstring command = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency{}, t0{}, t1{}, t2{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    Require(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &si, &pi) != 0,
            "cannot start the program");
    const DWORD idle = WaitForInputIdle(pi.hProcess, 60000);
    QueryPerformanceCounter(&t1);
    Require(idle == 0, "the program never waited for input");
    // Wine lets WaitForInputIdle return at the first wait for messages, which can come before the
    // program has made any window (a wait inside its start-up). The program is up once its window is
    // shown and its message loop answers.
    HWND shown = nullptr;
    for (ULONGLONG end = GetTickCount64() + 60000; !(shown = FindTopLevel(pi.dwProcessId, L"")); Sleep(2))
        Require(GetTickCount64() < end, "the program never showed a window");
    DWORD_PTR result = 0;
    Require(SendMessageTimeoutW(shown, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0,
            "the program's window never answered");
    QueryPerformanceCounter(&t2);
    auto ms = [&](LARGE_INTEGER t) {
        return 1000.0 * static_cast<double>(t.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    std::printf("pid %lu startup_ms %.1f input_idle_ms %.1f\n", pi.dwProcessId, ms(t2), ms(t1));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void Stats(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    Require(process != nullptr, "no such process");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    Require(GetProcessMemoryInfo(process, &counters, sizeof(counters)) != 0, "no memory figures");
    CloseHandle(process);
    std::printf("windows %d ws_kib %llu peak_ws_kib %llu\n", CountWindows(pid),
                static_cast<unsigned long long>(counters.WorkingSetSize / 1024),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize / 1024));
}

void Answer(DWORD pid, DWORD timeoutMs) {
    HWND main = FindTopLevel(pid, L"");
    Require(main != nullptr, "no window in that process");
    const ULONGLONG t0 = GetTickCount64();
    DWORD_PTR result = 0;
    Require(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0,
            "the window did not answer");
    std::printf("answer_ms %llu\n", GetTickCount64() - t0);
}

void Close(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    Require(process != nullptr, "no such process");
    HWND main = FindTopLevel(pid, L"");
    Require(main != nullptr, "no window in that process");
    PostMessageW(main, WM_CLOSE, 0, 0);
    const DWORD ended = WaitForSingleObject(process, kWaitMs);
    CloseHandle(process);
    Require(ended == WAIT_OBJECT_0, "the program did not end");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        Fail("usage: zevmeasure <command> <exe|pid> ...");
    const std::wstring command = argv[1];
    if (command == L"start") {
        Start(argv[2]);
        return 0;
    }
    const auto pid = static_cast<DWORD>(_wtoi(argv[2]));
    g_pid = pid;
    if (command == L"stats")
        Stats(pid);
    else if (command == L"answer")
        Answer(pid, argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 5000);
    else if (command == L"connect")
        Connect(pid);
    else if (command == L"disconnect")
        Disconnect(pid);
    else if (command == L"cycles" && argc > 4)
        Cycles(pid, argv[3], _wtoi(argv[4]), argc > 5 ? argv[5] : nullptr);
    else if (command == L"close")
        Close(pid);
    else
        Fail("unknown command");
    std::fflush(stdout);
    return 0;
}
