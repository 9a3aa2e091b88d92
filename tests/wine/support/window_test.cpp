#include "tests/wine/support/window_test.h"

#include "controls/host/picture_win.h"
#include "win/gdi.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
    win::WindowDc screen(nullptr);
    win::Bitmap shot(CreateCompatibleBitmap(screen.Get(), w, h));
    HDC dc = CreateCompatibleDC(screen.Get());
    {
        win::SelectGuard select(dc, shot.Get()); // read back only once it has left the DC
        BitBlt(dc, 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
    }
    DeleteDC(dc);
    const auto picture = host::PictureFromBitmap(shot.Get());
    const std::wstring path = L"Z:" + std::filesystem::path(folder).wstring() + L"/" + name + L".bmp";
    const auto bytes = picture ? bmp::Encode(picture->raster) : std::vector<std::uint8_t>{};
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return picture && out ? path : std::wstring();
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

NoticeRecorder::~NoticeRecorder() {
    win::SetNoticeHandler(std::move(previous_));
}

std::wstring WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

RECT RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace testsupport
