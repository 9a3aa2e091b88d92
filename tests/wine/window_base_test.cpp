// The window base, the notice seam and the memory surface on real windows.
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"
#include "win/window_base.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class Probe : public win::Window {
public:
    bool Open() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevProbeWindow";
        RegisterClassOnce(wc);
        return Create(L"ZevProbeWindow", 0, L"probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, nullptr, nullptr);
    }
    std::vector<UINT> seen; // WM_CREATE, WM_DESTROY and user messages
    int unbound = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE || msg == WM_DESTROY || msg >= WM_USER)
            seen.push_back(msg);
        return Default(msg, wParam, lParam);
    }
    void OnDestroyed() override { ++unbound; }
};

} // namespace

TEST(WindowBase, BindsAtCreationUnbindsWhenDestroyedAndTakesItsWindowAlong) {
    Probe probe;
    ASSERT_TRUE(probe.Open());
    HWND hwnd = probe.Hwnd();
    EXPECT_EQ(win::Window::FromHwnd(hwnd), &probe);
    EXPECT_EQ(win::Window::FromHwnd(GetDesktopWindow()), nullptr) << "foreign windows are not ours";
    SendMessageW(hwnd, WM_USER + 7, 0, 0);
    DestroyWindow(hwnd);
    EXPECT_EQ(probe.seen, (std::vector<UINT>{WM_CREATE, WM_USER + 7, WM_DESTROY}));
    EXPECT_EQ(probe.unbound, 1);
    EXPECT_EQ(probe.Hwnd(), nullptr);
    ASSERT_TRUE(probe.Open()) << "the same object can open a new window";
    {
        Probe second;
        ASSERT_TRUE(second.Open());
        hwnd = second.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd)) << "an object destroyed first takes its window with it";
}

TEST(Notices, HandlersRecordInsteadOfShowingAndNest) {
    NoticeRecorder outer;
    {
        NoticeRecorder inner(IDCANCEL);
        EXPECT_EQ(win::ShowMessage(nullptr, L"texto", L"ZEV Config", MB_ICONEXCLAMATION | MB_OK), IDCANCEL);
        win::LogEvent(L"ZEV Config", L"entrada", EVENTLOG_ERROR_TYPE);
        ASSERT_EQ(inner.notices.size(), 2u);
        EXPECT_EQ(inner.notices[0].kind, win::Notice::Kind::MessageBox);
        EXPECT_EQ(inner.notices[0].flags, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(inner.notices[1].kind, win::Notice::Kind::EventLog);
        EXPECT_EQ(inner.notices[1].text, L"entrada");
    }
    win::ShowMessage(nullptr, L"b", L"t", MB_OK);
    EXPECT_EQ(outer.notices.size(), 1u) << "the previous handler is back";
}

TEST(Gdi, MemorySurfaceDrawsMovesAndRefusesAnEmptySize) {
    win::MemorySurface surface(nullptr, 20, 10);
    ASSERT_TRUE(surface);
    win::Brush red(CreateSolidBrush(RGB(200, 10, 20)));
    RECT r{0, 0, 20, 10};
    FillRect(surface.Dc(), &r, red.Get());
    win::MemorySurface moved = std::move(surface);
    EXPECT_FALSE(surface);
    EXPECT_EQ(GetPixel(moved.Dc(), 19, 9), RGB(200, 10, 20));
    EXPECT_FALSE(win::MemorySurface(nullptr, 0, 5)) << "not half-made";
}
