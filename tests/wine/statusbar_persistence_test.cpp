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
    // The saved settings in their order: Enabled, Skin, ShowBorderPanels, BorderMode, ShowBorderStatusBar,
    // and whether there is a custom skin.
    std::tuple<bool, int, bool, int, bool, bool> Settings() const {
        return {bar_->Enabled(),
                bar_->Skin(),
                bar_->ShowBorderPanels(),
                bar_->BorderMode(),
                bar_->ShowBorderStatusBar(),
                bar_->CustomSkin() != nullptr};
    }
};

} // namespace

TEST_F(StatusBarPersistence, ASetWithoutEntriesGivesTheDefaultsAndSkinSixteen) {
    Make("");
    EXPECT_EQ(Settings(), std::tuple(true, 16, true, 0, true, false));
    EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(131, 174, 228)));
    EXPECT_FALSE(bar_->Site().SavedSetOutOfDate()) << "what was read is what the set says";
    EXPECT_EQ(Written(), "") << "every value equals its default";
}

TEST_F(StatusBarPersistence, ReadsEachEntryAndWritesTheSameSetBack) {
    const std::string saved =
        "Enabled = False\nSkin = 0\nShowBorderPanels = False\nBorderMode = 1\nShowBorderStatusBar = False\n";
    Make("enabled = False\nSKIN = 0\nShowBorderPanels = False\nBorderMode = 1\nShowBorderStatusBar = False\n");
    EXPECT_EQ(Settings(), std::tuple(false, 0, false, 1, false, false)) << "a stored 0 is not the default 16";
    EXPECT_FALSE(IsWindowEnabled(bar_->Hwnd()));
    EXPECT_EQ(Written(), saved);
    Make(saved.c_str());
    EXPECT_EQ(Written(), saved) << "a second bar made from that text is the same";
}

TEST_F(StatusBarPersistence, ASavedCustomSkinHidesTheSkinEntryAndIsWrittenBack) {
    host::PropertyBag saved;
    saved.WriteLong(L"Skin", 7);
    saved.WritePicture(L"CustomSkin", SkinTile({10, 20, 30}, {40, 50, 60}));
    Make(host::PropertyText(saved).c_str());
    EXPECT_EQ(Settings(), std::tuple(true, 0, true, 0, true, true)) << "Skin is not read with a custom skin";
    EXPECT_EQ(bar_->GetSkinsColors(60), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(bar_->BackBuffer(), 150, 10), RGB(40, 50, 60));
    EXPECT_EQ(bar_->GetForeColorText(), 0) << "skin 0's text colour";
    host::PropertyBag written;
    bar_->WriteProperties(written);
    EXPECT_EQ(written.ReadPicture(L"CustomSkin"), SkinTile({10, 20, 30}, {40, 50, 60}));
    EXPECT_EQ(written.ReadLong(L"Skin", 16), 0);
    // A picture too small for a tile is left out, and the Skin entry is read instead.
    saved.WritePicture(L"CustomSkin", SkinTile({1, 1, 1}, {1, 1, 1}, 14));
    Make(host::PropertyText(saved).c_str());
    EXPECT_EQ(Settings(), std::tuple(true, 7, true, 0, true, false));
}

TEST_F(StatusBarPersistence, ANewInstanceStartsWithSkinZeroDockedAndTwentyFourPixelsHigh) {
    std::vector<std::wstring> changes;
    bar_->Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    SkinStatusBar::CreateArgs args{host_, 0, 0, 300, 40};
    args.newInstance = true;
    args.userMode = false;
    ASSERT_TRUE(bar_->Create(args));
    EXPECT_EQ(Settings(), std::tuple(true, 0, true, 0, true, false));
    EXPECT_EQ(bar_->Align(), 2);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{0, 200 - 24, 600, 200}));
    EXPECT_NE(std::find(changes.begin(), changes.end(), L"Skin"), changes.end());
    EXPECT_TRUE(bar_->Site().SavedSetOutOfDate()) << "a new control's settings are not saved yet";
    EXPECT_EQ(Written(), "Skin = 0\n");
    EXPECT_FALSE(bar_->Site().SavedSetOutOfDate());
    EXPECT_EQ(bar_->Font(), nullptr) << "the run-time font is set only when shown in a running program";
}

TEST_F(StatusBarPersistence, EveryPersistedSetterReportsItsChange) {
    Make(nullptr);
    std::vector<std::wstring> changes;
    bar_->Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    bar_->SetShowBorderPanels(false);
    bar_->SetShowBorderStatusBar(false);
    bar_->SetBorderMode(1);
    bar_->SetEnabled(false);
    bar_->SetSkin(3);
    win::Bitmap tile = host::BitmapFromPicture(SkinTile({1, 2, 3}, {4, 5, 6}));
    bar_->SetCustomSkin(tile.Get());
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"ShowBorderPanels", L"ShowBorderStatusBar", L"BorderMode",
                                                  L"Enabled", L"CustomSkin", L"Skin", L"CustomSkin"}));
    EXPECT_EQ(Settings(), std::tuple(false, 3, false, 1, false, true));
    EXPECT_TRUE(bar_->Site().SavedSetOutOfDate());
    bar_->SetCustomSkin(nullptr);
}

TEST_F(StatusBarPersistence, TheFirstShowInARunningProgramSetsTheFontAndDocks) {
    Make(nullptr);
    ASSERT_NE(bar_->Font(), nullptr);
    const host::FontDesc font = host::FontDescFromHandle(bar_->Font());
    EXPECT_EQ(font.name, L"MS Sans Serif");
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikethrough);
    const auto templateFont = reinterpret_cast<HFONT>(SendMessageW(bar_->PanelLabel(0), WM_GETFONT, 0, 0));
    EXPECT_EQ(host::FontDescFromHandle(templateFont), font) << "the template label gets the same font";
    EXPECT_EQ(bar_->Align(), 2);
    Make(nullptr, false);
    EXPECT_EQ(RectIn(bar_->Hwnd(), host_), (RECT{10, 20, 310, 42})) << "placed in a designer, it stays put";
    EXPECT_EQ(bar_->Align(), 0);
}
