// SkinStatusBar: creation, life cycle, docking, properties, saved settings and messages.
#include "controls/statusbar/skin_status_bar.h"

#include "controls/host/diagnostic_run.h"
#include "controls/host/font_win.h"
#include "controls/statusbar/panel_label.h"
#include "controls/statusbar/saved_settings.h"
#include "controls/statusbar/skin_colours.h"
#include "controls/statusbar/skin_drawing.h"
#include "controls/statusbar/statusbar_ids.h"
#include "win/dpi.h"
#include "win/notify.h"
#include "win/subclass.h"
#include "win/units.h"

#include <commctrl.h>

#include <algorithm>

namespace statusbar {
namespace {

constexpr int kNewInstanceHeightTwips = 360;
constexpr int kAlignTop = 1;
constexpr int kAlignBottom = 2;

} // namespace

// ---- skin surface ---------------------------------------------------------------------------------

host::ControlResult SkinSurface::Select(HBITMAP bitmap) {
    const SIZE size = host::BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return host::MakeError(host::kErrInvalidPicture);
    if (dc_ && bitmap == bitmap_)
        return std::nullopt; // already here (a bitmap cannot sit in two DCs at once)
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return host::MakeError(host::kErrOutOfMemory);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (!old || old == HGDI_ERROR) { // e.g. a bitmap already selected into another DC
        DeleteDC(dc);
        return host::MakeError(host::kErrInvalidPicture);
    }
    Reset();
    dc_ = dc;
    old_ = old;
    bitmap_ = bitmap;
    width_ = size.cx;
    return std::nullopt;
}

void SkinSurface::Reset() {
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    old_ = nullptr;
    bitmap_ = nullptr;
    width_ = 0;
}

// ---- creation and life cycle ------------------------------------------------------------------------

SkinStatusBar::SkinStatusBar() = default;

SkinStatusBar::~SkinStatusBar() {
    if (hwnd_)
        DestroyWindow(hwnd_); // runs OnDestroy while the object is whole
}

bool SkinStatusBar::Create(HWND parent, int x, int y, int width, int height) {
    CreateArgs args;
    args.parent = parent;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    return Create(args);
}

bool SkinStatusBar::Create(const CreateArgs& args) {
    if (hwnd_ || !args.parent)
        return false;
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kClassName;
    RegisterClassOnce(wc);
    site_.SetUserMode(args.userMode);
    dpi_ = args.dpi > 0 ? args.dpi : win::DpiOf(args.parent);
    if (!win::Window::Create(kClassName, 0, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, args.x, args.y,
                             args.width, args.height, args.parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id))))
        return false;
    if (args.newInstance) {
        InitProperties();
    } else {
        const host::PropertyBag empty;
        ReadProperties(args.savedProperties ? *args.savedProperties : empty);
    }
    ShowWindow(hwnd_, SW_SHOWNA);
    return true;
}

