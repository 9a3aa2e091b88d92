// SkinStatusBar's drawing: the back buffer's pixels at frame and fill positions for several skins,
// panel boxes and separators, custom skins, skins outside the strip, label colours, and a screenshot
// of bars with three panels in a few skins.
#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/statusbar_host.h"

using namespace testsupport;
using statusbar::SkinStatusBar;
using Colours = std::vector<COLORREF>;

namespace {

COLORREF Ref(gen::Rgb c) {
    return RGB(c.r, c.g, c.b);
}
const gen::StatusBarTileSamples& Sample(int skin) {
    return gen::kStatusBarTileSamples[static_cast<std::size_t>(skin)];
}
std::int32_t Num(COLORREF c) {
    return static_cast<std::int32_t>(c);
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
        const auto& s = Sample(skin);
        // The top frame line shows along the top edge; the side frame columns fall 3 pixels outside,
        // so column 0 shows the tile's column 3.
        EXPECT_EQ(Back({{300, 0}, {300, 1}, {300, 10}, {300, 21}, {0, 12}, {599, 12}}),
                  (Colours{Ref(s.frame), Ref(s.row1), Ref(s.fill), Ref(s.row21), Ref(strip_.At(15 * skin + 3, 12)),
                           Ref(strip_.At(15 * skin + 11, 12))}))
            << skin;
        EXPECT_EQ(bar_->GetSkinsColors(60), Num(Ref(s.frame))) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(70), Num(Ref(s.fill))) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(65), 0);
    }
    EXPECT_FALSE(bar_->SetSkin(0));
    EXPECT_EQ(bar_->GetSkinsColors(60), Num(RGB(0, 0, 128)));
    EXPECT_EQ(bar_->GetSkinsColors(70), Num(RGB(205, 226, 252)));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bar_->Hwnd(), 300, 1) == RGB(225, 238, 255); }))
        << "the back buffer reaches the screen";
    bar_->SetShowBorderStatusBar(false); // all four frame lines fall outside
    EXPECT_EQ(Back({{300, 0}, {300, 1}}), (Colours{Ref(strip_.At(7, 3)), Ref(strip_.At(7, 4))}));
    EXPECT_NE(Back(300, 21), RGB(0, 0, 128));
}

TEST_F(StatusBarDrawing, PanelBoxesSeparatorsFillsAndLabelColours) {
    bar_->SetSkin(0);
    bar_->AddPanel(L"a", L"", 100);                     // box 2..99 × 2..20 (Bottom 19, the box reaches Bottom + 1)
    bar_->AddPanel(L"b", L"", 100, -1, 0x00FFFF);       // filled yellow: 102..199
    bar_->AddPanel(L"c", L"", 100, 0x00FF00, -1, 0xFF); // own text colour, red border: 202..299
    const COLORREF border = RGB(176, 204, 243), yellow = RGB(255, 255, 0), red = RGB(255, 0, 0);
    const COLORREF skin = Back(450, 10); // where no panel is
    EXPECT_EQ(Back({{2, 10}, {99, 10}, {50, 2}, {50, 20}, {102, 10}, {150, 10}, {202, 10}}),
              (Colours{border, border, border, border, border, yellow, red}));
    EXPECT_NE(Back(100, 10), border) << "Right itself is outside the box";
    EXPECT_EQ(Back(50, 10), skin) << "no fill: the skin shows through";
    // Separator mode: a line at Right for unfilled panels, still full boxes for filled ones.
    bar_->SetBorderMode(1);
    EXPECT_EQ(Back({{100, 10}, {100, 20}, {2, 10}, {102, 10}, {150, 10}, {300, 10}}),
              (Colours{border, border, skin, border, yellow, red}));
    // No panel borders at all: the labels stay.
    bar_->SetShowBorderPanels(false);
    EXPECT_EQ(Back({{100, 10}, {150, 10}}), (Colours{skin, skin}));
    EXPECT_TRUE(IsWindowVisible(bar_->PanelLabel(2)));
    // Label colours follow the skin unless the panel has its own.
    const std::pair<int, COLORREF> textColours[] = {
        {0, RGB(0, 0, 0)}, {5, RGB(255, 255, 255)}, {16, RGB(81, 115, 155)}};
    for (const auto& [skinNumber, text] : textColours) {
        bar_->SetSkin(skinNumber);
        EXPECT_EQ(bar_->GetForeColorText(), Num(text));
        EXPECT_EQ(bar_->PanelLabelColour(1), text);
        EXPECT_EQ(bar_->PanelLabelColour(3), RGB(0, 255, 0));
    }
}

