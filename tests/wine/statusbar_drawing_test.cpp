// SkinStatusBar's drawing: the back buffer's pixels at frame and fill positions for several skins,
// panel boxes and separators, custom skins, skins outside the strip, label colours, and a screenshot
// of bars with three panels in a few skins.
#include "controls/host/diagnostic_run.h"
#include "controls/host/picture_win.h"
#include "controls/statusbar/skin_colours.h"
#include "controls/statusbar/skin_status_bar.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

COLORREF Ref(gen::Rgb c) {
    return RGB(c.r, c.g, c.b);
}

class StatusBarDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ZevStatusBarDrawHost";
        RegisterClassExW(&wc);
        host_ = CreateWindowExW(0, L"ZevStatusBarDrawHost", L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                600, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
        // 22 pixels high: the tile is then copied without vertical stretching, so rows are exact.
        ASSERT_TRUE(bar_->Create(host_, 0, 178, 600, 22));
        PumpMessages(20);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }
    COLORREF Back(int x, int y) const { return GetPixel(bar_->BackBuffer(), x, y); }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<SkinStatusBar> bar_ = std::make_unique<SkinStatusBar>();
    const gen::Raster strip_ = gen::BuildStatusBarSkinStrip();
};

// A 15 × 23 tile of our own: frame, then one colour per row.
win::Bitmap CustomTile(gen::Rgb frame, gen::Rgb inside, int width = 15, int height = 23) {
    host::Picture p{gen::Raster(width, height, frame)};
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            p.raster.At(x, y) = inside;
    return host::BitmapFromPicture(p);
}

} // namespace

TEST_F(StatusBarDrawing, BackBufferShowsTheTileRowsForSeveralSkins) {
    for (int skin : {0, 5, 6, 10, 16, 20, 21}) {
        EXPECT_FALSE(bar_->SetSkin(skin));
        const auto& s = gen::kStatusBarTileSamples[static_cast<std::size_t>(skin)];
        EXPECT_EQ(Back(300, 0), Ref(s.frame)) << "top frame line along the top edge, skin " << skin;
        EXPECT_EQ(Back(300, 1), Ref(s.row1)) << skin;
        EXPECT_EQ(Back(300, 10), Ref(s.fill)) << skin;
        EXPECT_EQ(Back(300, 21), Ref(s.row21)) << skin;
        // The side frame columns fall 3 pixels outside: column 0 shows the tile's column 3.
        EXPECT_EQ(Back(0, 12), Ref(strip_.At(15 * skin + 3, 12))) << skin;
        EXPECT_EQ(Back(599, 12), Ref(strip_.At(15 * skin + 11, 12))) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(Ref(s.frame))) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(70), static_cast<std::int32_t>(Ref(s.fill))) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(65), 0);
    }
    EXPECT_FALSE(bar_->SetSkin(0));
    EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(0, 0, 128)));
    EXPECT_EQ(bar_->GetSkinsColors(70), static_cast<std::int32_t>(RGB(205, 226, 252)));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bar_->Hwnd(), 300, 1) == RGB(225, 238, 255); }))
        << "the back buffer reaches the screen";
}

TEST_F(StatusBarDrawing, WithoutTheBarBorderAllFourFrameLinesFallOutside) {
    bar_->SetSkin(0);
    bar_->SetShowBorderStatusBar(false);
    EXPECT_EQ(Back(300, 0), Ref(strip_.At(7, 3)));
    EXPECT_EQ(Back(300, 1), Ref(strip_.At(7, 4)));
    EXPECT_NE(Back(300, 0), RGB(0, 0, 128));
    EXPECT_NE(Back(300, 21), RGB(0, 0, 128));
}

