#include "bench/win/process_windows.h"

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

} // namespace measure
