// Helpers for tests that drive real windows in-process under Wine.
#pragma once

#include "controls/host/picture_win.h"
#include "win/gdi.h"
#include "win/notify.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

// Dispatches pending messages for about the given time (timers included).
inline void PumpMessages(int milliseconds = 0) {
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

// Pumps until the condition holds or the time is up; returns the condition's last value.
template <typename Pred> bool PumpUntil(Pred pred, int timeoutMs = 3000) {
    for (int waited = 0; waited <= timeoutMs && !pred(); waited += 10)
        PumpMessages(10);
    return pred();
}

// Saves what the screen shows of the window (frame included) as <name>.bmp in the folder named
// by ZEV_SCREENSHOTS (a Unix path; the test run turns the files into PNG), when that is set.
inline void SaveScreenshot(HWND hwnd, const std::wstring& name) {
    const char* folder = std::getenv("ZEV_SCREENSHOTS");
    if (!folder || !*folder || !hwnd)
        return;
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
    const auto bytes = picture ? bmp::Encode(picture->raster) : std::vector<std::uint8_t>{};
    std::ofstream(std::filesystem::path(L"Z:" + std::filesystem::path(folder).wstring() + L"/" + name + L".bmp"),
                  std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// What the screen shows of a window's client area.
struct Shot {
    explicit Shot(HWND hwnd) {
        RECT r{};
        GetClientRect(hwnd, &r);
        win::MemorySurface s(nullptr, r.right, r.bottom);
        BitBlt(s.Dc(), 0, 0, r.right, r.bottom, win::WindowDc(hwnd).Get(), 0, 0, SRCCOPY);
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x)
                px.push_back(GetPixel(s.Dc(), x, y));
        width = r.right;
    }
    COLORREF At(int x, int y) const { return px[static_cast<std::size_t>(y * width + x)]; }
    bool Shows(const RECT& r, COLORREF c) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == c)
                    return true;
        return false;
    }
    bool operator==(const Shot&) const = default;
    int width = 0;
    std::vector<COLORREF> px;
};

// The colour of a pixel on screen, in window client coordinates.
inline COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return GetPixel(win::WindowDc(nullptr).Get(), p.x, p.y);
}

// Records every message box and event-log entry instead of showing it; answers with a fixed reply.
class NoticeRecorder {
public:
    explicit NoticeRecorder(int reply = IDOK) {
        previous_ = win::SetNoticeHandler([this, reply](const win::Notice& n) {
            notices.push_back(n);
            return reply;
        });
    }
    ~NoticeRecorder() { win::SetNoticeHandler(std::move(previous_)); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;
    std::vector<win::Notice> notices;

private:
    win::NoticeHandler previous_;
};

inline std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A window's rectangle in another window's client coordinates.
inline RECT RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace testsupport

// Rectangles compared and printed in test expectations.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
