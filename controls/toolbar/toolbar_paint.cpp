// ToolbarSkin's painting: one off-screen picture of the whole toolbar, built from the skin's tiles
// by the rules of paint_rules.h, then copied to the window at once.
#include "controls/toolbar/paint_rules.h"
#include "controls/toolbar/toolbar_skin.h"
#include "win/gdi.h"
#include "win/nine_slice_gdi.h"

#include <commctrl.h>

namespace toolbarskin {
namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

void Copy(HDC dest, HDC skin, const std::vector<Piece>& pieces) {
    win::DrawPieces(dest, skin, pieces.data(), pieces.size());
}

// Pieces composed at their own w × h (a frame tile, the separator, an arrow), then laid over the
// picture at (x, y) with magenta left out. Only exact magenta is left out, so the pieces are stretched
// without filtering: a blend of magenta into a frame's edge would stay as a pink fringe.
void Overlay(HDC dest, HDC skin, const std::vector<Piece>& pieces, int x, int y, int w, int h) {
    if (pieces.empty())
        return;
    win::MemorySurface part(dest, w, h);
    if (!part)
        return;
    SetStretchBltMode(part.Dc(), COLORONCOLOR);
    Copy(part.Dc(), skin, pieces);
    TransparentBlt(dest, x, y, w, h, part.Dc(), 0, 0, w, h, kTransparent);
}

void DrawTile(HDC dest, HDC skin, int tile, int x, int y, int w, int h, int dpi) {
    Overlay(dest, skin, TilePieces(tile, w, h, dpi), x, y, w, h);
}

void DrawArrow(HDC dest, HDC skin, int stripX, int y, int h, bool enabled, int dpi) {
    const Point at = ArrowAt(stripX, y, h, dpi);
    const int size = ArrowSize(dpi);
    const Piece arrow{kArrowX, enabled ? kArrowEnabledY : kArrowDisabledY, kArrowSize, kArrowSize, 0, 0, size, size};
    Overlay(dest, skin, {arrow}, at.x, at.y, size, size);
}

bool PopupMenuShown() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

// Image i in the mode's list; a disabled image without a disabled list is the normal one greyed.
void DrawImage(HDC dc, HWND toolbar, int mode, int image, int x, int y, int cx, int cy) {
    const auto list = [toolbar](UINT msg) { return reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, msg, 0, 0)); };
    HIMAGELIST normal = list(TB_GETIMAGELIST);
    HIMAGELIST chosen = normal;
    if (mode == kImageHot) {
        if (HIMAGELIST hot = list(TB_GETHOTIMAGELIST))
            chosen = hot;
    } else if (mode == kImageDisabled) {
        chosen = list(TB_GETDISABLEDIMAGELIST);
        if (!chosen) {
            HICON icon = normal ? ImageList_GetIcon(normal, image, ILD_TRANSPARENT) : nullptr;
            if (icon) {
                DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, cx, cy,
                           DST_ICON | DSS_DISABLED);
                DestroyIcon(icon);
            }
            return;
        }
    }
    if (chosen)
        ImageList_Draw(chosen, image, dc, x, y, ILD_TRANSPARENT);
}

// The button's text, read only when the 32-character buffer holds it whole.
std::string ButtonText(HWND toolbar, int command) {
    const LRESULT length = SendMessageA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), 0);
    if (!TextFits(length))
        return {};
    char buffer[kTextBuffer] = {};
    SendMessageA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(buffer));
    return CutAtNul(buffer, sizeof(buffer));
}

} // namespace

void ToolbarSkin::PaintToolBar() {
    HWND tb = hToolBar_;
    HDC skin = hSkinDC_.Dc();
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(tb, &ps);
    if (!dc)
        return;
    int cx = 0, cy = 0;
    if (HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(tb, TB_GETIMAGELIST, 0, 0)))
        ImageList_GetIconSize(images, &cx, &cy);
    RECT window{};
    GetWindowRect(tb, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    win::MemorySurface off(dc, width, height);
    if (!off) {
        EndPaint(tb, &ps);
        return;
    }
    HDC od = off.Dc();
    SetStretchBltMode(od, HALFTONE);  // the opaque background stretched smooth
    SetBrushOrgEx(od, 0, 0, nullptr); // HALFTONE wants the brush origin set after the mode
    SetBkMode(od, TRANSPARENT);
    win::SelectGuard font(od, reinterpret_cast<HGDIOBJ>(SendMessageW(tb, WM_GETFONT, 0, 0)));
    Copy(od, skin, BackgroundPieces(width, height, dpi_));
    const int strip = StripWidth(dpi_);

    POINT cursor{};
    GetCursorPos(&cursor);
    const bool menuOpen = PopupMenuShown();
    const int count = static_cast<int>(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_LPARAM | TBIF_COMMAND | TBIF_SIZE;
        if (SendMessageA(tb, TB_GETBUTTONINFOA, static_cast<WPARAM>(bLibToolBar_ ? i + 100 : i),
                         reinterpret_cast<LPARAM>(&info)) < 0)
            continue;
        const int state = info.fsState, style = info.fsStyle;
        if (IsHidden(state))
            continue;
        RECT item{};
        SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        const int l = item.left, t = item.top, r = item.right, b = item.bottom;
        const int w = r - l, h = b - t - (bLibToolBar_ ? 2 : 0);
        const RECT onScreen{l + window.left, t + window.top, r + window.left, b + window.top};
        const bool hot = PtInRect(&onScreen, cursor) != FALSE;
        const bool overStrip = cursor.x >= onScreen.right - strip;

        const Frame frame = ChooseFrame(hot, style, state, overStrip, menuOpen);
        if (frame.strip != kNoTile) {
            DrawTile(od, skin, frame.main, l, t, w - strip, h, dpi_);
            DrawTile(od, skin, frame.strip, r - strip, t, strip, h, dpi_);
        } else if (frame.main != kNoTile) {
            DrawTile(od, skin, frame.main, l, t, w, h, dpi_);
        }
        if (style == kStyleSeparator) {
            Overlay(od, skin, SeparatorPieces(w, h, skinWidth_, dpi_), l, t, w, h);
            continue;
        }
        const bool dropDown = style == kStyleDropDown;
        if (dropDown)
            DrawArrow(od, skin, r - strip, t, h, state != 0, dpi_);

        const StateLook look = LookOf(state);
        SetTextColor(od, look.colour == TextColour::Down       ? lTextColorDown_
                         : look.colour == TextColour::Disabled ? lTextColorDisabled_
                                                               : lTextColorNormal_);
        std::string text = ButtonText(tb, info.idCommand);
        SIZE extent{};
        GetTextExtentPoint32A(od, text.c_str(), static_cast<int>(text.size()), &extent);
        const ButtonLayout at = LayOut(bTextRight_, {l, t, r, b}, cx, cy, extent.cy, look.offset, dropDown, dpi_);
        RECT textBox{at.text.left, at.text.top, at.text.right, at.text.bottom};
        DrawTextExA(od, text.data(), static_cast<int>(text.size()), &textBox,
                    DT_WORDBREAK | (at.rightAligned ? DT_RIGHT : DT_CENTER), nullptr);
        DrawImage(od, tb, ImageMode(look, hot), info.iImage, at.image.x, at.image.y, cx, cy);
    }
    BitBlt(dc, 0, 0, width, height, od, 0, 0, SRCCOPY);
    EndPaint(tb, &ps);
}

} // namespace toolbarskin
