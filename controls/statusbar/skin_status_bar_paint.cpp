// SkinStatusBar's drawing: skin colours, the back buffer, panels and labels.
#include "controls/statusbar/skin_status_bar.h"

#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/panel_label.h"
#include "controls/statusbar/skin_colours.h"
#include "controls/statusbar/skin_drawing.h"
#include "win/colour.h"
#include "win/dpi.h"
#include "win/notify.h"

#include <commctrl.h>

namespace statusbar {

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
    const CopyResult r =
        DrawSkinTile(back_.Dc(), x1, y1, w, h, hSkinDC_.Dc(), TileX(), win::ScaleToDpi(kTileCorner, dpi_));
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
    const CopyResult r = DrawSkinTile(dc.Get(), x1, y1, client.right, client.bottom, hSkinDC_.Dc(), TileX(),
                                      win::ScaleToDpi(kTileCorner, win::DpiOf(pObject)));
    if (r == CopyResult::CopyFailed && host::IsDiagnosticRun())
        win::ShowMessage(hwnd_, L"Error en el procedimiento DrawSkin", host::ApplicationTitle(), MB_OK | MB_ICONERROR);
}

void SkinStatusBar::DrawBackground() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    win::Brush background(CreateSolidBrush(BarBackgroundColour()));
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
            win::Brush background(CreateSolidBrush(BarBackgroundColour()));
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
        win::Brush background(CreateSolidBrush(BarBackgroundColour()));
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

} // namespace statusbar
