// zevdrive: drives the running program from outside, as a test user's eyes and hands would need:
// find windows by caption, read texts and list items, tell where a control is on screen (so the
// test script can click it with real input), close windows. Runs under Wine next to the program.
//
//   zevdrive wait <caption> [ms]           wait until a visible top-level window has that caption
//   zevdrive gone <caption> [ms]           wait until none has
//   zevdrive wait-item <caption> <text> [ms]  wait until a list item contains text
//   zevdrive center <caption> <text>       screen centre of the descendant whose text is exactly text
//   zevdrive item-center <caption> <i>     screen centre of list item i
//   zevdrive tool-center <caption> <i>     screen centre of toolbar button i (0-based)
//   zevdrive class-center <caption> <class>  screen centre of the first descendant of that class
//   zevdrive rect <caption>                the window's screen rectangle: x y width height
//   zevdrive wait-menu <caption> [ms]      wait until a popup menu of the window's process is shown;
//                                          its screen rectangle: x y width height
//   zevdrive close <caption>               ask the window to close
//   zevdrive wait-child-text <caption> <text> [ms]  wait until some descendant's text contains text
//   zevdrive wait-child-gone <caption> <text> [ms]  wait until no descendant's text contains text
//   zevdrive painted <caption>             the window and its controls have painted what they hold
//   zevdrive wait-focus <caption> <class> [ms]      wait until the window's thread has the keyboard
//                                                   focus in a descendant of that class
//   zevdrive wait-focus-text <caption> <text> [ms]  ... in the descendant whose text is exactly text
//   zevdrive wait-hot <caption> <i> [ms]   wait until toolbar button i is shown hot (under the pointer)
//   zevdrive enumerations <caption>        how many enumerations the simulated driver has begun
//                                          answering in the window's process (its count queries)
//   zevdrive wait-enumerations <caption> <n> [ms]  wait until that count is at least n
//   zevdrive link-target <shortcut.lnk>    the program a shortcut starts, as Explorer reads it
//   zevdrive clipboard-file <file>         put the file's text (UTF-8) on the clipboard, for a paste
//   zevdrive run-wait <command line> [ms]  run it and wait until it and every process it started
//                                          have ended (an NSIS uninstaller hands over to a copy of
//                                          itself and returns at once); exit status of the first
//   zevdrive tree <caption>                every top-level window of that caption, shown or not, and
//                                          its descendants: class, text, visible, enabled
//
// A caption ending in "*" matches every caption that starts with the rest (handy for captions with
// characters outside ASCII, which a shell may not pass on faithfully). A command that fails says why
// on standard error, followed by every visible window with its controls, texts, list items and focus.
#include "bench/win/process_windows.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using measure::Descendants;
using measure::FindDescendant;
using measure::TextOf;

namespace {

void Print(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    std::printf("%s\n", s.c_str());
}

// The first visible top-level window with the caption.
HWND Top(const std::wstring& caption) {
    const bool prefix = !caption.empty() && caption.back() == L'*';
    const std::wstring want = prefix ? caption.substr(0, caption.size() - 1) : caption;
    for (HWND h = FindWindowExW(nullptr, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(nullptr, h, nullptr, nullptr)) {
        const std::wstring text = TextOf(h);
        if (IsWindowVisible(h) && (prefix ? text.rfind(want, 0) == 0 : text == want))
            return h;
    }
    return nullptr;
}

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        std::wstring item(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(list, LB_GETTEXTLEN, i, 0))) + 1,
                          L'\0');
        item.resize(static_cast<size_t>(
            std::max<LRESULT>(0, SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data())))));
        items.push_back(item);
    }
    return items;
}

// Messages whose result is written through a pointer are not carried across processes: lend the
// target process a buffer, let the control fill it, read it back.
template <typename T> bool RemoteQuery(HWND hwnd, UINT msg, WPARAM wParam, T* out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE);
    const bool ok = remote && SendMessageW(hwnd, msg, wParam, reinterpret_cast<LPARAM>(remote)) != 0 &&
                    ReadProcessMemory(process, remote, out, sizeof(T), nullptr);
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}

