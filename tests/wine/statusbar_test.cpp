// SkinStatusBar on a real window: its child labels and foreign controls, its drawing read back from its
// back buffer, its mouse routing to the nine events and its balloon tips. The panel table is native-tested.
#include "controls/host/diagnostic_run.h"
#include "controls/host/font_win.h"
#include "controls/host/picture_win.h"
#include "controls/statusbar/skin_colours.h"
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
host::Picture SkinTile(bmp::Rgb frame, bmp::Rgb inside, int width = 15, int height = 23) {
    host::Picture p{bmp::Raster(width, height, frame)};
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
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

std::int32_t Num(COLORREF c) {
    return static_cast<std::int32_t>(c);
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

TEST_F(StatusBarTest, DocksHoldsAndRemovesPanelsLabelsAndForeignControlsAndErrorsChangeNothing) {
    EXPECT_EQ(std::pair(bar_->Align(), bar_->Skin()), std::pair(2, 16)) << "no saved settings: skin 16";
    SetWindowPos(host_, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{0, 300 - 17, 700, 300})) << "the window's width, as high as asked";
    AddMainWindowPanels();
    ASSERT_EQ(bar_->PanelsCount(), 3);
    // Labels are child windows whose text anyone can read, with the template never shown.
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"06/12/2026", L"10:00:00", L"Desconectado"}));
    EXPECT_EQ(std::pair(IsWindowVisible(bar_->PanelLabel(0)), IsWindowVisible(bar_->PanelLabel(3))), std::pair(0, 1));
    // Where a label goes is the panel table's rule; the window puts it there.
    const RECT label = InBar(bar_->PanelLabel(2));
    EXPECT_EQ(std::tuple(label.left, label.right, label.top),
              std::tuple(356L, 426L, statusbar::LabelTop(bar_->Panels().At(2), label.bottom - label.top)));
    // A long text is cut at the panel's width less 8; a short one keeps its own width.
    const std::wstring longText = L"12:34:56 y un texto mucho más largo que el panel";
    bar_->ChangeTextPanel(longText, 3);
    EXPECT_EQ(std::pair(WindowText(bar_->PanelLabel(3)), bar_->Panels().At(3).Text), std::pair(longText, longText));
    EXPECT_EQ(std::pair(InBar(bar_->PanelLabel(3)).left, InBar(bar_->PanelLabel(3)).right), std::pair(436L, 506L));
    bar_->ChangeTextPanel(L"1", 3);
    EXPECT_LT(InBar(bar_->PanelLabel(3)).right, 456L);
    SaveScreenshot(host_, L"statusbar_main_window_panels");

    // Foreign controls placed inside panels.
    HWND progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 40, host_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(bar_->SetControlPanel(progress, 4));
    EXPECT_FALSE(bar_->SetControlPanel(host_, 1)) << "the bar's own window cannot move into it";
    ASSERT_TRUE(bar_->SetControlPanel(progress, 2));
    EXPECT_EQ(std::pair(GetParent(progress), InBar(progress)), std::pair(bar_->Hwnd(), RECT{354, 4, 428, 14}));
    ASSERT_TRUE(bar_->SetControlPanel(progress, 3, 0, 60, 500, 500, false));
    EXPECT_EQ(InBar(progress), (RECT{492, 2, 510, 14})) << "cut to the panel, shortened at its right edge";
    // A system colour number is translated; -1 asks for the bar's own colour.
    bar_->SetProgressBarColor(progress, static_cast<std::int32_t>(0x8000000F), -1);
    EXPECT_EQ(std::pair(SendMessageW(progress, PBM_GETBKCOLOR, 0, 0), SendMessageW(progress, PBM_GETBARCOLOR, 0, 0)),
              (std::pair<LRESULT, LRESULT>(GetSysColor(COLOR_BTNFACE), CLR_DEFAULT)));

    // Removing panels: the rest are placed again with their labels, the removed ones are gone.
    ASSERT_TRUE(bar_->ClearPanelByIndex(2));
    EXPECT_EQ(std::tuple(bar_->PanelsCount(), InBar(bar_->PanelLabel(2)).left, bar_->PanelLabel(3)),
              std::tuple(std::int16_t{2}, 356L, HWND{}));
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), (Texts{L"", L"1", L"Desconectado"}));
    bar_->ClearPanels();
    EXPECT_EQ(StaticTexts(bar_->Hwnd()), Texts{L""}) << "only the template is left";
}