TEST_F(StatusBarDrawing, PanelBoxesSeparatorsAndFills) {
    bar_->SetSkin(0);
    bar_->AddPanel(L"a", L"", 100);                   // box 2..99 × 2..20
    bar_->AddPanel(L"b", L"", 100, -1, 0x00FFFF);     // filled yellow: 102..199
    bar_->AddPanel(L"c", L"", 100, -1, -1, 0x0000FF); // red border: 202..299
    const COLORREF border = RGB(176, 204, 243);       // skin 0's panel border
    const int bottom = bar_->Panels().At(1).Bottom;   // 19
    EXPECT_EQ(Back(2, 10), border);
    EXPECT_EQ(Back(99, 10), border);
    EXPECT_EQ(Back(50, 2), border);
    EXPECT_EQ(Back(50, bottom + 1), border) << "the box reaches Bottom + 1";
    EXPECT_NE(Back(100, 10), border) << "Right itself is outside the box";
    EXPECT_EQ(Back(50, 10), Back(450, 10)) << "no fill: the skin shows through";
    EXPECT_EQ(Back(150, 10), RGB(255, 255, 0));
    EXPECT_EQ(Back(102, 10), border);
    EXPECT_EQ(Back(202, 10), RGB(255, 0, 0));
    // Separator mode: a line at Right for unfilled panels, still full boxes for filled ones.
    bar_->SetBorderMode(1);
    EXPECT_EQ(Back(100, 10), border);
    EXPECT_EQ(Back(2, 10), Back(450, 10));
    EXPECT_EQ(Back(100, bottom + 1), border);
    EXPECT_EQ(Back(150, 10), RGB(255, 255, 0));
    EXPECT_EQ(Back(102, 10), border);
    EXPECT_EQ(Back(300, 10), RGB(255, 0, 0)) << "its own border colour for the separator";
    // No panel borders at all: the labels stay.
    bar_->SetShowBorderPanels(false);
    EXPECT_EQ(Back(100, 10), Back(450, 10));
    EXPECT_EQ(Back(150, 10), Back(450, 10));
    EXPECT_TRUE(IsWindowVisible(bar_->PanelLabel(2)));
}

TEST_F(StatusBarDrawing, LabelColoursFollowTheSkinUnlessThePanelHasItsOwn) {
    bar_->SetSkin(0);
    bar_->AddPanel(L"propio", L"", 100, 0x00FF00);
    bar_->AddPanel(L"del skin", L"", 100);
    EXPECT_EQ(bar_->PanelLabelColour(1), RGB(0, 255, 0));
    EXPECT_EQ(bar_->PanelLabelColour(2), RGB(0, 0, 0));
    bar_->SetSkin(5);
    EXPECT_EQ(bar_->PanelLabelColour(2), RGB(255, 255, 255));
    EXPECT_EQ(bar_->GetForeColorText(), static_cast<std::int32_t>(RGB(255, 255, 255)));
    EXPECT_EQ(bar_->PanelLabelColour(1), RGB(0, 255, 0));
    bar_->SetSkin(16);
    EXPECT_EQ(bar_->PanelLabelColour(2), RGB(81, 115, 155));
}

TEST_F(StatusBarDrawing, CustomSkinsDrawTheirFirstTileWhileColoursFollowTheSkinNumber) {
    bar_->SetSkin(5);
    win::Bitmap tile = CustomTile({10, 20, 30}, {200, 100, 50});
    std::vector<std::wstring> changes;
    bar_->Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(bar_->CustomSkin(), tile.Get());
    EXPECT_EQ(changes, std::vector<std::wstring>{L"CustomSkin"});
    EXPECT_EQ(Back(300, 0), RGB(10, 20, 30));
    EXPECT_EQ(Back(300, 10), RGB(200, 100, 50));
    EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(bar_->GetForeColorText(), static_cast<std::int32_t>(RGB(255, 255, 255))) << "skin 5's text colour";
    // A skin number outside the table: colours mix the custom frame with grey.
    bar_->SetCustomSkin(nullptr);
    bar_->SetSkin(25);
    bar_->SetCustomSkin(tile.Get());
    const std::int32_t mix = static_cast<std::int32_t>(statusbar::BlendRgb(RGB(10, 20, 30), RGB(136, 136, 136), 170));
    EXPECT_EQ(bar_->GetForeColorText(), mix);
    bar_->AddPanel(L"x", L"", 100);
    EXPECT_EQ(Back(2, 10), static_cast<COLORREF>(mix)) << "the panel border too";
    // A built-in skin replaces the custom one at once.
    ASSERT_FALSE(bar_->SetSkin(3));
    EXPECT_EQ(bar_->CustomSkin(), nullptr);
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[3].frame));
}

TEST_F(StatusBarDrawing, APictureSmallerThanATileIsRefusedAndClearingBringsBackTheStrip) {
    bar_->SetSkin(2);
    win::Bitmap small = CustomTile({1, 2, 3}, {4, 5, 6}, 14, 23);
    const auto error = bar_->SetCustomSkin(small.Get());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, 481);
    EXPECT_EQ(bar_->CustomSkin(), nullptr);
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[2].frame));
    win::Bitmap tile = CustomTile({1, 2, 3}, {4, 5, 6});
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(Back(300, 0), RGB(1, 2, 3));
    bar_->SetCustomSkin(nullptr);
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[2].frame)) << "the caller may now delete its bitmap";
    tile.Reset();
    bar_->Refresh();
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[2].frame));
}

