// SkinStatusBar's drawing: the back buffer's pixels at frame and fill positions for several skins,
// panel boxes and separators, custom skins, skins outside the strip, label colours, and a screenshot
// of bars with three panels in a few skins.
#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/statusbar_host.h"

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

COLORREF Ref(gen::Rgb c) {
    return RGB(c.r, c.g, c.b);
}
COLORREF Frame(int skin) {
    return Ref(gen::kStatusBarTileSamples[static_cast<std::size_t>(skin)].frame);
}
win::Bitmap CustomTile(gen::Rgb frame, gen::Rgb inside, int width = 15) {
    return host::BitmapFromPicture(SkinTile(frame, inside, width));
}

// 22 pixels high: the tile is then copied without vertical stretching, so rows are exact.
class StatusBarDrawing : public StatusBarTest {
protected:
    StatusBarDrawing() : StatusBarTest(22) {}
    const gen::Raster strip_ = gen::BuildStatusBarSkinStrip();
};

} // namespace

TEST_F(StatusBarDrawing, BackBufferShowsTheTileRowsForSeveralSkinsWithAndWithoutTheBarBorder) {
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
    bar_->SetShowBorderStatusBar(false); // all four frame lines fall outside
    EXPECT_EQ(Back(300, 0), Ref(strip_.At(7, 3)));
    EXPECT_EQ(Back(300, 1), Ref(strip_.At(7, 4)));
    EXPECT_NE(Back(300, 0), RGB(0, 0, 128));
    EXPECT_NE(Back(300, 21), RGB(0, 0, 128));
}

TEST_F(StatusBarDrawing, PanelBoxesSeparatorsFillsAndLabelColours) {
    bar_->SetSkin(0);
    bar_->AddPanel(L"a", L"", 100);                     // box 2..99 × 2..20
    bar_->AddPanel(L"b", L"", 100, -1, 0x00FFFF);       // filled yellow: 102..199
    bar_->AddPanel(L"c", L"", 100, 0x00FF00, -1, 0xFF); // own text colour, red border: 202..299
    const COLORREF border = RGB(176, 204, 243);         // skin 0's panel border
    const int bottom = bar_->Panels().At(1).Bottom;     // 19
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
    // Label colours follow the skin unless the panel has its own.
    EXPECT_EQ(bar_->PanelLabelColour(1), RGB(0, 0, 0));
    EXPECT_EQ(bar_->PanelLabelColour(3), RGB(0, 255, 0));
    bar_->SetSkin(5);
    EXPECT_EQ(bar_->PanelLabelColour(1), RGB(255, 255, 255));
    EXPECT_EQ(bar_->GetForeColorText(), static_cast<std::int32_t>(RGB(255, 255, 255)));
    EXPECT_EQ(bar_->PanelLabelColour(3), RGB(0, 255, 0));
    bar_->SetSkin(16);
    EXPECT_EQ(bar_->PanelLabelColour(1), RGB(81, 115, 155));
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
    EXPECT_EQ(Back(300, 0), Frame(3));
}

TEST_F(StatusBarDrawing, PicturesTooSmallOrHeldElsewhereAreRefusedAndClearingBringsBackTheStrip) {
    bar_->SetSkin(2);
    win::Bitmap small = CustomTile({1, 2, 3}, {4, 5, 6}, 14);
    win::Bitmap tile = CustomTile({1, 2, 3}, {4, 5, 6});
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, tile.Get());
    for (HBITMAP refused : {small.Get(), tile.Get()}) {
        const auto error = bar_->SetCustomSkin(refused);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, 481);
        EXPECT_EQ(bar_->CustomSkin(), nullptr);
        EXPECT_EQ(Back(300, 0), Frame(2));
    }
    SelectObject(other, old);
    DeleteDC(other);
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(Back(300, 0), RGB(1, 2, 3));
    bar_->SetCustomSkin(nullptr);
    EXPECT_EQ(Back(300, 0), Frame(2)) << "the caller may now delete its bitmap";
    tile.Reset();
    bar_->Refresh();
    EXPECT_EQ(Back(300, 0), Frame(2));
}

TEST_F(StatusBarDrawing, AFailedCopySpeaksOnlyInADiagnosticRunAndSkinsOutsideTheStripDrawTheFirstTile) {
    bar_->SetSkin(4);
    {
        host::ScopedDiagnosticRun off(false);
        bar_->DrawSkin(0, 0, 1 << 20, 1 << 20); // no surface that large can be made
        EXPECT_TRUE(notices_.notices.empty());
    }
    EXPECT_EQ(Back(300, 0), Frame(4)) << "the back buffer is untouched";
    for (std::int32_t skin : {22, 25, -1, 1000000, INT32_MIN}) {
        EXPECT_FALSE(bar_->SetSkin(skin)) << skin;
        EXPECT_EQ(bar_->Skin(), skin);
        EXPECT_EQ(Back(300, 0), RGB(0, 0, 128)) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(0, 0, 128))) << skin;
        EXPECT_EQ(bar_->GetForeColorText(), static_cast<std::int32_t>(statusbar::SkinMixColour(RGB(0, 0, 128))));
    }
    EXPECT_TRUE(notices_.notices.empty());
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: no diagnostic messages";
    bar_->DrawSkin(0, 0, 1 << 20, 1 << 20);
    ExpectOnlyNotice(L"ZEV Config", L"Error en el procedimiento DrawSkin", MB_OK | MB_ICONERROR);
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
    DestroyWindow(pic);
    EXPECT_EQ(SkinStatusBar::BlendColor(RGB(255, 255, 255), RGB(0, 0, 0), 170),
              static_cast<std::int32_t>(RGB(170, 170, 170)));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(SkinStatusBar::BlendColor(static_cast<std::int32_t>(0x8000000F), static_cast<std::int32_t>(face), 99),
              static_cast<std::int32_t>(face));
}

TEST_F(StatusBarDrawing, ScreenshotOfThreePanelsInSeveralSkins) {
    auto addPanels = [](SkinStatusBar& bar, int skin) {
        bar.SetSkin(skin);
        bar.AddPanel(L"Skin " + std::to_wstring(skin), L"Skins", 350);
        bar.AddPanel(L"06/12/2026", L"Date", 80, -1, -1, -1, true);
        bar.AddPanel(L"10:00:00", L"Time", 80);
    };
    std::vector<std::unique_ptr<SkinStatusBar>> bars;
    for (int skin : {0, 5, 8, 10, 17, 20, 21}) {
        // Placed as in a designer, so these bars stay where they are put above the docked one.
        SkinStatusBar::CreateArgs args{host_, 0, 2 + static_cast<int>(bars.size()) * 24, 600, 22};
        args.userMode = false;
        ASSERT_TRUE(bars.emplace_back(std::make_unique<SkinStatusBar>())->Create(args));
        addPanels(*bars.back(), skin);
    }
    addPanels(*bar_, 16);
    PumpMessages(100);
    const auto path = SaveScreenshot(host_, L"statusbar_three_panels_skins");
    EXPECT_EQ(getenv("ZEV_SCREENSHOTS") != nullptr, !path.empty());
    EXPECT_EQ(ScreenPixel(bars[1]->Hwnd(), 500, 1), Ref(gen::kStatusBarTileSamples[5].row1));
    EXPECT_TRUE(notices_.notices.empty());
}
