// SkinStatusBar's mouse input: on the bar and on the panel labels, routed to the nine events.
#include "controls/statusbar/skin_status_bar.h"

#include <commctrl.h>
#include <windowsx.h>

namespace statusbar {
namespace {

// Mouse buttons and shift keys numbered as the events pass them: 1 left, 2 right, 4 middle; 1 Shift,
// 2 Ctrl, 4 Alt.
std::int16_t ButtonsHeld(WPARAM keys) {
    return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                     ((keys & MK_MBUTTON) ? 4 : 0));
}
std::int16_t ButtonOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return 4;
    default:
        return 0;
    }
}
std::int16_t ShiftState(WPARAM keys) {
    return static_cast<std::int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                     (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}
bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}
bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

// Panel arguments are copied before an event is raised: a handler may change or remove the panels.
struct PanelArgs {
    std::int32_t index, left, top, bottom, width;
    std::wstring text, key;
};
PanelArgs ArgsOf(const tPanel& p) {
    return PanelArgs{p.Index, p.Left, p.Top, p.Bottom, static_cast<std::int32_t>(std::int64_t{p.Right} - p.Left),
                     p.Text,  p.Key};
}

} // namespace

// ---- mouse ---------------------------------------------------------------------------------------------

void SkinStatusBar::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    const float x = static_cast<float>(GET_X_LPARAM(lParam));
    const float y = static_cast<float>(GET_Y_LPARAM(lParam));
    const std::int16_t shift = ShiftState(wParam);
    const int p = panels_.PanelFromX(x);
    const PanelArgs args = p ? ArgsOf(panels_.At(p)) : PanelArgs{};

    if (msg == WM_LBUTTONDBLCLK) {
        // The second left press of a double-click: DblClick instead of a new press.
        SetCapture(hwnd_);
        clickPending_ = false;
        Raise(DblClick);
        return;
    }
    // A quick second right or middle press arrives as a double-click, but only the left button
    // double-clicks: it is a press like the first.
    if (IsButtonDown(msg) || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) {
        SetCapture(hwnd_);
        if (msg == WM_LBUTTONDOWN)
            clickPending_ = true;
        if (p)
            Raise(PanelClick, args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
        else
            Raise(MouseDown, ButtonOf(msg), shift, x, y);
        return;
    }
    if (msg == WM_MOUSEMOVE) {
        const std::int16_t buttons = ButtonsHeld(wParam);
        if (p)
            Raise(PanelMouseMove, buttons, shift, x, y, args.index, args.text, args.key);
        else
            Raise(MouseMove, buttons, shift, x, y);
        return;
    }
    if (IsButtonUp(msg)) {
        const bool click = msg == WM_LBUTTONUP && clickPending_;
        if (msg == WM_LBUTTONUP)
            clickPending_ = false;
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd_)
            ReleaseCapture();
        // A handler may destroy the bar: then nothing of it may be touched any more.
        if (!(p ? Raise(PanelMouseUp, ButtonOf(msg), shift, x, y, args.index, args.text, args.key)
                : Raise(MouseUp, ButtonOf(msg), shift, x, y)))
            return;
        RECT client{};
        GetClientRect(hwnd_, &client);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (click && PtInRect(&client, pt))
            Raise(Click);
    }
}

void SkinStatusBar::OnLabelMouse(HWND label, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int index = GetDlgCtrlID(label);
    if (!panels_.IsPanel(index))
        return;
    const PanelArgs args = ArgsOf(panels_.At(index));
    const float x = static_cast<float>(GET_X_LPARAM(lParam));
    const float y = static_cast<float>(GET_Y_LPARAM(lParam));
    const std::int16_t shift = ShiftState(wParam);
    switch (msg) {
    case WM_LBUTTONDOWN:
        // A press on a label raises nothing yet: its click comes when the button is released on it.
        SetCapture(label);
        labelPressed_ = label;
        return;
    case WM_LBUTTONDBLCLK:
        SetCapture(label);
        labelPressed_ = nullptr;
        Raise(PanelDblClick, args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
        return;
    case WM_MOUSEMOVE:
        Raise(PanelMouseMove, ButtonsHeld(wParam), shift, x, y, args.index, args.text, args.key);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        RECT r{};
        GetClientRect(label, &r);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const bool click = msg == WM_LBUTTONUP && labelPressed_ == label && PtInRect(&r, pt);
        if (msg == WM_LBUTTONUP)
            labelPressed_ = nullptr;
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == label)
            ReleaseCapture();
        if (!Raise(PanelMouseUp, ButtonOf(msg), shift, x, y, args.index, args.text, args.key))
            return; // the handler destroyed the bar
        // The label may be gone now (a handler can rebuild the panels): only copies are used below.
        if (click)
            Raise(PanelClick, args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
        return;
    }
    default:
        return;
    }
}

LRESULT CALLBACK SkinStatusBar::LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<SkinStatusBar*>(data);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            self->PaintLabel(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        self->PaintLabel(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        self->OnLabelMouse(hwnd, msg, wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &SkinStatusBar::LabelProc, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace statusbar
