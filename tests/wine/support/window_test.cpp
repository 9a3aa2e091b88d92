#include "tests/wine/support/window_test.h"

#include "win/gdi.h"

#include <cstdlib>
#include <fstream>
#include <filesystem>

namespace testsupport {

void PumpMessages(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds > 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

std::wstring SaveScreenshot(HWND hwnd, const std::wstring& name) {
    const char* folder = std::getenv("ZEV_SCREENSHOTS");
    if (!folder || !*folder || !hwnd)
        return {};
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages(150);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return {};
    // A bottom-up 24-bit DIB section holds the rows exactly as a .bmp file stores them.
    BITMAPINFOHEADER bih{sizeof(bih), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPINFO bi{};
    bi.bmiHeader = bih;
    void* bits = nullptr;
    win::Bitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits)
        return {};
    const int stride = ((w * 3) + 3) & ~3;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    {
        win::SelectGuard select(dc, dib.Get());
        BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const std::vector<char> pixels(static_cast<const char*>(bits),
                                   static_cast<const char*>(bits) + static_cast<size_t>(stride) * static_cast<size_t>(h));

    BITMAPFILEHEADER bfh{};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
    std::wstring path = L"Z:" + std::filesystem::path(folder).wstring() + L"/" + name + L".bmp";
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&bfh), sizeof(bfh));
    out.write(reinterpret_cast<const char*>(&bih), sizeof(bih));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out ? path : std::wstring();
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

NoticeRecorder::NoticeRecorder(int reply) {
    previous_ = win::SetNoticeHandler([this, reply](const win::Notice& n) {
        notices.push_back(n);
        return reply;
    });
}

NoticeRecorder::~NoticeRecorder() { win::SetNoticeHandler(std::move(previous_)); }

std::wstring WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

} // namespace testsupport