int PrintCenter(HWND hwnd, RECT r) {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(hwnd, &p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
}
int PrintCenter(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return PrintCenter(hwnd, r);
}

int Fail(const char* why) {
    std::fprintf(stderr, "zevdrive: %s\nvisible windows:\n%s", why, measure::DescribeWindows(0).c_str());
    return 1;
}

int LinkTarget(const std::wstring& lnk) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return Fail("no COM");
    wchar_t path[MAX_PATH] = {};
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    const bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
                    SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file))) &&
                    SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
                    SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) && path[0];
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    if (!ok)
        return Fail("cannot read the shortcut");
    Print(path);
    return 0;
}

// The job collects the process and all its descendants; its completion port says when the last ended.
// (The tool ends right after, which closes the handles.)
int RunWait(std::wstring commandLine, int ms) {
    // Wine starts its desktop process for the first program that needs it, as that program's child:
    // started for the job's first window, it would join the job and outlive it.
    GetDesktopWindow();
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{job, CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)};
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &link, sizeof(link)) ||
        !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &pi) ||
        !AssignProcessToJobObject(job, pi.hProcess) || ResumeThread(pi.hThread) == static_cast<DWORD>(-1))
        return Fail("cannot start");
    DWORD message = 0, code = 1;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    bool ended = false;
    while (!ended && GetQueuedCompletionStatus(link.CompletionPort, &message, &key, &detail, static_cast<DWORD>(ms)))
        ended = message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO;
    GetExitCodeProcess(pi.hProcess, &code);
    return ended ? static_cast<int>(code) : Fail("still running");
}

// What a failing test prints to show what it saw: each window of the caption, one control a line.
int PrintTree(const std::wstring& caption) {
    const bool prefix = !caption.empty() && caption.back() == L'*';
    const std::wstring want = prefix ? caption.substr(0, caption.size() - 1) : caption;
    int found = 0;
    for (HWND top = FindWindowExW(nullptr, nullptr, nullptr, nullptr); top;
         top = FindWindowExW(nullptr, top, nullptr, nullptr)) {
        if (const std::wstring text = TextOf(top); prefix ? text.rfind(want, 0) == 0 : text == want) {
            std::fputs(measure::DescribeWindow(top).c_str(), stdout);
            ++found;
        }
    }
    return found ? 0 : Fail("no such window");
}

// The clipboard owns the memory once SetClipboardData succeeds; until then it is ours to free.
int ClipboardFromFile(const std::wstring& file) {
    FILE* f = _wfopen(file.c_str(), L"rb");
    if (!f)
        return Fail("cannot read the file");
    std::string utf8;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
        utf8.append(chunk, n);
    fclose(f);
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(n) + 1) * sizeof(wchar_t));
    auto* text = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr;
    if (!text)
        return Fail("no memory");
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text, n);
    text[n] = L'\0';
    GlobalUnlock(memory);
    const bool set = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
        return Fail("cannot set the clipboard");
    }
    return 0;
}

int ClassCenter(HWND top, const std::wstring& className) {
    HWND found = FindDescendant(top, className.c_str(), {});
    return found ? PrintCenter(found) : Fail("no control of that class");
}

