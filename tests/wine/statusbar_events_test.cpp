// SkinStatusBar's mouse routing to its nine events, and its balloon tips.
#include "controls/host/diagnostic_run.h"
#include "tests/wine/support/statusbar_host.h"

#include <commctrl.h>

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
        bar_->PanelClick = [this](auto&&... a) { Log("PanelClick", a...); };
        bar_->PanelDblClick = [this](auto&&... a) { Log("PanelDblClick", a...); };
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
    // What the tip window shows.
    std::wstring TipText() const { return WindowText(bar_->BalloonWindow()); }

    Lines lines_;
};

} // namespace

TEST_F(StatusBarEvents, InputOnTheBarOrAPanelLabelRaisesTheEventsOfWhereAndHowItCame) {
    // Each row: messages sent at (x, y) to the bar or to panel 2's label, and the events they raise.
    // lHeight carries the panel's Bottom (14), lWidth is Right - Left; only the left button clicks.
    const struct {
        bool onLabel;
        std::vector<std::tuple<UINT, WPARAM, int, int>> sent;
        Lines raised;
    } rows[] = {
        {false,
         {{WM_MOUSEMOVE, MK_RBUTTON | MK_SHIFT, 349, 1}, {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON | MK_CONTROL, 351, 8}},
         {"PanelMouseMove 2 1 349 1 1 Desconectado Skins", "MouseMove 5 2 351 8"}},
        {false,
         {{WM_LBUTTONDOWN, MK_LBUTTON, 400, 1}, {WM_LBUTTONUP, 0, 400, 1}},
         {"PanelClick 2 06/12/2026 Date 352 2 14 78", "PanelMouseUp 1 0 400 1 2 06/12/2026 Date", "Click"}},
        {false,
         {{WM_LBUTTONDOWN, MK_LBUTTON, 351, 5},
          {WM_LBUTTONUP, 0, 351, 5},
          {WM_LBUTTONDBLCLK, MK_LBUTTON, 351, 5},
          {WM_LBUTTONUP, 0, 351, 5}},
         {"MouseDown 1 0 351 5", "MouseUp 1 0 351 5", "Click", "DblClick", "MouseUp 1 0 351 5"}},
        {false, // a quick second right or middle press is a press
         {{WM_RBUTTONDOWN, MK_RBUTTON, 560, 5},
          {WM_RBUTTONUP, 0, 560, 5},
          {WM_RBUTTONDBLCLK, MK_RBUTTON, 560, 5},
          {WM_MBUTTONDBLCLK, MK_MBUTTON | MK_RBUTTON, 400, 5}},
         {"MouseDown 2 0 560 5", "MouseUp 2 0 560 5", "MouseDown 2 0 560 5",
          "PanelClick 2 06/12/2026 Date 352 2 14 78"}},
        {true, // label-relative coordinates; a press raises nothing until its release
         {{WM_MOUSEMOVE, 0, 5, 3}, {WM_LBUTTONDOWN, MK_LBUTTON, 5, 3}, {WM_LBUTTONUP, 0, 5, 3}},
         {"PanelMouseMove 0 0 5 3 2 06/12/2026 Date", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date",
          "PanelClick 2 06/12/2026 Date 352 2 14 78"}},
    };
    for (const auto& row : rows) {
        for (const auto& [msg, keys, x, y] : row.sent)
            SendMessageW(row.onLabel ? bar_->PanelLabel(2) : bar_->Hwnd(), msg, keys, MAKELPARAM(x, y));
        EXPECT_EQ(Take(), row.raised);
    }
    // What the system does with a real pointer over the label: the label is hit, not the bar.
    RECT r{};
    GetWindowRect(bar_->PanelLabel(2), &r);
    EXPECT_EQ(WindowFromPoint({r.left + 3, r.top + 3}), bar_->PanelLabel(2));
}

TEST_F(StatusBarEvents, AHandlerMayRemoveThePanelItClickedOrDestroyTheBarDuringThePress) {
    bar_->PanelClick = [this](std::int32_t i, auto&&...) { bar_->ClearPanelByIndex(i); };
    HWND label = bar_->PanelLabel(2);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(label));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    EXPECT_EQ(bar_->Panels().At(2).Key, L"Time");
    EXPECT_EQ(Take(), (Lines{"PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}));

    // A handler that replaces the bar by a new one in the same place in memory: anything the old bar
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

TEST_F(StatusBarEvents, ABalloonAtThePanelsTopEdgeASecondCallReplacesItAndHidesAfterItsDuration) {
    host::ScopedDiagnosticRun notDiagnostic(false); // in a diagnostic run the tip is only explained
    const DWORD first = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"Conectado al puerto USB", L"Estado", 2, 1000, 2));
    PumpMessages(50);
    HWND tip = bar_->BalloonWindow();
    ASSERT_TRUE(tip && IsWindowVisible(tip) && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON));
    EXPECT_EQ(std::tuple(TipText(), bar_->Balloon().Title(), bar_->Balloon().Icon()),
              std::tuple(std::wstring(L"Conectado al puerto USB"), std::wstring(L"Estado"), 2));
    // The balloon's stem reaches panel 2's top left edge from above or below.
    POINT stem{354, 2};
    ClientToScreen(bar_->Hwnd(), &stem);
    RECT r{};
    GetWindowRect(tip, &r);
    EXPECT_TRUE(r.left <= stem.x && stem.x <= r.right &&
                std::min(std::abs(r.bottom - stem.y), std::abs(r.top - stem.y)) <= 2)
        << ::testing::PrintToString(r) << " stem " << stem.x << "," << stem.y;
    SaveScreenshot(GetDesktopWindow(), L"statusbar_balloon_tip");

    const DWORD second = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 1500)); // long enough for a busy machine
    PumpUntil([&] { return GetTickCount() - first > 1200; });           // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(std::tuple(TipText(), bar_->Balloon().Title(), bar_->Balloon().Icon(), InBar(bar_->ToolTipAnchor())),
              std::tuple(std::wstring(L"segundo"), std::wstring(L"dos"), 1, RECT{432, -11, 437, 2}))
        << "information unless asked otherwise";
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 1400u) << "not before its duration";

    // An index outside shows nothing.
    EXPECT_FALSE(bar_->ShowToolTipPanel(L"t", L"x", 4) || bar_->ShowToolTipPanel(L"t", L"x", -1));
    PumpMessages(30);
    EXPECT_FALSE(bar_->ToolTipShown());
    EXPECT_TRUE(notices_.notices.empty());
}
