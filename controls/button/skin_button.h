// SkinButton: the owner-drawn skinned button of every dialog. It paints itself from one of 22
// built-in skins, a custom skin picture or flat colours (or as a link), follows the pointer to show a
// hot look, behaves as a push, check or option button, and raises its own events.
//
// Creating one:
//     skinbutton::SkinButton ok;
//     ok.Click = [&] { ... };
//     ok.Create(parent, IDOK, RECT{280, 120, 369, 145}, L"Aceptar"); // a newly placed button, then the caption
// or, with the settings a window keeps for it:
//     ok.Create(parent, IDOK, rect, savedSet);
// Ambient properties (design or run mode, the container's colour and font) are set on Ambient()
// before Create; change notices of saved properties arrive at Ambient().OnPropertyChanged.
//
// Besides its events it behaves as a Windows user expects of a button: it is a tab stop, Space
// clicks it once, WM_GETTEXT gives its caption, BM_CLICK clicks it, and every click is also told to
// the parent as WM_COMMAND with BN_CLICKED and the control's id. A disabled button never clicks.
#pragma once

#include "controls/button/button_model.h"
#include "controls/button/formatted_text.h"
#include "controls/host/ambient.h"
#include "win/gdi.h"
#include "win/window_base.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace skinbutton {

class SkinButton : public win::Window, private ButtonSite, public ButtonModel {
public:
    // Posted to itself: a warning found while painting, shown once the paint is over.
    static constexpr UINT kPaintWarningMessage = WM_USER + 1;

    SkinButton();
    ~SkinButton() override;

    // The ambient properties and change notices of this button's host; set them up before Create.
    host::ControlSite& Ambient() { return site_; }

    // A newly placed button (skin 16, colours of the skin scheme, Verdana 8.25) with this caption,
    // as a visible child window at the pixel rectangle. False when the window cannot be made.
    bool Create(HWND parent, int id, const RECT& rect, const std::wstring& caption);
    // A button made from a saved property set.
    bool Create(HWND parent, int id, const RECT& rect, const host::PropertyBag& saved);

    // Events. Arguments are references: a handler may change them and the button acts on the result.
    std::function<void()> Click;
    std::function<void()> MouseOver;
    std::function<void()> MouseOut;
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyDown;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyUp;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseUp;

    // Repaints with the paint mode of the last paint.
    void Refresh();
    HWND hwnd() const { return Hwnd(); }
    HDC hdc() const { return surface_.Dc(); }

    // Draws the background of a state into a context at (0, 0). Only the button's own surface
    // (hdc()) gets its size when the width or height is 0.
    void DrawSkin(HDC lHdc, int lPixelWidth = 0, int lPixelHeight = 0, int ButtonState = 0);
    // One pixel of the current skin: row 22 at the left edge of frames 0 to 4, else row 5;
    // CLR_INVALID outside the skin.
    std::uint32_t GetSkinsColors(int lImgStateButton) const;
    // Any window: a static edge instead of a sunken one.
    static void SetControlFlatStyle(HWND lHwnd);
    // Any top-level window: uniformly translucent, 0 invisible to 255 opaque. Returns 0.
    static std::int32_t SetTrans(HWND lHwnd, std::uint8_t lValue);

    // The pictures stay the caller's and must outlive their use; null is none. A skin picture that
    // another control holds selected is refused (error 481).
    using ButtonModel::SetPictureTexture;
    using ButtonModel::SetSkinCustomPicture;
    host::ControlResult SetSkinCustomPicture(HBITMAP picture);
    HBITMAP SkinCustomPictureHandle() const;
    void SetPictureTexture(HBITMAP picture);
    HBITMAP PictureTextureHandle() const;

    // The formatted caption, shown instead of Caption while EnabledFormatText is true (run mode).
    void FormatTextClear() { formatted_.Clear(); }
    void FormatTextSetup(int lMargin, int lSpacingLine, int lTop) { formatted_.Setup(lMargin, lSpacingLine, lTop); }
    void FormatTextAdd(const std::wstring& sText, const TextRunOptions& options = {});
    void FormatTextAddNewLine() { formatted_.AddNewLine(); }
    void FormatTextAddParagraph(int AlignmentText) { formatted_.AddParagraph(AlignmentText); }
    // A .bmp or .ico file; an unreadable one is reported and adds nothing. True when added.
    bool FormatTextAddPicture(const std::wstring& sPathPicture);
    void FormatTextDrawLine(std::uint32_t ColorLine, int StyleLine = 0, int DrawWidth = 0) {
        formatted_.AddRule(ColorLine, StyleLine, DrawWidth);
    }
    void FormatTextDraw();
    const FormattedText& FormattedCaption() const { return formatted_; }

