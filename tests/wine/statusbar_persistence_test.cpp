// SkinStatusBar's saved property set and life cycle: reading (missing entries give the defaults,
// skin 16), writing with defaults, the custom skin picture, the new-instance settings, change notices,
// and the first show in a running program.
#include "controls/host/font_win.h"
#include "controls/host/property_text.h"
#include "tests/wine/support/statusbar_host.h"

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

class StatusBarPersistence : public StatusBarTest {
protected:
    StatusBarPersistence() : StatusBarTest(0) {}
    // A bar at (10, 20) made from a saved set given as text (null: no set at all).
    SkinStatusBar& Make(const char* savedText, bool userMode = true) {
        const auto parsed = host::ParsePropertyText(savedText ? savedText : "");
        EXPECT_TRUE(parsed) << std::string(parsed.error.begin(), parsed.error.end());
        bar_ = std::make_unique<SkinStatusBar>();
        SkinStatusBar::CreateArgs args{host_, 10, 20, 300, 22};
        args.savedProperties = savedText ? &*parsed.bag : nullptr;
        args.userMode = userMode;
        EXPECT_TRUE(bar_->Create(args));
        return *bar_;
    }
    std::string Written() {
        host::PropertyBag written;
        bar_->WriteProperties(written);
        return host::PropertyText(written);
    }
};

} // namespace

TEST_F(StatusBarPersistence, ASetWithoutEntriesGivesTheDefaultsAndSkinSixteen) {
    SkinStatusBar& bar = Make("");
    EXPECT_TRUE(bar.Enabled());
    EXPECT_TRUE(bar.ShowBorderPanels());
    EXPECT_TRUE(bar.ShowBorderStatusBar());
    EXPECT_EQ(bar.BorderMode(), 0);
    EXPECT_EQ(bar.CustomSkin(), nullptr);
    EXPECT_EQ(bar.Skin(), 16);
    EXPECT_EQ(bar.GetSkinsColors(60), static_cast<std::int32_t>(RGB(131, 174, 228)));
    EXPECT_FALSE(bar.Site().SavedSetOutOfDate()) << "what was read is what the set says";
    EXPECT_EQ(Written(), "") << "every value equals its default";
}

TEST_F(StatusBarPersistence, ReadsEachEntryAndWritesTheSameSetBack) {
    const std::string saved =
        "Enabled = False\nSkin = 0\nShowBorderPanels = False\nBorderMode = 1\nShowBorderStatusBar = False\n";
    SkinStatusBar& bar = Make("enabled = False\nSKIN = 0\nShowBorderPanels = False\nBorderMode = 1\n"
                              "ShowBorderStatusBar = False\n");
    EXPECT_FALSE(bar.Enabled());
    EXPECT_FALSE(IsWindowEnabled(bar.Hwnd()));
    EXPECT_EQ(bar.Skin(), 0) << "a stored 0 is not the default 16";
    EXPECT_FALSE(bar.ShowBorderPanels());
    EXPECT_FALSE(bar.ShowBorderStatusBar());
    EXPECT_EQ(bar.BorderMode(), 1);
    EXPECT_EQ(Written(), saved);
    Make(saved.c_str());
    EXPECT_EQ(Written(), saved) << "a second bar made from that text is the same";
}

