#include "controls/statusbar/balloon_tip.h"

#include "win/window_base.h"

#include <commctrl.h>

namespace statusbar {
namespace {

constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolInfo(HWND owner, const wchar_t* text) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = kToolId;
    ti.hinst = win::ThisModule();
    ti.lpszText = const_cast<wchar_t*>(text);
    return ti;
}

} // namespace

BalloonTip::~BalloonTip() {
    Destroy();
}

bool BalloonTip::Create(HWND owner) {
    Destroy();
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, win::ThisModule(), nullptr);
    if (!tip_)
        return false;
    TTTOOLINFOW ti = ToolInfo(owner_, const_cast<wchar_t*>(L""));
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 320); // long texts wrap instead of running off the screen
    return true;
}

void BalloonTip::Destroy() {
    if (tip_ && IsWindow(tip_))
        DestroyWindow(tip_);
    tip_ = nullptr;
}

bool BalloonTip::Show(const std::wstring& title, const std::wstring& text, int icon, POINT point) {
    if (!tip_)
        return false;
    Hide();
    const WPARAM titleIcon = icon >= 0 && icon <= 6 ? static_cast<WPARAM>(icon) : 0;
    SendMessageW(tip_, TTM_SETTITLEW, titleIcon, reinterpret_cast<LPARAM>(title.c_str()));
    title_ = title;
    icon_ = static_cast<int>(titleIcon);
    TTTOOLINFOW ti = ToolInfo(owner_, text.c_str());
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(point.x, point.y));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    return true;
}

void BalloonTip::Hide() {
    if (!tip_)
        return;
    TTTOOLINFOW ti = ToolInfo(owner_, nullptr);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

bool BalloonTip::IsShown() const {
    return tip_ && IsWindowVisible(tip_);
}

} // namespace statusbar
