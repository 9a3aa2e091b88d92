// SkinButton drawing: the one paint routine, the skin's nine-piece stretch, the flat and link
// styles, the caption (plain, textured, formatted) and the back buffer behind them all.
#include "controls/button/skin_button.h"

#include "controls/button/button_messages.h"
#include "controls/button/formatted_text_gdi.h"
#include "controls/button/gdi_picture.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"
#include "controls/host/font_win.h"
#include "win/colour.h"

#include <algorithm>

namespace skinbutton {
namespace {

constexpr int kFrame = 15, kEdge = 5, kSkinHeight = 23;

void FillSolid(HDC dc, int width, int height, COLORREF colour) {
    RECT r{0, 0, width, height};
    win::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.Get());
}

} // namespace

HFONT SkinButton::SurfaceFont() {
    if (!fontValid_ || !font_ || fontMade_ != Font()) {
        font_ = host::CreateFontFromDesc(Font());
        fontMade_ = Font();
        fontValid_ = true;
    }
    return font_.Get();
}

void SkinButton::ResizeSurface() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    if (surface_ && surface_.Width() == client.right && surface_.Height() == client.bottom)
        return;
    if (client.right <= 0 || client.bottom <= 0) {
        surface_.Destroy();
        return;
    }
    surface_.Create(nullptr, client.right, client.bottom);
    if (surface_)
        FillSolid(surface_.Dc(), surface_.Width(), surface_.Height(), win::ToColorRef(surfaceBack_));
}

