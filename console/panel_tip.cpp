#include "console/panel_tip.h"

#include <commctrl.h>

#include <utility>

namespace console {

PanelTip::~PanelTip() {
    // The tip window belongs to its owner and goes with it; one still here is ours to end.
    if (tip_ && IsWindow(tip_) && owner_ && IsWindow(owner_))
        DestroyWindow(tip_);
}

void PanelTip::Set(HWND owner, HWND tool, std::wstring text) {
    Clear();
    text_ = std::move(text);
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
    info.lpszText = text_.data(); // copied by the tip
    if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        owner_ = owner;
        tool_ = tool;
    }
}

void PanelTip::Retarget(HWND tool) {
    if (tool_)
        Set(owner_, tool, text_);
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
