// SkinButton properties: a new button's values, design-mode refusals and run-mode acceptance, the
// SkinEnabled / Skin / ColorSchemas interplay, and loading and saving with their orders and defaults.
#include "controls/button/button_messages.h"
#include "controls/button/button_model.h"
#include "controls/button/skin_palette.h"
#include "controls/host/property_text.h"
#include "win/units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skinbutton;

namespace {

class FakePicture : public ButtonPicture {
public:
    explicit FakePicture(host::Picture p) : p_(std::move(p)) {}
    int Width() const override { return p_.raster.width; }
    int Height() const override { return p_.raster.height; }
    host::Picture Pixels() const override { return p_; }

private:
    host::Picture p_;
};

PictureRef Pic(int w = 4, int h = 3, std::uint8_t shade = 7) {
    host::Picture p;
    p.raster = gen::Raster(w, h, {shade, shade, shade});
    return std::make_shared<FakePicture>(p);
}

// Records what the properties make the button do, as one log of words.
class FakeSite : public ButtonSite {
public:
    FakeSite() {
        host.OnPropertyChanged = [this](const std::wstring& name) {
            notices.push_back(name);
            log.push_back(L"notice " + name);
        };
    }
    host::ControlSite& Host() override { return host; }
    void Repaint() override {
        if (model && model->Loading())
            return;
        ++repaints;
        log.push_back(L"repaint");
    }
    void SelectBuiltInSkin(int skin) override { log.push_back(L"skin " + std::to_wstring(skin)); }
    void SelectCustomSkin(const PictureRef&) override { log.push_back(L"skin custom"); }
    void SelectNoSkin() override { log.push_back(L"skin none"); }
    void DrawBorder(std::uint32_t colour) override { log.push_back(L"border " + std::to_wstring(colour)); }
    void SetWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void RaiseClick() override {
        ++clicks;
        log.push_back(L"click");
    }
    void ResetSurfaceLines() override { log.push_back(L"lines reset"); }
    void DrawFormattedText() override { log.push_back(L"format draw"); }
    bool FontNameAccepted(const std::wstring& name) override { return name != L"NoSuchFont"; }
    PictureRef MakePicture(const host::Picture& pixels) override {
        return pixels.IsNone() ? nullptr : std::make_shared<FakePicture>(pixels);
    }
    void ShowMessage(const std::wstring& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
        log.push_back(L"message");
    }

