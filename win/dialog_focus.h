// The keyboard focus of a top-level window with controls, kept as a dialog box keeps it. The
// control that had the focus when the window was deactivated gets it back when the window is
// activated again; one that can no longer take it (gone, disabled, hidden) hands it to the next tab
// stop after it; a window that has not had a focused control yet gives it to its first tab stop. So
// the keyboard is always on a control, never on the window itself, where keys do nothing.
#pragma once

#include <windows.h>

namespace win {

class DialogFocus {
public:
    // The window's WM_ACTIVATE and WM_SETFOCUS; true when the window is to answer 0 (a control got
    // the focus, which the default handling would put on the window itself). Activation remembers
    // the focused control on the way out and gives it back on the way in; the window's own focus
    // goes on to the control that should have it.
    bool HandleMessage(HWND window, UINT msg, WPARAM wParam);
    void Forget() { control_ = nullptr; }

private:
    bool OnActivate(HWND window, WPARAM wParam);
    bool Restore(HWND window);

    HWND control_ = nullptr;
};

} // namespace win
