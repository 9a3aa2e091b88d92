#include "controls/button/button_model.h"

#include "controls/button/button_messages.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_palette.h"
#include "win/units.h"

#include <cmath>
#include <utility>

namespace skinbutton {
namespace {

constexpr std::uint32_t kButtonTextColour = 0x80000012u; // system colour: button text
constexpr std::uint32_t kBlue = 0xFF0000u;
constexpr std::uint32_t kWhite = 0xFFFFFFu;

} // namespace

bool ButtonModel::DesignMode() const {
    return site_.Host().DesignMode();
}
bool ButtonModel::IsChecked() const {
    return skinbutton::IsChecked(buttonType_, value_);
}

void ButtonModel::Notify(const wchar_t* name) {
    site_.Host().PropertyChanged(name);
}

void ButtonModel::RepaintUnlessFormatted() {
    if (!enabledFormatText_)
        site_.Repaint();
}

// ---- lifecycle ----

void ButtonModel::InitNew() {
    loading_ = true;
    SetForeColorNormal(0);
    SetForeColorUp(kBlue);
    SetForeColorDown(255);
    SetForeColorCheck(255);
    SetForeColorDisabled(win::Rgb(190, 190, 190));
    // Read from the container at each step, as a designer would hand them over.
    SetBackColor(site_.Host().Ambient().BackColor);
    SetBackColorDown(site_.Host().Ambient().BackColor);
    SetBackColorOver(site_.Host().Ambient().BackColor);
    SetBackColorCheck(site_.Host().Ambient().BackColor);
    SetBackColorDisabled(site_.Host().Ambient().BackColor);
    SetEnabled(true);
    SetSkinEnabled(true);
    SetSkin(16);
    SetColorSchemas(1);
    SetUseUnderLineMouseUp(false);
    SetUseUnderLineMouseCheck(false);
    SetCaption(site_.Host().Ambient().DisplayName);
    SetCaptionMargin(10);
    SetFont(font_);
    loading_ = false;
    // No ApplySkinColors here: a new button keeps the text colours above until a later change.
    site_.Repaint();
}

void ButtonModel::Load(const host::PropertyBag& bag) {
    loading_ = true;
    SetPictureTexture(site_.MakePicture(bag.ReadPicture(L"PictureTexture")));
    useBackColorContainer_ = bag.ReadBool(L"UseBackColorContainer", false);
    caption_ = bag.ReadString(L"Caption", L"");
    enabled_ = bag.ReadBool(L"Enabled", true);
    value_ = bag.ReadBool(L"Value", false);
    foreNormal_ = bag.ReadColour(L"ForeColorNormal", kButtonTextColour);
    foreDown_ = bag.ReadColour(L"ForeColorDown", kButtonTextColour);
    foreUp_ = bag.ReadColour(L"ForeColorUp", kBlue);
    foreDisabled_ = bag.ReadColour(L"ForeColorDisabled", kButtonTextColour);
    foreCheck_ = bag.ReadColour(L"ForeColorCheck", kBlue);
    captionAlign_ = bag.ReadLong(L"CaptionAlign", 0);
    captionMargin_ = bag.ReadLong(L"CaptionMargin", 0);
    buttonType_ = bag.ReadLong(L"ButtonType", 0);
    toolTipText_ = bag.ReadString(L"ToolTipText", L"");
    underlineMouseUp_ = bag.ReadBool(L"UseUnderLineMouseUp", false);
    underlineMouseCheck_ = bag.ReadBool(L"UseUnderLineMouseCheck", false);
    enabledFormatText_ = bag.ReadBool(L"EnabledFormatText", false);
    site_.CaptionChanged();
    font_ = bag.ReadFont(L"Font", font_);
    site_.FontChanged();
    back_ = bag.ReadColour(L"BackColor", host::kButtonFaceColour);
    backOver_ = bag.ReadColour(L"BackColorOver", host::kButtonFaceColour);
    backDown_ = bag.ReadColour(L"BackColorDown", host::kButtonFaceColour);
    backCheck_ = bag.ReadColour(L"BackColorCheck", host::kButtonFaceColour);
    backDisabled_ = bag.ReadColour(L"BackColorDisabled", host::kButtonFaceColour);
    borderNormal_ = bag.ReadColour(L"BorderColorNormal", 0);
    borderOver_ = bag.ReadColour(L"BorderColorOver", 0);
    borderDown_ = bag.ReadColour(L"BorderColorDown", 0);
    borderCheck_ = bag.ReadColour(L"BorderColorCheck", kWhite);
    borderDisabled_ = bag.ReadColour(L"BorderColorDisabled", 0);
    SetSkinEnabled(bag.ReadBool(L"SkinEnabled", true));
    SetSkinCustomPicture(site_.MakePicture(bag.ReadPicture(L"SkinCustomPicture")));
    SetSkin(bag.ReadLong(L"Skin", 0));
    colorSchemas_ = bag.ReadLong(L"ColorSchemas", 0);
    site_.SetWindowEnabled(enabled_);
    loading_ = false;
    ApplySkinColors();
    // The setters above told the host of their changes; the set they came from is what the button now holds.
    site_.Host().MarkSaved();
    site_.Repaint();
}

void ButtonModel::Save(host::PropertyBag& bag) const {
    auto pixels = [](const PictureRef& p) { return p ? p->Pixels() : host::Picture{}; };
    bag.WritePicture(L"PictureTexture", pixels(pictureTexture_), host::Picture{});
    bag.WriteBool(L"UseBackColorContainer", useBackColorContainer_, false);
    bag.WritePicture(L"SkinCustomPicture", pixels(skinCustomPicture_));
    bag.WriteLong(L"Skin", skin_);
    bag.WriteString(L"Caption", caption_);
    bag.WriteBool(L"Enabled", enabled_);
    bag.WriteFont(L"Font", font_);
    bag.WriteBool(L"Value", value_);
    bag.WriteColour(L"ForeColorNormal", foreNormal_, kButtonTextColour);
    bag.WriteColour(L"ForeColorDown", foreDown_, kButtonTextColour);
    bag.WriteColour(L"ForeColorUp", foreUp_, kBlue);
    bag.WriteColour(L"ForeColorDisabled", foreDisabled_, kButtonTextColour);
    bag.WriteColour(L"ForeColorCheck", foreCheck_, kBlue);
    bag.WriteLong(L"CaptionAlign", captionAlign_);
    bag.WriteLong(L"CaptionMargin", captionMargin_);
    bag.WriteLong(L"ButtonType", buttonType_);
    bag.WriteString(L"ToolTipText", toolTipText_);
    bag.WriteBool(L"UseUnderLineMouseUp", underlineMouseUp_);
    bag.WriteBool(L"UseUnderLineMouseCheck", underlineMouseCheck_);
    bag.WriteBool(L"EnabledFormatText", enabledFormatText_, false);
    bag.WriteColour(L"BackColor", back_, host::kButtonFaceColour);
    bag.WriteColour(L"BackColorOver", backOver_, host::kButtonFaceColour);
    bag.WriteColour(L"BackColorDown", backDown_, host::kButtonFaceColour);
    bag.WriteColour(L"BackColorCheck", backCheck_, host::kButtonFaceColour);
    bag.WriteColour(L"BackColorDisabled", backDisabled_, host::kButtonFaceColour);
    bag.WriteColour(L"BorderColorNormal", borderNormal_, 0);
    bag.WriteColour(L"BorderColorOver", borderOver_, 0);
    bag.WriteColour(L"BorderColorDown", borderDown_, 0);
    bag.WriteColour(L"BorderColorCheck", borderCheck_, kWhite);
    bag.WriteColour(L"BorderColorDisabled", borderDisabled_, 0);
    bag.WriteBool(L"SkinEnabled", skinEnabled_, true);
    bag.WriteLong(L"ColorSchemas", colorSchemas_, 0);
    site_.Host().MarkSaved();
}

void ButtonModel::ApplySkinColors() {
    if (loading_ || colorSchemas_ != 1)
        return;
    const SkinColours* row = BuiltInSkinColours(skin_);
    if (!row)
        return;
    foreNormal_ = row->foreNormal;
    foreUp_ = row->foreUp;
    foreDown_ = row->foreDown;
    foreDisabled_ = row->foreDisabled;
    foreCheck_ = row->foreCheck;
    backSkinDefault_ = row->backDefault;
    borderSkinDefault_ = row->borderDefault;
}

// ---- plain properties ----

void ButtonModel::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    site_.CaptionChanged();
    RepaintUnlessFormatted();
    Notify(L"Caption");
}

