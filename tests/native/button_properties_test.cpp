// SkinButton properties: new values, refusals by mode, skin interplay, loading and saving.
#include "controls/button/button_messages.h"
#include "controls/button/button_model.h"
#include "controls/button/skin_palette.h"
#include "controls/host/property_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace skinbutton;
using Log = std::vector<std::wstring>;

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

PictureRef Pic(int w = 4, int h = 3) {
    host::Picture p;
    p.raster = bmp::Raster(w, h, {7, 7, 7});
    return std::make_shared<FakePicture>(p);
}

// Records what the properties make the button do as one log of words; messages as "! text".
class FakeSite : public ButtonSite {
public:
    FakeSite() {
        host.OnPropertyChanged = [this](const std::wstring& name) { log.push_back(L"notice " + name); };
    }
    host::ControlSite& Host() override { return host; }
    void Repaint() override {
        if (!model->Loading())
            log.push_back(L"repaint");
    }
    void SelectBuiltInSkin(int skin) override { log.push_back(L"skin " + std::to_wstring(skin)); }
    void SelectCustomSkin(const PictureRef&) override { log.push_back(L"skin custom"); }
    void SelectNoSkin() override { log.push_back(L"skin none"); }
    void DrawBorder(std::uint32_t colour) override { log.push_back(L"border " + std::to_wstring(colour)); }
    void SetWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void RaiseClick() override { log.push_back(L"click"); }
    void ResetSurfaceLines() override { log.push_back(L"lines reset"); }
    void DrawFormattedText() override { log.push_back(L"format draw"); }
    bool FontNameAccepted(const std::wstring&) override { return true; }
    PictureRef MakePicture(const host::Picture& pixels) override {
        return pixels.IsNone() ? nullptr : std::make_shared<FakePicture>(pixels);
    }
    void ShowMessage(const std::wstring& text, MessageIcon) override { log.push_back(L"! " + text); }

    host::ControlSite host;
    ButtonModel* model = nullptr;
    Log log;
    bool windowEnabled = false;
};

std::wstring Msg(const wchar_t* text) {
    return L"! " + std::wstring(text);
}
Log Messages(const Log& log) {
    Log out;
    std::copy_if(log.begin(), log.end(), std::back_inserter(out), [](const auto& e) { return e[0] == L'!'; });
    return out;
}
int Count(const Log& log, const std::wstring& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

struct Button {
    explicit Button(bool designMode, bool initNew = true, std::uint32_t containerBack = 0x8000000Fu) {
        site.host.SetUserMode(!designMode);
        site.host.SetBackColor(containerBack);
        site.host.SetDisplayName(L"Command1");
        site.model = &model;
        if (initNew)
            model.InitNew();
    }
    Log Take(bool repaints = true) {
        Log log = std::exchange(site.log, {});
        if (!repaints)
            std::erase(log, L"repaint");
        return log;
    }
    host::PropertyBag Saved() const {
        host::PropertyBag bag;
        model.Save(bag);
        return bag;
    }
    std::string Text() const { return host::PropertyText(Saved()); }
    FakeSite site;
    ButtonModel model{site};
};

std::unique_ptr<Button> Loaded(bool designMode, const char* text) {
    auto b = std::make_unique<Button>(designMode, false);
    const auto parsed = host::ParsePropertyText(text);
    EXPECT_TRUE(parsed) << text;
    b->model.Load(parsed ? *parsed.bag : host::PropertyBag{});
    return b;
}

} // namespace