TEST_F(StatusBarTest, FromASavedSetAndAtItsFirstShow) {
    // A bar asked for at (10, 20) in a running program, made from a saved set (null: none).
    const auto Make = [this](const host::PropertyBag* saved) {
        bar_ = std::make_unique<SkinStatusBar>();
        SkinStatusBar::CreateArgs args{host_, 10, 20, 300, 22};
        args.savedProperties = saved;
        EXPECT_TRUE(bar_->Create(args));
    };
    host::PropertyBag saved;
    saved.WriteLong(L"Skin", 7);
    saved.WritePicture(L"CustomSkin", SkinTile({10, 20, 30}, {40, 50, 60}));
    Make(&saved);
    EXPECT_EQ(std::pair(bar_->Skin(), bar_->GetSkinsColors(60)), std::pair(0, Num(RGB(10, 20, 30))));

    // The first show in a running program sets the font, also of the template label, and docks.
    Make(nullptr);
    const host::FontDesc font = host::FontDescFromHandle(bar_->Font());
    EXPECT_EQ(std::pair(font.name, font.bold), std::pair(std::wstring(L"MS Sans Serif"), false));
    EXPECT_EQ(host::FontDescFromHandle(reinterpret_cast<HFONT>(SendMessageW(bar_->PanelLabel(0), WM_GETFONT, 0, 0))),
              font);
    EXPECT_EQ(std::pair(bar_->Align(), RectIn(bar_->Hwnd(), host_)), std::pair(2, RECT{0, 200 - 22, 600, 200}));
}

TEST_F(StatusBarDrawing, TheTileOverTheBarWithAndWithoutItsBorderAndAFailedCopy) {
    // The last tile, so that a tile offset left out shows. The top frame line shows along the top edge,
    // the bottom one falls outside; the side frame columns fall 3 pixels outside.
    EXPECT_FALSE(bar_->SetSkin(21));
    const int x0 = 15 * 21;
    EXPECT_EQ(Back({{300, 0}, {300, 21}, {0, 12}, {599, 12}}),
              (Colours{Strip(x0, 0), Strip(x0 + 7, 21), Strip(x0 + 3, 12), Strip(x0 + 11, 12)}));
    EXPECT_EQ(std::tuple(bar_->GetSkinsColors(60), bar_->GetSkinsColors(70), bar_->GetSkinsColors(65)),
              std::tuple(Num(Strip(x0, 0)), Num(Strip(x0 + 7, 10)), 0));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bar_->Hwnd(), 300, 1) == Strip(x0 + 7, 1); }))
        << "the back buffer reaches the screen";
    // A failed copy leaves the back buffer untouched.
    bar_->SetSkin(4);
    {
        host::ScopedDiagnosticRun off(false);
        bar_->DrawSkin(0, 0, 1 << 20, 1 << 20); // no surface that large can be made
    }
    EXPECT_EQ(Back(300, 0), Strip(60, 0)) << "the back buffer is untouched";
    EXPECT_TRUE(notices_.notices.empty());
    bar_->SetSkin(0);
    bar_->SetShowBorderStatusBar(false); // all four frame lines fall outside
    EXPECT_EQ(Back({{300, 0}, {300, 1}}), (Colours{Strip(7, 3), Strip(7, 4)}));
}

