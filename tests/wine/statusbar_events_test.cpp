// SkinStatusBar's mouse routing: synthesized mouse messages on the bar and on the panel labels raise
// the nine events with the right arguments; the columns between panels belong to no panel.
#include "tests/wine/support/statusbar_host.h"

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

    Lines lines_;
};

} // namespace

TEST_F(StatusBarEvents, ColumnsBetweenPanelsRaiseMouseMoveNotPanelMouseMove) {
    for (int x = 349; x <= 353; ++x)
        SendMessageW(bar_->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 1));
    EXPECT_EQ(Take(),
              (Lines{"PanelMouseMove 0 0 349 1 1 Desconectado Skins", "MouseMove 0 0 350 1", "MouseMove 0 0 351 1",
                     "MouseMove 0 0 352 1", "PanelMouseMove 0 0 353 1 2 06/12/2026 Date"}));
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