bool SkinStatusBar::OnCreate() {
    panels_.Clear();
    imgSkins_.Reset(static_cast<HBITMAP>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(IDB_STATUSBAR_SKINS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    // The template label (element 0): never shown, the model every panel label is made from.
    SetTemplateFont(host::FontDesc{L"MS Sans Serif", 8.25});
    HWND templ = CreatePanelLabelWindow(hwnd_, 0, L"", templateFont_);
    labels_.assign(1, Label{templ, templateFont_, 0});
    OnSize();
    return templ != nullptr;
}

void SkinStatusBar::OnDestroy() {
    KillTimer(hwnd_, kToolTipTimer);
    balloon_.Destroy();
    if (dockParent_) {
        win::RemoveSubclass(dockParent_, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this));
        dockParent_ = nullptr;
    }
    hSkinDC_.Reset();
    back_.Destroy();
    panels_.Clear();
    labels_.clear(); // the label windows go with the bar
    txtToolTip_ = nullptr;
    labelPressed_ = nullptr;
    clickPending_ = false;
    firstShown_ = false;
}

void SkinStatusBar::InitProperties() {
    showBorderPanels_ = true;
    showBorderStatusBar_ = true;
    SetSkin(0);
    if (hwnd_) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, win::TwipsToPixels(kNewInstanceHeightTwips, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetAlign(kAlignBottom);
}

void SkinStatusBar::ReadProperties(const host::PropertyBag& bag) {
    const LoadedSettings s = ReadSavedSettings(bag);
    if (hwnd_)
        EnableWindow(hwnd_, s.Enabled);
    showBorderPanels_ = s.ShowBorderPanels;
    showBorderStatusBar_ = s.ShowBorderStatusBar;
    borderMode_ = s.BorderMode;
    if (!s.CustomSkin.IsNone())
        ApplySavedCustomSkin(s.CustomSkin);
    if (customSkin_.IsNone())
        SetSkin(s.Skin.value_or(bag.ReadLong(L"Skin", kSavedSkinDefault)));
    site_.MarkSaved();
}

void SkinStatusBar::WriteProperties(host::PropertyBag& bag) {
    SavedSettings s;
    s.Enabled = Enabled();
    s.Skin = skin_;
    s.ShowBorderPanels = showBorderPanels_;
    s.BorderMode = borderMode_;
    s.ShowBorderStatusBar = showBorderStatusBar_;
    s.CustomSkin = customSkin_.ToPicture();
    WriteSavedSettings(bag, s);
    site_.MarkSaved();
}

void SkinStatusBar::ApplySavedCustomSkin(const host::Picture& picture) {
    win::Bitmap bitmap = host::BitmapFromPicture(picture);
    if (!bitmap || SelectSkinBitmap(bitmap.Get()))
        return; // stays without a custom skin, so the built-in one is read instead
    customSkin_.SetOwned(std::move(bitmap));
    Refresh();
    site_.PropertyChanged(L"CustomSkin");
}

void SkinStatusBar::OnShown() {
    if (site_.UserMode()) {
        ZOrder(0);
        if (!firstShown_) {
            firstShown_ = true;
            const host::FontDesc font{L"MS Sans Serif", 8};
            controlFont_ = host::CreateFontFromDesc(font, dpi_);
            SetTemplateFont(font);
            ReleaseUnusedFonts();
            if (align_ != kAlignBottom)
                SetAlign(kAlignBottom);
        }
    }
    Refresh();
}

void SkinStatusBar::SetTemplateFont(const host::FontDesc& font) {
    templateDesc_ = font;
    host::FontDesc bold = font;
    bold.bold = true;
    fontPool_.push_back(host::CreateFontFromDesc(font, dpi_));
    templateFont_ = fontPool_.back().Get();
    fontPool_.push_back(host::CreateFontFromDesc(bold, dpi_));
    templateBoldFont_ = fontPool_.back().Get();
    if (!labels_.empty() && labels_[0].hwnd) {
        labels_[0].font = templateFont_;
        SendMessageW(labels_[0].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(templateFont_), FALSE);
    }
    if (txtToolTip_)
        SendMessageW(txtToolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(templateFont_), FALSE);
}

void SkinStatusBar::ReleaseUnusedFonts() {
    // Only once no window shows a font any more may it go: Windows would draw the label in the
    // system font with a deleted one.
    std::erase_if(fontPool_, [this](const win::Font& font) {
        const HFONT f = font.Get();
        return f != templateFont_ && f != templateBoldFont_ &&
               std::none_of(labels_.begin(), labels_.end(), [f](const Label& l) { return l.font == f; });
    });
}

void SkinStatusBar::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    const int old = dpi_;
    dpi_ = dpi;
    if (!hwnd_)
        return;
    if (controlFont_)
        controlFont_ = host::CreateFontFromDesc(host::FontDescFromHandle(controlFont_.Get(), old), dpi_);
    SetTemplateFont(templateDesc_);
    // The panels are added again, so each label takes the new font and its place in the new size;
    // the old fonts go after the labels that showed them.
    Rebuild(panels_.ScaledForDpi(old, dpi_));
    ReleaseUnusedFonts();
}

// ---- docking and z-order -------------------------------------------------------------------------

void SkinStatusBar::SetAlign(int align) {
    align_ = align;
    HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    if (dockParent_ && (align_ == 0 || dockParent_ != parent)) {
        win::RemoveSubclass(dockParent_, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this));
        dockParent_ = nullptr;
    }
    if (align_ != 0 && parent && !dockParent_ &&
        win::SetSubclass(parent, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this)))
        dockParent_ = parent;
    Dock();
}