// A shown popup menu (window class #32768) of the process that owns top.
int WaitMenu(HWND top, int ms) {
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    HWND menu = nullptr;
    const auto shown = [&] {
        for (HWND h = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); h;
             h = FindWindowExW(nullptr, h, L"#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == pid && IsWindowVisible(h))
                return (menu = h) != nullptr;
        }
        return false;
    };
    if (!measure::WaitFor(shown, static_cast<DWORD>(ms)))
        return Fail("no menu is shown");
    RECT r{};
    GetWindowRect(menu, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return Fail("usage: zevdrive <command> <caption> ...");
    const std::wstring cmd = argv[1], caption = argv[2];
    auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
    auto num = [&](int i, int fallback) { return i < argc ? _wtoi(argv[i]) : fallback; };

    if (cmd == L"link-target")
        return LinkTarget(caption);
    if (cmd == L"clipboard-file")
        return ClipboardFromFile(caption);
    if (cmd == L"run-wait")
        return RunWait(caption, num(3, 60000));
    if (cmd == L"tree")
        return PrintTree(caption);
    if (cmd == L"wait" || cmd == L"gone")
        return measure::WaitFor([&] { return (Top(caption) != nullptr) == (cmd == L"wait"); }, num(3, 10000))
                   ? 0
                   : Fail(cmd == L"wait" ? "window did not appear" : "window is still there");
    HWND top = Top(caption);
    if (!top)
        return Fail("no such window");
    HWND list = FindDescendant(top, L"ListBox", {}), bar = FindDescendant(top, TOOLBARCLASSNAMEW, {});

    if (cmd == L"wait-item") {
        auto listed = [&] {
            for (const auto& item : ListItems(list))
                if (item.find(arg(3)) != std::wstring::npos)
                    return true;
            return false;
        };
        if (!list || !measure::WaitFor(listed, num(4, 5000)))
            return Fail("no list box, or the item did not appear");
        return 0;
    }
    if (cmd == L"center") {
        for (HWND h : Descendants(top))
            if (TextOf(h) == arg(3))
                return PrintCenter(h);
        return Fail("no control with that text");
    }
    if (cmd == L"item-center" || cmd == L"tool-center") {
        const bool item = cmd == L"item-center";
        RECT r{};
        HWND owner = item ? list : bar;
        return owner && RemoteQuery(owner, item ? LB_GETITEMRECT : TB_GETITEMRECT, static_cast<WPARAM>(num(3, 0)), &r)
                   ? PrintCenter(owner, r)
                   : Fail("no such list item or toolbar button");
    }
    if (cmd == L"class-center")
        return ClassCenter(top, arg(3));
    if (cmd == L"wait-menu")
        return WaitMenu(top, num(3, 3000));
    if (cmd == L"wait-child-text") {
        HWND found = nullptr;
        if (!measure::WaitFor([&] { return (found = FindDescendant(top, nullptr, arg(3))) != nullptr; }, num(4, 5000)))
            return Fail("no descendant shows that text");
        Print(TextOf(found));
        return 0;
    }
    if (cmd == L"wait-child-gone")
        return measure::WaitFor([&] { return !FindDescendant(top, nullptr, arg(3)); }, num(4, 5000))
                   ? 0
                   : Fail("a descendant still shows that text");
    if (cmd == L"painted")
        // Waits while the window's own thread paints what is outstanding.
        return RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) ? 0 : Fail("cannot paint");
    if (cmd == L"wait-focus" || cmd == L"wait-focus-text") {
        // The focus belongs to the program's thread: ask that thread, not our own.
        const DWORD thread = GetWindowThreadProcessId(top, nullptr);
        auto focused = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            wchar_t name[256] = {};
            if (!GetGUIThreadInfo(thread, &info) || !IsChild(top, info.hwndFocus))
                return false;
            if (cmd == L"wait-focus-text")
                return TextOf(info.hwndFocus) == arg(3);
            return GetClassNameW(info.hwndFocus, name, 256) && _wcsicmp(name, arg(3).c_str()) == 0;
        };
        return measure::WaitFor(focused, num(4, 3000)) ? 0 : Fail("the focus is elsewhere");
    }
    if (cmd == L"wait-hot") {
        auto hot = [&] { return bar && SendMessageW(bar, TB_GETHOTITEM, 0, 0) == num(3, 0); };
        return measure::WaitFor(hot, num(4, 3000)) ? 0 : Fail("the toolbar button is not shown hot");
    }
    if (cmd == L"enumerations" || cmd == L"wait-enumerations") {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        const sim::api::PublishedCounters* counters = measure::SimCounters(pid);
        if (!counters)
            return Fail("the window's process publishes no driver counters (is its driver the simulated one?)");
        if (cmd == L"enumerations") {
            std::printf("%lu\n", static_cast<unsigned long>(counters->enumerations));
            return 0;
        }
        const auto wanted = static_cast<DWORD>(num(3, 0));
        return measure::WaitFor([&] { return counters->enumerations >= wanted; }, num(4, 5000))
                   ? 0
                   : Fail("the driver did not answer that many enumerations");
    }
    if (cmd == L"rect") {
        RECT r{};
        GetWindowRect(top, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == L"close")
        return PostMessageW(top, WM_CLOSE, 0, 0) ? 0 : Fail("cannot close");
    return Fail("unknown command");
}