TEST(ButtonProperties, ANewButtonGetsItsPlacementValuesAndSavesThemInOrder) {
    Button b(true, false, 0x00C0FFEE);
    b.model.InitNew();
    const Log log = b.Take();
    EXPECT_EQ(Count(log, L"skin 16"), 1);
    EXPECT_EQ(Count(log, L"repaint"), 1) << "painting waits for the end";
    EXPECT_EQ(Messages(log), Log{}) << "no check refuses during the initialisation";
    EXPECT_TRUE(b.site.host.SavedSetOutOfDate());
    EXPECT_TRUE(b.site.windowEnabled);
    EXPECT_EQ(
        b.Text(),
        "SkinCustomPicture = Picture()\nSkin = 16\nCaption = \"Command1\"\nEnabled = True\n"
        "Font = Font(\"Verdana\", 8.25)\nValue = False\nForeColorNormal = &H00000000&\nForeColorDown = &H000000FF&\n"
        "ForeColorDisabled = &H00BEBEBE&\nForeColorCheck = &H000000FF&\nCaptionAlign = 0\nCaptionMargin = 10\n"
        "ButtonType = 0\nToolTipText = \"\"\nUseUnderLineMouseUp = False\nUseUnderLineMouseCheck = False\n"
        "BackColor = &H00C0FFEE&\nBackColorOver = &H00C0FFEE&\nBackColorDown = &H00C0FFEE&\n"
        "BackColorCheck = &H00C0FFEE&\nBackColorDisabled = &H00C0FFEE&\nBorderColorCheck = &H00000000&\n"
        "ColorSchemas = 1\n")
        << "the container's colour, and the text colours as set: the initialisation applies no skin colours";
}

TEST(ButtonProperties, RefusalsInDesignModeAndWhatRunModeStillRefuses) {
    using M = ButtonModel;
    const auto link = [](M& m) { m.SetSkin(22); };
    const auto noSkin = [](M& m) { m.SetSkinEnabled(false); };
    const auto customScheme = [](M& m) { m.SetSkin(3), m.SetColorSchemas(0); };
    const auto formatted = [](M& m) { m.SetEnabledFormatText(true); };
    const auto arial = [](M& m) { m.SetFont(host::FontDesc{L"Arial", 12}); };
    const struct {
        void (*before)(M&);
        void (*change)(M&);
        const wchar_t* design; // the message; the change is refused
        const wchar_t* run;    // null: accepted; "": refused without a message; else refused with it
    } cases[] = {
        {nullptr, [](M& m) { m.SetForeColorNormal(9); }, kMsgColorSchemasUseSkins, nullptr},
        {nullptr, [](M& m) { m.SetBackColor(9); }, kMsgColorSchemasUseSkins, nullptr},
        {link, [](M& m) { m.SetBorderColorOver(9); }, kMsgLinkColours, nullptr}, // before the schemes check
        {customScheme, [](M& m) { m.SetBackColorCheck(9); }, kMsgSkinEnabledTrue, nullptr},
        {noSkin, [](M& m) { m.SetSkin(5); }, kMsgSkinDisabled, L""},
        {nullptr, [](M& m) { m.SetColorSchemas(2); }, kMsgColorSchemasCustom, kMsgColorSchemasCustom},
        {formatted, arial, kMsgFormatTextFont, nullptr},
        {formatted, [](M& m) { m.SetUseUnderLineMouseUp(true); }, kMsgFormatTextUnderline, nullptr},
        {formatted, [](M& m) { m.SetSkin(22); }, kMsgLinkWithFormatText, kMsgLinkWithFormatText},
    };
    for (const auto& c : cases) {
        for (const bool design : {true, false}) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << (design ? " in design" : " at run time"));
            Button b(design);
            if (c.before)
                c.before(b.model);
            const host::PropertyBag before = b.Saved();
            b.Take();
            c.change(b.model);
            const wchar_t* expected = design ? c.design : c.run;
            const Log log = b.Take();
            if (!expected) {
                EXPECT_NE(b.Saved(), before) << "accepted";
                EXPECT_EQ(Messages(log), Log{});
            } else {
                EXPECT_EQ(b.Saved(), before) << "refused";
                EXPECT_EQ(log, *expected ? Log{Msg(expected)} : Log{}) << "a message at most, and no notice";
            }
        }
    }
}

