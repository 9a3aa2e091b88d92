// SkinButton interaction: pointer tracking and the hover-leave poll, mouse and keyboard input, focus,
// click processing with check and option behaviour, and the events in their order.
#include "controls/button/skin_button.h"

#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"

#include <vector>

namespace skinbutton {
namespace {

constexpr UINT_PTR kHoverTimer = 1;

// The host's masks: mouse buttons 1 left, 2 right, 4 middle; modifiers 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ButtonMask(WPARAM keys) {
    return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                     ((keys & MK_MBUTTON) ? 4 : 0));
}
std::int16_t ShiftMask() {
    return static_cast<std::int16_t>(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                                     ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

} // namespace

bool SkinButton::PointerOver() const {
    POINT p{};
    if (!GetCursorPos(&p))
        return false;
    // The topmost window under the pointer: a window covering the button, or a child inside it, is not it.
    return WindowFromPoint(p) == Hwnd();
}

void SkinButton::OnMouseMove(WPARAM keys, int x, int y) {
    std::int16_t button = ButtonMask(keys), shift = ShiftMask();
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (!Raise(MouseMove, button, shift, fx, fy))
        return;
    if (button >= 2)
        return;
    const bool over = PointerOver();
    if (over && button == 0 && !mouseIn_) {
        // The pointer has just come in: poll for it leaving, show the hot look, then tell.
        hoverTimer_ = SetTimer(Hwnd(), kHoverTimer, 1, nullptr) != 0;
        mouseIn_ = true;
        Paint(kPaintUp);
        Raise(MouseOver);
    } else if (over && button == 1) {
        Paint(kPaintDown);
        mouseIn_ = false;
    } else if (!over) {
        Paint(kPaintUp);
    }
}

void SkinButton::OnHoverTick() {
    if (PointerOver())
        return;
    if (!Raise(MouseOut))
        return;
    KillTimer(Hwnd(), kHoverTimer);
    hoverTimer_ = false;
    mouseIn_ = false;
    Paint(kPaintUp);
}

void SkinButton::OnMouseDown(std::int16_t which, WPARAM, int x, int y) {
    // Like any button, a press takes the focus and keeps the pointer until it is released.
    if (GetFocus() != Hwnd())
        SetFocus(Hwnd());
    if (!Hwnd())
        return;
    if (!pressedButton_) {
        pressedButton_ = which;
        SetCapture(Hwnd());
    }
    std::int16_t button = which, shift = ShiftMask();
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (!Raise(MouseDown, button, shift, fx, fy))
        return;
    mouseButton_ = button;
    if (button != 2)
        Paint(kPaintDown);
}

void SkinButton::OnMouseUp(std::int16_t which, WPARAM, int x, int y) {
    const bool clicked =
        pressedButton_ == which && x >= 0 && y >= 0 && surface_ && x < surface_.Width() && y < surface_.Height();
    const bool ours = pressedButton_ == which;
    if (ours)
        pressedButton_ = 0;
    std::int16_t button = which, shift = ShiftMask();
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (!Raise(MouseUp, button, shift, fx, fy))
        return;
    if (button != 2)
        Paint(kPaintUp);
    if (ours && GetCapture() == Hwnd())
        ReleaseCapture();
    // The host's click: a press and a release of the same button, both over the button.
    if (clicked)
        ProcessClick(Activation::Mouse);
}

void SkinButton::ProcessClick(Activation how) {
    // A click comes from a left-button press, a Space press or BM_CLICK, and never on a disabled button.
    if ((how == Activation::Mouse && mouseButton_ != 1) || !Enabled() || !IsWindowEnabled(Hwnd()))
        return;
    if (ButtonType() == kCheckButton)
        StoreValue(!Value());
    if (ButtonType() == kOptionButton) {
        // The group: the option buttons that share this button's container window. Each checked one
        // is cleared through its Value property, which raises its own Click.
        const HWND container = GetParent(Hwnd());
        std::vector<HWND> group;
        for (HWND w = container ? GetWindow(container, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
            if (w != Hwnd())
                group.push_back(w);
        const std::weak_ptr<int> alive = alive_;
        for (HWND w : group) {
            auto* other = dynamic_cast<SkinButton*>(win::Window::FromHwnd(w));
            if (other && GetParent(w) == container && other->ButtonType() == kOptionButton && other->Value())
                other->SetValue(false);
            if (alive.expired() || !Hwnd())
                return;
        }
        if (!Value())
            StoreValue(true);
    }
    Paint(kPaintUp);
    const HWND self = Hwnd();
    const HWND parent = GetParent(self);
    const int id = GetDlgCtrlID(self);
    if (!Raise(Click))
        return;
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(self));
}

void SkinButton::MoveFocus(bool backward) {
    HWND root = GetAncestor(Hwnd(), GA_ROOT);
    HWND next = root ? GetNextDlgTabItem(root, Hwnd(), backward) : nullptr;
    if (next && next != Hwnd())
        SetFocus(next);
}

void SkinButton::OnKeyDown(WPARAM key, LPARAM flags) {
    if (key == VK_TAB) {
        // Without a dialog manager in the parent's loop, the button moves the focus itself.
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return;
    }
    std::int16_t keyCode = static_cast<std::int16_t>(key), shift = ShiftMask();
    if (!Raise(KeyDown, keyCode, shift))
        return;
    keyCode_ = keyCode;
    switch (keyCode) {
    case VK_SPACE:
        // Pressed look now, the click when Space comes up (a held key repeats nothing).
        if (!(flags & (1 << 30)) && Enabled()) {
            spaceDown_ = true;
            Paint(kPaintDown);
        }
        break;
    case VK_LEFT:
    case VK_UP:
        MoveFocus(true);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        MoveFocus(false);
        break;
    default:
        break;
    }
}

void SkinButton::OnKeyUp(WPARAM key) {
    std::int16_t keyCode = static_cast<std::int16_t>(key), shift = ShiftMask();
    if (!Raise(KeyUp, keyCode, shift))
        return;
    if (keyCode == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        ProcessClick(Activation::Keyboard);
    }
}

void SkinButton::OnGotFocus() {
    Paint(paintMode_);
    if (paintMode_ != kPaintUp || !surface_)
        return;
    // Drawn once, now: the next repaint clears it.
    RECT r{0, 0, surface_.Width(), surface_.Height()};
    DrawFocusRect(surface_.Dc(), &r);
    Present();
}

void SkinButton::OnLostFocus() {
    if (spaceDown_) {
        // Space went down here but will come up elsewhere: no click.
        spaceDown_ = false;
        paintMode_ = kPaintUp;
    }
    Paint(paintMode_);
}

void SkinButton::OnAmbientChanged(const std::wstring& name) {
    if (name != L"BackColor")
        return;
    if (UseBackColorContainer()) {
        Paint(kPaintUp);
    } else if (Skin() == kSkinLink) {
        // The link style shows the container: follow its new colour.
        SetSurfaceBackColor(site_.Ambient().BackColor);
        DrawCaption(kCaptionNormal);
    }
}

} // namespace skinbutton