TEST_F(StatusBarDrawing, ABitmapHeldByAnotherSurfaceIsRefusedAndAFailedCopySpeaksOnlyInADiagnosticRun) {
    bar_->SetSkin(4);
    win::Bitmap tile = CustomTile({1, 2, 3}, {4, 5, 6});
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, tile.Get());
    const auto error = bar_->SetCustomSkin(tile.Get());
    SelectObject(other, old);
    DeleteDC(other);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, 481);
    EXPECT_EQ(bar_->CustomSkin(), nullptr);
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[4].frame));
    {
        host::ScopedDiagnosticRun off(false);
        bar_->DrawSkin(0, 0, 1 << 20, 1 << 20); // no surface that large can be made
        EXPECT_TRUE(notices_.notices.empty());
    }
    EXPECT_EQ(Back(300, 0), Ref(gen::kStatusBarTileSamples[4].frame)) << "the back buffer is untouched";
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: no diagnostic messages";
    bar_->DrawSkin(0, 0, 1 << 20, 1 << 20);
    ASSERT_EQ(notices_.notices.size(), 1u);
    EXPECT_EQ(notices_.notices[0].text, L"Error en el procedimiento DrawSkin");
    EXPECT_EQ(notices_.notices[0].title, L"ZEV Config");
    EXPECT_EQ(notices_.notices[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST_F(StatusBarDrawing, SkinsOutsideTheStripDrawTheFirstTileAndNeverReadPastIt) {
    for (std::int32_t skin : {22, 25, -1, 1000000, INT32_MIN}) {
        EXPECT_FALSE(bar_->SetSkin(skin)) << skin;
        EXPECT_EQ(bar_->Skin(), skin);
        EXPECT_EQ(Back(300, 0), RGB(0, 0, 128)) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(0, 0, 128))) << skin;
        EXPECT_EQ(bar_->GetForeColorText(), static_cast<std::int32_t>(statusbar::SkinMixColour(RGB(0, 0, 128))));
    }
    EXPECT_TRUE(notices_.notices.empty());
}

TEST_F(StatusBarDrawing, DrawSkinPaintsAnotherWindowAndBlendColorTranslatesSystemColours) {
    bar_->SetSkin(0);
    HWND pic = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 120, 23, host_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    PumpMessages(30);
    bar_->DrawSkin(pic);
    HDC dc = GetDC(pic);
    EXPECT_EQ(GetPixel(dc, 60, 0), RGB(0, 0, 128));
    EXPECT_EQ(GetPixel(dc, 60, 10), RGB(205, 226, 252));
    ReleaseDC(pic, dc);
    EXPECT_EQ(SkinStatusBar::BlendColor(RGB(255, 255, 255), RGB(0, 0, 0), 170),
              static_cast<std::int32_t>(RGB(170, 170, 170)));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(SkinStatusBar::BlendColor(static_cast<std::int32_t>(0x8000000F), static_cast<std::int32_t>(face), 99),
              static_cast<std::int32_t>(face));
    DestroyWindow(pic);
}

TEST(StatusBarScreenshot, ThreePanelsInSeveralSkins) {
    NoticeRecorder notices;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"ZevStatusBarShotHost";
    RegisterClassExW(&wc);
    HWND host = CreateWindowExW(0, L"ZevStatusBarShotHost", L"SkinStatusBar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                540, 260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(host);
    const int skins[] = {0, 5, 8, 10, 16, 17, 20, 21};
    std::vector<std::unique_ptr<SkinStatusBar>> bars;
    for (int i = 0; i < 8; ++i) {
        // Placed as in a designer, so the bars stay where they are put instead of docking.
        SkinStatusBar::CreateArgs args;
        args.parent = host;
        args.y = 4 + i * 26;
        args.width = 520;
        args.height = 22;
        args.userMode = false;
        bars.push_back(std::make_unique<SkinStatusBar>());
        ASSERT_TRUE(bars.back()->Create(args));
        bars.back()->SetSkin(skins[i]);
        bars.back()->AddPanel(L"Skin " + std::to_wstring(skins[i]), L"Skins", 350);
        bars.back()->AddPanel(L"06/12/2026", L"Date", 80, -1, -1, -1, true);
        bars.back()->AddPanel(L"10:00:00", L"Time", 80);
    }
    PumpMessages(100);
    const auto path = SaveScreenshot(host, L"statusbar_three_panels_skins");
    if (getenv("ZEV_SCREENSHOTS")) {
        EXPECT_FALSE(path.empty());
    }
    EXPECT_EQ(ScreenPixel(bars[1]->Hwnd(), 500, 1), Ref(gen::kStatusBarTileSamples[5].row1));
    EXPECT_TRUE(notices.notices.empty());
    bars.clear();
    DestroyWindow(host);
}
