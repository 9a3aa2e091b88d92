#include "controls/host/ambient.h"

namespace host {

void ControlSite::Tell(const wchar_t* name) {
    if (AmbientChanged)
        AmbientChanged(name);
}

void ControlSite::SetUserMode(bool userMode) {
    if (ambient_.UserMode == userMode)
        return;
    ambient_.UserMode = userMode;
    Tell(L"UserMode");
}

void ControlSite::SetBackColor(std::uint32_t colour) {
    if (ambient_.BackColor == colour)
        return;
    ambient_.BackColor = colour;
    Tell(L"BackColor");
}

void ControlSite::SetFont(const FontDesc& font) {
    if (ambient_.Font == font)
        return;
    ambient_.Font = font;
    Tell(L"Font");
}

void ControlSite::SetDisplayName(std::wstring_view name) {
    if (ambient_.DisplayName == name)
        return;
    ambient_.DisplayName = std::wstring(name);
    Tell(L"DisplayName");
}

void ControlSite::SetAmbient(const AmbientProperties& ambient) {
    SetUserMode(ambient.UserMode);
    SetBackColor(ambient.BackColor);
    SetFont(ambient.Font);
    SetDisplayName(ambient.DisplayName);
}

void ControlSite::PropertyChanged(std::wstring_view name) {
    outOfDate_ = true;
    if (OnPropertyChanged)
        OnPropertyChanged(std::wstring(name));
}

} // namespace host
