// SkinStatusBar's balloon tips: shown at the panel's top-left edge with title, text and icon, hidden
// after their duration, replaced by a second call; the diagnostic-run message.
#include "controls/host/diagnostic_run.h"
#include "tests/wine/support/statusbar_host.h"

#include <commctrl.h>

using namespace testsupport;

namespace {

class StatusBarToolTip : public StatusBarTest {
protected:
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

    host::ScopedDiagnosticRun notDiagnostic_{false}; // in a diagnostic run the tip is only explained
};

} // namespace

TEST_F(StatusBarToolTip, ShowsABalloonAtTheLeftEndOfThePanelsTopEdgeAndHidesItAfterItsDuration) {
    AddMainWindowPanels();
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
    const RECT anchor = InBar(bar_->ToolTipAnchor());
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
        << "balloon " << ::testing::PrintToString(r) << " stem " << stem.x << "," << stem.y;
    SaveScreenshot(GetDesktopWindow(), L"statusbar_balloon_tip");
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tip); }, 3000));
    EXPECT_GE(GetTickCount() - start, 650u) << "not before its duration";
    EXPECT_TRUE(notices_.notices.empty());
}

TEST_F(StatusBarToolTip, ASecondCallReplacesTheTipAndKeepsItForItsOwnDuration) {
    AddMainWindowPanels();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"primero", L"uno", 1, 600));
    PumpMessages(300);
    const DWORD second = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 600));
    PumpMessages(450); // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(TipText(), L"segundo");
    EXPECT_EQ(bar_->Balloon().Title(), L"dos");
    EXPECT_EQ(bar_->Balloon().Icon(), 1) << "information unless asked otherwise";
    EXPECT_EQ(InBar(bar_->ToolTipAnchor()).left, 432);
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 550u);
}

TEST_F(StatusBarToolTip, NoPanelsOrAnIndexOutsideShowsNothingAndADiagnosticRunOnlyExplains) {
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 1));
    AddMainWindowPanels();
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 4));
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", -1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    EXPECT_TRUE(notices_.notices.empty());
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: never a diagnostic run";
    host::ScopedDiagnosticRun diagnostic(true);
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    ExpectOnlyNotice(
        L"ZEV Config",
        L"El toolTip solo funciona cuando se encuentra el programa compilado y con un archivo manifest junto al "
        L"ejecutable. También se debe hace runa llamada a InitCommonControls en el SubMain o punto de inicio del "
        L"programa. Si es desde un formulario debe ser en el evento Initialize, no desde el Load",
        MB_OK | MB_ICONINFORMATION);
}
