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
    // WM_ACTIVATE of the window: remembers on deactivation, gives the focus back on activation. True
    // when a control got the focus: the window then answers 0, so that the default handling does not
    // put the focus on the window itself.
    bool OnActivate(HWND window, WPARAM wParam);
    // WM_SETFOCUS of the window itself: the focus goes on to the control that should have it.
    bool Restore(HWND window);
    void Forget() { control_ = nullptr; }

private:
    HWND control_ = nullptr;
};

} // namespace win
