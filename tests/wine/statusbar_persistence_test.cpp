// SkinStatusBar's saved property set and life cycle: reading (missing entries give the defaults,
// skin 16), writing with defaults, the custom skin picture, the new-instance settings, change notices,
// and the first show in a running program.
#include "controls/host/font_win.h"
#include "controls/host/picture_win.h"
#include "controls/host/property_text.h"
#include "controls/statusbar/skin_status_bar.h"
#include "resources/gen/statusbar_strip.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;
using statusbar::SkinStatusBar;

namespace {

class StatusBarPersistence : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ZevStatusBarSaveHost";
        RegisterClassExW(&wc);
        host_ = CreateWindowExW(0, L"ZevStatusBarSaveHost", L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }
    SkinStatusBar& Make(const host::PropertyBag* saved, bool userMode = true, bool newInstance = false) {
        bar_ = std::make_unique<SkinStatusBar>();
        SkinStatusBar::CreateArgs args;
        args.parent = host_;
        args.x = 10;
        args.y = 20;
        args.width = 300;
        args.height = 22;
        args.savedProperties = saved;
        args.userMode = userMode;
        args.newInstance = newInstance;
        EXPECT_TRUE(bar_->Create(args));
        return *bar_;
    }
    static host::PropertyBag Parse(const char* text) {
        auto r = host::ParsePropertyText(text);
        EXPECT_TRUE(r) << std::string(r.error.begin(), r.error.end());
        return r.bag.value_or(host::PropertyBag{});
    }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<SkinStatusBar> bar_;
};

host::Picture Tile(gen::Rgb frame, gen::Rgb inside) {
    host::Picture p{gen::Raster(15, 23, frame)};
    for (int y = 1; y < 22; ++y)
        for (int x = 1; x < 14; ++x)
            p.raster.At(x, y) = inside;
    return p;
}

} // namespace

TEST_F(StatusBarPersistence, ASetWithoutEntriesGivesTheDefaultsAndSkinSixteen) {
    const host::PropertyBag empty;
    SkinStatusBar& bar = Make(&empty);
    EXPECT_TRUE(bar.Enabled());
    EXPECT_TRUE(bar.ShowBorderPanels());
    EXPECT_TRUE(bar.ShowBorderStatusBar());
    EXPECT_EQ(bar.BorderMode(), 0);
    EXPECT_EQ(bar.CustomSkin(), nullptr);
    EXPECT_EQ(bar.Skin(), 16);
    EXPECT_EQ(bar.GetSkinsColors(60), static_cast<std::int32_t>(RGB(131, 174, 228)));
    EXPECT_FALSE(bar.Site().SavedSetOutOfDate()) << "what was read is what the set says";
    host::PropertyBag written;
    bar.WriteProperties(written);
    EXPECT_TRUE(written.Empty()) << "every value equals its default";
}

TEST_F(StatusBarPersistence, ReadsEachEntryAndWritesTheSameSetBack) {
    const host::PropertyBag saved = Parse("enabled = False\n"
                                          "SKIN = 0\n"
                                          "ShowBorderPanels = False\n"
                                          "BorderMode = 1\n"
                                          "ShowBorderStatusBar = False\n");
    SkinStatusBar& bar = Make(&saved);
    EXPECT_FALSE(bar.Enabled());
    EXPECT_FALSE(IsWindowEnabled(bar.Hwnd()));
    EXPECT_EQ(bar.Skin(), 0) << "a stored 0 is not the default 16";
    EXPECT_FALSE(bar.ShowBorderPanels());
    EXPECT_FALSE(bar.ShowBorderStatusBar());
    EXPECT_EQ(bar.BorderMode(), 1);
    host::PropertyBag written;
    bar.WriteProperties(written);
    EXPECT_EQ(host::PropertyText(written), "Enabled = False\nSkin = 0\nShowBorderPanels = False\nBorderMode = 1\n"
                                           "ShowBorderStatusBar = False\n");
    // And a second bar made from that text is the same.
    const host::PropertyBag again = Parse(host::PropertyText(written).c_str());
    SkinStatusBar& copy = Make(&again);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Skin(), 0);
    EXPECT_EQ(copy.BorderMode(), 1);
}

