#include "bench/win/process_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace measure {
namespace {

DWORD OwnerOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

bool ClassIs(HWND hwnd, const wchar_t* className) {
    if (!className || !*className)
        return true;
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return _wcsicmp(name, className) == 0;
}

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

// Window enumeration callbacks are stdcall on x86: named functions, not lambdas.
BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (OwnerOf(hwnd) == s->pid)
        s->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectAll(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

} // namespace

std::wstring TextOf(HWND hwnd) {
    // Never wait long on a window that does not answer: a hung program must show as such.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(wcslen(text.c_str()));
    return text;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    Search search{pid, {}};
    EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> MessageOnlyWindows(DWORD pid) {
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        if (OwnerOf(h) == pid)
            found.push_back(h);
    return found;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectAll, reinterpret_cast<LPARAM>(&all));
    return all;
}

int CountWindows(DWORD pid) {
    int count = 0;
    for (const auto& roots : {TopLevelWindows(pid), MessageOnlyWindows(pid)})
        for (HWND root : roots)
            count += 1 + static_cast<int>(Descendants(root).size());
    return count;
}

HWND FindTopLevel(DWORD pid, const wchar_t* className) {
    for (HWND h : TopLevelWindows(pid))
        if (IsWindowVisible(h) && ClassIs(h, className))
            return h;
    return nullptr;
}

HWND FindDescendant(HWND parent, const wchar_t* className, const std::wstring& text) {
    for (HWND h : Descendants(parent))
        if (ClassIs(h, className) && TextOf(h).find(text) != std::wstring::npos)
            return h;
    return nullptr;
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
}

namespace {

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Control characters shown as escapes, so a console's CR LF keeps the report one line a window.
std::string Quoted(const std::wstring& text, size_t limit = 200) {
    std::wstring shown;
    for (wchar_t c : text.substr(0, limit)) {
        if (c == L'\r')
            shown += L"\\r";
        else if (c == L'\n')
            shown += L"\\n";
        else if (c < 32)
            shown += L'?';
        else
            shown += c;
    }
    return "\"" + Utf8(shown) + (text.size() > limit ? "\"..." : "\"");
}

void Describe(HWND hwnd, int depth, HWND focus, std::string& out) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + Utf8(name) + " " + Quoted(TextOf(hwnd));
    if (!IsWindowVisible(hwnd))
        out += " hidden";
    if (!IsWindowEnabled(hwnd))
        out += " disabled";
    if (hwnd == focus)
        out += " focus";
    DWORD_PTR count = 0, selected = 0;
    if (_wcsicmp(name, L"ListBox") == 0 &&
        SendMessageTimeoutW(hwnd, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) &&
        SendMessageTimeoutW(hwnd, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected)) {
        out += " selection " + std::to_string(static_cast<LRESULT>(selected));
        for (DWORD_PTR i = 0; i < count && i < 20; ++i) {
            DWORD_PTR length = 0;
            std::wstring item;
            if (SendMessageTimeoutW(hwnd, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length) &&
                static_cast<LRESULT>(length) >= 0) {
                item.assign(length + 1, L'\0');
                DWORD_PTR got = 0;
                SendMessageTimeoutW(hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()), SMTO_ABORTIFHUNG, 2000,
                                    &got);
                item.resize(wcslen(item.c_str()));
            }
            out += "\n" + std::string(static_cast<size_t>(depth + 1) * 2, ' ') + "item " + std::to_string(i) + " " +
                   Quoted(item);
        }
    }
    out += "\n";
}

BOOL CALLBACK CollectVisibleTop(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (IsWindowVisible(hwnd) && (s->pid == 0 || OwnerOf(hwnd) == s->pid))
        s->found.push_back(hwnd);
    return TRUE;
}

} // namespace

std::string DescribeWindow(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
    std::string out = "window of process " + std::to_string(OwnerOf(top)) + ": ";
    Describe(top, 0, info.hwndFocus, out);
    // Depth from the parent chain: EnumChildWindows walks every level in one go.
    for (HWND child : Descendants(top)) {
        int depth = 1;
        for (HWND up = GetParent(child); up && up != top; up = GetParent(up))
            ++depth;
        Describe(child, depth, info.hwndFocus, out);
    }
    return out;
}

std::string DescribeWindows(DWORD pid) {
    Search search{pid, {}};
    EnumWindows(CollectVisibleTop, reinterpret_cast<LPARAM>(&search));
    std::string out;
    for (HWND top : search.found)
        out += DescribeWindow(top);
    return out.empty() ? "no visible window\n" : out;
}

const sim::api::PublishedCounters* SimCounters(DWORD pid) {
    const std::wstring name = sim::api::kCountersName + std::to_wstring(pid);
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping)
        return nullptr;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(sim::api::PublishedCounters));
    CloseHandle(mapping); // the view keeps the memory
    const auto* counters = static_cast<const sim::api::PublishedCounters*>(view);
    return counters && counters->size >= sizeof(sim::api::PublishedCounters) ? counters : nullptr;
}

} // namespace measure
