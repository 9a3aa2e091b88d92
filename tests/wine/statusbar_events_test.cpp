// SkinStatusBar's mouse routing: synthesized mouse messages on the bar and on the panel labels raise
// the nine events with the right arguments; the columns between panels belong to no panel.
#include "controls/statusbar/skin_status_bar.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

class StatusBarEvents : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ZevStatusBarEventHost";
        RegisterClassExW(&wc);
        host_ = CreateWindowExW(0, L"ZevStatusBarEventHost", L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50,
                                600, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(bar_->Create(host_, 0, 103, 600, 17));
        bar_->AddPanel(L"Desconectado", L"Skins", 350);
        bar_->AddPanel(L"06/12/2026", L"Date", 80);
        bar_->AddPanel(L"10:00:00", L"Time", 80);
        Record();
        PumpMessages(20);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }
    // Every event as one line of text, in the order raised.
    void Record() {
        bar_->PanelClick = [this](std::int32_t i, const std::wstring& t, const std::wstring& k, std::int32_t l,
                                  std::int32_t tp, std::int32_t h, std::int32_t w) {
            Log() << "PanelClick " << i << ' ' << Narrow(t) << ' ' << Narrow(k) << ' ' << l << ' ' << tp << ' ' << h
                  << ' ' << w;
        };
        bar_->PanelDblClick = [this](std::int32_t i, const std::wstring&, const std::wstring& k, std::int32_t,
                                     std::int32_t, std::int32_t,
                                     std::int32_t) { Log() << "PanelDblClick " << i << ' ' << Narrow(k); };
        auto panelMouse = [this](const char* name) {
            return [this, name](std::int16_t b, std::int16_t s, float x, float y, std::int32_t i, const std::wstring& t,
                                const std::wstring& k) {
                Log() << name << ' ' << b << ' ' << s << ' ' << x << ' ' << y << ' ' << i << ' ' << Narrow(t) << ' '
                      << Narrow(k);
            };
        };
        bar_->PanelMouseMove = panelMouse("PanelMouseMove");
        bar_->PanelMouseUp = panelMouse("PanelMouseUp");
        auto mouse = [this](const char* name) {
            return [this, name](std::int16_t b, std::int16_t s, float x, float y) {
                Log() << name << ' ' << b << ' ' << s << ' ' << x << ' ' << y;
            };
        };
        bar_->MouseMove = mouse("MouseMove");
        bar_->MouseDown = mouse("MouseDown");
        bar_->MouseUp = mouse("MouseUp");
        bar_->Click = [this] { Log() << "Click"; };
        bar_->DblClick = [this] { Log() << "DblClick"; };
    }
    std::ostringstream& Log() {
        Flush();
        current_ = std::make_unique<std::ostringstream>();
        return *current_;
    }
    std::vector<std::string> Take() {
        Flush();
        return std::exchange(lines_, {});
    }
    void Flush() {
        if (current_) {
            lines_.push_back(current_->str());
            current_.reset();
        }
    }
    static std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
    void Send(HWND to, UINT msg, WPARAM keys, int x, int y) {
        Flush();
        SendMessageW(to, msg, keys, MAKELPARAM(x, y));
        Flush();
    }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<SkinStatusBar> bar_ = std::make_unique<SkinStatusBar>();
    std::unique_ptr<std::ostringstream> current_;
    std::vector<std::string> lines_;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(StatusBarEvents, ColumnsBetweenPanelsRaiseMouseMoveNotPanelMouseMove) {
    for (int x = 349; x <= 353; ++x)
        Send(bar_->Hwnd(), WM_MOUSEMOVE, 0, x, 1);
    EXPECT_EQ(Take(),
              (Lines{"PanelMouseMove 0 0 349 1 1 Desconectado Skins", "MouseMove 0 0 350 1", "MouseMove 0 0 351 1",
                     "MouseMove 0 0 352 1", "PanelMouseMove 0 0 353 1 2 06/12/2026 Date"}));
    Send(bar_->Hwnd(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 520, 8);
    EXPECT_EQ(Take(), (Lines{"MouseMove 1 3 520 8"})) << "buttons held and shift keys as the event numbers them";
}

TEST_F(StatusBarEvents, APressOnAPanelOutsideItsLabelRaisesPanelClickThenPanelMouseUpAndClick) {
    Send(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 400, 1);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 400, 1);
    // lHeight carries the panel's Bottom (14), lWidth is Right - Left.
    EXPECT_EQ(Take(),
              (Lines{"PanelClick 2 06/12/2026 Date 352 2 14 78", "PanelMouseUp 1 0 400 1 2 06/12/2026 Date", "Click"}));
    Send(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 351, 5);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 351, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 351 5", "MouseUp 1 0 351 5", "Click"}));
    // The right button presses and releases, but clicks only with the left one.
    Send(bar_->Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, 560, 5);
    Send(bar_->Hwnd(), WM_RBUTTONUP, 0, 560, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 2 0 560 5", "MouseUp 2 0 560 5"}));
    // Released outside the bar: no click.
    Send(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 560, 5);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 560, -40);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 560 5", "MouseUp 1 0 560 -40"}));
}

