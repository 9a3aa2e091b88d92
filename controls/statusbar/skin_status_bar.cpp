#include "controls/statusbar/skin_status_bar.h"

#include "controls/host/diagnostic_run.h"
#include "controls/host/font_win.h"
#include "controls/statusbar/panel_label.h"
#include "controls/statusbar/saved_settings.h"
#include "controls/statusbar/skin_colours.h"
#include "controls/statusbar/skin_drawing.h"
#include "controls/statusbar/statusbar_ids.h"
#include "win/colour.h"
#include "win/notify.h"
#include "win/units.h"

#include <commctrl.h>
#include <windowsx.h>

namespace statusbar {
namespace {

constexpr int kNewInstanceHeightTwips = 360;
constexpr int kAlignTop = 1;
constexpr int kAlignBottom = 2;
constexpr UINT_PTR kLabelSubclassId = 1;

const wchar_t kToolTipDiagnosticText[] =
    L"El toolTip solo funciona cuando se encuentra el programa compilado y con un archivo manifest junto al "
    L"ejecutable. También se debe hace runa llamada a InitCommonControls en el SubMain o punto de inicio del "
    L"programa. Si es desde un formulario debe ser en el evento Initialize, no desde el Load";

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

COLORREF BackgroundColour() {
    return GetSysColor(COLOR_BTNFACE);
}

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
    // The anchor of the balloon tip: a small text box above the bar whose bottom 2 pixels touch it.
    txtToolTip_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_LEFT, 0, 2 - 13, 5, 13, hwnd_, nullptr,
                                  win::ThisModule(), nullptr);
    if (txtToolTip_)
        SendMessageW(txtToolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(templateFont_), FALSE);
    balloon_.Create(hwnd_);
    OnSize();
    return templ != nullptr;
}

void SkinStatusBar::OnDestroy() {
    KillTimer(hwnd_, kToolTipTimer);
    balloon_.Destroy();
    if (dockParent_) {
        RemoveWindowSubclass(dockParent_, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this));
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
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, win::TwipsToPixels(kNewInstanceHeightTwips),
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
            controlFont_ = host::CreateFontFromDesc(font);
            SetTemplateFont(font);
            if (align_ != kAlignBottom)
                SetAlign(kAlignBottom);
        }
    }
    Refresh();
}

void SkinStatusBar::SetTemplateFont(const host::FontDesc& font) {
    host::FontDesc bold = font;
    bold.bold = true;
    fontPool_.push_back(host::CreateFontFromDesc(font));
    templateFont_ = fontPool_.back().Get();
    fontPool_.push_back(host::CreateFontFromDesc(bold));
    templateBoldFont_ = fontPool_.back().Get();
    if (!labels_.empty() && labels_[0].hwnd) {
        labels_[0].font = templateFont_;
        SendMessageW(labels_[0].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(templateFont_), FALSE);
    }
}

// ---- docking and z-order -------------------------------------------------------------------------

void SkinStatusBar::SetAlign(int align) {
    align_ = align;
    HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    if (dockParent_ && (align_ == 0 || dockParent_ != parent)) {
        RemoveWindowSubclass(dockParent_, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this));
        dockParent_ = nullptr;
    }
    if (align_ != 0 && parent && !dockParent_ &&
        SetWindowSubclass(parent, &SkinStatusBar::DockProc, reinterpret_cast<UINT_PTR>(this),
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
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_SIZE)
        reinterpret_cast<SkinStatusBar*>(data)->Dock();
    else if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &SkinStatusBar::DockProc, id);
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

// ---- colours -------------------------------------------------------------------------------------------

int SkinStatusBar::TileX() const {
    return TileOffset(skin_, !customSkin_.IsNone(), hSkinDC_.Width());
}

std::int32_t SkinStatusBar::GetSkinsColors(std::int32_t lImgStateButton) const {
    if (!hSkinDC_)
        return 0;
    COLORREF c = CLR_INVALID;
    if (lImgStateButton == kFrameColourSelector)
        c = GetPixel(hSkinDC_.Dc(), TileX() + kFrameX, kFrameY);
    else if (lImgStateButton == kFillColourSelector)
        c = GetPixel(hSkinDC_.Dc(), TileX() + kFillX, kFillY);
    return c == CLR_INVALID ? 0 : static_cast<std::int32_t>(c);
}

