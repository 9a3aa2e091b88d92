// Saved property sets: names, defaults, kinds; the host's site and the diagnostic-run switch.
#include "controls/host/ambient.h"
#include "controls/host/control_error.h"
#include "controls/host/diagnostic_run.h"
#include "controls/host/property_bag.h"

#include <gtest/gtest.h>

#include <cmath>

using host::PropertyBag;

TEST(PropertyBag, NamesMatchWithoutRegardToCaseAndKeepTheFirstSpelling) {
    PropertyBag bag;
    ASSERT_TRUE(bag.WriteLong(L"ForeColorNormal", 5));
    EXPECT_EQ(bag.ReadLong(L"forecolornormal", 0), 5);
    EXPECT_EQ(bag.ReadLong(L"FORECOLORNORMAL", 0), 5);
    ASSERT_TRUE(bag.WriteLong(L"FORECOLORNORMAL", 7));
    ASSERT_EQ(bag.Size(), 1u) << "a second write under another spelling replaces the entry";
    EXPECT_EQ(bag.Entries()[0].name, L"ForeColorNormal");
    EXPECT_EQ(bag.ReadLong(L"ForeColorNormal", 0), 7);
    // Spanish names fold their accented capitals too.
    bag.WriteBool(L"AÑO", true);
    EXPECT_TRUE(bag.ReadBool(L"año", false));
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
    EXPECT_EQ(bag.ReadLong(L"Skin", 16), 16);

    bag.WriteBool(L"Enabled", true); // no default: always stored
    EXPECT_TRUE(bag.Contains(L"Enabled"));
    bag.WriteColour(L"BackColor", 0x8000000F, 0x8000000F);
    EXPECT_FALSE(bag.Contains(L"BackColor"));
    bag.WriteString(L"Caption", L"", L"");
    EXPECT_FALSE(bag.Contains(L"Caption"));
    bag.WriteFont(L"Font", host::FontDesc{}, host::FontDesc{});
    EXPECT_FALSE(bag.Contains(L"Font"));
    host::Picture odd; // no pixels, but a width: still "none"
    odd.raster.width = 3;
    bag.WritePicture(L"PictureTexture", odd, host::Picture{});
    EXPECT_FALSE(bag.Contains(L"PictureTexture"));
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
    EXPECT_FALSE(bag.WriteLong(L"", 1));
    EXPECT_FALSE(bag.WriteLong(L"a b", 1));
    EXPECT_FALSE(bag.WriteLong(L"a=b", 1));
    EXPECT_FALSE(bag.WriteLong(L"#x", 1));
    EXPECT_FALSE(bag.WriteLong(std::wstring(256, L'a'), 1));
    EXPECT_TRUE(bag.WriteLong(std::wstring(255, L'a'), 1));
    host::Picture broken;
    broken.raster.width = 4;
    broken.raster.height = 4;
    broken.raster.pixels.resize(3); // fewer pixels than its size says
    EXPECT_FALSE(bag.WritePicture(L"P", broken));
    host::FontDesc nanFont;
    nanFont.size = std::nan("");
    EXPECT_FALSE(bag.WriteFont(L"F", nanFont));
    EXPECT_EQ(bag.Size(), 1u);
}

TEST(ControlSite, ReportsPropertyChangesAndAmbientChangesByName) {
    host::ControlSite site;
    std::vector<std::wstring> toHost, toControl;
    site.OnPropertyChanged = [&](const std::wstring& n) { toHost.push_back(n); };
    site.AmbientChanged = [&](const std::wstring& n) { toControl.push_back(n); };
    EXPECT_FALSE(site.SavedSetOutOfDate());
    site.PropertyChanged(L"Skin");
    EXPECT_TRUE(site.SavedSetOutOfDate());
    EXPECT_EQ(toHost, std::vector<std::wstring>{L"Skin"});
    site.MarkSaved();
    EXPECT_FALSE(site.SavedSetOutOfDate());

    EXPECT_TRUE(site.UserMode());
    site.SetUserMode(false);
    EXPECT_TRUE(site.DesignMode());
    site.SetUserMode(false); // no change, no notice
    site.SetBackColor(0xFF);
    host::AmbientProperties a = site.Ambient();
    a.DisplayName = L"Command1";
    site.SetAmbient(a);
    EXPECT_EQ(toControl, (std::vector<std::wstring>{L"UserMode", L"BackColor", L"DisplayName"}));
    EXPECT_EQ(site.Ambient().BackColor, 0xFFu);
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
        EXPECT_FALSE(host::IsDiagnosticRun());
    }
    EXPECT_EQ(host::IsDiagnosticRun(), host::kDiagnosticBuild);
}

TEST(ControlError, CarriesSpanishDescriptionsAndTheApplicationTitle) {
    const auto e = host::MakeError(host::kErrSubscriptOutOfRange, L"ChangeTextPanel");
    EXPECT_EQ(e.number, 9);
    EXPECT_EQ(e.description, L"El subíndice está fuera del intervalo");
    EXPECT_EQ(e.source, L"ChangeTextPanel");
    EXPECT_EQ(host::ErrorDescription(12345), L"Error 12345");
    EXPECT_EQ(host::ApplicationTitle(), L"ZEV Config");
}