TEST_F(StatusBarEvents, ADoubleClickOnTheBar) {
    Send(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 560, 5);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 560, 5);
    Send(bar_->Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 560, 5);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 560, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 560 5", "MouseUp 1 0 560 5", "Click", "DblClick", "MouseUp 1 0 560 5"}));
}

TEST_F(StatusBarEvents, LabelsTakeTheInputOverThemWithLabelRelativeCoordinates) {
    HWND label = bar_->PanelLabel(2);
    Send(label, WM_MOUSEMOVE, 0, 5, 3);
    Send(label, WM_LBUTTONDOWN, MK_LBUTTON, 5, 3);
    EXPECT_EQ(Take(), (Lines{"PanelMouseMove 0 0 5 3 2 06/12/2026 Date"})) << "a press on a label raises nothing";
    Send(label, WM_LBUTTONUP, 0, 5, 3);
    EXPECT_EQ(Take(), (Lines{"PanelMouseUp 1 0 5 3 2 06/12/2026 Date", "PanelClick 2 06/12/2026 Date 352 2 14 78"}));
    Send(label, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 3);
    Send(label, WM_LBUTTONUP, 0, 5, 3);
    EXPECT_EQ(Take(), (Lines{"PanelDblClick 2 Date", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}));
    // What the system does with a real pointer over the label: the label is hit, not the bar.
    RECT r{};
    GetWindowRect(label, &r);
    const POINT inside{r.left + 3, r.top + 3};
    EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    EXPECT_EQ(WindowFromPoint(inside), label);
}

TEST_F(StatusBarEvents, AHandlerMayRemoveThePanelWhoseLabelItClicked) {
    bar_->PanelClick = [this](std::int32_t i, const std::wstring&, const std::wstring&, std::int32_t, std::int32_t,
                              std::int32_t, std::int32_t) { bar_->ClearPanelByIndex(i); };
    HWND label = bar_->PanelLabel(2);
    Send(label, WM_LBUTTONDOWN, MK_LBUTTON, 5, 3);
    Send(label, WM_LBUTTONUP, 0, 5, 3);
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(label));
    ASSERT_EQ(bar_->PanelsCount(), 2);
    EXPECT_EQ(bar_->Panels().At(2).Key, L"Time");
    EXPECT_EQ(Take(), (Lines{"PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}));
    bar_->ClearPanels();
    Send(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 100, 5);
    Send(bar_->Hwnd(), WM_LBUTTONUP, 0, 100, 5);
    EXPECT_EQ(Take(), (Lines{"MouseDown 1 0 100 5", "MouseUp 1 0 100 5", "Click"}));
}
