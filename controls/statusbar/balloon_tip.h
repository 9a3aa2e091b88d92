// A balloon tip that points at one spot: a tracking tooltip with the balloon style. It stands in for
// the edit control's own balloon (EM_SHOWBALLOONTIP), which Wine does not implement, and looks and
// behaves the same: title, text, icon, and a stem pointing at the spot.
#pragma once

#include <windows.h>

#include <string>

namespace statusbar {

class BalloonTip {
public:
    BalloonTip() = default;
    BalloonTip(const BalloonTip&) = delete;
    BalloonTip& operator=(const BalloonTip&) = delete;
    ~BalloonTip();

    // The tooltip window is created for an owner window; false when the system refuses it.
    bool Create(HWND owner);
    void Destroy();
    // icon: 0 none, 1 information, 2 warning, 3 error (4 to 6 their large forms); others show none.
    // point: screen coordinates the stem points at.
    bool Show(const std::wstring& title, const std::wstring& text, int icon, POINT point);
    void Hide();

    bool IsShown() const;
    HWND Window() const { return tip_; }
    // What the last Show put up (Wine's tooltip does not answer TTM_GETTITLE).
    const std::wstring& Title() const { return title_; }
    int Icon() const { return icon_; }

private:
    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
    std::wstring title_;
    int icon_ = 0;
};

} // namespace statusbar
