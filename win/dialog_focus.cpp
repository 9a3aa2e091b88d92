#include "win/dialog_focus.h"

namespace win {
namespace {

bool CanTakeFocus(HWND control) {
    return IsWindowEnabled(control) && IsWindowVisible(control);
}

} // namespace

bool DialogFocus::HandleMessage(HWND window, UINT msg, WPARAM wParam) {
    if (msg == WM_ACTIVATE)
        return OnActivate(window, wParam);
    if (msg == WM_SETFOCUS) {
        Restore(window);
        return true;
    }
    return false;
}

bool DialogFocus::OnActivate(HWND window, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus))
            control_ = focus;
        return false;
    }
    // A minimised window keeps the focus on itself, as the default handling does.
    return !HIWORD(wParam) && Restore(window);
}

bool DialogFocus::Restore(HWND window) {
    HWND target = control_ && IsChild(window, control_) ? control_ : nullptr;
    // From the remembered control on (or, with none, from the start) to the next that can take it.
    if (!target || !CanTakeFocus(target))
        target = GetNextDlgTabItem(window, target, FALSE);
    if (!target || !CanTakeFocus(target))
        return false;
    SetFocus(target);
    return true;
}

} // namespace win