TEST_F(StatusBarDrawing, CustomSkinsDrawTheirFirstTileWhileColoursFollowTheSkinNumber) {
    bar_->SetSkin(5);
    win::Bitmap tile = CustomTile({10, 20, 30}, {200, 100, 50});
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(bar_->CustomSkin(), tile.Get());
    EXPECT_EQ(Back({{300, 0}, {300, 10}}), (Colours{RGB(10, 20, 30), RGB(200, 100, 50)}));
    EXPECT_EQ(bar_->GetSkinsColors(60), Num(RGB(10, 20, 30)));
    EXPECT_EQ(bar_->GetForeColorText(), Num(RGB(255, 255, 255))) << "skin 5's text colour";
    // A skin number outside the table: text and panel border mix the custom frame with grey.
    bar_->SetCustomSkin(nullptr);
    bar_->SetSkin(25);
    bar_->SetCustomSkin(tile.Get());
    const COLORREF mix = statusbar::BlendRgb(RGB(10, 20, 30), RGB(136, 136, 136), 170);
    EXPECT_EQ(bar_->GetForeColorText(), Num(mix));
    bar_->AddPanel(L"x", L"", 100);
    EXPECT_EQ(Back(2, 10), mix);
    // A built-in skin replaces the custom one at once.
    ASSERT_FALSE(bar_->SetSkin(3));
    EXPECT_EQ(bar_->CustomSkin(), nullptr);
    EXPECT_EQ(Back(300, 0), Ref(Sample(3).frame));
}

TEST_F(StatusBarDrawing, PicturesTooSmallOrHeldElsewhereAreRefusedAndClearingBringsBackTheStrip) {
    bar_->SetSkin(2);
    const COLORREF frame = Ref(Sample(2).frame);
    win::Bitmap small = CustomTile({1, 2, 3}, {4, 5, 6}, 14);
    win::Bitmap tile = CustomTile({1, 2, 3}, {4, 5, 6});
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, tile.Get());
    for (HBITMAP refused : {small.Get(), tile.Get()}) {
        const auto error = bar_->SetCustomSkin(refused);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, 481);
        EXPECT_EQ(bar_->CustomSkin(), nullptr);
        EXPECT_EQ(Back(300, 0), frame);
    }
    SelectObject(other, old);
    DeleteDC(other);
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(Back(300, 0), RGB(1, 2, 3));
    bar_->SetCustomSkin(nullptr);
    EXPECT_EQ(Back(300, 0), frame) << "the caller may now delete its bitmap";
    tile.Reset();
    bar_->Refresh();
    EXPECT_EQ(Back(300, 0), frame);
}

TEST_F(StatusBarDrawing, AFailedCopySpeaksOnlyInADiagnosticRunAndSkinsOutsideTheStripDrawTheFirstTile) {
    bar_->SetSkin(4);
    {
        host::ScopedDiagnosticRun off(false);
        bar_->DrawSkin(0, 0, 1 << 20, 1 << 20); // no surface that large can be made
    }
    EXPECT_EQ(Back(300, 0), Ref(Sample(4).frame)) << "the back buffer is untouched";
    for (std::int32_t skin : {22, 25, -1, 1000000, INT32_MIN}) {
        EXPECT_FALSE(bar_->SetSkin(skin)) << skin;
        EXPECT_EQ(bar_->Skin(), skin);
        EXPECT_EQ(Back(300, 0), RGB(0, 0, 128)) << skin;
        EXPECT_EQ(bar_->GetSkinsColors(60), Num(RGB(0, 0, 128))) << skin;
        EXPECT_EQ(bar_->GetForeColorText(), Num(statusbar::SkinMixColour(RGB(0, 0, 128))));
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
    EXPECT_EQ((Colours{GetPixel(dc, 60, 0), GetPixel(dc, 60, 10)}), (Colours{RGB(0, 0, 128), RGB(205, 226, 252)}));
    ReleaseDC(pic, dc);
    DestroyWindow(pic);
    EXPECT_EQ(SkinStatusBar::BlendColor(RGB(255, 255, 255), RGB(0, 0, 0), 170), Num(RGB(170, 170, 170)));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(SkinStatusBar::BlendColor(Num(0x8000000F), Num(face), 99), Num(face));
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
    EXPECT_EQ(ScreenPixel(bars[1]->Hwnd(), 500, 1), Ref(Sample(5).row1));
    EXPECT_TRUE(notices_.notices.empty());
}
