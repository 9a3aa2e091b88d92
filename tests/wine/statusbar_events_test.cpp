// SkinStatusBar's mouse routing and balloon tips: mouse messages on the bar and on the panel labels
// raise the nine events with their arguments; a tip shows at the panel's top-left edge, hides after
// its duration, is replaced by a second call, and in a diagnostic run is only explained.
#include "controls/host/diagnostic_run.h"
#include "tests/wine/support/statusbar_host.h"

#include <commctrl.h>

#include <climits>
#include <optional>
#include <sstream>

using namespace testsupport;

namespace {

using Lines = std::vector<std::string>;

class StatusBarEvents : public StatusBarTest {
protected:
    void SetUp() override {
        StatusBarTest::SetUp();
        AddMainWindowPanels();
        // Every event as one line of text, in the order raised.
        bar_->PanelClick = [this](auto i, auto& t, auto& k, auto l, auto tp, auto h, auto w) {
            Log("PanelClick", i, t, k, l, tp, h, w);
        };
        bar_->PanelDblClick = [this](auto i, auto&, auto& k, auto...) { Log("PanelDblClick", i, k); };
        bar_->PanelMouseMove = [this](auto... a) { Log("PanelMouseMove", a...); };
        bar_->PanelMouseUp = [this](auto... a) { Log("PanelMouseUp", a...); };
        bar_->MouseMove = [this](auto... a) { Log("MouseMove", a...); };
        bar_->MouseDown = [this](auto... a) { Log("MouseDown", a...); };
        bar_->MouseUp = [this](auto... a) { Log("MouseUp", a...); };
        bar_->Click = [this] { Log("Click"); };
        bar_->DblClick = [this] { Log("DblClick"); };
        PumpMessages(20);
    }
    template <typename... A> void Log(const char* name, const A&... args) {
        std::ostringstream line;
        line << name;
        ((line << ' ' << Narrow(args)), ...);
        lines_.push_back(line.str());
    }
    template <typename T> static const T& Narrow(const T& v) { return v; }
    static std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
    Lines Take() { return std::exchange(lines_, {}); }
    // A press and release at one place (the release may go elsewhere).
    void Press(HWND to, int x, int y, UINT down = WM_LBUTTONDOWN, int upY = INT_MIN) {
        const bool right = down == WM_RBUTTONDOWN;
        SendMessageW(to, down, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(to, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, upY == INT_MIN ? y : upY));
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

    Lines lines_;
};

} // namespace

TEST_F(StatusBarEvents, MovesOverAPanelRaisePanelMouseMoveAndElsewhereMouseMove) {
    for (int x : {349, 351, 353})
        SendMessageW(bar_->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 1));
    EXPECT_EQ(Take(), (Lines{"PanelMouseMove 0 0 349 1 1 Desconectado Skins", "MouseMove 0 0 351 1",
                             "PanelMouseMove 0 0 353 1 2 06/12/2026 Date"}));
    SendMessageW(bar_->Hwnd(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(520, 8));
    EXPECT_EQ(Take(), (Lines{"MouseMove 1 3 520 8"})) << "buttons held and shift keys as the event numbers them";
}

TEST_F(StatusBarEvents, PressesOnTheBarInAndOutsidePanels) {
    Press(bar_->Hwnd(), 400, 1);
    // lHeight carries the panel's Bottom (14), lWidth is Right - Left.
    EXPECT_EQ(Take(),
              (Lines{"PanelClick 2 06/12/2026 Date 352 2 14 78", "PanelMouseUp 1 0 400 1 2 06/12/2026 Date", "Click"}));
    Press(bar_->Hwnd(), 351, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 351 5", "MouseUp 1 0 351 5", "Click"}));
    Press(bar_->Hwnd(), 560, 5, WM_RBUTTONDOWN);
    EXPECT_EQ(Take(), (Lines{"MouseDown 2 0 560 5", "MouseUp 2 0 560 5"})) << "only the left button clicks";
    Press(bar_->Hwnd(), 560, 5, WM_LBUTTONDOWN, -40);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 560 5", "MouseUp 1 0 560 -40"})) << "released outside the bar: no click";
    Press(bar_->Hwnd(), 560, 5);
    Press(bar_->Hwnd(), 560, 5, WM_LBUTTONDBLCLK);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 560 5", "MouseUp 1 0 560 5", "Click", "DblClick", "MouseUp 1 0 560 5"}));
}

TEST_F(StatusBarEvents, LabelsTakeTheInputOverThemWithLabelRelativeCoordinates) {
    HWND label = bar_->PanelLabel(2);
    SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(5, 3));
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
    EXPECT_EQ(Take(), (Lines{"PanelMouseMove 0 0 5 3 2 06/12/2026 Date"})) << "a press on a label raises nothing";
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    EXPECT_EQ(Take(), (Lines{"PanelMouseUp 1 0 5 3 2 06/12/2026 Date", "PanelClick 2 06/12/2026 Date 352 2 14 78"}));
    Press(label, 5, 3, WM_LBUTTONDBLCLK);
    EXPECT_EQ(Take(), (Lines{"PanelDblClick 2 Date", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}));
    // What the system does with a real pointer over the label: the label is hit, not the bar.
    RECT r{};
    GetWindowRect(label, &r);
    const POINT inside{r.left + 3, r.top + 3};
    EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    EXPECT_EQ(WindowFromPoint(inside), label);
}

TEST_F(StatusBarEvents, AHandlerMayRemoveThePanelWhoseLabelItClicked) {
    bar_->PanelClick = [this](std::int32_t i, auto&&...) { bar_->ClearPanelByIndex(i); };
    HWND label = bar_->PanelLabel(2);
    Press(label, 5, 3);
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(label));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    EXPECT_EQ(bar_->Panels().At(2).Key, L"Time");
    EXPECT_EQ(Take(), (Lines{"PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}));
    bar_->ClearPanels();
    Press(bar_->Hwnd(), 100, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 100 5", "MouseUp 1 0 100 5", "Click"}));
}

TEST_F(StatusBarEvents, AQuickSecondRightOrMiddlePressIsAPress) {
    SendMessageW(bar_->Hwnd(), WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(560, 5));
    SendMessageW(bar_->Hwnd(), WM_MBUTTONDBLCLK, MK_MBUTTON | MK_RBUTTON, MAKELPARAM(400, 5));
    EXPECT_EQ(Take(), (Lines{"MouseDown 2 0 560 5", "PanelClick 2 06/12/2026 Date 352 2 14 78"}));
}

TEST_F(StatusBarEvents, AHandlerThatDestroysTheBarEndsThatPress) {
    // The handler replaces the bar by a new one in the same place in memory, so anything the old bar
    // still did afterwards would show on the new one.
    std::optional<statusbar::SkinStatusBar> bar;
    auto make = [&] {
        bar.emplace();
        ASSERT_TRUE(bar->Create(host_, 0, 100, 600, 17));
        bar->AddPanel(L"uno", L"k", 200);
        bar->Click = [this] { Log("Click"); };
        bar->PanelClick = [this](auto...) { Log("PanelClick"); };
    };
    for (const bool onLabel : {false, true}) {
        make();
        bar->MouseUp = [&](auto...) { bar.reset(), make(); };
        bar->PanelMouseUp = [&](auto&&...) { bar.reset(), make(); };
        HWND target = onLabel ? bar->PanelLabel(1) : bar->Hwnd();
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onLabel ? 2 : 300, 3));
        SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(onLabel ? 2 : 300, 3));
        EXPECT_EQ(Take(), Lines{}) << onLabel;
    }
}

TEST_F(StatusBarEvents, ABalloonAtThePanelsTopEdgeHidesAfterItsDurationAndASecondCallReplacesIt) {
    host::ScopedDiagnosticRun notDiagnostic(false); // in a diagnostic run the tip is only explained
    DWORD start = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"Conectado al puerto USB", L"Estado", 2, 700, 2));
    PumpMessages(50);
    HWND tip = bar_->BalloonWindow();
    ASSERT_TRUE(tip && IsWindowVisible(tip) && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON));
    EXPECT_EQ(std::tuple(TipText(), bar_->Balloon().Title(), bar_->Balloon().Icon()),
              std::tuple(std::wstring(L"Conectado al puerto USB"), std::wstring(L"Estado"), 2));
    // The anchor: moved so that only its bottom 2 pixels lie inside the bar, at panel 2's Left; the
    // balloon's stem reaches that edge from above or below.
    const RECT anchor = InBar(bar_->ToolTipAnchor());
    EXPECT_EQ(std::tuple(anchor.left, anchor.bottom, anchor.bottom - anchor.top), std::tuple(352L, 2L, 13L));
    POINT stem{354, 2};
    ClientToScreen(bar_->Hwnd(), &stem);
    RECT r{};
    GetWindowRect(tip, &r);
    EXPECT_TRUE(r.left <= stem.x && r.right >= stem.x &&
                (std::abs(r.bottom - stem.y) <= 2 || std::abs(r.top - stem.y) <= 2))
        << "balloon " << ::testing::PrintToString(r) << " stem " << stem.x << "," << stem.y;
    SaveScreenshot(GetDesktopWindow(), L"statusbar_balloon_tip");
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tip); }, 3000));
    EXPECT_GE(GetTickCount() - start, 650u) << "not before its duration";

    ASSERT_TRUE(bar_->ShowToolTipPanel(L"primero", L"uno", 1, 600));
    PumpMessages(300);
    start = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 1500)); // long enough for a busy machine
    PumpMessages(450);                                                // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(std::tuple(TipText(), bar_->Balloon().Title(), bar_->Balloon().Icon(), InBar(bar_->ToolTipAnchor()).left),
              std::tuple(std::wstring(L"segundo"), std::wstring(L"dos"), 1, 432L))
        << "information unless asked otherwise";
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - start, 1400u);
    EXPECT_TRUE(notices_.notices.empty());
}

TEST_F(StatusBarEvents, NoPanelsOrAnIndexOutsideShowsNothingAndADiagnosticRunOnlyExplains) {
    host::ScopedDiagnosticRun notDiagnostic(false);
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 4) || bar_->ShowToolTipPanel(L"t", L"x", -1));
    bar_->ClearPanels();
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    EXPECT_TRUE(notices_.notices.empty());
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: never a diagnostic run";
    AddMainWindowPanels();
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
