// Saved property sets: names, defaults, kinds; the host's site and the diagnostic-run switch.
#include "controls/host/ambient.h"
#include "controls/host/diagnostic_run.h"
#include "controls/host/property_bag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using host::PropertyBag;

TEST(PropertyBag, NamesMatchWithoutRegardToCaseAndKeepTheFirstSpelling) {
    PropertyBag bag;
    ASSERT_TRUE(bag.WriteLong(L"ForeColorNormal", 5));
    EXPECT_EQ(bag.ReadLong(L"FORECOLORNORMAL", 0), 5);
    ASSERT_TRUE(bag.WriteLong(L"forecolornormal", 7));
    ASSERT_EQ(bag.Size(), 1u) << "a second write under another spelling replaces the entry";
    EXPECT_EQ(bag.Entries()[0].name, L"ForeColorNormal");
    EXPECT_EQ(bag.ReadLong(L"ForeColorNormal", 0), 7);
    bag.WriteBool(L"AÑOÀÞ", true); // Spanish names fold their accented capitals too
    EXPECT_TRUE(bag.ReadBool(L"añoàþ", false));
    EXPECT_FALSE(host::SamePropertyName(L"×", L"÷")) << "the multiplication sign is no capital";
    EXPECT_TRUE(bag.Remove(L"añoàþ"));
    EXPECT_FALSE(bag.Remove(L"año"));
    EXPECT_FALSE(host::SamePropertyName(L"Skin", L"Skin2"));
}

TEST(PropertyBag, AValueEqualToItsDefaultIsNotStoredAndDropsAStaleEntry) {
    PropertyBag bag;
    bag.WriteLong(L"Skin", 16, 16);
    EXPECT_FALSE(bag.Contains(L"Skin"));
    bag.WriteLong(L"Skin", 0, 16);
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 0) << "0 differs from the default, so it is stored";
    bag.WriteLong(L"skin", 16, 16);
    EXPECT_FALSE(bag.Contains(L"Skin")) << "writing the default again must not leave the old 0 behind";

    bag.WriteBool(L"Enabled", true); // no default: always stored
    EXPECT_TRUE(bag.Contains(L"Enabled"));
    bag.WriteColour(L"BackColor", 0x8000000F, 0x8000000F);
    bag.WriteString(L"Caption", L"", L"");
    bag.WriteFont(L"Font", host::FontDesc{}, host::FontDesc{});
    host::Picture odd; // no pixels, but a width: still "none"
    odd.raster.width = 3;
    bag.WritePicture(L"PictureTexture", odd, host::Picture{});
    EXPECT_EQ(bag.Size(), 1u) << "only Enabled";
}

TEST(PropertyBag, MissingEntriesAndEntriesOfAnotherKindReadAsTheDefault) {
    PropertyBag bag;
    bag.WriteString(L"Skin", L"dieciséis");
    bag.WriteColour(L"ForeColorNormal", 0x80000012);
    bag.WriteLong(L"Count", -3);
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 16);
    EXPECT_EQ(bag.ReadBool(L"Nothing", true), true);
    EXPECT_EQ(bag.ReadString(L"Nothing", L"x"), L"x");
    EXPECT_EQ(bag.ReadPicture(L"Skin"), host::Picture{});
    // Numbers and colours are both 32-bit numbers.
    EXPECT_EQ(bag.ReadColour(L"Count", 0), 0xFFFFFFFDu);
    EXPECT_EQ(bag.ReadLong(L"ForeColorNormal", 0), static_cast<std::int32_t>(0x80000012u));
    EXPECT_FALSE(bag.ReadBool(L"Count", false)) << "a number is not a Boolean";
}

