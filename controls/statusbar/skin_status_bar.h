// SkinStatusBar: a status bar docked at the bottom of its window, with fixed-width panels (text, key,
// colours, bold), 22 built-in skins or a custom skin strip, balloon tips over panels and nine events.
//
// Typical use from a window (pixels; 15 twips make a pixel):
//
//     statusbar::SkinStatusBar bar;
//     bar.Create(hwnd, 0, win::TwipsToPixels(7815), win::TwipsToPixels(7320), win::TwipsToPixels(255));
//     bar.AddPanel(L"", L"Skins", 350);
//     bar.AddPanel(date, L"Date", 80);
//     bar.AddPanel(time, L"Time", 80);
//     bar.ChangeTextPanel(L"Desconectado", 1);
//
// Create reads the window's saved property set for the bar (none given: a set without entries, so
// skin 16), shows the bar and, in a running program, docks it at the bottom of the parent's client
// area, spanning its width and following its size. Panel indices are 1-based. Each panel's text is a
// STATIC child window (PanelLabel(i)) whose text anyone can read with WM_GETTEXT.
#pragma once

#include "controls/host/ambient.h"
#include "controls/host/control_error.h"
#include "controls/host/picture_win.h"
#include "controls/host/property_bag.h"
#include "controls/statusbar/balloon_tip.h"
#include "controls/statusbar/panel_table.h"
#include "win/gdi.h"
#include "win/window_base.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace statusbar {

// A memory DC with a bitmap selected that it does not own (the built-in strip or a custom picture);
// the bitmap leaves the DC before the DC goes.
class SkinSurface {
public:
    SkinSurface() = default;
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;
    ~SkinSurface() { Reset(); }
    // Replaces the surface only when the new bitmap could be selected.
    host::ControlResult Select(HBITMAP bitmap);
    void Reset();
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
};

