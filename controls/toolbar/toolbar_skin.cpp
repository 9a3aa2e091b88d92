#include "controls/toolbar/toolbar_skin.h"

#include "controls/toolbar/paint_rules.h"
#include "win/dpi.h"

#include <commctrl.h>

namespace toolbarskin {

ToolbarSkin::~ToolbarSkin() {
    UnSubClassToolBar(false);
    hSkinDC_.Reset();
}

bool ToolbarSkin::SubClassToolBar(HWND hwnd, bool ForceTextAlignRight) {
    // Also drops the record of a toolbar destroyed while hooked, whose handle a new window may have.
    UnSubClassToolBar(false);
    HWND toolbar = FindWindowExW(hwnd, nullptr, L"ToolbarWindow32", nullptr);
    bLibToolBar_ = toolbar == nullptr;
    if (!toolbar)
        toolbar = FindWindowExW(hwnd, nullptr, L"msvb_lib_toolbar", nullptr);
    if (!toolbar)
        return false;
    lOriginalStyle_ = SendMessageW(toolbar, TB_GETSTYLE, 0, 0);
    bTextRight_ = ForceTextAlignRight || (lOriginalStyle_ & TBSTYLE_LIST) != 0;
    const LONG_PTR added = TBSTYLE_FLAT | (ForceTextAlignRight ? TBSTYLE_LIST : 0);
    SetToolbarStyle(toolbar, lOriginalStyle_ | added);
    if (!HookWindow(toolbar, 0, this))
        return false; // the new style stays
    hToolBar_ = toolbar;
    dpi_ = win::DpiOf(toolbar);
    HookAddMessage(toolbar, WM_PAINT, kBefore);
    HookAddMessage(toolbar, WM_ERASEBKGND, kBefore);
    HookAddMessage(toolbar, WM_DESTROY, kBefore);
    return true;
}

bool ToolbarSkin::SetSkinPicture(HBITMAP Pic) {
    BITMAP info{};
    if (!Pic || GetObjectW(Pic, sizeof(info), &info) != sizeof(info)) {
        HookError(L"SetSkinPicture", L"The picture is not a bitmap");
        return false;
    }
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (info.bmWidth < kSkinMinWidth || height < kSkinMinHeight) {
        HookError(L"SetSkinPicture", L"The picture is " + std::to_wstring(info.bmWidth) + L" x " +
                                         std::to_wstring(height) + L" pixels; the skin needs at least " +
                                         std::to_wstring(kSkinMinWidth) + L" x " + std::to_wstring(kSkinMinHeight));
        return false;
    }
    if (hSkinDC_.Select(Pic)) {
        HookError(L"SetSkinPicture", L"The picture cannot be selected (it is in use elsewhere)");
        return false;
    }
    skinWidth_ = info.bmWidth;
    lTextColorNormal_ = GetPixel(hSkinDC_.Dc(), kTextColourX, kTextNormalY);
    lTextColorDown_ = GetPixel(hSkinDC_.Dc(), kTextColourX, kTextDownY);
    lTextColorDisabled_ = GetPixel(hSkinDC_.Dc(), kTextColourX, kTextDisabledY);
    if (hToolBar_)
        RedrawWindow(hToolBar_, nullptr, nullptr, RDW_INVALIDATE);
    return true;
}

void ToolbarSkin::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    dpi_ = dpi;
    if (hToolBar_)
        RedrawWindow(hToolBar_, nullptr, nullptr, RDW_INVALIDATE);
}

void ToolbarSkin::UnSubClassToolBar(bool Restore) {
    HookReleaseAll();
    if (Restore && hToolBar_)
        SetToolbarStyle(hToolBar_, lOriginalStyle_);
    // Its own drawing again, not the last skinned picture.
    if (hToolBar_ && IsWindow(hToolBar_))
        RedrawWindow(hToolBar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    hToolBar_ = nullptr;
}

void ToolbarSkin::SetToolbarStyle(HWND toolbar, LONG_PTR style) {
    const LONG_PTR before = SendMessageW(toolbar, TB_GETSTYLE, 0, 0);
    SendMessageW(toolbar, TB_SETSTYLE, 0, style);
    // The buttons keep the sizes measured for the other text placement until the toolbar measures them
    // again, and texts placed right of their images would run over them. Handing it its own font back
    // makes it measure.
    if ((before ^ style) & TBSTYLE_LIST)
        SendMessageW(toolbar, WM_SETFONT, static_cast<WPARAM>(SendMessageW(toolbar, WM_GETFONT, 0, 0)), TRUE);
}

void ToolbarSkin::HookCallback(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lhWnd, UINT uMsg, WPARAM, LPARAM,
                               LONG_PTR&) {
    if (!bBefore || lhWnd != hToolBar_)
        return;
    if (uMsg == WM_DESTROY) {
        // The last message the hook sees (it then takes itself out): from here on the handle may come
        // to name another window, and nothing is sent to it.
        hToolBar_ = nullptr;
        return;
    }
    // Without a picture the toolbar keeps its own drawing.
    if (!hSkinDC_)
        return;
    if (uMsg == WM_ERASEBKGND) {
        bHandled = true;
        lReturn = 0;
    } else if (uMsg == WM_PAINT) {
        // Not handled: the toolbar's own procedure follows, and finds nothing left to paint.
        PaintToolBar();
    }
}

} // namespace toolbarskin
