// ToolbarSkin: paints a toolbar control from a skin picture. It finds the native toolbar window
// inside the control, makes it flat (list style on request, texts right of the images), hooks its
// WM_PAINT and WM_ERASEBKGND and draws background, frames, arrows, separators, texts and images from
// the picture's tiles (layout in paint_rules.h). Until a picture is set the toolbar draws itself. A
// toolbar destroyed while hooked is forgotten (WM_DESTROY): nothing is sent to its handle again.
#pragma once

#include "controls/statusbar/skin_status_bar.h"
#include "controls/toolbar/window_hooks.h"

#include <windows.h>

namespace toolbarskin {

class ToolbarSkin : public WindowHooks, public HookOwner {
public:
    ToolbarSkin() = default;
    // Unhooks without restoring the style, then lets go of the picture.
    ~ToolbarSkin() override;

    // hwnd: the toolbar control; its child of class "ToolbarWindow32" (else "msvb_lib_toolbar") is
    // hooked. True when the hook is in place.
    bool SubClassToolBar(HWND hwnd, bool ForceTextAlignRight = false);
    // The picture stays the caller's and must outlive its use here. One smaller than 216 × 23, or
    // no bitmap at all, is refused (through HookError) and the previous one kept.
    bool SetSkinPicture(HBITMAP Pic);
    // Restore puts back the style read when hooking; otherwise the flat style stays.
    void UnSubClassToolBar(bool Restore = false);

    // The display scale the pieces of the skin are drawn at (the toolbar's when it was hooked); a
    // window whose dpi changes tells its painter.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi);

    void HookCallback(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lhWnd, UINT uMsg, WPARAM wParam,
                      LPARAM lParam, LONG_PTR& lParamUser) override;

    HWND hToolBar() const { return hToolBar_; }
    HDC hSkinDC() const { return hSkinDC_.Dc(); }
    bool bLibToolBar() const { return bLibToolBar_; }
    bool bTextRight() const { return bTextRight_; }
    LONG_PTR lOriginalStyle() const { return lOriginalStyle_; }
    COLORREF lTextColorNormal() const { return lTextColorNormal_; }
    COLORREF lTextColorDown() const { return lTextColorDown_; }
    COLORREF lTextColorDisabled() const { return lTextColorDisabled_; }

private:
    void PaintToolBar();
    void SetToolbarStyle(HWND toolbar, LONG_PTR style);

    statusbar::SkinSurface hSkinDC_; // the caller's bitmap, selected; deselected before the DC goes
    int skinWidth_ = 0;
    HWND hToolBar_ = nullptr;
    bool bLibToolBar_ = false;
    bool bTextRight_ = false;
    COLORREF lTextColorNormal_ = 0, lTextColorDown_ = 0, lTextColorDisabled_ = 0;
    LONG_PTR lOriginalStyle_ = 0;
    int dpi_ = 96;
};

} // namespace toolbarskin
