#include "controls/button/formatted_text_gdi.h"

#include "controls/button/gdi_picture.h"
#include "controls/host/font_win.h"
#include "win/colour.h"

#include <string>

namespace skinbutton {
namespace {

std::wstring FontKey(const host::FontDesc& f) {
    return f.name + L"|" + std::to_wstring(f.size) + L"|" + std::to_wstring(f.bold) + std::to_wstring(f.italic) +
           std::to_wstring(f.underline) + std::to_wstring(f.strikethrough) + L"|" + std::to_wstring(f.charset);
}

void DrawPicture(HDC dc, const ButtonPicture& picture, int x, int y) {
    const auto* gdi = dynamic_cast<const GdiPicture*>(&picture);
    if (!gdi)
        return;
    if (gdi->Icon()) {
        DrawIconEx(dc, x, y, gdi->Icon(), gdi->Width(), gdi->Height(), 0, nullptr, DI_NORMAL);
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return;
    {
        win::SelectGuard select(source, gdi->Bitmap());
        // The top-left pixel's colour is the picture's transparent colour.
        const COLORREF key = GetPixel(source, 0, 0);
        TransparentBlt(dc, x, y, gdi->Width(), gdi->Height(), source, 0, 0, gdi->Width(), gdi->Height(), key);
    }
    DeleteDC(source);
}

} // namespace

GdiMeasurer::~GdiMeasurer() {
    // The surface goes back to its own font before the ones made here are deleted.
    if (original_)
        SelectObject(dc_, original_);
}

HFONT GdiMeasurer::FontFor(const host::FontDesc& font) {
    const std::wstring key = FontKey(font);
    auto it = fonts_.find(key);
    if (it == fonts_.end())
        it = fonts_.emplace(key, host::CreateFontFromDesc(font, dpi_)).first;
    return it->second.Get();
}

TextMetrics GdiMeasurer::Measure(const host::FontDesc& font, const std::wstring& text) {
    HGDIOBJ previous = SelectObject(dc_, FontFor(font));
    if (!original_)
        original_ = previous;
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    // An empty text (a line break or a rule) is as high as the font's line.
    return {static_cast<int>(size.cx), static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmAscent),
            static_cast<int>(tm.tmDescent)};
}

void DrawCaptionSteps(HDC dc, GdiMeasurer& fonts, const CaptionRender& render) {
    const COLORREF oldText = GetTextColor(dc);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const CaptionDrawStep& step : render.steps) {
        const CaptionItem& item = *step.item;
        const COLORREF colour = win::ToColorRef(step.colour);
        switch (step.kind) {
        case CaptionDrawStep::Kind::Fill: {
            RECT r{step.left, step.top, step.right, step.bottom};
            win::Brush brush(CreateSolidBrush(colour));
            FillRect(dc, &r, brush.Get());
            break;
        }
        case CaptionDrawStep::Kind::Picture:
            if (item.picture)
                DrawPicture(dc, *item.picture, step.left, step.top);
            break;
        case CaptionDrawStep::Kind::Rule: {
            // PS_SOLID 0, PS_DASH 1, PS_DOT 2, PS_DASHDOT 3, PS_DASHDOTDOT 4, PS_NULL 5, PS_INSIDEFRAME 6.
            const int style = item.ruleStyle >= 0 && item.ruleStyle <= 6 ? item.ruleStyle : PS_SOLID;
            win::Pen pen(CreatePen(style, item.ruleWidth, colour));
            win::SelectGuard select(dc, pen.Get());
            MoveToEx(dc, step.left, step.top, nullptr);
            LineTo(dc, step.right, step.top);
            break;
        }
        case CaptionDrawStep::Kind::Text: {
            SelectObject(dc, fonts.FontFor(item.font));
            SetTextColor(dc, colour);
            RECT r{step.left, step.top, step.right, step.bottom};
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            break;
        }
        }
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
}

} // namespace skinbutton
