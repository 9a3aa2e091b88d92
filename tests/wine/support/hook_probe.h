// Whether the platform still has the window subclassed by the WindowHooks object of that id
// (GetWindowSubclass: MinGW's import library lacks it, comctl32 exports it as ordinal 411).
#pragma once

#include "controls/toolbar/window_hooks.h"

#include <commctrl.h>

namespace testsupport {

inline bool Hooked(HWND hwnd, UINT_PTR id) {
    using GetSubclass = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const auto get = reinterpret_cast<GetSubclass>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), MAKEINTRESOURCEA(411))));
    DWORD_PTR ref = 0;
    return get && get(hwnd, &toolbarskin::WindowHooks::HookProc, id, &ref);
}

} // namespace testsupport
