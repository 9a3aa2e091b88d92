// What a control learns from, and tells, the window that hosts it. Platform-neutral.
//
// The host (a window creating a control, or a test acting as a form designer) owns the ambient
// properties; the control reads them and hears of changes through AmbientChanged. The control
// reports each change of a saved property through PropertyChanged, which marks the saved set as out
// of date and passes the name on to the host's OnPropertyChanged.
#pragma once

#include "controls/host/property_value.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace host {

// Colour number of the system button face: a container's usual background.
constexpr std::uint32_t kButtonFaceColour = 0x8000000Fu;

struct AmbientProperties {
    bool UserMode = true;                        // true: running; false: being edited in a form designer
    std::uint32_t BackColor = kButtonFaceColour; // the container's background colour number
    FontDesc Font;                               // the container's font
    std::wstring DisplayName;                    // the control's name on its form (e.g. "Command1")
};

class ControlSite {
public:
    const AmbientProperties& Ambient() const { return ambient_; }
    bool UserMode() const { return ambient_.UserMode; }
    bool DesignMode() const { return !ambient_.UserMode; }

    // Host side. Each setter that changes a value tells the control, by the ambient's name
    // ("UserMode", "BackColor", "Font", "DisplayName").
    void SetUserMode(bool userMode);
    void SetBackColor(std::uint32_t colour);
    void SetFont(const FontDesc& font);
    void SetDisplayName(std::wstring_view name);
    void SetAmbient(const AmbientProperties& ambient);
    std::function<void(const std::wstring& name)> AmbientChanged; // installed by the control

    // Control side: a saved property changed, so the host's saved set is out of date.
    void PropertyChanged(std::wstring_view name);
    std::function<void(const std::wstring& name)> OnPropertyChanged; // installed by the host
    bool SavedSetOutOfDate() const { return outOfDate_; }
    // The host (or the control's own load and save) brings the saved set up to date.
    void MarkSaved() { outOfDate_ = false; }

private:
    void Tell(const wchar_t* name);

    AmbientProperties ambient_;
    bool outOfDate_ = false;
};

} // namespace host