TEST(ButtonProperties, AcceptedChangesAndTheirSideEffects) {
    Button b(true);
    b.model.SetSkinEnabled(false);
    b.Take();
    b.model.SetBackColorCheck(1);
    b.model.SetBorderColorCheck(0xABCDEF);
    b.model.SetBackColorOver(5);
    EXPECT_EQ(b.Take(), (Log{L"notice BackColorCheck", L"repaint", L"notice BorderColorCheck",
                             L"border " + std::to_wstring(0xABCDEF), L"notice BackColorOver"}))
        << "BackColorOver repaints nothing";
    b.model.SetButtonType(2);
    b.Take();
    b.model.SetValue(true);
    EXPECT_TRUE(b.model.IsChecked());
    EXPECT_EQ(b.Take(), (Log{L"notice Value", L"repaint"})) << "no Click in design mode";
    b.model.SetUseUnderLineMouseUp(true);
    b.model.SetUseUnderLineMouseCheck(true);
    b.Take();
    b.model.SetEnabledFormatText(true);
    EXPECT_EQ(b.Take(),
              (Log{L"notice UseUnderLineMouseUp", L"notice UseUnderLineMouseCheck", L"notice EnabledFormatText"}))
        << "formatted text clears the underline options, and design mode draws none";
    EXPECT_FALSE(b.model.UseUnderLineMouseUp() || b.model.UseUnderLineMouseCheck());
    b.model.SetEnabledFormatText(false);
    EXPECT_EQ(b.Take(), (Log{L"lines reset", L"repaint", L"notice EnabledFormatText"}));

    Button run(false);
    run.model.SetValue(true);
    run.model.SetButtonType(1);
    run.Take();
    EXPECT_TRUE(run.model.IsChecked());
    run.model.SetValue(false);
    EXPECT_EQ(run.Take(), (Log{L"notice Value", L"repaint", L"click"})) << "a push button raised no Click before";
    run.model.SetForeColorNormal(0x123456);
    run.model.SetEnabled(false);
    EXPECT_EQ(run.model.ForeColorNormal(), BuiltInSkinColours(16)->foreNormal) << "back to the skin's colour";
    EXPECT_FALSE(run.site.windowEnabled);
    run.Take();
    run.model.SetEnabledFormatText(true);
    EXPECT_EQ(run.Take(), (Log{L"repaint", L"format draw", L"notice EnabledFormatText"}));
}

TEST(ButtonProperties, SkinEnabledSkinAndColorSchemasInterplay) {
    Button b(true);
    b.Take();
    b.model.SetSkinEnabled(false);
    b.model.SetColorSchemas(2); // any scheme while there is no skin
    b.model.SetSkinCustomPicture(Pic());
    EXPECT_EQ(b.Take(false), (Log{L"notice SkinEnabled", L"notice Skin", L"notice ColorSchemas", L"notice ColorSchemas",
                                  Msg(kMsgSkinDisabled), L"notice SkinCustomPicture"}))
        << "the skin re-applied while SkinEnabled changes; of a custom picture only the Skin step refuses";
    EXPECT_EQ(b.model.Skin(), 16);

    // Skins select their bitmap and apply their colours; the link style selects nothing; numbers outside
    // 0-23 are stored, select no bitmap and leave the colours alone.
    Button run(false);
    run.Take();
    run.model.SetSkin(5);
    EXPECT_EQ(run.model.ForeColorNormal(), BuiltInSkinColours(5)->foreNormal);
    run.model.SetSkin(22);
    EXPECT_EQ(run.model.ColorSchemas(), 0);
    run.model.SetColorSchemas(1);
    run.model.SetSkin(-3);
    EXPECT_EQ(run.model.Skin(), -3);
    EXPECT_EQ(run.model.ForeColorNormal(), BuiltInSkinColours(5)->foreNormal);
    EXPECT_EQ(run.Take(false),
              (Log{L"skin 5", L"notice Skin", L"notice Skin", L"notice ColorSchemas", L"skin -3", L"notice Skin"}));
    // A custom picture sets Skin 23. With skins off a new one cannot become the skin, but it takes the
    // old one's place in the skin context: the old one's owner may delete it now. SkinEnabled true then
    // keeps the custom colours; clearing the picture empties the skin context.
    ASSERT_FALSE(run.model.SetSkinCustomPicture(Pic()));
    EXPECT_EQ(Count(run.Take(), L"skin custom"), 1);
    EXPECT_EQ(run.model.Skin(), 23);
    run.model.SetSkinEnabled(false);
    run.Take();
    run.model.SetSkinCustomPicture(Pic());
    EXPECT_EQ(run.Take(false), (Log{L"notice ColorSchemas", L"skin custom", L"notice SkinCustomPicture"}));
    run.model.SetSkinEnabled(true);
    EXPECT_EQ(run.model.ColorSchemas(), 0);
    run.Take();
    run.model.SetSkinCustomPicture(nullptr);
    EXPECT_EQ(run.Take().front(), L"skin none");
    run.model.SetSkinEnabled(true);
    EXPECT_EQ(run.model.ColorSchemas(), 0) << "Skin 23 even without its picture";
}