    // The context the skin is drawn from (inspection: tests, tools); null while no skin is selected.
    HDC SkinContext() const { return skinDc_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // ButtonSite
    host::ControlSite& Host() override { return site_; }
    void Repaint() override { Paint(0); }
    void SelectBuiltInSkin(int skin) override;
    void SelectCustomSkin(const PictureRef& picture) override;
    void SelectNoSkin() override;
    void DrawBorder(std::uint32_t colour) override;
    void SetWindowEnabled(bool enabled) override;
    void RaiseClick() override;
    void ResetSurfaceLines() override;
    void DrawFormattedText() override { FormatTextDraw(); }
    void CaptionChanged() override;
    void FontChanged() override;
    bool FontNameAccepted(const std::wstring& name) override;
    PictureRef MakePicture(const host::Picture& pixels) override;
    void ShowMessage(const std::wstring& text, MessageIcon icon) override;
    bool SkinPictureHeldElsewhere(const PictureRef& picture) override;

    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CreateWindowAt(HWND parent, int id, const RECT& rect);
    // The holder keeps an owned picture alive for as long as its bitmap is selected.
    void SelectSkinBitmap(HBITMAP bitmap, PictureRef holder = nullptr);

    // Drawing (button_drawing.cpp).
    void Paint(int mode);
    void DrawCaption(int mode);
    // False (and the user told once, after the paint) when the texture is smaller than the caption.
    bool DrawTexturedCaption(int x, int y, int textWidth, int textHeight);
    // A condition found while painting is told to the user once per cause, after the paint: a
    // message box raised inside it would take the focus, repaint the button and be raised again.
    enum class PaintWarning : unsigned { TextureTooNarrow = 1, TextureTooLow = 2 };
    void WarnAfterPaint(PaintWarning warning);
    void ShowPaintWarning(WPARAM warning);
    void DrawFormatted(int marginShift, int topShift);
    void DrawFlat(int state);
    void SetSurfaceBackColor(std::uint32_t colour);
    void ResizeSurface();
    void Present();
    HFONT SurfaceFont();

    // Interaction (button_input.cpp).
    enum class Activation { Mouse, Keyboard, Message };
    void OnMouseMove(WPARAM keys, int x, int y);
    void OnMouseDown(std::int16_t button, WPARAM keys, int x, int y);
    void OnMouseUp(std::int16_t button, WPARAM keys, int x, int y);
    void OnKeyDown(WPARAM key, LPARAM flags);
    void OnKeyUp(WPARAM key);
    void OnHoverTick();
    void OnGotFocus();
    void OnLostFocus();
    void OnAmbientChanged(const std::wstring& name);
    void ProcessClick(Activation how);
    bool PointerOver() const;
    void MoveFocus(bool backward);
    // Calls a handler on a copy of it; false when the handler destroyed the button or its window.
    template <typename Handler, typename... Args> bool Raise(const Handler& handler, Args&... args) {
        if (!handler)
            return true;
        const std::weak_ptr<int> alive = alive_;
        Handler copy = handler;
        copy(args...);
        return !alive.expired() && Hwnd() != nullptr;
    }

    host::ControlSite site_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    // Drawing surface: a back buffer holding the button's look between paints.
    win::MemorySurface surface_;
    std::uint32_t surfaceBack_ = host::kButtonFaceColour;
    std::uint32_t surfaceFore_ = 0;
    win::Font font_;
    host::FontDesc fontMade_;
    bool fontValid_ = false;

    // Skins.
    std::array<win::Bitmap, 22> skins_; // loaded as they are first selected
    HDC skinDc_ = nullptr;
    HGDIOBJ skinDcOld_ = nullptr;
    HBITMAP skinBitmap_ = nullptr;
    PictureRef skinPicture_; // the custom picture whose bitmap skinDc_ holds

    unsigned paintWarnings_ = 0; // PaintWarning bits already told for warnedTexture_
    std::weak_ptr<const ButtonPicture> warnedTexture_;

    FormattedText formatted_;

    // Interaction state.
    bool mouseIn_ = false;           // bMouseIn
    std::int16_t mouseButton_ = 0;   // iMouseButton
    std::int16_t keyCode_ = 0;       // iKeyCode
    int paintMode_ = 0;              // bytPaintMode
    bool hoverTimer_ = false;        // TimerUc running
    std::int16_t pressedButton_ = 0; // the mouse button pressed on the button, until released
    bool spaceDown_ = false;         // Space pressed on the button and not yet released
    bool settingText_ = false;
};

} // namespace skinbutton
