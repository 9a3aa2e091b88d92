#include "controls/statusbar/panel_label.h"

#include "win/gdi.h"
#include "win/window_base.h"

namespace statusbar {

HWND CreatePanelLabelWindow(HWND bar, int index, const std::wstring& text, HFONT font) {
    // SS_NOTIFY: the label takes the mouse input over it (a plain static lets it fall through).
    HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0, 0, 0, 0,
                        bar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), win::ThisModule(), nullptr);
    if (label && font)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

SIZE MeasureLabelText(HWND label, HFONT font, const std::wstring& text) {
    win::WindowDc dc(label);
    SIZE size{0, 0};
    if (!dc.Get())
        return size;
    win::SelectGuard select(dc.Get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    if (!text.empty())
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    size.cy = tm.tmHeight;
    return size;
}

std::wstring LabelText(HWND label) {
    const int n = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(label, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void DrawLabelText(HWND label, HDC dc, HFONT font, COLORREF colour) {
    RECT r{};
    GetClientRect(label, &r);
    const std::wstring text = LabelText(label);
    win::SelectGuard select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace statusbar
