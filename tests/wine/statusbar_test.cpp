// SkinStatusBar on a real window: its child labels and foreign controls, its drawing read back from its
// back buffer, its mouse routing to the nine events and its balloon tips. The panel table is native-tested.
#include "controls/host/diagnostic_run.h"
#include "controls/host/font_win.h"
#include "controls/host/picture_win.h"
#include "controls/statusbar/skin_status_bar.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/window_test.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

using namespace testsupport;
using statusbar::SkinStatusBar;
using Colours = std::vector<COLORREF>;
using Texts = std::vector<std::wstring>;

namespace {

// A skin tile of our own: a one-pixel frame around one inside colour.
host::Picture SkinTile(bmp::Rgb frame, bmp::Rgb inside) {
    host::Picture p{bmp::Raster(15, 23, frame)};
    for (int y = 1; y < 22; ++y)
        for (int x = 1; x < 14; ++x)
            p.raster.At(x, y) = inside;
    return p;
}

class StatusBarTest : public ::testing::Test {
protected:
    explicit StatusBarTest(int barHeight = 17) : barHeight_(barHeight) {}

    void SetUp() override {
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 600, 200, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(bar_->Create(host_, 0, 200 - barHeight_, 600, barHeight_));
        PumpMessages(20);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }

    // The main window's three panels: boxes 2-350, 352-430 and 432-510.
    void AddMainWindowPanels() {
        bar_->AddPanel(L"Desconectado", L"Skins", 350);
        bar_->AddPanel(L"06/12/2026", L"Date", 80);
        bar_->AddPanel(L"10:00:00", L"Time", 80);
    }
    RECT InBar(HWND child) const { return RectIn(child, bar_->Hwnd()); }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<statusbar::SkinStatusBar> bar_ = std::make_unique<statusbar::SkinStatusBar>();

private:
    int barHeight_;
};

// The texts of the bar's STATIC children, sorted: what another process finds by walking them.
Texts StaticTexts(HWND bar) {
    Texts texts;
    for (HWND c = nullptr; (c = FindWindowExW(bar, c, L"Static", nullptr)) != nullptr;)
        texts.push_back(WindowText(c));
    std::sort(texts.begin(), texts.end());
    return texts;
}

// 22 pixels high: the tile is then copied without vertical stretching, so rows are exact.
class StatusBarDrawing : public StatusBarTest {
protected:
    StatusBarDrawing() : StatusBarTest(22) {}
    COLORREF Strip(int x, int y) const { return RGB(strip_.At(x, y).r, strip_.At(x, y).g, strip_.At(x, y).b); }
    COLORREF Back(int x, int y) const { return GetPixel(bar_->BackBuffer(), x, y); }
    Colours Back(std::initializer_list<POINT> points) const {
        Colours colours;
        for (POINT p : points)
            colours.push_back(Back(p.x, p.y));
        return colours;
    }
    const bmp::Raster strip_ = gen::BuildStatusBarSkinStrip();
};

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

TEST_F(StatusBarTest, DocksHoldsAndRemovesPanelsLabelsAndForeignControls) {
    EXPECT_EQ(std::pair(bar_->Align(), bar_->Skin()), std::pair(2, 16)) << "no saved settings: skin 16";
    // The first show sets the font, also of the template label.
    const HFONT templateFont = reinterpret_cast<HFONT>(SendMessageW(bar_->PanelLabel(0), WM_GETFONT, 0, 0));
    EXPECT_EQ(host::FontDescFromHandle(templateFont), host::FontDescFromHandle(bar_->Font()));
    EXPECT_EQ(host::FontDescFromHandle(bar_->Font()).name, L"MS Sans Serif");
    SetWindowPos(host_, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{0, 300 - 17, 700, 300})) << "the window's width, as high as asked";
    AddMainWindowPanels();
    ASSERT_EQ(bar_->PanelsCount(), 3);
    // Labels are child windows whose text anyone can read, with the template never shown.
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"06/12/2026", L"10:00:00", L"Desconectado"}));
    EXPECT_EQ(std::pair(IsWindowVisible(bar_->PanelLabel(0)), IsWindowVisible(bar_->PanelLabel(3))), std::pair(0, 1));
    bar_->ChangeTextPanel(L"1", 3);
    EXPECT_EQ(WindowText(bar_->PanelLabel(3)), L"1");
    SaveScreenshot(host_, L"statusbar_main_window_panels");

    // Foreign controls placed inside panels.
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 40, host_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(bar_->SetControlPanel(progress, 2));
    EXPECT_EQ(std::pair(GetParent(progress), InBar(progress)), std::pair(bar_->Hwnd(), RECT{354, 4, 428, 14}));

    // Removing panels: the rest are placed again with their labels, the removed ones are gone.
    ASSERT_TRUE(bar_->ClearPanelByIndex(2));
    EXPECT_EQ(std::tuple(bar_->PanelsCount(), InBar(bar_->PanelLabel(2)).left, bar_->PanelLabel(3)),
              std::tuple(std::int16_t{2}, 356L, HWND{}));
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"1", L"Desconectado"}));
    bar_->ClearPanels();
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), Texts{L""}) << "only the template is left";
}