TEST_F(StatusBarDrawing, PanelBoxesFillsLabelColoursAndCustomSkins) {
    bar_->SetSkin(0);
    bar_->AddPanel(L"a", L"", 100);                     // box 2..99 × 2..20 (Bottom 19, the box reaches Bottom + 1)
    bar_->AddPanel(L"b", L"", 100, -1, 0x00FFFF);       // filled yellow: 102..199
    bar_->AddPanel(L"c", L"", 100, 0x00FF00, -1, 0xFF); // own text colour, red border: 202..299
    const COLORREF border = RGB(176, 204, 243), yellow = RGB(255, 255, 0), red = RGB(255, 0, 0);
    const COLORREF skin = Back(450, 10); // where no panel is
    EXPECT_EQ(Back({{2, 10}, {99, 10}, {50, 2}, {50, 20}, {102, 10}, {150, 10}, {202, 10}, {100, 10}, {50, 10}}),
              (Colours{border, border, border, border, border, yellow, red, skin, skin}))
        << "Right itself is outside the box; no fill shows the skin";
    bar_->SetBorderMode(1); // a line at Right for unfilled panels, still full boxes for filled ones
    EXPECT_EQ(Back({{100, 10}, {100, 20}, {2, 10}, {102, 10}, {150, 10}, {300, 10}}),
              (Colours{border, border, skin, border, yellow, red}));
    bar_->SetShowBorderPanels(false);
    EXPECT_EQ(Back({{100, 10}, {150, 10}}), (Colours{skin, skin}));
    bar_->SetSkin(16);
    EXPECT_EQ(std::tuple(bar_->PanelLabelColour(1), bar_->PanelLabelColour(3)),
              std::tuple(RGB(81, 115, 155), RGB(0, 255, 0)))
        << "labels follow the skin unless the panel has its own colour";
    SaveScreenshot(host_, L"statusbar_panels_skin16");

    // A custom skin draws its first tile while the colours follow the skin number.
    bar_->SetSkin(5);
    win::Bitmap tile = host::BitmapFromPicture(SkinTile({10, 20, 30}, {200, 100, 50}));
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(Back({{300, 0}, {300, 10}}), (Colours{RGB(10, 20, 30), RGB(200, 100, 50)}));
    EXPECT_EQ(std::pair(bar_->GetSkinsColors(60), bar_->GetForeColorText()),
              std::pair(Num(RGB(10, 20, 30)), Num(RGB(255, 255, 255))))
        << "skin 5's text colour";
    ASSERT_FALSE(bar_->SetSkin(3));
    const auto strip = std::pair<HBITMAP, COLORREF>(nullptr, Strip(45, 0));
    EXPECT_EQ(std::pair(bar_->CustomSkin(), Back(300, 0)), strip) << "a built-in skin replaces the custom one at once";

    // Too small, or held by another DC: refused with 481, the strip kept.
    win::Bitmap small = host::BitmapFromPicture(SkinTile({1, 2, 3}, {4, 5, 6}, 14));
    win::Bitmap held = host::BitmapFromPicture(SkinTile({1, 2, 3}, {4, 5, 6}));
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, held.Get());
    for (HBITMAP refused : {small.Get(), held.Get()}) {
        const auto error = bar_->SetCustomSkin(refused);
        EXPECT_EQ(error ? error->number : 0, 481);
        EXPECT_EQ(std::pair(bar_->CustomSkin(), Back(300, 0)), strip);
    }
    SelectObject(other, old);
    DeleteDC(other);
    ASSERT_FALSE(bar_->SetCustomSkin(held.Get()));
    held.Reset(); // the caller may delete its bitmap: the bar draws from its own copy
    bar_->Refresh();
    EXPECT_EQ(Back(300, 0), RGB(1, 2, 3));
    bar_->SetCustomSkin(nullptr);
    EXPECT_EQ(Back(300, 0), Strip(45, 0)) << "clearing brings back the strip";
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
        {true,
         {{WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 3}, {WM_LBUTTONUP, 0, 5, 3}},
         {"PanelDblClick 2 06/12/2026 Date 352 2 14 78", "PanelMouseUp 1 0 5 3 2 06/12/2026 Date"}},
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
    ASSERT_TRUE(bar_->ShowToolTipPanel(L"segundo", L"dos", 3, 1500));            // long enough for a busy machine
    PumpMessages(std::max(50, 1250 - static_cast<int>(GetTickCount() - first))); // past the first tip's end
    EXPECT_TRUE(bar_->ToolTipShown()) << "the first timer must not hide the second tip";
    EXPECT_EQ(std::tuple(TipText(), bar_->Balloon().Title(), bar_->Balloon().Icon(), InBar(bar_->ToolTipAnchor())),
              std::tuple(std::wstring(L"segundo"), std::wstring(L"dos"), 1, RECT{432, -11, 437, 2}))
        << "information unless asked otherwise";
    EXPECT_TRUE(PumpUntil([&] { return !bar_->ToolTipShown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 1400u) << "not before its duration";
}
