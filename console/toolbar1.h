// Toolbar1: the toolbar control docked at the top of the main window. Like a toolbar control of a
// form, it is a host window with the native common-controls toolbar ("ToolbarWindow32") inside;
// the toolbar skinning finds that child and hooks it. Clicks reach ButtonClick with the button's
// key.
#pragma once

#include "win/gdi.h"
#include "win/window_base.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace console {

struct ToolButton {
    const wchar_t* key;
    const wchar_t* caption; // trailing blanks belong to the caption
    int bitmapId;           // its image at 32 x 32 pixels
    int largeBitmapId;      // and at 48 x 48, for a display at 150 %
};
// The four buttons, numbered 1 to 4 as the toolbar counts them.
extern const ToolButton kToolButtons[4];

class Toolbar1 : public win::Window {
public:
    ~Toolbar1() override;

    // The images are 32 x 32 pixels at 96 dpi, and as large at any other (image list and font made
    // for dpi).
    bool Create(HWND parent, int id, int width, int height, int dpi);
    // At a new display scale: images and font made again, host and toolbar given the new size.
    bool SetDpi(int dpi, int width, int height);
    // The native toolbar window inside the host.
    HWND ToolbarWindow() const { return toolbar_; }
    HIMAGELIST ImageList1() const { return images_; }

    // Button index is 1-based, as the toolbar counts them.
    void EnableButton(int index, bool enabled);
    bool IsButtonEnabled(int index) const;
    static int CommandOf(int index);

    std::function<void(const std::wstring& key)> ButtonClick;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The toolbar's font at dpi (the icon titles'); null when it cannot be made.
    virtual win::Font MakeFont(int dpi) const;

private:
    HIMAGELIST MakeImages(int dpi) const;

    HWND toolbar_ = nullptr;
    HIMAGELIST images_ = nullptr;
    win::Font font_;
};

} // namespace console
