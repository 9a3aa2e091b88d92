// The properties of a SkinButton: their values, the checks that refuse a change (design mode mostly),
// what each setter does besides storing, the skin/colour-scheme interplay, and the three lifecycle
// sequences around the saved property set (a newly placed button, loading, saving). Platform-neutral:
// drawing, the window and message boxes are reached through ButtonSite.
#pragma once

#include "controls/button/button_picture.h"
#include "controls/host/ambient.h"
#include "controls/host/control_error.h"
#include "controls/host/property_bag.h"

#include <cstdint>
#include <string>

namespace skinbutton {

enum class MessageIcon { Warning, Information, Error };

// What the properties make the rest of the button do.
class ButtonSite {
public:
    virtual ~ButtonSite() = default;
    virtual host::ControlSite& Host() = 0;
    // Paint(0); the button skips it while properties are being initialised or loaded.
    virtual void Repaint() = 0;
    // A built-in skin; a number outside 0-21 selects no bitmap.
    virtual void SelectBuiltInSkin(int skin) = 0;
    virtual void SelectCustomSkin(const PictureRef& picture) = 0;
    virtual void SelectNoSkin() = 0;
    virtual void DrawBorder(std::uint32_t colour) = 0; // flat style only: the button checks
    virtual void SetWindowEnabled(bool enabled) = 0;
    virtual void RaiseClick() = 0;
    virtual void ResetSurfaceLines() = 0; // line width 1, solid
    virtual void DrawFormattedText() = 0;
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    // Whether a font of that face can be made; a refused name falls back to the ambient font's.
    virtual bool FontNameAccepted(const std::wstring& name) = 0;
    // Null for a picture that is none (or that cannot be made).
    virtual PictureRef MakePicture(const host::Picture& pixels) = 0;
    virtual void ShowMessage(const std::wstring& text, MessageIcon icon) = 0;
    // Whether the picture's bitmap is selected into a device context that is not this button's.
    virtual bool SkinPictureHeldElsewhere(const PictureRef&) { return false; }
};

class ButtonModel {
public:
    explicit ButtonModel(ButtonSite& site) : site_(site) {}
    ButtonModel(const ButtonModel&) = delete;
    ButtonModel& operator=(const ButtonModel&) = delete;

    // Lifecycle.
    void InitNew();
    void Load(const host::PropertyBag& bag);
    void Save(host::PropertyBag& bag) const;
    // With ColorSchemas 1, the text colours and the two skin defaults follow the skin's row.
    void ApplySkinColors();
    bool Loading() const { return loading_; }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Value() const { return value_; }
    void SetValue(bool value);
    // For the button's own clicks: no Click and no change notice come from it.
    void StoreValue(bool value) { value_ = value; }
    int ButtonType() const { return buttonType_; }
    void SetButtonType(int type);
    int CaptionAlign() const { return captionAlign_; }
    void SetCaptionAlign(int align);
    int CaptionMargin() const { return captionMargin_; }
    void SetCaptionMargin(int margin);
    const std::wstring& ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const std::wstring& text);

    const host::FontDesc& Font() const { return font_; }
    void SetFont(const host::FontDesc& font);
    // The surface's font changes without a change notice or a check (the formatted caption's carry-over).
    void StoreFont(const host::FontDesc& font) { font_ = font; }
    const std::wstring& FontName() const { return font_.name; }
    void SetFontName(const std::wstring& name);
    std::int16_t FontSize() const;
    void SetFontSize(std::int16_t points);
    bool FontBold() const { return font_.bold; }
    void SetFontBold(bool on);
    bool FontItalic() const { return font_.italic; }
    void SetFontItalic(bool on);
    bool FontUnderline() const { return font_.underline; }
    void SetFontUnderline(bool on);

    std::uint32_t ForeColorNormal() const { return foreNormal_; }
    void SetForeColorNormal(std::uint32_t c) { SetForeColor(foreNormal_, c, L"ForeColorNormal"); }
    std::uint32_t ForeColorUp() const { return foreUp_; }
    void SetForeColorUp(std::uint32_t c) { SetForeColor(foreUp_, c, L"ForeColorUp"); }
    std::uint32_t ForeColorDown() const { return foreDown_; }
    void SetForeColorDown(std::uint32_t c) { SetForeColor(foreDown_, c, L"ForeColorDown"); }
    std::uint32_t ForeColorDisabled() const { return foreDisabled_; }
    void SetForeColorDisabled(std::uint32_t c) { SetForeColor(foreDisabled_, c, L"ForeColorDisabled"); }
    std::uint32_t ForeColorCheck() const { return foreCheck_; }
    void SetForeColorCheck(std::uint32_t c) { SetForeColor(foreCheck_, c, L"ForeColorCheck"); }

