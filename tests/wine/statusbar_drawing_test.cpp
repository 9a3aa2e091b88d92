// SkinStatusBar's drawing, read back from its back buffer: the tile over the bar with and without its
// border, panel boxes and fills, label colours, custom skins and the pictures refused, and a failed copy.
#include "controls/host/diagnostic_run.h"
#include "controls/statusbar/skin_colours.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/statusbar_host.h"

#include <initializer_list>
#include <vector>

using namespace testsupport;
using Colours = std::vector<COLORREF>;

namespace {

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

} // namespace

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
    EXPECT_FALSE(bar_->SetSkin(22));
    EXPECT_EQ(std::tuple(bar_->Skin(), Back(300, 0), bar_->GetForeColorText()),
              std::tuple(22, Strip(0, 0), Num(statusbar::SkinMixColour(Strip(0, 0)))));
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
    EXPECT_NE(Back(300, 21), Strip(0, 0));
    if (!host::kDiagnosticBuild)
        GTEST_SKIP() << "release build: no diagnostic messages";
    bar_->DrawSkin(0, 0, 1 << 20, 1 << 20);
    ExpectOnlyNotice(L"ZEV Config", L"Error en el procedimiento DrawSkin", MB_OK | MB_ICONERROR);
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
    EXPECT_TRUE(IsWindowVisible(bar_->PanelLabel(2))) << "the labels stay";
    bar_->SetSkin(16);
    EXPECT_EQ(std::tuple(bar_->PanelLabelColour(1), bar_->PanelLabelColour(3)),
              std::tuple(RGB(81, 115, 155), RGB(0, 255, 0)))
        << "labels follow the skin unless the panel has its own colour";
    SaveScreenshot(host_, L"statusbar_panels_skin16");

    // A custom skin draws its first tile while the colours follow the skin number.
    bar_->SetSkin(5);
    win::Bitmap tile = host::BitmapFromPicture(SkinTile({10, 20, 30}, {200, 100, 50}));
    ASSERT_FALSE(bar_->SetCustomSkin(tile.Get()));
    EXPECT_EQ(bar_->CustomSkin(), tile.Get());
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
