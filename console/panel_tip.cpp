#include "console/panel_tip.h"

#include <commctrl.h>

namespace console {

PanelTip::~PanelTip() {
    // The tip window belongs to its owner and goes with it; one still here is ours to end.
    if (tip_ && IsWindow(tip_) && owner_ && IsWindow(owner_))
        DestroyWindow(tip_);
}

void PanelTip::Set(HWND owner, HWND tool, const std::wstring& text) {
    Clear();
    if (!tip_ || !IsWindow(tip_))
        tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tip_ || !tool)
        return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS; // the tip watches the pointer over the tool itself
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str()); // copied by the tip
    if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        owner_ = owner;
        tool_ = tool;
    }
}

void PanelTip::Clear() {
    if (!tool_)
        return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(tool_);
    SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    tool_ = nullptr;
}

std::wstring PanelTip::Text() const {
    if (!tool_)
        return {};
    wchar_t text[256] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(tool_);
    info.lpszText = text;
    SendMessageW(tip_, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return text;
}

} // namespace console
