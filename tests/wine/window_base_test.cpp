// The window base and the notice seam on real windows.
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"
#include "win/window_base.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class Probe : public win::Window {
public:
    bool Open(HWND parent = nullptr) {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevProbeWindow";
        wc.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT);
        RegisterClassOnce(wc);
        return Create(L"ZevProbeWindow", 0, L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 120, parent,
                      nullptr) != nullptr;
    }
    int created = 0, destroyed = 0, unbound = 0;
    UINT lastMessage = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        lastMessage = msg;
        if (msg == WM_CREATE)
            ++created;
        if (msg == WM_DESTROY)
            ++destroyed;
        return Default(msg, wParam, lParam);
    }
    void OnDestroyed() override { ++unbound; }
};

} // namespace

TEST(WindowBase, BindsAtCreationAndUnbindsWhenDestroyed) {
    Probe probe;
    ASSERT_TRUE(probe.Open());
    HWND hwnd = probe.Hwnd();
    EXPECT_EQ(probe.created, 1);
    EXPECT_EQ(win::Window::FromHwnd(hwnd), &probe);
    EXPECT_EQ(win::Window::FromHwnd(GetDesktopWindow()), nullptr) << "foreign windows are not ours";
    SendMessageW(hwnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(probe.lastMessage, WM_USER + 7u);
    const auto shot = SaveScreenshot(hwnd, L"window_base_probe");
    if (getenv("ZEV_SCREENSHOTS")) {
        EXPECT_FALSE(shot.empty());
    }
    DestroyWindow(hwnd);
    EXPECT_EQ(probe.destroyed, 1);
    EXPECT_EQ(probe.unbound, 1);
    EXPECT_EQ(probe.Hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    // The same object can open a new window afterwards.
    ASSERT_TRUE(probe.Open());
    EXPECT_EQ(probe.created, 2);
}

TEST(WindowBase, AnObjectDestroyedFirstTakesItsWindowWithIt) {
    HWND hwnd = nullptr;
    {
        Probe probe;
        ASSERT_TRUE(probe.Open());
        hwnd = probe.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Notices, TestsRecordMessageBoxesInsteadOfBlocking) {
    {
        NoticeRecorder recorder(IDCANCEL);
        EXPECT_EQ(win::ShowMessage(nullptr, L"texto", L"ZEV Config", MB_ICONEXCLAMATION | MB_OK), IDCANCEL);
        win::LogEvent(L"ZEV Config", L"entrada", EVENTLOG_ERROR_TYPE);
        ASSERT_EQ(recorder.notices.size(), 2u);
        EXPECT_EQ(recorder.notices[0].kind, win::Notice::Kind::MessageBox);
        EXPECT_EQ(recorder.notices[0].text, L"texto");
        EXPECT_EQ(recorder.notices[0].flags, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(recorder.notices[1].kind, win::Notice::Kind::EventLog);
    }
    NoticeRecorder outer;
    {
        NoticeRecorder inner;
        win::ShowMessage(nullptr, L"a", L"t", MB_OK);
        EXPECT_EQ(inner.notices.size(), 1u);
    }
    win::ShowMessage(nullptr, L"b", L"t", MB_OK);
    EXPECT_EQ(outer.notices.size(), 1u) << "the previous handler is back after the inner recorder";
}

TEST(Gdi, MemorySurfaceDrawsAndGivesItsBitmapBackBeforeDeleting) {
    win::MemorySurface surface(nullptr, 20, 10);
    ASSERT_TRUE(surface);
    win::Brush red(CreateSolidBrush(RGB(200, 10, 20)));
    RECT r{0, 0, 20, 10};
    FillRect(surface.Dc(), &r, red.Get());
    EXPECT_EQ(GetPixel(surface.Dc(), 19, 9), RGB(200, 10, 20));
    win::MemorySurface moved = std::move(surface);
    EXPECT_FALSE(surface);
    EXPECT_EQ(GetPixel(moved.Dc(), 0, 0), RGB(200, 10, 20));
    EXPECT_FALSE(win::MemorySurface(nullptr, 0, 5)) << "an empty size is refused, not half-made";
}