void SkinStatusBar::Dock() {
    if (!hwnd_ || !dockParent_ || (align_ != kAlignBottom && align_ != kAlignTop))
        return;
    RECT parent{}, own{};
    GetClientRect(dockParent_, &parent);
    GetWindowRect(hwnd_, &own);
    const int height = own.bottom - own.top;
    const int y = align_ == kAlignBottom ? parent.bottom - height : 0;
    SetWindowPos(hwnd_, nullptr, 0, y, parent.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK SkinStatusBar::DockProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data) {
    const LRESULT result = win::DefSubclass(hwnd, msg, wParam, lParam);
    if (msg == WM_SIZE)
        reinterpret_cast<SkinStatusBar*>(data)->Dock();
    else if (msg == WM_NCDESTROY)
        win::RemoveSubclass(hwnd, &SkinStatusBar::DockProc, id);
    return result;
}

void SkinStatusBar::ZOrder(int position) {
    if (hwnd_)
        SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- properties --------------------------------------------------------------------------------------

host::ControlResult SkinStatusBar::SelectSkinBitmap(HBITMAP bitmap) {
    return hSkinDC_.Select(bitmap);
}

host::ControlResult SkinStatusBar::SetSkin(std::int32_t newValue) {
    skin_ = newValue;
    if (auto error = SelectSkinBitmap(imgSkins_.Get())) {
        error->source = L"Propiedad Skin";
        if (host::IsDiagnosticRun())
            win::ShowMessage(hwnd_, error->description, L"Error en la propiedad Skin.", MB_OK | MB_ICONERROR);
        return error;
    }
    // The built-in strip is selected now, so a custom bitmap can go.
    customSkin_.Clear();
    site_.PropertyChanged(L"CustomSkin");
    site_.PropertyChanged(L"Skin");
    Refresh();
    return std::nullopt;
}

host::ControlResult SkinStatusBar::SetCustomSkin(HBITMAP stdValue) {
    if (!stdValue) {
        const bool had = !customSkin_.IsNone();
        // Back to the built-in strip before the custom bitmap is let go: the caller may delete it.
        if (had && imgSkins_)
            SelectSkinBitmap(imgSkins_.Get());
        customSkin_.Clear();
        if (had)
            Refresh();
        site_.PropertyChanged(L"CustomSkin");
        return std::nullopt;
    }
    const SIZE size = host::BitmapSize(stdValue);
    if (size.cx < kTileWidth || size.cy < kTileHeight)
        return host::MakeError(host::kErrInvalidPicture, L"Propiedad CustomSkin");
    if (auto error = SelectSkinBitmap(stdValue)) {
        error->source = L"Propiedad CustomSkin";
        return error;
    }
    customSkin_.SetBorrowed(stdValue);
    Refresh();
    site_.PropertyChanged(L"CustomSkin");
    return std::nullopt;
}

void SkinStatusBar::SetShowBorderStatusBar(bool bvalue) {
    showBorderStatusBar_ = bvalue;
    site_.PropertyChanged(L"ShowBorderStatusBar");
    Refresh();
}

void SkinStatusBar::SetShowBorderPanels(bool bvalue) {
    showBorderPanels_ = bvalue;
    site_.PropertyChanged(L"ShowBorderPanels");
    Refresh();
}

void SkinStatusBar::SetBorderMode(std::int32_t lValue) {
    borderMode_ = lValue;
    site_.PropertyChanged(L"BorderMode");
    Refresh();
}

bool SkinStatusBar::Enabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void SkinStatusBar::SetEnabled(bool bvalue) {
    if (hwnd_)
        EnableWindow(hwnd_, bvalue);
    site_.PropertyChanged(L"Enabled");
}

// ---- messages ----------------------------------------------------------------------------------------

LRESULT SkinStatusBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShown();
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        if (dc)
            Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kToolTipTimer) {
            balloon_.Hide();
            KillTimer(hwnd_, kToolTipTimer);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        OnMouse(msg, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        clickPending_ = false;
        return 0;
    default:
        break;
    }
    return Default(msg, wParam, lParam);
}

} // namespace statusbar