    std::uint32_t BackColor() const { return back_; }
    void SetBackColor(std::uint32_t c);
    std::uint32_t BackColorOver() const { return backOver_; }
    void SetBackColorOver(std::uint32_t c);
    std::uint32_t BackColorDown() const { return backDown_; }
    void SetBackColorDown(std::uint32_t c);
    std::uint32_t BackColorCheck() const { return backCheck_; }
    void SetBackColorCheck(std::uint32_t c);
    std::uint32_t BackColorDisabled() const { return backDisabled_; }
    void SetBackColorDisabled(std::uint32_t c);
    std::uint32_t BorderColorNormal() const { return borderNormal_; }
    void SetBorderColorNormal(std::uint32_t c);
    std::uint32_t BorderColorOver() const { return borderOver_; }
    void SetBorderColorOver(std::uint32_t c);
    std::uint32_t BorderColorDown() const { return borderDown_; }
    void SetBorderColorDown(std::uint32_t c);
    std::uint32_t BorderColorCheck() const { return borderCheck_; }
    void SetBorderColorCheck(std::uint32_t c);
    std::uint32_t BorderColorDisabled() const { return borderDisabled_; }
    void SetBorderColorDisabled(std::uint32_t c);
    std::uint32_t BackColorSkinDefault() const { return backSkinDefault_; }
    std::uint32_t BorderColorSkinDefault() const { return borderSkinDefault_; }

    bool SkinEnabled() const { return skinEnabled_; }
    void SetSkinEnabled(bool on);
    int Skin() const { return skin_; }
    // False when refused (skins off, or the link style with the formatted caption).
    bool SetSkin(int skin);
    int ColorSchemas() const { return colorSchemas_; }
    void SetColorSchemas(int schemas);
    const PictureRef& SkinCustomPicture() const { return skinCustomPicture_; }
    // Refused with error 481 for a bitmap that another control holds selected.
    host::ControlResult SetSkinCustomPicture(PictureRef picture);
    const PictureRef& PictureTexture() const { return pictureTexture_; }
    void SetPictureTexture(PictureRef picture);
    bool UseBackColorContainer() const { return useBackColorContainer_; }
    void SetUseBackColorContainer(bool on);
    bool UseUnderLineMouseUp() const { return underlineMouseUp_; }
    void SetUseUnderLineMouseUp(bool on);
    bool UseUnderLineMouseCheck() const { return underlineMouseCheck_; }
    void SetUseUnderLineMouseCheck(bool on);
    bool EnabledFormatText() const { return enabledFormatText_; }
    void SetEnabledFormatText(bool on);

    bool DesignMode() const;
    bool IsChecked() const;

private:
    void SetForeColor(std::uint32_t& field, std::uint32_t colour, const wchar_t* name);
    // The check shared by the ten background and border colours; true when the change may go ahead.
    bool ColourGuard();
    bool SetGuardedColour(std::uint32_t& field, std::uint32_t colour, const wchar_t* name);
    void Notify(const wchar_t* name);
    void RepaintUnlessFormatted();

    ButtonSite& site_;
    bool loading_ = false;
    bool changingSkinEnabled_ = false;

    std::wstring caption_;
    bool enabled_ = true;
    bool value_ = false;
    int buttonType_ = 0;
    int captionAlign_ = 0;
    int captionMargin_ = 10;
    std::wstring toolTipText_;
    host::FontDesc font_{L"Verdana", 8.25};
    std::uint32_t foreNormal_ = 0, foreUp_ = 0xFF0000, foreDown_ = 255, foreDisabled_ = 0xBEBEBE, foreCheck_ = 255;
    std::uint32_t back_ = host::kButtonFaceColour, backOver_ = host::kButtonFaceColour,
                  backDown_ = host::kButtonFaceColour, backCheck_ = host::kButtonFaceColour,
                  backDisabled_ = host::kButtonFaceColour;
    std::uint32_t borderNormal_ = 0, borderOver_ = 0, borderDown_ = 0, borderCheck_ = 0, borderDisabled_ = 0;
    std::uint32_t backSkinDefault_ = 0, borderSkinDefault_ = 0;
    // Until a new button is initialised or a saved set is loaded: no skin, custom colours.
    bool skinEnabled_ = false;
    int skin_ = 0;
    int colorSchemas_ = 0;
    PictureRef skinCustomPicture_;
    PictureRef pictureTexture_;
    bool useBackColorContainer_ = false;
    bool underlineMouseUp_ = false, underlineMouseCheck_ = false;
    bool enabledFormatText_ = false;
};

} // namespace skinbutton