std::int32_t SkinStatusBar::GetForeColorText() const {
    return static_cast<std::int32_t>(SkinTextColour(skin_, static_cast<std::uint32_t>(GetSkinsColors(60))));
}

COLORREF SkinStatusBar::GetPanelBorderColor() const {
    return SkinPanelBorderColour(skin_, static_cast<std::uint32_t>(GetSkinsColors(60)),
                                 static_cast<std::uint32_t>(GetSkinsColors(70)));
}

std::int32_t SkinStatusBar::BlendColor(std::int32_t colourA, std::int32_t colourB, int weight) {
    return static_cast<std::int32_t>(BlendRgb(win::ToColorRef(static_cast<std::uint32_t>(colourA)),
                                              win::ToColorRef(static_cast<std::uint32_t>(colourB)), weight));
}

bool SkinStatusBar::SetProgressBarColor(HWND lHwnd, std::int32_t lBackcolor, std::int32_t lProgressColor) {
    if (!IsWindow(lHwnd))
        return false;
    // -1 asks for the bar's own default colour; system colour numbers are translated first.
    auto colour = [](std::int32_t c) -> LPARAM {
        return c == kDefaultColour ? static_cast<LPARAM>(CLR_DEFAULT)
                                   : static_cast<LPARAM>(win::ToColorRef(static_cast<std::uint32_t>(c)));
    };
    SendMessageW(lHwnd, 0x409, 0, colour(lProgressColor)); // PBM_SETBARCOLOR
    SendMessageW(lHwnd, 0x2001, 0, colour(lBackcolor));    // PBM_SETBKCOLOR
    return false;
}

// ---- drawing -------------------------------------------------------------------------------------------

void SkinStatusBar::DrawSkin(int x1, int y1, int x2, int y2) {
    if (!hwnd_)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int w = x2 != 0 ? x2 : client.right;
    const int h = y2 != 0 ? y2 : client.bottom;
    const CopyResult r = DrawSkinTile(back_.Dc(), x1, y1, w, h, hSkinDC_.Dc(), TileX());
    if (r == CopyResult::CopyFailed && host::IsDiagnosticRun())
        win::ShowMessage(hwnd_, L"Error en el procedimiento DrawSkin", host::ApplicationTitle(), MB_OK | MB_ICONERROR);
}

void SkinStatusBar::DrawSkin(HWND pObject, int x1, int y1) {
    if (!IsWindow(pObject))
        return;
    RECT client{};
    GetClientRect(pObject, &client);
    win::WindowDc dc(pObject);
    if (!dc.Get())
        return;
    auto classBrush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(pObject, GCLP_HBRBACKGROUND));
    FillRect(dc.Get(), &client, classBrush ? classBrush : GetSysColorBrush(COLOR_BTNFACE)); // Cls
    const CopyResult r = DrawSkinTile(dc.Get(), x1, y1, client.right, client.bottom, hSkinDC_.Dc(), TileX());
    if (r == CopyResult::CopyFailed && host::IsDiagnosticRun())
        win::ShowMessage(hwnd_, L"Error en el procedimiento DrawSkin", host::ApplicationTitle(), MB_OK | MB_ICONERROR);
}

void SkinStatusBar::DrawBackground() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    win::Brush background(CreateSolidBrush(BackgroundColour()));
    FillRect(back_.Dc(), &client, background.Get());
    // With the bar's border the tile's top frame line shows along the top edge; its side and bottom
    // lines fall outside. Without it, all four fall outside.
    if (showBorderStatusBar_)
        DrawSkin(-3, 0, client.right + 6, client.bottom + 1);
    else
        DrawSkin(-3, -3, client.right + 6, client.bottom + 6);
}

void SkinStatusBar::DrawPanel(int i, std::int32_t back, std::int32_t border) {
    if (i < 1 || !panels_.IsPanel(i) || !showBorderPanels_ || !back_)
        return;
    const COLORREF pen =
        border != kDefaultColour ? win::ToColorRef(static_cast<std::uint32_t>(border)) : GetPanelBorderColor();
    DrawPanelBox(back_.Dc(), panels_.At(i), back, pen, borderMode_);
}

