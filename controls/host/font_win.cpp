#include "controls/host/font_win.h"

#include <cmath>
#include <cwchar>

namespace host {
namespace {

int ScreenDpi(int dpi) {
    if (dpi > 0)
        return dpi;
    HDC screen = GetDC(nullptr);
    const int d = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return d > 0 ? d : 96;
}

} // namespace

int FontPixelHeight(double points, int dpi) {
    return static_cast<int>(std::lround(points * ScreenDpi(dpi) / 72.0));
}

win::Font CreateFontFromDesc(const FontDesc& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -FontPixelHeight(font.size, dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethrough;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
    return win::Font(CreateFontIndirectW(&lf));
}

FontDesc FontDescFromHandle(HFONT font, int dpi) {
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof(lf), &lf) != sizeof(lf))
        return FontDesc{};
    FontDesc d;
    d.name = lf.lfFaceName;
    const double points = std::abs(static_cast<double>(lf.lfHeight)) * 72.0 / ScreenDpi(dpi);
    d.size = std::round(points * 100.0) / 100.0;
    d.bold = lf.lfWeight >= FW_SEMIBOLD;
    d.italic = lf.lfItalic != 0;
    d.underline = lf.lfUnderline != 0;
    d.strikethrough = lf.lfStrikeOut != 0;
    d.charset = lf.lfCharSet;
    return d;
}

} // namespace host