void ButtonModel::SetEnabled(bool enabled) {
    enabled_ = enabled;
    site_.SetWindowEnabled(enabled);
    ApplySkinColors();
    site_.Repaint();
    Notify(L"Enabled");
}

void ButtonModel::SetValue(bool value) {
    value_ = value;
    Notify(L"Value");
    if (buttonType_ == kCheckButton || buttonType_ == kOptionButton) {
        site_.Repaint();
        if (!DesignMode())
            site_.RaiseClick();
    }
}

void ButtonModel::SetButtonType(int type) {
    buttonType_ = type;
    site_.Repaint();
    Notify(L"ButtonType");
}

void ButtonModel::SetCaptionAlign(int align) {
    captionAlign_ = align;
    RepaintUnlessFormatted();
    Notify(L"CaptionAlign");
}

void ButtonModel::SetCaptionMargin(int margin) {
    captionMargin_ = margin < 1 ? 1 : margin;
    RepaintUnlessFormatted();
    Notify(L"CaptionMargin");
}

void ButtonModel::SetToolTipText(const std::wstring& text) {
    toolTipText_ = text;
    Notify(L"ToolTipText");
}

// ---- font ----

void ButtonModel::SetFont(const host::FontDesc& font) {
    if (DesignMode() && enabledFormatText_) {
        site_.ShowMessage(kMsgFormatTextFont, MessageIcon::Warning);
        return;
    }
    font_ = font;
    site_.FontChanged();
    site_.Repaint();
    Notify(L"Font");
}