void SkinStatusBar::ApplyLabelForeColor(int i) {
    if (i < 1 || i >= static_cast<int>(labels_.size()) || !panels_.IsPanel(i))
        return;
    const std::int32_t fore = panels_.At(i).ForeColor;
    labels_[static_cast<std::size_t>(i)].colour = fore != kDefaultColour
                                                      ? win::ToColorRef(static_cast<std::uint32_t>(fore))
                                                      : static_cast<COLORREF>(GetForeColorText());
    InvalidateRect(labels_[static_cast<std::size_t>(i)].hwnd, nullptr, FALSE);
}

void SkinStatusBar::Refresh() {
    // Nothing to show before the first skin or while the bar has no area.
    if (!hwnd_ || !hSkinDC_ || !back_)
        return;
    DrawBackground();
    for (int i = 1; i <= panels_.Count(); ++i) {
        DrawPanel(i, panels_.At(i).BackColor, panels_.At(i).BorderColor);
        ApplyLabelForeColor(i);
    }
    ShowBackBuffer();
}

void SkinStatusBar::ShowBackBuffer() {
    if (hwnd_)
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void SkinStatusBar::OnSize() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        back_.Destroy();
        return;
    }
    if (back_.Width() != client.right || back_.Height() != client.bottom) {
        back_.Create(nullptr, client.right, client.bottom);
        if (back_) {
            win::Brush background(CreateSolidBrush(BackgroundColour()));
            FillRect(back_.Dc(), &client, background.Get());
        }
    }
    Refresh();
}

void SkinStatusBar::Paint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (back_) {
        BitBlt(dc, 0, 0, client.right, client.bottom, back_.Dc(), 0, 0, SRCCOPY);
    } else {
        win::Brush background(CreateSolidBrush(BackgroundColour()));
        FillRect(dc, &client, background.Get());
    }
}

void SkinStatusBar::PaintLabel(HWND label, HDC dc) {
    RECT r{};
    GetClientRect(label, &r);
    POINT origin{0, 0};
    MapWindowPoints(label, hwnd_, &origin, 1);
    if (back_)
        BitBlt(dc, 0, 0, r.right, r.bottom, back_.Dc(), origin.x, origin.y, SRCCOPY);
    for (const Label& l : labels_)
        if (l.hwnd == label)
            DrawLabelText(label, dc, l.font, l.colour);
}

// ---- panels --------------------------------------------------------------------------------------------

void SkinStatusBar::AddPanel(const std::wstring& sText, const std::wstring& sKey, std::int32_t lWidth,
                             std::int32_t lForeColor, std::int32_t lBackColorPanel, std::int32_t lBorderColorPanel,
                             bool bBold) {
    if (!hwnd_)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const PanelSpec spec{sText, sKey, lWidth, lForeColor, lBackColorPanel, lBorderColorPanel, bBold};
    if (auto error = panels_.Add(spec, client.bottom)) {
        win::ShowMessage(hwnd_, error->description, L"Error en AddPanel", MB_OK);
        return;
    }
    const int n = panels_.Count();
    DrawPanel(n, lBackColorPanel, lBorderColorPanel);
    if (!CreatePanelLabel(n)) {
        // No panel without its label: the table would no longer match the labels.
        panels_.RemoveLast();
        Refresh();
        win::ShowMessage(hwnd_, host::ErrorDescription(host::kErrOutOfMemory), L"Error en AddPanel", MB_OK);
    }
}