TEST_F(StatusBarDrawing, TheTilePanelBoxesCustomSkinsAndAFailedCopy) {
    // The last tile, so that a tile offset left out shows. The top frame line shows along the top edge,
    // the bottom one falls outside; the side frame columns fall 3 pixels outside.
    EXPECT_FALSE(bar_->SetSkin(21));
    const int x0 = 15 * 21;
    EXPECT_EQ(Back({{300, 0}, {300, 21}, {0, 12}, {599, 12}}),
              (Colours{Strip(x0, 0), Strip(x0 + 7, 21), Strip(x0 + 3, 12), Strip(x0 + 11, 12)}));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bar_->Hwnd(), 300, 1) == Strip(x0 + 7, 1); }))
        << "the back buffer reaches the screen";

    bar_->SetSkin(0);
    bar_->AddPanel(L"a", L"", 100);                     // box 2..99 × 2..20 (Bottom 19, the box reaches Bottom + 1)
    bar_->AddPanel(L"b", L"", 100, -1, 0x00FFFF);       // filled yellow: 102..199
    bar_->AddPanel(L"c", L"", 100, 0x00FF00, -1, 0xFF); // own text colour, red border: 202..299
    const COLORREF border = RGB(176, 204, 243), yellow = RGB(255, 255, 0), red = RGB(255, 0, 0);
    const COLORREF skin = Back(450, 10); // where no panel is
    EXPECT_EQ(Back({{2, 10}, {50, 20}, {150, 10}, {202, 10}, {100, 10}, {50, 10}}),
              (Colours{border, border, yellow, red, skin, skin}))
        << "Right itself is outside the box; no fill shows the skin";
    bar_->SetSkin(16);
    SaveScreenshot(host_, L"statusbar_panels_skin16");

    // A custom skin held by another DC is refused with 481; once free it is copied, so the caller may
    // delete its bitmap; a built-in skin replaces it at once.
    win::Bitmap held = host::BitmapFromPicture(SkinTile({1, 2, 3}, {4, 5, 6}));
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, held.Get());
    const auto error = bar_->SetCustomSkin(held.Get());
    EXPECT_EQ(std::pair(error ? error->number : 0, bar_->CustomSkin()), std::pair(481, HBITMAP{}));
    SelectObject(other, old);
    DeleteDC(other);
    ASSERT_FALSE(bar_->SetCustomSkin(held.Get()));
    held.Reset();
    bar_->Refresh();
    EXPECT_EQ(Back(300, 0), RGB(1, 2, 3));
    ASSERT_FALSE(bar_->SetSkin(3));
    EXPECT_EQ(std::pair(bar_->CustomSkin(), Back(300, 0)), std::pair(HBITMAP{}, Strip(45, 0)));

    // A failed copy leaves the back buffer untouched.
    {
        host::ScopedDiagnosticRun off(false);
        bar_->DrawSkin(0, 0, 1 << 20, 1 << 20); // no surface that large can be made
    }
    EXPECT_EQ(Back(300, 0), Strip(45, 0)) << "the back buffer is untouched";
    EXPECT_TRUE(notices_.notices.empty());
}

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
        {true, // label-relative coordinates; a press raises nothing until its release
         {{WM_MOUSEMOVE, 0, 5, 3}, {WM_LBUTTONDOWN, MK_LBUTTON, 5, 3}, {WM_LBUTTONUP, 0, 5, 3}},
         {"PanelMouseMove 0 0 5 3 2 06/12/2026 Date", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date",
          "PanelClick 2 06/12/2026 Date 352 2 14 78"}},
        {true,
         {{WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 3}, {WM_LBUTTONUP, 0, 5, 3}},
         {"PanelDblClick 2 06/12/2026 Date 352 2 14 78", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}},
    };
    for (const auto& row : rows) {
        for (const auto& [msg, keys, x, y] : row.sent)
            SendMessageW(row.onLabel ? bar_->PanelLabel(2) : bar_->Hwnd(), msg, keys, MAKELPARAM(x, y));
        EXPECT_EQ(Take(), row.raised);
    }
}

TEST_F(StatusBarEvents, AHandlerMayRemoveThePanelItClickedOrDestroyTheBarDuringThePress) {
    bar_->PanelClick = [this](std::int32_t i, auto&&...) { bar_->ClearPanelByIndex(i); };
    HWND label = bar_->PanelLabel(2);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(label));
    EXPECT_EQ(bar_->PanelsCount(), 2);
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

TEST_F(StatusBarEvents, ABalloonASecondCallReplacesItAndHidesAfterItsDuration) {
    host::ScopedDiagnosticRun notDiagnostic(false); // in a diagnostic run the tip is only explained
    const DWORD first = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"Conectado al puerto USB", L"Estado", 2, 1000, 2));
    PumpMessages(50);
    HWND tip = bar_->BalloonWindow();
    ASSERT_TRUE(tip && IsWindowVisible(tip) && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON));
    EXPECT_EQ(TipText(), L"Conectado al puerto USB");
    SaveScreenshot(GetDesktopWindow(), L"statusbar_balloon_tip");

    const DWORD second = GetTickCount();
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 1500));            // long enough for a busy machine
    PumpMessages(std::max(50, 1250 - static_cast<int>(GetTickCount() - first))); // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(TipText(), L"segundo");
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 1400u) << "not before its duration";
}
