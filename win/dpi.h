// Display scale for Win32 windows: which dpi a window is shown at, window sizes and system metrics
// for that dpi, fonts by their point size, and WM_DPICHANGED. The functions that only Windows 10
// has are looked up at run time, so the program still starts on Windows 7 and 8, where the one
// dpi is the screen's.
#pragma once

#include "win/gdi.h"
#include "win/units.h"

#include <windows.h>

namespace win {

// WM_DPICHANGED (Windows 8.1 on): the window moved to a screen of another scale.
constexpr UINT kWmDpiChanged = 0x02E0;

// The dpi the window is laid out for: GetDpiForWindow where the system has it, else the screen's
// LOGPIXELSY; 96 when neither answers.
int DpiOf(HWND hwnd);
// The outer size of a window whose client area is clientWidth × clientHeight at dpi.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);
// GetSystemMetrics as at dpi (icon sizes, for example).
int SystemMetricForDpi(int index, int dpi);
// A font of the face and size (points) for a window shown at dpi.
Font PointFont(const wchar_t* face, double points, int dpi, int weight = FW_NORMAL,
               BYTE pitchAndFamily = DEFAULT_PITCH);
// Places a child at r (parent client coordinates), keeping its z-order.
void MoveTo(HWND child, const RECT& r);
// Resizes a window (keeping its place) so its client area is client at dpi: for a window that
// turns out to be shown at another scale than the one it was sized for.
void SizeClientAt(HWND hwnd, SIZE client, DWORD style, DWORD exStyle, int dpi);
// The icon resource at size × size pixels (a size not stored is made from the nearest one); null if it
// cannot be loaded. Made once per icon and size and kept for the whole run: windows and window classes
// share them, and a window moved to another scale never lets go of an icon still shown.
HICON IconAt(int iconId, int size);
// The window's icons from the icon resource, for dpi: the big one (task switcher, Alt+Tab) at the
// large-icon size, the small one (title bar) at the small-icon size.
void SetIconsAt(HWND hwnd, int iconId, int dpi);
// WM_DPICHANGED: the window takes the rectangle Windows suggests. Returns the new dpi.
int TakeSuggestedRect(HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace win