bool SkinStatusBar::CreatePanelLabel(int i) {
    if (panels_.Count() == 0 || !panels_.IsPanel(i) || static_cast<int>(labels_.size()) != i)
        return false;
    const tPanel& p = panels_.At(i);
    HFONT font = p.Bold ? templateBoldFont_ : templateFont_;
    HWND label = CreatePanelLabelWindow(hwnd_, p.Index, p.Text, font);
    if (!label)
        return false;
    SetWindowSubclass(label, &SkinStatusBar::LabelProc, kLabelSubclassId, reinterpret_cast<DWORD_PTR>(this));
    labels_.push_back(Label{label, font, 0});
    ApplyLabelForeColor(i);
    const SIZE size = MeasureLabelText(label, font, p.Text);
    SetWindowPos(label, nullptr, LabelLeft(p), LabelTop(p, size.cy), LabelRoom(p), size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(label, SW_SHOWNA);
    ShowBackBuffer();
    return true;
}

void SkinStatusBar::ChangeTextPanel(const std::wstring& sText, std::int32_t lIndex) {
    if (!panels_.IsPanel(lIndex) || lIndex >= static_cast<std::int32_t>(labels_.size())) {
        if (host::IsDiagnosticRun()) {
            const auto error = host::MakeError(host::kErrSubscriptOutOfRange, L"ChangeTextPanel");
            win::ShowMessage(hwnd_, error.description, L"Error: " + std::to_wstring(error.number),
                             MB_OK | MB_ICONERROR);
        }
        return;
    }
    tPanel& p = panels_.At(lIndex);
    p.Text = sText;
    const Label& label = labels_[static_cast<std::size_t>(lIndex)];
    SetWindowTextW(label.hwnd, sText.c_str());
    // The label takes the size of its text, but never more than its panel's room.
    const SIZE size = MeasureLabelText(label.hwnd, label.font, sText);
    const int width = std::min<int>(size.cx, LabelRoom(p));
    SetWindowPos(label.hwnd, nullptr, 0, 0, width, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label.hwnd, nullptr, FALSE);
}

void SkinStatusBar::UnloadPanelLabels() {
    for (std::size_t i = 1; i < labels_.size(); ++i) {
        if (labels_[i].hwnd == labelPressed_)
            labelPressed_ = nullptr;
        if (GetCapture() == labels_[i].hwnd)
            ReleaseCapture();
        DestroyWindow(labels_[i].hwnd);
    }
    if (!labels_.empty())
        labels_.resize(1);
}

void SkinStatusBar::Rebuild(const std::vector<PanelSpec>& kept) {
    UnloadPanelLabels();
    panels_.Clear();
    Refresh();
    for (const PanelSpec& s : kept)
        AddPanel(s.text, s.key, s.width, s.foreColor, s.backColor, kDefaultColour, false);
}

bool SkinStatusBar::ClearPanelByIndex(std::int32_t lIndex) {
    if (lIndex > panels_.Count() || lIndex < 1)
        return false;
    Rebuild(panels_.KeptWithoutIndex(lIndex));
    return true;
}

bool SkinStatusBar::ClearPanelByKey(const std::wstring& sKey) {
    if (sKey.empty() || panels_.Count() == 0)
        return false;
    Rebuild(panels_.KeptWithoutKey(sKey));
    return true;
}

void SkinStatusBar::ClearPanels() {
    panels_.Clear();
    UnloadPanelLabels();
    Refresh();
}

std::int32_t SkinStatusBar::GetPanelLeft(std::int32_t i) const {
    return panels_.GetLeft(i);
}
std::int32_t SkinStatusBar::GetPanelWidth(std::int32_t i) const {
    return panels_.GetWidth(i);
}
std::int32_t SkinStatusBar::GetPanelHeight(std::int32_t i) const {
    return panels_.GetHeight(i);
}
std::int32_t SkinStatusBar::GetPanelTop(std::int32_t i) const {
    return panels_.GetTop(i);
}

HWND SkinStatusBar::PanelLabel(int index) const {
    return index >= 0 && index < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(index)].hwnd
                                                                  : nullptr;
}

COLORREF SkinStatusBar::PanelLabelColour(int index) const {
    return index >= 0 && index < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(index)].colour
                                                                  : CLR_INVALID;
}

bool SkinStatusBar::SetControlPanel(HWND xCtrl, std::int32_t lIndexPanel, std::int32_t lTop, std::int32_t lLeft,
                                    std::int32_t lWidth, std::int32_t lHeight, bool bAutoSize) {
    if (!hwnd_ || !panels_.IsPanel(lIndexPanel))
        return false;
    // A window that is the bar or holds it cannot become its child.
    if (!IsWindow(xCtrl) || xCtrl == hwnd_ || IsChild(xCtrl, hwnd_))
        return false;
    const bool reparented = SetParent(xCtrl, hwnd_) != nullptr;
    const tPanel& p = panels_.At(lIndexPanel);
    Placement place;
    if (bAutoSize) {
        if (!reparented)
            return false;
        place = AutoPlacement(p);
    } else {
        RECT r{};
        GetWindowRect(xCtrl, &r);
        place = ManualPlacement(p, lTop, lLeft, lWidth, lHeight, r.right - r.left, r.bottom - r.top);
    }
    return MoveWindow(xCtrl, place.x, place.y, place.width, place.height, TRUE) != 0;
}