void ButtonModel::SetFontName(const std::wstring& name) {
    font_.name = site_.FontNameAccepted(name) ? name : site_.Host().Ambient().Font.name;
    site_.FontChanged();
    RepaintUnlessFormatted();
}

std::int16_t ButtonModel::FontSize() const {
    return static_cast<std::int16_t>(RoundHalfEven(font_.size));
}

void ButtonModel::SetFontSize(std::int16_t points) {
    // A font needs a positive size; anything else keeps the one there is.
    if (points <= 0)
        return;
    font_.size = points;
    site_.FontChanged();
    RepaintUnlessFormatted();
}

void ButtonModel::SetFontBold(bool on) {
    font_.bold = on;
    site_.FontChanged();
    RepaintUnlessFormatted();
}

void ButtonModel::SetFontItalic(bool on) {
    font_.italic = on;
    site_.FontChanged();
    RepaintUnlessFormatted();
}

void ButtonModel::SetFontUnderline(bool on) {
    font_.underline = on;
    site_.FontChanged();
    RepaintUnlessFormatted();
}

// ---- colours ----

void ButtonModel::SetForeColor(std::uint32_t& field, std::uint32_t colour, const wchar_t* name) {
    if (DesignMode() && colorSchemas_ == 1 && skinEnabled_) {
        site_.ShowMessage(kMsgColorSchemasUseSkins, MessageIcon::Warning);
        return;
    }
    field = colour;
    RepaintUnlessFormatted();
    Notify(name);
}

bool ButtonModel::ColourGuard() {
    if (!DesignMode())
        return true;
    if (skin_ == kSkinLink) {
        site_.ShowMessage(kMsgLinkColours, MessageIcon::Warning);
        return false;
    }
    if (colorSchemas_ == 1) {
        site_.ShowMessage(kMsgColorSchemasUseSkins, MessageIcon::Warning);
        return false;
    }
    if (skinEnabled_) {
        site_.ShowMessage(kMsgSkinEnabledTrue, MessageIcon::Warning);
        return false;
    }
    return true;
}

bool ButtonModel::SetGuardedColour(std::uint32_t& field, std::uint32_t colour, const wchar_t* name) {
    if (!ColourGuard())
        return false;
    field = colour;
    Notify(name);
    return true;
}

void ButtonModel::SetBackColor(std::uint32_t c) {
    if (SetGuardedColour(back_, c, L"BackColor"))
        site_.Repaint();
}
void ButtonModel::SetBackColorOver(std::uint32_t c) {
    SetGuardedColour(backOver_, c, L"BackColorOver");
}
void ButtonModel::SetBackColorDown(std::uint32_t c) {
    SetGuardedColour(backDown_, c, L"BackColorDown");
}
void ButtonModel::SetBackColorCheck(std::uint32_t c) {
    if (SetGuardedColour(backCheck_, c, L"BackColorCheck"))
        site_.Repaint();
}
void ButtonModel::SetBackColorDisabled(std::uint32_t c) {
    if (SetGuardedColour(backDisabled_, c, L"BackColorDisabled"))
        site_.Repaint();
}
void ButtonModel::SetBorderColorNormal(std::uint32_t c) {
    if (SetGuardedColour(borderNormal_, c, L"BorderColorNormal"))
        site_.Repaint();
}
void ButtonModel::SetBorderColorOver(std::uint32_t c) {
    if (SetGuardedColour(borderOver_, c, L"BorderColorOver"))
        site_.DrawBorder(c);
}
void ButtonModel::SetBorderColorDown(std::uint32_t c) {
    if (SetGuardedColour(borderDown_, c, L"BorderColorDown"))
        site_.DrawBorder(c);
}
void ButtonModel::SetBorderColorCheck(std::uint32_t c) {
    if (SetGuardedColour(borderCheck_, c, L"BorderColorCheck"))
        site_.DrawBorder(c);
}
void ButtonModel::SetBorderColorDisabled(std::uint32_t c) {
    if (SetGuardedColour(borderDisabled_, c, L"BorderColorDisabled"))
        site_.Repaint();
}

