#include "controls/statusbar/skin_drawing.h"

#include "controls/statusbar/skin_colours.h"
#include "win/colour.h"
#include "win/gdi.h"
#include "win/nine_slice_gdi.h"

namespace statusbar {

COLORREF BarBackgroundColour() {
    return GetSysColor(COLOR_BTNFACE);
}

CopyResult DrawSkinTile(HDC dest, int x, int y, int w, int h, HDC skinDc, int tileX, int corner) {
    if (w <= 0 || h <= 0 || !skinDc)
        return CopyResult::NothingToDraw;
    win::MemorySurface temp(nullptr, w, h);
    if (!temp)
        return dest ? CopyResult::CopyFailed : CopyResult::NothingToDraw;
    SetStretchBltMode(temp.Dc(), HALFTONE);
    SetBrushOrgEx(temp.Dc(), 0, 0, nullptr); // HALFTONE wants the brush origin reset after the mode
    const auto pieces = NinePieces(tileX, w, h, corner);
    win::DrawPieces(temp.Dc(), skinDc, pieces.data(), pieces.size());
    if (!dest || !BitBlt(dest, x, y, w, h, temp.Dc(), 0, 0, SRCCOPY))
        return CopyResult::CopyFailed;
    return CopyResult::Drawn;
}

void DrawPanelBox(HDC dc, const tPanel& p, std::int32_t back, COLORREF pen, std::int32_t borderMode) {
    win::Pen linePen(CreatePen(PS_SOLID, 1, pen));
    win::Brush fill(back != kDefaultColour ? CreateSolidBrush(win::ToColorRef(static_cast<std::uint32_t>(back)))
                                           : nullptr);
    win::SelectGuard selectPen(dc, linePen.Get());
    win::SelectGuard selectBrush(dc, fill ? static_cast<HGDIOBJ>(fill.Get()) : GetStockObject(NULL_BRUSH));
    if (back == kDefaultColour && borderMode == 1) {
        MoveToEx(dc, p.Right, p.Top, nullptr);
        LineTo(dc, p.Right, p.Bottom + 2);
    } else {
        Rectangle(dc, p.Left, p.Top, p.Right, p.Bottom + 2);
    }
}

} // namespace statusbar
