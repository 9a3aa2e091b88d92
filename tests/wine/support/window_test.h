// Helpers for tests that drive real windows in-process under Wine.
#pragma once

#include "win/notify.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

// Dispatches pending messages for about the given time (timers included).
void PumpMessages(int milliseconds = 0);
// Pumps until the condition holds or the time is up; returns the condition's last value.
template <typename Pred> bool PumpUntil(Pred pred, int timeoutMs = 3000) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (pred())
            return true;
        PumpMessages(10);
    }
    return pred();
}

// Saves what the screen shows of the window (frame included) as <name>.bmp in the folder named
// by ZEV_SCREENSHOTS (a Unix path; the test run turns the files into PNG). Returns the file path,
// empty when no folder is set or capturing failed.
std::wstring SaveScreenshot(HWND hwnd, const std::wstring& name);

// The colour of a pixel on screen, in window client coordinates.
COLORREF ScreenPixel(HWND hwnd, int x, int y);

// Records every message box and event-log entry instead of showing it; answers with a fixed reply.
class NoticeRecorder {
public:
    explicit NoticeRecorder(int reply = IDOK);
    ~NoticeRecorder();
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;
    std::vector<win::Notice> notices;

private:
    win::NoticeHandler previous_;
};

std::wstring WindowText(HWND hwnd);
// A window's rectangle in another window's client coordinates.
RECT RectIn(HWND child, HWND parent);

} // namespace testsupport

// Rectangles compared and printed in test expectations.
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
