// SkinButton: creation, skins, pictures, the host's side of the properties, and message dispatch.
#include "controls/button/skin_button.h"

#include "controls/button/button_accessible.h"
#include "controls/button/button_messages.h"
#include "controls/button/gdi_picture.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"
#include "controls/host/control_error.h"
#include "controls/host/picture_win.h"
#include "win/dpi.h"
#include "win/notify.h"

#include <windowsx.h>

namespace skinbutton {
namespace {

constexpr wchar_t kClassName[] = L"ZevSkinButton";

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

} // namespace

SkinButton::SkinButton() : ButtonModel(static_cast<ButtonSite&>(*this)) {
    site_.AmbientChanged = [this](const std::wstring& name) { OnAmbientChanged(name); };
}

SkinButton::~SkinButton() {
    // The window goes first (the base would otherwise destroy it after our members are gone).
    DestroyUnbound();
    SelectSkinBitmap(nullptr);
    if (skinDc_)
        DeleteDC(skinDc_);
}

bool SkinButton::CreateWindowAt(HWND parent, int id, const RECT& rect) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    // No CS_DBLCLKS: two quick clicks are two clicks, not a click and a double-click.
    RegisterClassOnce(wc);
    dpi_ = win::DpiOf(parent);
    // Hidden until its properties are in place, so no half-set look ever shows.
    return win::Window::Create(kClassName, 0, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void SkinButton::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    dpi_ = dpi;
    fontValid_ = false;
    Paint(paintMode_);
}

bool SkinButton::Create(HWND parent, int id, const RECT& rect, const std::wstring& caption) {
    if (!CreateWindowAt(parent, id, rect))
        return false;
    InitNew();
    SetCaption(caption);
    ShowWindow(Hwnd(), SW_SHOWNA);
    return true;
}

bool SkinButton::Create(HWND parent, int id, const RECT& rect, const host::PropertyBag& saved) {
    if (!CreateWindowAt(parent, id, rect))
        return false;
    Load(saved);
    ShowWindow(Hwnd(), SW_SHOWNA);
    return true;
}

// ---- skins ----

void SkinButton::SelectSkinBitmap(HBITMAP bitmap, PictureRef holder) {
    if (bitmap && skinDc_ && bitmap == skinBitmap_) {
        skinPicture_ = std::move(holder); // already here (a bitmap cannot sit in two contexts at once)
        return;
    }
    // The new bitmap goes into a new context first ...
    HDC dc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    HGDIOBJ original = dc ? SelectObject(dc, bitmap) : nullptr;
    if (dc && (!original || original == HGDI_ERROR)) { // selected elsewhere: it cannot be selected here too
        DeleteDC(dc);
        dc = nullptr;
        original = nullptr;
    }
    // ... then the old context gives its bitmap back and goes; only after that may the old picture be
    // released (Windows will not delete a bitmap that is still selected).
    if (skinDc_) {
        if (skinDcOld_)
            SelectObject(skinDc_, skinDcOld_);
        DeleteDC(skinDc_);
    }
    skinDc_ = dc;
    skinDcOld_ = original;
    skinBitmap_ = dc ? bitmap : nullptr;
    skinPicture_ = dc ? std::move(holder) : nullptr;
}

void SkinButton::SelectBuiltInSkin(int skin) {
    HBITMAP bitmap = nullptr;
    if (skin >= 0 && skin < kBuiltInSkinCount) {
        // Decoded when first shown: a button shows one or two of the 22, most never. One that cannot
        // be loaded stays empty (no bitmap selected).
        win::Bitmap& slot = skins_[static_cast<std::size_t>(skin)];
        if (!slot)
            slot.Reset(static_cast<HBITMAP>(
                LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(kFirstSkinResource + skin), IMAGE_BITMAP, 0, 0, 0)));
        bitmap = slot.Get();
    }
    SelectSkinBitmap(bitmap);
}

void SkinButton::SelectCustomSkin(const PictureRef& picture) {
    SelectSkinBitmap(BitmapOf(picture), picture);
}

bool SkinButton::SkinPictureHeldElsewhere(const PictureRef& picture) {
    HBITMAP bitmap = BitmapOf(picture);
    if (!bitmap || (skinDc_ && bitmap == skinBitmap_))
        return false;
    // Selecting it for a moment is the one way to ask: it fails for a bitmap another context holds.
    HDC probe = CreateCompatibleDC(nullptr);
    if (!probe)
        return false;
    HGDIOBJ original = SelectObject(probe, bitmap);
    const bool held = !original || original == HGDI_ERROR;
    if (!held)
        SelectObject(probe, original);
    DeleteDC(probe);
    return held;
}

void SkinButton::SelectNoSkin() {
    SelectSkinBitmap(nullptr);
}

std::uint32_t SkinButton::GetSkinsColors(int lImgStateButton) const {
    if (!skinDc_)
        return CLR_INVALID;
    return GetPixel(skinDc_, lImgStateButton, SkinsColorsRow(lImgStateButton));
}

