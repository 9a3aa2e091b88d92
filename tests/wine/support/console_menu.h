// The console's context menu opened by real input (the mouse's right button or keys, through the
// system's input queue): what it offered, and for which window, recorded as it opens; then the keys
// pressed inside it (Escape by default) choose an item or close it.
#pragma once

#include "tests/wine/support/window_test.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct MenuSeen {
    HWND owner = nullptr;            // the window the menu was opened for
    std::vector<std::wstring> items; // each item's text, "-" for a separator, " (off)" after a disabled one
    int opened = 0;
    // The window of every menu that ran: the edit box's own menu says no more than that it ended.
    std::vector<HWND> loops;
};

namespace menu_detail {
inline MenuSeen* g_seen = nullptr;
inline std::vector<WORD> g_keys;
inline HHOOK g_hook = nullptr;

inline void Press(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    for (WORD vk : keys)
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = vk;
            i.ki.dwFlags = up;
            in.push_back(i);
        }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline int g_ticks = 0;
// Every 50 ms, inside whatever menu loop runs: once the menu was seen, the keys are pressed in it; a
// menu that never said it opened (one not ours) is ended after a second, so a test never hangs on it.
inline void CALLBACK InMenu(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)))
        return;
    if (g_seen && g_seen->opened > 0 && !g_keys.empty())
        Press(std::exchange(g_keys, {}));
    else if (++g_ticks > 20)
        EndMenu();
}

inline LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_EXITMENULOOP && g_seen)
        g_seen->loops.push_back(m->hwnd);
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP && g_seen) {
        const auto menu = reinterpret_cast<HMENU>(m->wParam);
        g_seen->owner = m->hwnd;
        g_seen->items.clear();
        ++g_seen->opened;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            g_seen->items.push_back(state & MF_SEPARATOR ? std::wstring(L"-")
                                                         : text + std::wstring(state & MF_GRAYED ? L" (off)" : L""));
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}
} // namespace menu_detail

// Real input: the right button clicked at a point of the window's client area, or keys pressed (the
// first held while the others are pressed and let go: {VK_SHIFT, VK_F10}).
inline void RightClick(HWND hwnd, POINT at) {
    ClientToScreen(hwnd, &at);
    SetCursorPos(at.x, at.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof(INPUT));
}
inline void Chord(WORD hold, WORD key) {
    INPUT in[4]{};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = hold;
    in[1].ki.wVk = in[2].ki.wVk = key;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(hold ? 4 : 2, hold ? in : in + 1, sizeof(INPUT));
}

// Gives the input, waits for the menu to open and close again (after the keys inside it).
template <typename Input> MenuSeen OpenMenu(Input input, std::vector<WORD> keysInMenu = {VK_ESCAPE}) {
    MenuSeen seen;
    menu_detail::g_seen = &seen;
    menu_detail::g_keys = std::move(keysInMenu);
    menu_detail::g_ticks = 0;
    menu_detail::g_hook = SetWindowsHookExW(WH_CALLWNDPROC, &menu_detail::Watch, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &menu_detail::InMenu);
    input();
    // Closed again: the menu's loop has returned when this pump runs on. The input that opened it is
    // then all handled too, so a second menu (the edit box's own, or one key opening two) shows here.
    PumpUntil([&] { return !seen.loops.empty(); }, 5000);
    PumpUntil([] { return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & QS_INPUT) == 0; });
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(menu_detail::g_hook);
    menu_detail::g_seen = nullptr;
    return seen;
}

} // namespace testsupport