// ---- balloon tip ----------------------------------------------------------------------------------------

bool SkinStatusBar::ShowToolTipPanel(const std::wstring& sTextTooltip, const std::wstring& sTitle,
                                     std::int16_t lIndexPanel, std::int16_t Duration, std::int32_t TICON) {
    if (host::IsDiagnosticRun()) {
        win::ShowMessage(hwnd_, kToolTipDiagnosticText, host::ApplicationTitle(), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (!hwnd_ || panels_.Count() < 1 || lIndexPanel > panels_.Count() || lIndexPanel < 0)
        return false;
    // A tip still waiting to be hidden must not be hidden by the old timer.
    KillTimer(hwnd_, kToolTipTimer);
    RECT anchor{};
    GetWindowRect(txtToolTip_, &anchor);
    const int anchorHeight = anchor.bottom - anchor.top;
    const int left = panels_.At(lIndexPanel).Left;
    SetWindowPos(txtToolTip_, nullptr, left, 2 - anchorHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The stem points at the anchor's bottom edge, where it meets the panel's top edge.
    POINT stem{left + 2, 2};
    ClientToScreen(hwnd_, &stem);
    if (!balloon_.Show(sTitle, sTextTooltip, TICON, stem))
        return false;
    if (Duration > 0)
        SetTimer(hwnd_, kToolTipTimer, static_cast<UINT>(Duration), nullptr);
    return true;
}

// ---- mouse ---------------------------------------------------------------------------------------------

void SkinStatusBar::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    const float x = static_cast<float>(GET_X_LPARAM(lParam));
    const float y = static_cast<float>(GET_Y_LPARAM(lParam));
    const std::int16_t shift = ShiftState(wParam);
    const int p = panels_.PanelFromX(x);
    const PanelArgs args = p ? ArgsOf(panels_.At(p)) : PanelArgs{};

    if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) {
        // The second press of a double-click: DblClick instead of a new press.
        SetCapture(hwnd_);
        clickPending_ = false;
        if (msg == WM_LBUTTONDBLCLK && DblClick)
            DblClick();
        return;
    }
    if (IsButtonDown(msg)) {
        SetCapture(hwnd_);
        if (msg == WM_LBUTTONDOWN)
            clickPending_ = true;
        if (p) {
            if (PanelClick)
                PanelClick(args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
        } else if (MouseDown) {
            MouseDown(ButtonOf(msg), shift, x, y);
        }
        return;
    }
    if (msg == WM_MOUSEMOVE) {
        const std::int16_t buttons = ButtonsHeld(wParam);
        if (p) {
            if (PanelMouseMove)
                PanelMouseMove(buttons, shift, x, y, args.index, args.text, args.key);
        } else if (MouseMove) {
            MouseMove(buttons, shift, x, y);
        }
        return;
    }
    if (IsButtonUp(msg)) {
        const bool click = msg == WM_LBUTTONUP && clickPending_;
        if (msg == WM_LBUTTONUP)
            clickPending_ = false;
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd_)
            ReleaseCapture();
        if (p) {
            if (PanelMouseUp)
                PanelMouseUp(ButtonOf(msg), shift, x, y, args.index, args.text, args.key);
        } else if (MouseUp) {
            MouseUp(ButtonOf(msg), shift, x, y);
        }
        RECT client{};
        GetClientRect(hwnd_, &client);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (click && PtInRect(&client, pt) && Click)
            Click();
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
        if (PanelDblClick)
            PanelDblClick(args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
        return;
    case WM_MOUSEMOVE:
        if (PanelMouseMove)
            PanelMouseMove(ButtonsHeld(wParam), shift, x, y, args.index, args.text, args.key);
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
        if (PanelMouseUp)
            PanelMouseUp(ButtonOf(msg), shift, x, y, args.index, args.text, args.key);
        // The label may be gone now (a handler can rebuild the panels): only copies are used below.
        if (click && PanelClick)
            PanelClick(args.index, args.text, args.key, args.left, args.top, args.bottom, args.width);
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