class SkinStatusBar : public win::Window {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int x = 0, y = 0, width = 0, height = 24; // pixels in the parent's client area
        int id = 0;
        // The window's saved set for this bar; null reads as a set without entries (skin 16).
        const host::PropertyBag* savedProperties = nullptr;
        // First placement in a form designer: the new-instance settings (skin 0, both borders, docked
        // at the bottom, 24 pixels high) instead of reading a saved set.
        bool newInstance = false;
        bool userMode = true; // false: the window is being designed
        int dpi = 0;          // the display scale it is laid out for; 0: the parent's
    };

    static constexpr const wchar_t* kClassName = L"ZevSkinStatusBar";
    static constexpr UINT_PTR kToolTipTimer = 1;    // timerTT
    static constexpr UINT_PTR kLabelSubclassId = 1; // the labels' painting and mouse routing

    SkinStatusBar();
    ~SkinStatusBar() override;

    bool Create(const CreateArgs& args);
    bool Create(HWND parent, int x, int y, int width, int height);

    // ---- methods ------------------------------------------------------------------------------------
    // Makes xCtrl a child of the bar and places it inside panel lIndexPanel; see ManualPlacement for
    // bAutoSize false. False for a panel that does not exist or a move that failed.
    bool SetControlPanel(HWND xCtrl, std::int32_t lIndexPanel, std::int32_t lTop = -1, std::int32_t lLeft = -1,
                         std::int32_t lWidth = -1, std::int32_t lHeight = -1, bool bAutoSize = true);
    std::int32_t GetPanelLeft(std::int32_t lPanelIndex) const;   // -1 for no such panel
    std::int32_t GetPanelWidth(std::int32_t lPanelIndex) const;  // Right - Left
    std::int32_t GetPanelHeight(std::int32_t lPanelIndex) const; // Bottom - Top
    std::int32_t GetPanelTop(std::int32_t lPanelIndex) const;
    bool ClearPanelByIndex(std::int32_t lIndex);
    // Balloon tip at the left end of the panel's top edge, hidden after Duration ms (0 or less: kept
    // until the next call). True when a tip was shown.
    bool ShowToolTipPanel(const std::wstring& sTextTooltip, const std::wstring& sTitle, std::int16_t lIndexPanel,
                          std::int16_t Duration = 10000, std::int32_t TICON = 1);
    bool ClearPanelByKey(const std::wstring& sKey);
    void ClearPanels();
    void ChangeTextPanel(const std::wstring& sText, std::int32_t lIndex);
    void AddPanel(const std::wstring& sText = L"", const std::wstring& sKey = L"", std::int32_t lWidth = 96,
                  std::int32_t lForeColor = -1, std::int32_t lBackColorPanel = -1, std::int32_t lBorderColorPanel = -1,
                  bool bBold = false);
    // Paints the current tile stretched over (x1, y1, x2 wide, y2 high) of the bar (0: the bar's own
    // width or height) and shows it.
    void DrawSkin(int x1 = 0, int y1 = 0, int x2 = 0, int y2 = 0);
    // Clears another window's client area and paints the tile over all of it from (x1, y1).
    void DrawSkin(HWND pObject, int x1 = 0, int y1 = 0);
    void Refresh();
    // 60: the tile's frame colour; 70: its fill colour; anything else (or no skin yet): 0.
    std::int32_t GetSkinsColors(std::int32_t lImgStateButton) const;
    // Colours a progress bar window (bar colour, then background). Always False.
    bool SetProgressBarColor(HWND lHwnd, std::int32_t lBackcolor, std::int32_t lProgressColor);
    std::int32_t GetForeColorText() const;
    // Per channel (w × A + (255 − w) × B) / 255, after translating system colours.
    static std::int32_t BlendColor(std::int32_t colourA, std::int32_t colourB, int weight);

    // ---- properties -----------------------------------------------------------------------------
    std::int32_t Skin() const { return skin_; }
    // Any number is stored; one outside 0-21 draws the first tile and mixes the colours with grey.
    // An error (the strip cannot be selected) is returned, and in a diagnostic run also shown.
    host::ControlResult SetSkin(std::int32_t newValue);
    HBITMAP CustomSkin() const { return customSkin_.Handle(); }
    // The caller keeps owning the bitmap, which must outlive its use; null clears the custom skin and
    // brings back the built-in strip. A picture smaller than one 15 × 23 tile is refused (error 481).
    host::ControlResult SetCustomSkin(HBITMAP stdValue);
    std::int16_t PanelsCount() const { return static_cast<std::int16_t>(panels_.Count()); }
    bool ShowBorderStatusBar() const { return showBorderStatusBar_; }
    void SetShowBorderStatusBar(bool bvalue);
    bool ShowBorderPanels() const { return showBorderPanels_; }
    void SetShowBorderPanels(bool bvalue);
    bool Enabled() const;
    void SetEnabled(bool bvalue);
    std::int32_t BorderMode() const { return borderMode_; }
    void SetBorderMode(std::int32_t lValue);

    // ---- container side ---------------------------------------------------------------------------
    // 0: placed freely; 1: docked at the top; 2: docked at the bottom (spans the parent's width and
    // follows its size).
    int Align() const { return align_; }
    void SetAlign(int align);
    // 0: in front of its sibling windows; anything else: behind them.
    void ZOrder(int position = 0);

    // ---- display scale ------------------------------------------------------------------------------
    // The bar's fonts and skin corners follow its dpi; on a change its panels keep their texts, keys,
    // colours and weight, and their widths scale with it. Its own size is its container's to set.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi);

    // ---- saved property set and life cycle ---------------------------------------------------------
    host::ControlSite& Site() { return site_; }
    void InitProperties();
    void ReadProperties(const host::PropertyBag& bag);
    void WriteProperties(host::PropertyBag& bag);

    // ---- events -------------------------------------------------------------------------------------
    using PanelClickHandler =
        std::function<void(std::int32_t lIndex, const std::wstring& sText, const std::wstring& sKey, std::int32_t lLeft,
                           std::int32_t lTop, std::int32_t lHeight, std::int32_t lWidth)>;
    using PanelMouseHandler =
        std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y, std::int32_t lIndex,
                           const std::wstring& sText, const std::wstring& sKey)>;
    using MouseHandler = std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)>;
    PanelClickHandler PanelClick;
    PanelClickHandler PanelDblClick;
    PanelMouseHandler PanelMouseMove;
    PanelMouseHandler PanelMouseUp;
    MouseHandler MouseMove;
    MouseHandler MouseDown;
    MouseHandler MouseUp;
    std::function<void()> Click;
    std::function<void()> DblClick;

    // ---- inspection (tests, tools) -------------------------------------------------------------------
    const PanelTable& Panels() const { return panels_; }
    HWND PanelLabel(int index) const; // 0: the template label; null for no such label
    COLORREF PanelLabelColour(int index) const;
    // The balloon tip's anchor and window exist from the first ShowToolTipPanel on.
    HWND ToolTipAnchor() const { return txtToolTip_; }
    HWND BalloonWindow() const { return balloon_.Window(); }
    const BalloonTip& Balloon() const { return balloon_; }
    bool ToolTipShown() const { return balloon_.IsShown(); }
    HDC BackBuffer() const { return back_.Dc(); }
    HFONT Font() const { return controlFont_.Get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Label {
        HWND hwnd = nullptr;
        HFONT font = nullptr;
        COLORREF colour = 0;
    };

    static LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK DockProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

    bool OnCreate();
    void OnDestroy();
    void OnShown();
    void OnSize();
    void Paint(HDC dc);
    void PaintLabel(HWND label, HDC dc);
    void ShowBackBuffer();
    void Dock();

    host::ControlResult SelectSkinBitmap(HBITMAP bitmap);
    int TileX() const;
    COLORREF GetPanelBorderColor() const;
    void DrawBackground();
    void DrawPanel(int i, std::int32_t back, std::int32_t border);
    void ApplyLabelForeColor(int i);
    bool CreatePanelLabel(int i);
    void UnloadPanelLabels();
    void Rebuild(const std::vector<PanelSpec>& kept);
    void SetTemplateFont(const host::FontDesc& font);
    void ReleaseUnusedFonts();
    void ApplySavedCustomSkin(const host::Picture& picture);
    bool CreateToolTipWindows();

    void OnMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnLabelMouse(HWND label, UINT msg, WPARAM wParam, LPARAM lParam);
    // Calls a handler through a copy (the handler may destroy the bar, and the original with it);
    // false when the bar, its object or its window, is gone afterwards.
    template <typename Handler, typename... Args> bool Raise(const Handler& handler, const Args&... args) {
        if (!handler)
            return true;
        const std::weak_ptr<int> alive = alive_;
        Handler copy = handler;
        copy(args...);
        return !alive.expired() && hwnd_ != nullptr;
    }

    PanelTable panels_;
    std::vector<Label> labels_; // [0] is the template
    win::Bitmap imgSkins_;      // the built-in strip
    host::PictureProperty customSkin_;
    SkinSurface hSkinDC_; // after the bitmaps: it lets go of them first
    win::MemorySurface back_;
    std::int32_t skin_ = 0;
    bool showBorderStatusBar_ = false;
    bool showBorderPanels_ = false;
    std::int32_t borderMode_ = 0;
    int align_ = 0;
    bool firstShown_ = false;
    int dpi_ = 96;

    HWND txtToolTip_ = nullptr;
    BalloonTip balloon_;

    win::Font controlFont_;
    std::vector<win::Font> fontPool_; // the template's fonts and those labels still show
    HFONT templateFont_ = nullptr;
    HFONT templateBoldFont_ = nullptr;
    host::FontDesc templateDesc_;

    bool clickPending_ = false; // left button went down on the bar itself
    // Expires with the object, which tells Raise that a handler destroyed the bar.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    HWND labelPressed_ = nullptr;
    HWND dockParent_ = nullptr;

    host::ControlSite site_;
};

} // namespace statusbar
