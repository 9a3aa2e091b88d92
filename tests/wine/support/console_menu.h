// The console's context menu opened by real input (through the system's input queue): what it offered,
// recorded as it opens, and the window of every menu that ran (the edit box's own menu says no more than
// that it ended); then keys pressed inside it choose an item or close it. A menu that never said it
// opened is ended after a second, so a test never hangs on it.
#pragma once

#include "tests/wine/support/window_test.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Real key strokes: each key pressed and let go, all while hold is down (0: none).
inline void Press(const std::vector<WORD>& keys, WORD hold = 0) {
    std::vector<INPUT> in;
    const auto add = [&](WORD vk, DWORD flags) {
        in.push_back(INPUT{INPUT_KEYBOARD, {}});
        in.back().ki.wVk = vk;
        in.back().ki.dwFlags = flags;
    };
    if (hold)
        add(hold, 0);
    for (WORD vk : keys) {
        add(vk, 0);
        add(vk, KEYEVENTF_KEYUP);
    }
    if (hold)
        add(hold, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A real click of the right button at a point of the window's client area.
inline void RightClick(HWND hwnd, POINT at) {
    ClientToScreen(hwnd, &at);
    SetCursorPos(at.x, at.y);
    INPUT in[2] = {{INPUT_MOUSE, {}}, {INPUT_MOUSE, {}}};
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof(INPUT));
}

struct MenuSeen {
    std::vector<std::wstring> items; // each item's text, "-" for a separator, " (off)" after a disabled one
    std::vector<HWND> loops;         // the window of each menu that ran
};

namespace menu_detail {
inline MenuSeen* g_seen = nullptr;
inline std::vector<WORD> g_keys;
inline int g_ticks = 0;

// Every 50 ms, inside whatever menu loop runs: the keys once the menu was seen, else an end.
inline void CALLBACK InMenu(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)))
        return;
    if (!g_seen->items.empty() && !g_keys.empty())
        Press(std::exchange(g_keys, {}));
    else if (++g_ticks > 20)
        EndMenu();
}

inline LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_EXITMENULOOP)
        g_seen->loops.push_back(m->hwnd);
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP) {
        const auto menu = reinterpret_cast<HMENU>(m->wParam);
        for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            g_seen->items.push_back(state & MF_SEPARATOR ? L"-"
                                                         : text + std::wstring(state & MF_GRAYED ? L" (off)" : L""));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace menu_detail

// Gives the input, waits until the menu it opens has run (the keys pressed in it), and until the input
// is all handled: a second menu (the edit box's own, or one key opening two) shows in loops.
template <typename Input> MenuSeen OpenMenu(Input input, std::vector<WORD> keysInMenu = {VK_ESCAPE}) {
    MenuSeen seen;
    menu_detail::g_seen = &seen;
    menu_detail::g_keys = std::move(keysInMenu);
    menu_detail::g_ticks = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &menu_detail::Watch, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &menu_detail::InMenu);
    input();
    PumpUntil([&] { return !seen.loops.empty(); }, 5000);
    PumpUntil([] { return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & QS_INPUT) == 0; });
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    return seen;
}

} // namespace testsupport
