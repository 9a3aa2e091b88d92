// About: names the program and its maker. Modeless, one instance: asking again brings the open
// window to the front; "Aceptar" closes it and the next request creates it afresh.
#pragma once

#include "controls/button/skin_button.h"
#include "win/dialog_focus.h"
#include "win/gdi.h"
#include "win/single_instance.h"
#include "win/window_base.h"

#include <windows.h>

namespace console {

class About : public win::Window {
public:
    About() = default;
    ~About() override;

    static About* Show();
    static About* Instance();
    static void CloseInstance();

    static constexpr const wchar_t* kCaption = L"Acerca de ZEV Config";

    HWND picIcon() const { return picIcon_; }
    HWND lblTitle() const { return lblTitle_; }
    HWND lblDescription() const { return lblDescription_; }
    skinbutton::SkinButton cmdOK;
    // The display scale the window is laid out for.
    int Dpi() const { return dpi_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    friend class win::SingleInstance<About>;
    bool Open();
    bool CreateControls();
    void PaintSeparator(HDC dc);
    void SetLogo();
    // WM_DPICHANGED, once the window has its new rectangle.
    void OnDpiChanged(int dpi);

    HWND picIcon_ = nullptr;
    HWND lblTitle_ = nullptr;
    HWND lblDescription_ = nullptr;
    win::Bitmap logoOwned_;
    win::Font labelFont_;
    // Opens on "Aceptar", as a dialog box opens on its first control.
    win::DialogFocus focus_;
    bool built_ = false;
    int dpi_ = 96;
};

} // namespace console