TEST_F(StatusBarPersistence, ASavedCustomSkinHidesTheSkinEntryAndIsWrittenBack) {
    host::PropertyBag saved;
    saved.WriteLong(L"Skin", 7);
    saved.WritePicture(L"CustomSkin", Tile({10, 20, 30}, {40, 50, 60}));
    const host::PropertyBag viaText = Parse(host::PropertyText(saved).c_str());
    SkinStatusBar& bar = Make(&viaText);
    ASSERT_NE(bar.CustomSkin(), nullptr);
    EXPECT_EQ(bar.Skin(), 0) << "the Skin entry is not read when there is a custom skin";
    EXPECT_EQ(bar.GetSkinsColors(60), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(bar.BackBuffer(), 150, 10), RGB(40, 50, 60));
    EXPECT_EQ(bar.GetForeColorText(), 0) << "skin 0's text colour";
    host::PropertyBag written;
    bar.WriteProperties(written);
    EXPECT_EQ(written.ReadPicture(L"CustomSkin"), Tile({10, 20, 30}, {40, 50, 60}));
    EXPECT_EQ(written.ReadLong(L"Skin", 16), 0);
    // A picture too small for a tile is left out, and the Skin entry is read instead.
    host::PropertyBag small;
    small.WriteLong(L"Skin", 7);
    small.WritePicture(L"CustomSkin", host::Picture{gen::Raster(10, 10, {1, 1, 1})});
    SkinStatusBar& other = Make(&small);
    EXPECT_EQ(other.CustomSkin(), nullptr);
    EXPECT_EQ(other.Skin(), 7);
}

TEST_F(StatusBarPersistence, ANewInstanceStartsWithSkinZeroDockedAndTwentyFourPixelsHigh) {
    std::vector<std::wstring> changes;
    bar_ = std::make_unique<SkinStatusBar>();
    bar_->Site().OnPropertyChanged = [&](const std::wstring& n) { changes.push_back(n); };
    SkinStatusBar::CreateArgs args;
    args.parent = host_;
    args.width = 300;
    args.height = 40;
    args.newInstance = true;
    args.userMode = false;
    ASSERT_TRUE(bar_->Create(args));
    EXPECT_EQ(bar_->Skin(), 0);
    EXPECT_TRUE(bar_->ShowBorderPanels());
    EXPECT_TRUE(bar_->ShowBorderStatusBar());
    EXPECT_EQ(bar_->Align(), 2);
    RECT r{}, client{};
    GetWindowRect(bar_->Hwnd(), &r);
    GetClientRect(host_, &client);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.bottom - r.top, 24);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.right - r.left, client.right);
    EXPECT_NE(std::find(changes.begin(), changes.end(), L"Skin"), changes.end());
    EXPECT_TRUE(bar_->Site().SavedSetOutOfDate()) << "a new control's settings are not saved yet";
    host::PropertyBag written;
    bar_->WriteProperties(written);
    EXPECT_EQ(host::PropertyText(written), "Skin = 0\n");
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
    win::Bitmap tile = host::BitmapFromPicture(Tile({1, 2, 3}, {4, 5, 6}));
    bar.SetCustomSkin(tile.Get());
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"ShowBorderPanels", L"ShowBorderStatusBar", L"BorderMode",
                                                  L"Enabled", L"CustomSkin", L"Skin", L"CustomSkin"}));
    EXPECT_TRUE(bar.Site().SavedSetOutOfDate());
    EXPECT_FALSE(bar.Enabled());
    bar.SetCustomSkin(nullptr);
}

TEST_F(StatusBarPersistence, TheFirstShowInARunningProgramSetsTheFontAndDocks) {
    SkinStatusBar& bar = Make(nullptr, true);
    ASSERT_NE(bar.Font(), nullptr);
    const host::FontDesc font = host::FontDescFromHandle(bar.Font());
    EXPECT_EQ(font.name, L"MS Sans Serif");
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikethrough);
    EXPECT_EQ(host::FontDescFromHandle(reinterpret_cast<HFONT>(SendMessageW(bar.PanelLabel(0), WM_GETFONT, 0, 0))),
              font)
        << "the template label gets the same font";
    EXPECT_EQ(bar.Align(), 2);
    // Placed in a designer, the bar stays where it was put.
    SkinStatusBar& designed = Make(nullptr, false);
    RECT r{};
    GetWindowRect(designed.Hwnd(), &r);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(designed.Align(), 0);
}