void SkinButton::Present() {
    if (Hwnd())
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void SkinButton::SetSurfaceBackColor(std::uint32_t colour) {
    surfaceBack_ = colour;
    if (surface_)
        FillSolid(surface_.Dc(), surface_.Width(), surface_.Height(), win::ToColorRef(colour));
}

void SkinButton::ResetSurfaceLines() {
    // Nothing to do: every rule of the formatted caption draws with a pen of its own, so the surface's
    // lines are always one pixel wide and solid.
}

void SkinButton::Paint(int mode) {
    if (Loading() || !surface_)
        return;
    paintMode_ = mode;
    const bool underline = Font().underline;
    SetSurfaceBackColor(surfaceBack_);
    const PaintChoice choice =
        ChoosePaint(Enabled(), mode, mouseIn_, IsChecked(), UseUnderLineMouseUp(), UseUnderLineMouseCheck());
    if (choice.underline) {
        host::FontDesc f = Font();
        f.underline = *choice.underline;
        StoreFont(f);
    }
    DrawSkin(surface_.Dc(), 0, 0, choice.state);
    DrawCaption(choice.captionMode);
    // The formatted caption may have left another font on the surface: the underline goes back on that.
    host::FontDesc f = Font();
    f.underline = underline;
    StoreFont(f);
    Present();
}

void SkinButton::DrawSkin(HDC lHdc, int lPixelWidth, int lPixelHeight, int ButtonState) {
    const bool own = surface_ && lHdc == surface_.Dc();
    if (own && Skin() == kSkinLink && SkinEnabled())
        return;
    const int w = own && lPixelWidth == 0 ? surface_.Width() : lPixelWidth;
    const int h = own && lPixelHeight == 0 ? surface_.Height() : lPixelHeight;
    if (ButtonState == kStateNormal && UseBackColorContainer() && !Caption().empty() && Enabled()) {
        // The normal look blends into the container: no skin, no border.
        SetSurfaceBackColor(site_.Ambient().BackColor);
        return;
    }
    if (!SkinEnabled() || !skinDc_) {
        // Flat style; also what a button shows when its selected skin is empty.
        DrawFlat(ButtonState);
        return;
    }
    if (w <= 0 || h <= 0 || ButtonState < 0 || ButtonState >= kStateCount)
        return;
    win::MemorySurface composed(nullptr, w, h);
    if (!composed)
        return;
    HDC dc = composed.Dc();
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const int x0 = kFrame * ButtonState;
    const int midW = w - 2 * kEdge, midH = h - 2 * kEdge, middle = kSkinHeight - 2 * kEdge;
    auto copy = [&](int dx, int dy, int sx, int sy) { BitBlt(dc, dx, dy, kEdge, kEdge, skinDc_, sx, sy, SRCCOPY); };
    auto stretch = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sh) {
        // A button narrower or lower than its two corners has no room for this piece.
        if (dw > 0 && dh > 0)
            StretchBlt(dc, dx, dy, dw, dh, skinDc_, sx, sy, kEdge, sh, SRCCOPY);
    };
    copy(0, 0, x0, 0);
    copy(w - kEdge, 0, x0 + 10, 0);
    stretch(kEdge, 0, midW, kEdge, x0 + 5, 0, kEdge);
    stretch(0, kEdge, kEdge, midH, x0, kEdge, middle);
    stretch(kEdge, kEdge, midW, midH, x0 + 5, kEdge, middle);
    stretch(w - kEdge, kEdge, kEdge, midH, x0 + 10, kEdge, middle);
    copy(0, h - kEdge, x0, 18);
    stretch(kEdge, h - kEdge, midW, kEdge, x0 + 5, 18, kEdge);
    copy(w - kEdge, h - kEdge, x0 + 10, 18);
    BitBlt(lHdc, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

void SkinButton::DrawFlat(int state) {
    const FlatColours colours{BackColor(),         BackColorOver(),      BackColorDown(),   BackColorCheck(),
                              BackColorDisabled(), BorderColorNormal(),  BorderColorOver(), BorderColorDown(),
                              BorderColorCheck(),  BorderColorDisabled()};
    const auto look = ChooseFlatLook(colours, Enabled(), state);
    if (!look)
        return;
    SetSurfaceBackColor(look->back);
    if (!SkinEnabled()) {
        DrawBorder(look->border);
    } else if (surface_) {
        // A skin that failed to load still gets its outline.
        win::Brush brush(CreateSolidBrush(win::ToColorRef(look->border)));
        RECT r{0, 0, surface_.Width(), surface_.Height()};
        FrameRect(surface_.Dc(), &r, brush.Get());
    }
}

void SkinButton::DrawBorder(std::uint32_t colour) {
    if (SkinEnabled() || !surface_)
        return;
    surfaceFore_ = colour;
    win::Brush brush(CreateSolidBrush(win::ToColorRef(colour)));
    RECT r{0, 0, surface_.Width(), surface_.Height()};
    FrameRect(surface_.Dc(), &r, brush.Get());
    Present();
}

void SkinButton::DrawCaption(int mode) {
    if (!surface_)
        return;
    if (EnabledFormatText()) {
        if (!DesignMode()) {
            if (mode == kCaptionPressed)
                DrawFormatted(3, 1);
            else
                DrawFormatted(0, 0);
        }
        return;
    }
    const TextColours colours{ForeColorNormal(), ForeColorUp(), ForeColorDown(), ForeColorDisabled(), ForeColorCheck()};
    surfaceFore_ = CaptionColour(colours, Enabled(), mode, IsChecked());
    if (Skin() == kSkinLink && SkinEnabled())
        SetSurfaceBackColor(site_.Ambient().BackColor);
    HDC dc = surface_.Dc();
    const std::wstring& caption = Caption();
    SIZE text{};
    {
        win::SelectGuard select(dc, SurfaceFont());
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
        if (caption.empty()) {
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            text.cy = tm.tmHeight;
        }
    }
    const Box box = PlaceCaption(CaptionAlign(), CaptionMargin(), surface_.Width(), surface_.Height(),
                                 static_cast<int>(text.cx), static_cast<int>(text.cy), mode);
    // A texture too small for the caption leaves the plain caption, so the button still says what it does.
    if (PictureTexture() && mode == kCaptionNormal && !caption.empty() &&
        DrawTexturedCaption(box.left, box.top, static_cast<int>(text.cx), static_cast<int>(text.cy)))
        return;
    win::SelectGuard select(dc, SurfaceFont());
    SetTextColor(dc, win::ToColorRef(surfaceFore_));
    SetBkMode(dc, TRANSPARENT);
    RECT r{box.left, box.top, box.right, box.bottom};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    Present();
}

bool SkinButton::DrawTexturedCaption(int x, int y, int textWidth, int textHeight) {
    const PictureRef& texture = PictureTexture();
    const int txw = texture->Width(), txh = texture->Height();
    if (textWidth > txw) {
        WarnAfterPaint(PaintWarning::TextureTooNarrow);
        return false;
    }
    if (textHeight > txh) {
        WarnAfterPaint(PaintWarning::TextureTooLow);
        return false;
    }
    // A texture needs letters big enough to show it; these changes stay on the button's font.
    host::FontDesc f = Font();
    if (f.size < 12)
        f.size = 12;
    if (f.name == L"MS Sans Serif")
        f.name = L"verdana";
    StoreFont(f);

    HBITMAP bitmap = BitmapOf(texture);
    HDC source = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    if (!source)
        return true;
    {
        win::SelectGuard selectTexture(source, bitmap);
        HDC dc = surface_.Dc();
        win::SelectGuard selectFont(dc, SurfaceFont());
        SetBkMode(dc, TRANSPARENT);
        BeginPath(dc);
        const std::wstring& caption = Caption();
        TextOutW(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
        EndPath(dc);
        SelectClipPath(dc, RGN_COPY);
        BitBlt(dc, x, y, txw, txh, source, 0, 0, SRCCOPY);
        // The next paint covers the whole surface again.
        SelectClipRgn(dc, nullptr);
    }
    DeleteDC(source);
    Present();
    return true;
}

void SkinButton::WarnAfterPaint(PaintWarning warning) {
    // Told once per cause and texture: a new texture may be too small again.
    if (warnedTexture_.lock() != PictureTexture()) {
        warnedTexture_ = PictureTexture();
        paintWarnings_ = 0;
    }
    const unsigned bit = static_cast<unsigned>(warning);
    if ((paintWarnings_ & bit) || !Hwnd())
        return;
    paintWarnings_ |= bit;
    PostMessageW(Hwnd(), kPaintWarningMessage, bit, 0);
}

void SkinButton::ShowPaintWarning(WPARAM warning) {
    if (warning == static_cast<unsigned>(PaintWarning::TextureTooNarrow))
        ShowMessage(kMsgTextureTooNarrow, MessageIcon::Warning);
    else if (warning == static_cast<unsigned>(PaintWarning::TextureTooLow))
        ShowMessage(kMsgTextureTooLow, MessageIcon::Warning);
}

void SkinButton::DrawFormatted(int marginShift, int topShift) {
    if (!surface_ || formatted_.Empty())
        return;
    CaptionRender render;
    {
        GdiMeasurer measurer(surface_.Dc());
        render = formatted_.Render(measurer, surface_.Width(), Enabled(), ForeColorDisabled(), marginShift, topShift);
        DrawCaptionSteps(surface_.Dc(), measurer, render);
    }
    // Measuring made each item's font the surface's: the last one stays, and is the base of the next
    // FormatTextAdd.
    if (render.lastFont)
        StoreFont(*render.lastFont);
    Present();
}

void SkinButton::FormatTextDraw() {
    DrawFormatted(0, 0);
}

} // namespace skinbutton
