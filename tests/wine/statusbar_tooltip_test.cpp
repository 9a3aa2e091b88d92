// SkinStatusBar's balloon tips: shown at the panel's top-left edge with title, text and icon, hidden
// after their duration, replaced by a second call; the diagnostic-run message.
#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/skin_status_bar.h"
#include "tests/wine/support/window_test.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

class StatusBarToolTip : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ZevStatusBarTipHost";
        RegisterClassExW(&wc);
        host_ = CreateWindowExW(0, L"ZevStatusBarTipHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 560, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(bar_->Create(host_, 0, 0, 540, 17));
        PumpMessages(20);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }
    void AddPanels() {
        bar_->AddPanel(L"Desconectado", L"Skins", 350);
        bar_->AddPanel(L"06/12/2026", L"Date", 80);
        bar_->AddPanel(L"10:00:00", L"Time", 80);
    }
    std::wstring TipText() {
        wchar_t buf[256] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = bar_->Hwnd();
        ti.uId = 1;
        ti.lpszText = buf;
        SendMessageW(bar_->BalloonWindow(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
        return buf;
    }

    NoticeRecorder notices_;
    host::ScopedDiagnosticRun notDiagnostic_{false}; // in a diagnostic run the tip is only explained
    HWND host_ = nullptr;
    std::unique_ptr<SkinStatusBar> bar_ = std::make_unique<SkinStatusBar>();
};

} // namespace

TEST_F(StatusBarToolTip, ShowsABalloonAtTheLeftEndOfThePanelsTopEdgeAndHidesItAfterItsDuration) {
    AddPanels();
    const DWORD start = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"Conectado al puerto USB", L"Estado", 2, 700, 2));
    PumpMessages(50);
    HWND tip = bar_->BalloonWindow();
    ASSERT_TRUE(tip);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
    EXPECT_EQ(TipText(), L"Conectado al puerto USB");
    EXPECT_EQ(bar_->Balloon().Title(), L"Estado");
    EXPECT_EQ(bar_->Balloon().Icon(), 2) << "warning icon";
    // The anchor: moved so that only its bottom 2 pixels lie inside the bar, at panel 2's Left.
    RECT anchor{};
    GetWindowRect(bar_->ToolTipAnchor(), &anchor);
    MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&anchor), 2);
    EXPECT_EQ(anchor.left, 352);
    EXPECT_EQ(anchor.bottom, 2);
    EXPECT_EQ(anchor.bottom - anchor.top, 13);
    // The balloon points at the panel's top edge: its stem reaches there from above or below.
    POINT stem{354, 2};
    ClientToScreen(bar_->Hwnd(), &stem);
    RECT r{};
    GetWindowRect(tip, &r);
    EXPECT_LE(r.left, stem.x);
    EXPECT_GE(r.right, stem.x);
    EXPECT_TRUE(std::abs(r.bottom - stem.y) <= 2 || std::abs(r.top - stem.y) <= 2)
        << "balloon " << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " stem " << stem.x << ","
        << stem.y;
    SaveScreenshot(GetDesktopWindow(), L"statusbar_balloon_tip");
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tip); }, 3000));
    EXPECT_GE(GetTickCount() - start, 650u) << "not before its duration";
    EXPECT_TRUE(notices_.notices.empty());
}

TEST_F(StatusBarToolTip, ASecondCallReplacesTheTipAndKeepsItForItsOwnDuration) {
    AddPanels();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"primero", L"uno", 1, 600));
    PumpMessages(300);
    const DWORD second = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 600));
    PumpMessages(450); // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(TipText(), L"segundo");
    EXPECT_EQ(bar_->Balloon().Title(), L"dos");
    EXPECT_EQ(bar_->Balloon().Icon(), 1) << "information unless asked otherwise";
    RECT anchor{};
    GetWindowRect(bar_->ToolTipAnchor(), &anchor);
    MapWindowPoints(nullptr, bar_->Hwnd(), reinterpret_cast<POINT*>(&anchor), 2);
    EXPECT_EQ(anchor.left, 432);
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 550u);
}

TEST_F(StatusBarToolTip, NoPanelsOrAnIndexOutsideShowsNothing) {
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 1));
    AddPanels();
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 4));
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", -1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    EXPECT_TRUE(notices_.notices.empty());
}

TEST_F(StatusBarToolTip, ADiagnosticRunOnlyExplainsWhyNoTipIsShown) {
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: never a diagnostic run";
    AddPanels();
    host::ScopedDiagnosticRun diagnostic(true);
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    ASSERT_EQ(notices_.notices.size(), 1u);
    EXPECT_EQ(notices_.notices[0].title, L"ZEV Config");
    EXPECT_EQ(notices_.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(notices_.notices[0].text,
              L"El toolTip solo funciona cuando se encuentra el programa compilado y con un archivo manifest junto al "
              L"ejecutable. También se debe hace runa llamada a InitCommonControls en el SubMain o punto de inicio del "
              L"programa. Si es desde un formulario debe ser en el evento Initialize, no desde el Load");
}