    bool Saw(const std::wstring& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
    void Forget() {
        log.clear();
        notices.clear();
        messages.clear();
        icons.clear();
        repaints = clicks = 0;
    }

    host::ControlSite host;
    ButtonModel* model = nullptr;
    std::vector<std::wstring> log, notices, messages;
    std::vector<MessageIcon> icons;
    int repaints = 0, clicks = 0;
    bool windowEnabled = false;
};

struct Button {
    explicit Button(bool designMode, std::uint32_t containerBack = 0x8000000Fu) {
        site.host.SetUserMode(!designMode);
        site.host.SetBackColor(containerBack);
        site.host.SetDisplayName(L"Command1");
        site.model = &model;
    }
    FakeSite site;
    ButtonModel model{site};
};

constexpr std::uint32_t kButtonText = 0x80000012u;
constexpr std::uint32_t kButtonFace = 0x8000000Fu;

} // namespace

TEST(ButtonProperties, ANewButtonGetsItsPlacementValues) {
    Button b(true, 0x00C0FFEE);
    b.model.InitNew();
    const ButtonModel& m = b.model;
    EXPECT_EQ(m.Caption(), L"Command1");
    EXPECT_TRUE(m.Enabled());
    EXPECT_TRUE(b.site.windowEnabled);
    EXPECT_FALSE(m.Value());
    EXPECT_EQ(m.ButtonType(), 0);
    EXPECT_EQ(m.CaptionMargin(), 10);
    EXPECT_EQ(m.Font().name, L"Verdana");
    EXPECT_EQ(m.Font().size, 8.25);
    EXPECT_TRUE(m.SkinEnabled());
    EXPECT_EQ(m.Skin(), 16);
    EXPECT_EQ(m.ColorSchemas(), 1);
    EXPECT_EQ(m.BackColor(), 0x00C0FFEEu);
    EXPECT_EQ(m.BackColorOver(), 0x00C0FFEEu);
    EXPECT_EQ(m.BackColorDisabled(), 0x00C0FFEEu);
    EXPECT_EQ(m.BorderColorCheck(), 0u);
    // The initialisation does not apply the skin's colours: the text colours stay as set.
    EXPECT_EQ(m.ForeColorNormal(), 0u);
    EXPECT_EQ(m.ForeColorUp(), 0xFF0000u);
    EXPECT_EQ(m.ForeColorDown(), 255u);
    EXPECT_EQ(m.ForeColorCheck(), 255u);
    EXPECT_EQ(m.ForeColorDisabled(), win::Rgb(190, 190, 190));
    EXPECT_EQ(m.BackColorSkinDefault(), 0u);
    EXPECT_TRUE(b.site.messages.empty()) << "no check refuses during the initialisation";
    EXPECT_TRUE(b.site.Saw(L"skin 16"));
    EXPECT_EQ(b.site.repaints, 1) << "painting waits for the end";
    EXPECT_EQ(b.site.log.back(), L"repaint");
    EXPECT_TRUE(b.site.host.SavedSetOutOfDate());
}

TEST(ButtonProperties, ForeColoursAreRefusedInDesignWhileTheSkinColoursRule) {
    Button design(true);
    design.model.InitNew();
    design.site.Forget();
    design.model.SetForeColorNormal(0x123456);
    ASSERT_EQ(design.site.messages.size(), 1u);
    EXPECT_EQ(design.site.messages[0], kMsgColorSchemasUseSkins);
    EXPECT_EQ(design.site.icons[0], MessageIcon::Warning);
    EXPECT_EQ(design.model.ForeColorNormal(), 0u);
    EXPECT_TRUE(design.site.notices.empty());

    Button run(false);
    run.model.InitNew();
    run.site.Forget();
    run.model.SetForeColorNormal(0x123456);
    EXPECT_TRUE(run.site.messages.empty());
    EXPECT_EQ(run.model.ForeColorNormal(), 0x123456u);
    EXPECT_EQ(run.site.notices, std::vector<std::wstring>{L"ForeColorNormal"});
    run.model.SetEnabled(false);
    EXPECT_EQ(run.model.ForeColorNormal(), BuiltInSkinColours(16)->foreNormal) << "back to the skin's colour";
    EXPECT_EQ(run.model.ForeColorDisabled(), BuiltInSkinColours(16)->foreDisabled);
    EXPECT_EQ(run.model.BackColorSkinDefault(), BuiltInSkinColours(16)->backDefault);
    EXPECT_FALSE(run.site.windowEnabled);
}

TEST(ButtonProperties, BackAndBorderColourGuardInOrder) {
    Button b(true);
    b.model.InitNew();
    b.site.Forget();
    b.model.SetBackColor(1);
    EXPECT_EQ(b.site.messages.back(), kMsgColorSchemasUseSkins) << "skin colours in force: M1";
    b.model.SetSkin(22);
    EXPECT_EQ(b.model.ColorSchemas(), 0);
    b.model.SetBorderColorOver(1);
    EXPECT_EQ(b.site.messages.back(), kMsgLinkColours) << "link style: M3 comes first";
    b.model.SetSkin(3);
    b.model.SetColorSchemas(0);
    b.model.SetBackColorCheck(1);
    EXPECT_EQ(b.site.messages.back(), kMsgSkinEnabledTrue) << "custom colours but a skin: M2";
    EXPECT_EQ(b.model.BackColorCheck(), kButtonFace);
    b.model.SetSkinEnabled(false);
    b.site.Forget();
    b.model.SetBackColorCheck(1);
    b.model.SetBorderColorCheck(0xABCDEF);
    EXPECT_TRUE(b.site.messages.empty());
    EXPECT_EQ(b.model.BackColorCheck(), 1u);
    EXPECT_EQ(b.site.log, (std::vector<std::wstring>{L"notice BackColorCheck", L"repaint", L"notice BorderColorCheck",
                                                     L"border " + std::to_wstring(0xABCDEF)}));

    Button run(false);
    run.model.InitNew();
    run.model.SetSkin(22);
    run.site.Forget();
    run.model.SetBackColorOver(5);
    EXPECT_TRUE(run.site.messages.empty()) << "at run time the guard never refuses";
    EXPECT_EQ(run.model.BackColorOver(), 5u);
    EXPECT_EQ(run.site.repaints, 0) << "BackColorOver repaints nothing";
}

TEST(ButtonProperties, SkinEnabledSkinAndColorSchemasInterplay) {
    Button b(true);
    b.model.InitNew();
    b.site.Forget();
    b.model.SetSkinEnabled(false);
    EXPECT_EQ(b.model.ColorSchemas(), 0);
    EXPECT_EQ(b.model.Skin(), 16) << "re-applied while SkinEnabled changes";
    EXPECT_EQ(b.site.notices, (std::vector<std::wstring>{L"SkinEnabled", L"Skin"}));
    b.site.Forget();
    b.model.SetSkin(5);
    EXPECT_EQ(b.site.messages, std::vector<std::wstring>{kMsgSkinDisabled});
    EXPECT_EQ(b.model.Skin(), 16);
    b.model.SetColorSchemas(2);
    EXPECT_EQ(b.model.ColorSchemas(), 2) << "any value while there is no skin";
    host::PropertyBag saved;
    b.model.Save(saved);
    EXPECT_EQ(saved.ReadLong(L"ColorSchemas", -1), 2);
    b.model.SetSkinEnabled(true);
    EXPECT_EQ(b.model.ColorSchemas(), 1);
    b.site.Forget();
    b.model.SetColorSchemas(2);
    EXPECT_EQ(b.site.messages, std::vector<std::wstring>{kMsgColorSchemasCustom});
    EXPECT_EQ(b.site.icons[0], MessageIcon::Information);
    EXPECT_EQ(b.model.ColorSchemas(), 1);

    Button run(false);
    run.model.InitNew();
    run.model.SetColorSchemas(2);
    EXPECT_EQ(run.site.messages, std::vector<std::wstring>{kMsgColorSchemasCustom}) << "M8 at run time too";
    run.model.SetSkinEnabled(false);
    run.site.Forget();
    run.model.SetSkin(5);
    EXPECT_TRUE(run.site.messages.empty());
    EXPECT_EQ(run.model.Skin(), 16) << "ignored without a message at run time";

    // With a custom skin in place, SkinEnabled true keeps the custom colours.
    run.model.SetSkinEnabled(true);
    run.model.SetSkinCustomPicture(Pic());
    EXPECT_EQ(run.model.Skin(), 23);
    run.model.SetSkinEnabled(false);
    run.model.SetSkinEnabled(true);
    EXPECT_EQ(run.model.ColorSchemas(), 0);
}

TEST(ButtonProperties, SkinSelectsItsBitmapAndAppliesItsColours) {
    Button b(false);
    b.model.InitNew();
    b.site.Forget();
    b.model.SetSkin(5);
    EXPECT_EQ(b.site.log, (std::vector<std::wstring>{L"skin 5", L"notice Skin", L"repaint"}));
    EXPECT_EQ(b.model.ForeColorNormal(), BuiltInSkinColours(5)->foreNormal);
    b.site.Forget();
    b.model.SetSkin(22);
    EXPECT_EQ(b.model.ColorSchemas(), 0);
    EXPECT_FALSE(b.site.Saw(L"skin none")) << "the link style selects nothing";
    // Numbers outside 0-23 are stored, select no bitmap and leave the colours alone.
    b.model.SetColorSchemas(1);
    const std::uint32_t before = b.model.ForeColorNormal();
    b.site.Forget();
    b.model.SetSkin(40);
    EXPECT_EQ(b.model.Skin(), 40);
    EXPECT_TRUE(b.site.Saw(L"skin 40"));
    EXPECT_EQ(b.model.ForeColorNormal(), before);
    b.model.SetSkin(-3);
    EXPECT_EQ(b.model.Skin(), -3);
}

TEST(ButtonProperties, CustomPictureGoesThroughColorSchemasAndSkin) {
    Button b(true);
    b.model.InitNew();
    b.model.SetSkinEnabled(false);
    b.site.Forget();
    b.model.SetSkinCustomPicture(Pic());
    // The Skin step refuses (no skin while SkinEnabled is false), the rest goes through.
    EXPECT_EQ(b.site.messages, std::vector<std::wstring>{kMsgSkinDisabled});
    EXPECT_TRUE(b.model.SkinCustomPicture());
    EXPECT_EQ(b.model.ColorSchemas(), 0);
    EXPECT_EQ(b.model.Skin(), 16);
    EXPECT_EQ(b.site.notices, (std::vector<std::wstring>{L"ColorSchemas", L"SkinCustomPicture"}));

    Button run(false);
    run.model.InitNew();
    run.site.Forget();
    run.model.SetSkinCustomPicture(Pic());
    EXPECT_EQ(run.model.Skin(), 23);
    EXPECT_EQ(run.model.ColorSchemas(), 0);
    EXPECT_TRUE(run.site.Saw(L"skin custom"));
    run.site.Forget();
    run.model.SetSkinCustomPicture(nullptr);
    EXPECT_EQ(run.site.log.front(), L"skin none") << "clearing the picture empties the skin context";
    EXPECT_EQ(run.model.Skin(), 23);
}

TEST(ButtonProperties, SmallChecksAndSideEffects) {
    Button run(false);
    run.model.InitNew();
    run.model.SetCaptionMargin(0);
    EXPECT_EQ(run.model.CaptionMargin(), 1);
    run.model.SetCaptionMargin(-5);
    EXPECT_EQ(run.model.CaptionMargin(), 1);

    run.site.Forget();
    run.model.SetValue(true);
    EXPECT_EQ(run.site.clicks, 0) << "a push button raises no Click from Value";
    run.model.SetButtonType(1);
    run.site.Forget();
    run.model.SetValue(false);
    EXPECT_EQ(run.site.log, (std::vector<std::wstring>{L"notice Value", L"repaint", L"click"}));

    Button design(true);
    design.model.InitNew();
    design.model.SetButtonType(2);
    design.site.Forget();
    design.model.SetValue(true);
    EXPECT_EQ(design.site.clicks, 0) << "no Click in design mode";
    EXPECT_EQ(design.site.repaints, 1);

    run.site.Forget();
    run.model.SetFontName(L"NoSuchFont");
    EXPECT_EQ(run.model.FontName(), run.site.host.Ambient().Font.name) << "a refused name takes the ambient one";
    run.model.SetFontName(L"Courier New");
    EXPECT_EQ(run.model.FontName(), L"Courier New");
    run.model.SetFontSize(11);
    EXPECT_EQ(run.model.FontSize(), 11);
    run.model.SetFontSize(0);
    EXPECT_EQ(run.model.FontSize(), 11) << "a size of 0 makes no font";
    run.model.StoreFont({L"Verdana", 8.25});
    EXPECT_EQ(run.model.FontSize(), 8);
    run.model.StoreFont({L"Verdana", 9.75});
    EXPECT_EQ(run.model.FontSize(), 10);
    EXPECT_TRUE(run.site.notices.empty()) << "the Font… parts are not saved and tell nobody";
}

TEST(ButtonProperties, FormattedTextLocksFontAndUnderlinesInDesign) {
    Button b(true);
    b.model.InitNew();
    b.model.SetUseUnderLineMouseUp(true);
    b.model.SetUseUnderLineMouseCheck(true);
    b.site.Forget();
    b.model.SetEnabledFormatText(true);
    EXPECT_FALSE(b.model.UseUnderLineMouseUp());
    EXPECT_FALSE(b.model.UseUnderLineMouseCheck());
    EXPECT_EQ(b.site.notices,
              (std::vector<std::wstring>{L"UseUnderLineMouseUp", L"UseUnderLineMouseCheck", L"EnabledFormatText"}));
    EXPECT_FALSE(b.site.Saw(L"format draw")) << "design mode draws no formatted text";
    b.site.Forget();
    b.model.SetFont({L"Arial", 12});
    b.model.SetUseUnderLineMouseUp(true);
    b.model.SetUseUnderLineMouseCheck(true);
    EXPECT_EQ(b.site.messages,
              (std::vector<std::wstring>{kMsgFormatTextFont, kMsgFormatTextUnderline, kMsgFormatTextUnderline}));
    EXPECT_EQ(b.model.Font().name, L"Verdana");
    EXPECT_FALSE(b.model.UseUnderLineMouseUp());
    b.model.SetSkin(22);
    EXPECT_EQ(b.site.messages.back(), kMsgLinkWithFormatText);
    EXPECT_EQ(b.model.Skin(), 16);
    b.site.Forget();
    b.model.SetEnabledFormatText(false);
    EXPECT_EQ(b.site.log, (std::vector<std::wstring>{L"lines reset", L"repaint", L"notice EnabledFormatText"}));

    Button run(false);
    run.model.InitNew();
    run.site.Forget();
    run.model.SetEnabledFormatText(true);
    EXPECT_EQ(run.site.log, (std::vector<std::wstring>{L"repaint", L"format draw", L"notice EnabledFormatText"}));
    run.model.SetFont({L"Arial", 12});
    EXPECT_EQ(run.model.Font().name, L"Arial") << "accepted at run time";
    run.model.SetSkin(22);
    EXPECT_EQ(run.site.messages, std::vector<std::wstring>{kMsgLinkWithFormatText}) << "M7 in either mode";
}

TEST(ButtonProperties, SavesEveryEntryInOrderWithItsDefaults) {
    Button b(false);
    b.model.InitNew();
    host::PropertyBag bag;
    b.model.Save(bag);
    std::vector<std::wstring> names;
    for (const auto& e : bag.Entries())
        names.push_back(e.name);
    // Values equal to their write defaults are left out: PictureTexture, UseBackColorContainer,
    // ForeColorUp, EnabledFormatText, the five back colours (button face), BorderColorNormal/Over/
    // Down/Disabled (0) and SkinEnabled (true).
    EXPECT_EQ(names, (std::vector<std::wstring>{L"SkinCustomPicture", L"Skin", L"Caption", L"Enabled", L"Font",
                                                L"Value", L"ForeColorNormal", L"ForeColorDown", L"ForeColorDisabled",
                                                L"ForeColorCheck", L"CaptionAlign", L"CaptionMargin", L"ButtonType",
                                                L"ToolTipText", L"UseUnderLineMouseUp", L"UseUnderLineMouseCheck",
                                                L"BorderColorCheck", L"ColorSchemas"}));
    EXPECT_EQ(bag.ReadLong(L"skin", -1), 16);
    EXPECT_EQ(bag.ReadColour(L"BorderColorCheck", 1), 0u) << "0 differs from the write default white";
    EXPECT_TRUE(bag.ReadPicture(L"SkinCustomPicture").IsNone());
}

TEST(ButtonProperties, LoadsInItsOrderAndTheSkinColoursWinWithColorSchemas1) {
    Button source(false);
    source.model.InitNew();
    source.model.SetCaption(L"Conectar");
    source.model.SetButtonType(1);
    source.model.SetValue(true);
    source.model.SetCaptionAlign(2);
    source.model.SetToolTipText(L"ayuda");
    source.model.SetFont({L"Courier New", 10, true});
    source.model.SetSkin(5);
    source.model.SetPictureTexture(Pic(30, 20, 99));
    host::PropertyBag bag;
    source.model.Save(bag);
    // Through the text form, as a window's layout keeps it.
    const auto text = host::PropertyText(bag);
    const auto parsed = host::ParsePropertyText(text);
    ASSERT_TRUE(parsed) << text;

    Button b(false);
    b.model.Load(*parsed.bag);
    const ButtonModel& m = b.model;
    EXPECT_EQ(b.site.clicks, 0) << "a loaded Value raises nothing";
    EXPECT_TRUE(m.Value());
    EXPECT_EQ(m.Caption(), L"Conectar");
    EXPECT_EQ(m.ButtonType(), 1);
    EXPECT_EQ(m.CaptionAlign(), 2);
    EXPECT_EQ(m.ToolTipText(), L"ayuda");
    EXPECT_EQ(m.Font(), (host::FontDesc{L"Courier New", 10, true}));
    EXPECT_EQ(m.Skin(), 5);
    EXPECT_EQ(m.ColorSchemas(), 1);
    ASSERT_TRUE(m.PictureTexture());
    EXPECT_EQ(m.PictureTexture()->Width(), 30);
    EXPECT_EQ(m.ForeColorNormal(), BuiltInSkinColours(5)->foreNormal) << "the skin's colours replace the loaded";
    EXPECT_EQ(b.site.repaints, 1);
    EXPECT_FALSE(b.site.host.SavedSetOutOfDate()) << "a freshly loaded set is up to date";

    host::PropertyBag again;
    b.model.Save(again);
    EXPECT_EQ(again, bag) << "load and save round-trip";
}

TEST(ButtonProperties, AnEmptySavedSetLoadsTheReadDefaults) {
    Button b(false);
    b.model.Load(host::PropertyBag{});
    const ButtonModel& m = b.model;
    EXPECT_EQ(m.Caption(), L"");
    EXPECT_TRUE(m.Enabled());
    EXPECT_TRUE(b.site.windowEnabled);
    EXPECT_TRUE(m.SkinEnabled());
    EXPECT_EQ(m.Skin(), 0);
    EXPECT_EQ(m.ColorSchemas(), 0) << "the stored ColorSchemas replaces what the skin steps derived";
    EXPECT_EQ(m.ForeColorNormal(), kButtonText);
    EXPECT_EQ(m.ForeColorDown(), kButtonText);
    EXPECT_EQ(m.ForeColorDisabled(), kButtonText);
    EXPECT_EQ(m.ForeColorUp(), 0xFF0000u);
    EXPECT_EQ(m.ForeColorCheck(), 0xFF0000u);
    EXPECT_EQ(m.BackColor(), kButtonFace);
    EXPECT_EQ(m.BackColorDisabled(), kButtonFace);
    EXPECT_EQ(m.BorderColorCheck(), 0xFFFFFFu);
    EXPECT_EQ(m.CaptionMargin(), 0) << "the margin check applies on set only";
    EXPECT_EQ(m.Font(), (host::FontDesc{L"Verdana", 8.25})) << "the surface's current font";

    host::PropertyBag zeroMargin;
    zeroMargin.WriteLong(L"captionmargin", 0);
    Button c(false);
    c.model.Load(zeroMargin);
    EXPECT_EQ(c.model.CaptionMargin(), 0);
}

TEST(ButtonProperties, LoadingLinkWithFormattedTextShowsM7AndKeepsTheEarlierSkin) {
    host::PropertyBag bag;
    bag.WriteBool(L"enabledformattext", true);
    bag.WriteLong(L"skin", 22);
    Button b(false);
    b.model.Load(bag);
    EXPECT_EQ(b.site.messages, std::vector<std::wstring>{kMsgLinkWithFormatText});
    EXPECT_EQ(b.model.Skin(), 0);

    bag.WritePicture(L"SkinCustomPicture", Pic()->Pixels());
    Button c(true);
    c.model.Load(bag);
    EXPECT_EQ(c.site.messages, std::vector<std::wstring>{kMsgLinkWithFormatText});
    EXPECT_EQ(c.model.Skin(), 23) << "the custom picture set Skin 23 first";
}

TEST(ButtonProperties, SavedSkinsOfAllKindsLoadTheirBitmaps) {
    host::PropertyBag bag;
    bag.WriteLong(L"Skin", 9);
    bag.WriteLong(L"ColorSchemas", 1);
    Button b(false);
    b.model.Load(bag);
    EXPECT_TRUE(b.site.Saw(L"skin 9"));
    EXPECT_EQ(b.model.ForeColorDisabled(), BuiltInSkinColours(9)->foreDisabled);

    host::PropertyBag off;
    off.WriteBool(L"SkinEnabled", false);
    off.WriteLong(L"Skin", 7);
    off.WriteBool(L"Enabled", false);
    Button c(true);
    c.model.Load(off);
    EXPECT_TRUE(c.site.messages.empty()) << "loading stores the Skin even without a skin";
    EXPECT_EQ(c.model.Skin(), 7);
    EXPECT_FALSE(c.model.SkinEnabled());
    EXPECT_FALSE(c.site.windowEnabled);
    EXPECT_FALSE(c.site.Saw(L"skin 7"));
}