void SkinButton::SetControlFlatStyle(HWND lHwnd) {
    LONG_PTR style = GetWindowLongPtrW(lHwnd, GWL_EXSTYLE);
    style &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    style |= WS_EX_STATICEDGE;
    SetWindowLongPtrW(lHwnd, GWL_EXSTYLE, style);
    SetWindowPos(lHwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::int32_t SkinButton::SetTrans(HWND lHwnd, std::uint8_t lValue) {
    SetWindowLongPtrW(lHwnd, GWL_EXSTYLE, GetWindowLongPtrW(lHwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(lHwnd, 0, lValue, LWA_ALPHA);
    return 0;
}

// ---- pictures ----

host::ControlResult SkinButton::SetSkinCustomPicture(HBITMAP picture) {
    return SetSkinCustomPicture(GdiPicture::Borrow(picture));
}
HBITMAP SkinButton::SkinCustomPictureHandle() const {
    return BitmapOf(SkinCustomPicture());
}
void SkinButton::SetPictureTexture(HBITMAP picture) {
    SetPictureTexture(GdiPicture::Borrow(picture));
}
HBITMAP SkinButton::PictureTextureHandle() const {
    return BitmapOf(PictureTexture());
}

PictureRef SkinButton::MakePicture(const host::Picture& pixels) {
    if (pixels.IsNone())
        return nullptr;
    return GdiPicture::Own(host::BitmapFromPicture(pixels));
}

void SkinButton::FormatTextAdd(const std::wstring& sText, const TextRunOptions& options) {
    formatted_.Add(sText, Font(), options);
}

bool SkinButton::FormatTextAddPicture(const std::wstring& sPathPicture) {
    PictureRef picture = LoadPictureFile(sPathPicture);
    if (!picture) {
        win::ShowMessage(Hwnd(), kMsgPictureNotLoaded + sPathPicture, kMsgPictureNotLoadedTitle, MB_OK | MB_ICONERROR);
        return false;
    }
    formatted_.AddPicture(std::move(picture));
    return true;
}

// ---- the host's side of the properties ----

void SkinButton::SetWindowEnabled(bool enabled) {
    if (Hwnd() && (IsWindowEnabled(Hwnd()) != FALSE) != enabled)
        EnableWindow(Hwnd(), enabled);
}

void SkinButton::RaiseClick() {
    Raise(Click);
}

void SkinButton::CaptionChanged() {
    if (!Hwnd())
        return;
    // The window text is the caption, so WM_GETTEXT and anyone reading the window see it.
    settingText_ = true;
    SetWindowTextW(Hwnd(), Caption().c_str());
    settingText_ = false;
}

void SkinButton::FontChanged() {
    fontValid_ = false;
}

bool SkinButton::FontNameAccepted(const std::wstring& name) {
    if (name.empty() || name.size() >= LF_FACESIZE)
        return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    name.copy(lf.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &lf, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

void SkinButton::ShowMessage(const std::wstring& text, MessageIcon icon) {
    UINT flags = MB_OK;
    switch (icon) {
    case MessageIcon::Warning:
        flags |= MB_ICONEXCLAMATION;
        break;
    case MessageIcon::Information:
        flags |= MB_ICONINFORMATION;
        break;
    case MessageIcon::Error:
        flags |= MB_ICONERROR;
        break;
    }
    win::ShowMessage(Hwnd(), text, host::ApplicationTitle(), flags);
}

void SkinButton::Refresh() {
    Paint(paintMode_);
}

skinbutton::AccessibleFacts SkinButton::AccessibleFacts() const {
    skinbutton::AccessibleFacts facts;
    facts.enabled = Enabled();
    facts.pressed = paintMode_ == kPaintDown;
    facts.checked = IsChecked();
    facts.focused = Hwnd() && GetFocus() == Hwnd();
    facts.hot = mouseIn_;
    return facts;
}

// ---- messages ----

LRESULT SkinButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // An error in a handler of ours or of an event ends the handling of that message, silently (as a
    // mouse move's must): nothing may unwind through the window procedure into the system.
    try {
        return Dispatch(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT SkinButton::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        ResizeSurface();
        if (!Loading() && (DesignMode() || IsWindowVisible(Hwnd())))
            Paint(0);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !DesignMode())
            Paint(0);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Hwnd(), &ps);
        if (surface_)
            BitBlt(dc, 0, 0, surface_.Width(), surface_.Height(), surface_.Dc(), 0, 0, SRCCOPY);
        EndPaint(Hwnd(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (surface_)
            BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, surface_.Width(), surface_.Height(), surface_.Dc(), 0, 0,
                   SRCCOPY);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnMouseDown(1, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnMouseDown(2, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMouseDown(4, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnMouseUp(1, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnMouseUp(2, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnMouseUp(4, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Hwnd() && pressedButton_) {
            // Another window took the pointer mid-press: no click can come of it.
            pressedButton_ = 0;
            Paint(0);
        }
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        return 0;
    case WM_KEYUP:
        OnKeyUp(wParam);
        return 0;
    case WM_CHAR: {
        std::int16_t keyAscii = static_cast<std::int16_t>(wParam);
        Raise(KeyPress, keyAscii);
        return 0;
    }
    case WM_GETDLGCODE:
        // Arrow keys and characters come to the button (its KeyDown and focus moves); Tab stays the
        // dialog's, which moves the focus itself.
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_BUTTON;
    case WM_SETFOCUS:
        OnGotFocus();
        return 0;
    case WM_KILLFOCUS:
        OnLostFocus();
        return 0;
    case WM_TIMER:
        if (wParam == 1)
            OnHoverTick();
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = Default(msg, wParam, lParam);
        if (!settingText_ && result)
            SetCaption(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return result;
    }
    case WM_ENABLE:
        if ((wParam != 0) != Enabled())
            SetEnabled(wParam != 0);
        return 0;
    case BM_CLICK:
        ProcessClick(Activation::Message);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            if (const LRESULT served = ServeAccessibleObject(Hwnd(), wParam))
                return served;
        return Default(msg, wParam, lParam);
    case BM_GETCHECK:
        return IsChecked() ? BST_CHECKED : BST_UNCHECKED;
    case kPaintWarningMessage:
        ShowPaintWarning(wParam);
        return 0;
    case WM_DESTROY:
        KillTimer(Hwnd(), 1);
        hoverTimer_ = false;
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace skinbutton