// ---- skins ----

void ButtonModel::SetSkinEnabled(bool on) {
    changingSkinEnabled_ = true;
    skinEnabled_ = on;
    colorSchemas_ = (!on || skin_ == kSkinCustom) ? 0 : 1;
    Notify(L"SkinEnabled");
    SetSkin(skin_);
    changingSkinEnabled_ = false;
    site_.Repaint();
}

bool ButtonModel::SetSkin(int skin) {
    if (!skinEnabled_ && !changingSkinEnabled_ && !loading_) {
        if (DesignMode())
            site_.ShowMessage(kMsgSkinDisabled, MessageIcon::Warning);
        return false;
    }
    if (enabledFormatText_ && skin == kSkinLink) {
        site_.ShowMessage(kMsgLinkWithFormatText, MessageIcon::Warning);
        return false;
    }
    skin_ = skin;
    if (skinEnabled_ && skin != kSkinLink && skin != kSkinCustom) {
        colorSchemas_ = 1;
        site_.SelectBuiltInSkin(skin); // a number outside 0-21 selects no bitmap
    } else if (skinCustomPicture_ && skin == kSkinCustom) {
        colorSchemas_ = 0;
        site_.SelectCustomSkin(skinCustomPicture_);
    } else if (skin == kSkinLink) {
        colorSchemas_ = 0;
    }
    Notify(L"Skin");
    ApplySkinColors();
    site_.Repaint();
    return true;
}

void ButtonModel::SetColorSchemas(int schemas) {
    if (schemas != 0 && schemas != 1 && skinEnabled_) {
        site_.ShowMessage(kMsgColorSchemasCustom, MessageIcon::Information);
        return;
    }
    colorSchemas_ = schemas;
    ApplySkinColors();
    site_.Repaint();
    Notify(L"ColorSchemas");
}

host::ControlResult ButtonModel::SetSkinCustomPicture(PictureRef picture) {
    // A bitmap sits in one device context at a time: one that another control draws from cannot
    // be this button's skin too.
    if (picture && site_.SkinPictureHeldElsewhere(picture))
        return host::MakeError(host::kErrInvalidPicture, L"Propiedad SkinCustomPicture");
    // The old picture lives until the skin context has let go of it, at the end of this call.
    const PictureRef old = std::exchange(skinCustomPicture_, std::move(picture));
    if (!skinCustomPicture_) {
        site_.SelectNoSkin();
    } else {
        SetColorSchemas(0);
        // Refused while skins are off, the change would leave the old picture in the skin context,
        // which its owner may be about to delete: the new one takes its place.
        if (!SetSkin(kSkinCustom) && skin_ == kSkinCustom)
            site_.SelectCustomSkin(skinCustomPicture_);
    }
    Notify(L"SkinCustomPicture");
    ApplySkinColors();
    site_.Repaint();
    return std::nullopt;
}

void ButtonModel::SetPictureTexture(PictureRef picture) {
    pictureTexture_ = std::move(picture);
    RepaintUnlessFormatted();
    Notify(L"PictureTexture");
}

void ButtonModel::SetUseBackColorContainer(bool on) {
    useBackColorContainer_ = on;
    site_.Repaint();
    Notify(L"UseBackColorContainer");
}

void ButtonModel::SetUseUnderLineMouseUp(bool on) {
    if (DesignMode() && enabledFormatText_) {
        site_.ShowMessage(kMsgFormatTextUnderline, MessageIcon::Warning);
        return;
    }
    underlineMouseUp_ = on;
    Notify(L"UseUnderLineMouseUp");
}

void ButtonModel::SetUseUnderLineMouseCheck(bool on) {
    if (DesignMode() && enabledFormatText_) {
        site_.ShowMessage(kMsgFormatTextUnderline, MessageIcon::Warning);
        return;
    }
    underlineMouseCheck_ = on;
    ApplySkinColors();
    site_.Repaint();
    Notify(L"UseUnderLineMouseCheck");
}

void ButtonModel::SetEnabledFormatText(bool on) {
    enabledFormatText_ = on;
    if (on) {
        if (underlineMouseUp_) {
            underlineMouseUp_ = false;
            Notify(L"UseUnderLineMouseUp");
        }
        if (underlineMouseCheck_) {
            underlineMouseCheck_ = false;
            Notify(L"UseUnderLineMouseCheck");
        }
        if (!DesignMode()) {
            site_.Repaint();
            site_.DrawFormattedText();
        }
    } else {
        site_.ResetSurfaceLines();
        site_.Repaint();
    }
    Notify(L"EnabledFormatText");
}

} // namespace skinbutton
