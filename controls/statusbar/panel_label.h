// The panel labels: STATIC child windows that show a panel's text, so the text is readable from
// outside (WM_GETTEXT, screen readers). The bar paints them itself: what lies behind them comes from
// its back buffer, so they look transparent over the skin.
#pragma once

#include <windows.h>

#include <string>

namespace statusbar {

// A hidden, non-wrapping label; its control id is its index. Null when it cannot be created.
HWND CreatePanelLabelWindow(HWND bar, int index, const std::wstring& text, HFONT font);
// The size an auto-sized label takes for its text in its font (height: the font's line height).
SIZE MeasureLabelText(HWND label, HFONT font, const std::wstring& text);
// The label's text, read back as anyone outside would read it.
std::wstring LabelText(HWND label);
// Draws the label's text (no background) into dc over the label's client area.
void DrawLabelText(HWND label, HDC dc, HFONT font, COLORREF colour);

} // namespace statusbar