TEST(ButtonProperties, LoadsInItsOrderWithItsDefaultsAndStoresWhatSettingWouldRefuse) {
    Button source(false);
    source.model.SetCaption(L"Conectar");
    source.model.SetButtonType(1);
    source.model.SetValue(true);
    source.model.SetCaptionAlign(2);
    source.model.SetToolTipText(L"ayuda");
    source.model.SetFont({L"Courier New", 10, true});
    source.model.SetSkin(5);
    source.model.SetPictureTexture(Pic(30, 20));
    const std::string text = source.Text();
    const auto b = Loaded(false, text.c_str()); // through the text form, as a window's layout keeps it
    const Log log = b->Take();
    EXPECT_EQ(Count(log, L"skin 5"), 1);
    EXPECT_EQ(Count(log, L"repaint"), 1) << "painting waits for the end";
    EXPECT_EQ(Count(log, L"click"), 0) << "a loaded Value raises nothing";
    EXPECT_FALSE(b->site.host.SavedSetOutOfDate()) << "a freshly loaded set is up to date";
    EXPECT_EQ(b->Text(), text) << "load and save round-trip, every value in its place";

    const auto nine = Loaded(false, "Skin = 9\nColorSchemas = 1\nForeColorNormal = &H1&\n");
    EXPECT_EQ(nine->model.ForeColorNormal(), BuiltInSkinColours(9)->foreNormal) << "the skin's colours win";

    const auto blank = Loaded(false, "");
    // The stored ColorSchemas (0) replaces what the skin steps derived; the margin check is on set only.
    EXPECT_EQ(blank->Text(),
              "SkinCustomPicture = Picture()\nSkin = 0\nCaption = \"\"\nEnabled = True\n"
              "Font = Font(\"Verdana\", 8.25)\nValue = False\nCaptionAlign = 0\nCaptionMargin = 0\n"
              "ButtonType = 0\nToolTipText = \"\"\nUseUnderLineMouseUp = False\nUseUnderLineMouseCheck = False\n");
    EXPECT_TRUE(blank->site.windowEnabled);

    const auto off = Loaded(true, "SkinEnabled = False\nSkin = 7\nEnabled = False\n");
    const Log offLog = off->Take();
    EXPECT_EQ(Messages(offLog), Log{}) << "loading stores the Skin even without a skin";
    EXPECT_EQ(Count(offLog, L"skin 7"), 0);
    EXPECT_EQ(off->model.Skin(), 7);
    EXPECT_FALSE(off->model.SkinEnabled() || off->site.windowEnabled);

    // Link style with formatted text: refused with its message, and the skin loaded before it stays.
    const auto link = Loaded(false, "EnabledFormatText = True\nSkin = 22\n");
    EXPECT_EQ(Messages(link->Take()), Log{Msg(kMsgLinkWithFormatText)});
    EXPECT_EQ(link->model.Skin(), 0);
}
