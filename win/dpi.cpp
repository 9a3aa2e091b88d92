#include "win/dpi.h"

#include "win/proc_address.h"
#include "win/window_base.h"

#include <cwchar>
#include <map>
#include <utility>

namespace win {
namespace {

// Looked up once: present on Windows 10 (1607) and later only.
template <typename F> F User32Function(const char* name) {
    return ProcAddress<F>(GetModuleHandleW(L"user32.dll"), name);
}
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

int ScreenDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

int DpiOf(HWND hwnd) {
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const int dpi = forWindow && hwnd ? static_cast<int>(forWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, clientWidth, clientHeight};
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

Font PointFont(const wchar_t* face, double points, int dpi, int weight, BYTE pitchAndFamily) {
    LOGFONTW lf{};
    lf.lfHeight = -PointsToPixels(points, dpi);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitchAndFamily;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&lf));
}

void MoveTo(HWND child, const RECT& r) {
    SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeClientAt(HWND hwnd, SIZE client, DWORD style, DWORD exStyle, int dpi) {
    const SIZE outer = WindowSizeForClient(client.cx, client.cy, style, exStyle, dpi);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON IconAt(int iconId, int size) {
    // Not LR_SHARED: the shared cache may hand back the first size loaded for any later size.
    static std::map<std::pair<int, int>, HICON> made;
    auto [it, added] = made.try_emplace({iconId, size}, nullptr);
    if (added)
        it->second = static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, 0));
    return it->second;
}

void SetIconsAt(HWND hwnd, int iconId, int dpi) {
    SendMessageW(hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(IconAt(iconId, SystemMetricForDpi(SM_CXICON, dpi))));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(IconAt(iconId, SystemMetricForDpi(SM_CXSMICON, dpi))));
}

int TakeSuggestedRect(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    const int dpi = HIWORD(wParam);
    return dpi > 0 ? dpi : DpiOf(hwnd);
}

} // namespace win
