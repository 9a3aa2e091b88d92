// Fonts between saved property sets and GDI.
#pragma once

#include "controls/host/property_value.h"
#include "win/gdi.h"

#include <windows.h>

namespace host {

// A GDI font for the description; dpi 0 means the screen's vertical dpi. Sizes are points.
win::Font CreateFontFromDesc(const FontDesc& font, int dpi = 0);
// The description of a GDI font (size rounded to 1/100 point); the default description when the
// handle is not a font.
FontDesc FontDescFromHandle(HFONT font, int dpi = 0);
// Character height in pixels for a size in points (the negative LOGFONT height, as a positive number).
int FontPixelHeight(double points, int dpi = 0);

} // namespace host