TEST_F(StatusBarPersistence, ASavedCustomSkinHidesTheSkinEntryAndIsWrittenBack) {
    host::PropertyBag saved;
    saved.WriteLong(L"Skin", 7);
    saved.WritePicture(L"CustomSkin", SkinTile({10, 20, 30}, {40, 50, 60}));
    SkinStatusBar& bar = Make(host::PropertyText(saved).c_str());
    ASSERT_NE(bar.CustomSkin(), nullptr);
    EXPECT_EQ(bar.Skin(), 0) << "the Skin entry is not read when there is a custom skin";
    EXPECT_EQ(bar.GetSkinsColors(60), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(bar.BackBuffer(), 150, 10), RGB(40, 50, 60));
    EXPECT_EQ(bar.GetForeColorText(), 0) << "skin 0's text colour";
    host::PropertyBag written;
    bar.WriteProperties(written);
    EXPECT_EQ(written.ReadPicture(L"CustomSkin"), SkinTile({10, 20, 30}, {40, 50, 60}));
    EXPECT_EQ(written.ReadLong(L"Skin", 16), 0);
    // A picture too small for a tile is left out, and the Skin entry is read instead.
    saved.WritePicture(L"CustomSkin", host::Picture{gen::Raster(10, 10, {1, 1, 1})});
    SkinStatusBar& other = Make(host::PropertyText(saved).c_str());
    EXPECT_EQ(other.CustomSkin(), nullptr);
    EXPECT_EQ(other.Skin(), 7);
}

TEST_F(StatusBarPersistence, ANewInstanceStartsWithSkinZeroDockedAndTwentyFourPixelsHigh) {
    std::vector<std::wstring> changes;
    bar_->Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    SkinStatusBar::CreateArgs args{host_, 0, 0, 300, 40};
    args.newInstance = true;
    args.userMode = false;
    ASSERT_TRUE(bar_->Create(args));
    EXPECT_EQ(bar_->Skin(), 0);
    EXPECT_TRUE(bar_->ShowBorderPanels());
    EXPECT_TRUE(bar_->ShowBorderStatusBar());
    EXPECT_EQ(bar_->Align(), 2);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{0, 200 - 24, 600, 200}));
    EXPECT_NE(std::find(changes.begin(), changes.end(), L"Skin"), changes.end());
    EXPECT_TRUE(bar_->Site().SavedSetOutOfDate()) << "a new control's settings are not saved yet";
    EXPECT_EQ(Written(), "Skin = 0\n");
    EXPECT_FALSE(bar_->Site().SavedSetOutOfDate());
    EXPECT_EQ(bar_->Font(), nullptr) << "the run-time font is set only when shown in a running program";
}

TEST_F(StatusBarPersistence, EveryPersistedSetterReportsItsChange) {
    SkinStatusBar& bar = Make(nullptr);
    std::vector<std::wstring> changes;
    bar.Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    bar.SetShowBorderPanels(false);
    bar.SetShowBorderStatusBar(false);
    bar.SetBorderMode(1);
    bar.SetEnabled(false);
    bar.SetSkin(3);
    win::Bitmap tile = host::BitmapFromPicture(SkinTile({1, 2, 3}, {4, 5, 6}));
    bar.SetCustomSkin(tile.Get());
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"ShowBorderPanels", L"ShowBorderStatusBar", L"BorderMode",
                                                  L"Enabled", L"CustomSkin", L"Skin", L"CustomSkin"}));
    EXPECT_TRUE(bar.Site().SavedSetOutOfDate());
    EXPECT_FALSE(bar.Enabled());
    bar.SetCustomSkin(nullptr);
}

TEST_F(StatusBarPersistence, TheFirstShowInARunningProgramSetsTheFontAndDocks) {
    SkinStatusBar& bar = Make(nullptr);
    ASSERT_NE(bar.Font(), nullptr);
    const host::FontDesc font = host::FontDescFromHandle(bar.Font());
    EXPECT_EQ(font.name, L"MS Sans Serif");
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikethrough);
    EXPECT_EQ(host::FontDescFromHandle(reinterpret_cast<HFONT>(SendMessageW(bar.PanelLabel(0), WM_GETFONT, 0, 0))),
              font)
        << "the template label gets the same font";
    EXPECT_EQ(bar.Align(), 2);
    SkinStatusBar& designed = Make(nullptr, false);
    EXPECT_EQ(RectIn(designed.Hwnd(), host_), (RECT{10, 20, 310, 42})) << "placed in a designer, it stays put";
    EXPECT_EQ(designed.Align(), 0);
}