TEST(PropertyBag, RefusesNamesAndValuesTheTextFormCouldNotCarryBack) {
    PropertyBag bag;
    for (const std::wstring& name :
         {std::wstring(), std::wstring(L"a b"), std::wstring(L"a=b"), std::wstring(L"#x"), std::wstring(256, L'a')})
        EXPECT_FALSE(bag.WriteLong(name, 1)) << name.size();
    EXPECT_TRUE(bag.WriteLong(std::wstring(255, L'a'), 1));
    EXPECT_TRUE(bag.WriteString(L"az_AZ.09-\u00A0", L"x", L""));
    for (const wchar_t* refused : {L"a\u009F", L"a\uFEFF", L"a/"})
        EXPECT_FALSE(bag.WriteLong(refused, 1)) << "C1 controls, the byte-order mark, punctuation";
    EXPECT_FALSE(bag.WriteString(L"a b", L"x", L""));
    host::Picture broken;
    broken.raster.width = 4;
    broken.raster.height = 4;
    broken.raster.pixels.resize(3); // fewer pixels than its size says
    EXPECT_FALSE(bag.WritePicture(L"P", broken));
    // Pictures travel as .bmp files: a side the bitmap reader would refuse is refused here already.
    EXPECT_FALSE(bag.WritePicture(L"P", host::Picture{bmp::Raster(bmp::kMaxSide + 1, 1)}));
    EXPECT_FALSE(bag.WritePicture(L"P", host::Picture{bmp::Raster(1, bmp::kMaxSide + 1)}));
    EXPECT_TRUE(bag.WritePicture(L"Wide", host::Picture{bmp::Raster(bmp::kMaxSide, 1)}));
    EXPECT_TRUE(bag.WritePicture(L"Tall", host::Picture{bmp::Raster(1, bmp::kMaxSide)}));
    bag.Remove(L"Wide");
    bag.Remove(L"Tall");
    host::FontDesc nanFont;
    nanFont.size = std::nan("");
    EXPECT_FALSE(bag.WriteFont(L"F", nanFont));
    EXPECT_EQ(bag.Size(), 2u);
}

TEST(ControlSite, ReportsAmbientChangesByNameAndKeepsThem) {
    host::ControlSite site; // property change notices are shown through the status bar's setters
    std::vector<std::wstring> toControl;
    site.AmbientChanged = [&](const std::wstring& n) { toControl.push_back(n); };
    EXPECT_TRUE(site.UserMode());
    site.SetUserMode(false);
    EXPECT_TRUE(site.DesignMode());
    site.SetUserMode(false); // no change, no notice
    site.SetBackColor(0xFF);
    site.SetFont({L"Arial", 9});
    site.SetFont({L"Arial", 9});
    host::AmbientProperties a = site.Ambient();
    a.DisplayName = L"Command1";
    a.UserMode = true;
    a.BackColor = 0xFE;
    a.Font.bold = true;
    site.SetAmbient(a);
    EXPECT_EQ(toControl, (std::vector<std::wstring>{L"UserMode", L"BackColor", L"Font", L"UserMode", L"BackColor",
                                                    L"Font", L"DisplayName"}));
    EXPECT_EQ(
        std::tuple(site.Ambient().UserMode, site.Ambient().BackColor, site.Ambient().Font, site.Ambient().DisplayName),
        std::tuple(true, 0xFEu, host::FontDesc{L"Arial", 9, true}, std::wstring(L"Command1")));
    EXPECT_FALSE(site.SavedSetOutOfDate());
    site.PropertyChanged(L"Skin");
    EXPECT_TRUE(site.SavedSetOutOfDate());
}

TEST(DiagnosticRun, FollowsTheBuildAndCanOnlyBeSwitchedOnInADiagnosticBuild) {
    EXPECT_EQ(host::IsDiagnosticRun(), host::kDiagnosticBuild);
    {
        host::ScopedDiagnosticRun off(false);
        EXPECT_FALSE(host::IsDiagnosticRun());
        {
            host::ScopedDiagnosticRun on(true);
            EXPECT_EQ(host::IsDiagnosticRun(), host::kDiagnosticBuild) << "a release build never turns it on";
        }
        EXPECT_FALSE(host::IsDiagnosticRun()) << "scopes nest";
    }
    EXPECT_EQ(host::IsDiagnosticRun(), host::kDiagnosticBuild);
}
