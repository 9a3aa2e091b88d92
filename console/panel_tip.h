// A tool tip shown while the pointer rests on a window (the state panel, while the main window waits
// for an unplugged device to come back).
#pragma once

#include <windows.h>

#include <string>

namespace console {

class PanelTip {
public:
    PanelTip() = default;
    PanelTip(const PanelTip&) = delete;
    PanelTip& operator=(const PanelTip&) = delete;
    ~PanelTip();

    // The tool tip of window tool (a child of owner) is text from now on, in place of any earlier one.
    void Set(HWND owner, HWND tool, std::wstring text);
    // The tip, if there is one, now for another window (the same panel's label made again).
    void Retarget(HWND tool);
    void Clear();
    // The text shown, empty when there is none.
    std::wstring Text() const;

private:
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
    HWND tool_ = nullptr;
    std::wstring text_;
};

} // namespace console
