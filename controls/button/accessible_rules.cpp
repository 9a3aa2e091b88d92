#include "controls/button/accessible_rules.h"

#include "controls/button/paint_rules.h"

namespace skinbutton {

long AccessibleRole(int buttonType) {
    switch (buttonType) {
    case kCheckButton:
        return kRoleCheckButton;
    case kOptionButton:
        return kRoleRadioButton;
    default:
        return kRolePushButton;
    }
}

long AccessibleState(const AccessibleFacts& facts) {
    long state = kStateFocusable;
    if (!facts.enabled)
        state |= kStateUnavailable;
    else if (facts.pressed)
        state |= kStatePressedBit;
    else if (facts.hot)
        state |= kStateHotTracked;
    if (facts.checked)
        state |= kStateCheckedBit;
    if (facts.focused)
        state |= kStateFocused;
    return state;
}

std::wstring AccessibleDefaultAction(int buttonType, bool checked) {
    switch (buttonType) {
    case kCheckButton:
        return checked ? L"Desactivar" : L"Activar";
    case kOptionButton:
        return L"Activar";
    default:
        return L"Presionar";
    }
}

std::wstring AccessibleName(const std::wstring& caption, bool formattedShown, const FormattedText& formatted) {
    if (!formattedShown || formatted.Empty())
        return caption;
    std::wstring name;
    bool blank = false;
    const auto& items = formatted.Items();
    for (std::size_t i = 1; i < items.size(); ++i) {
        const std::wstring& text = items[i].type == CaptionItem::Type::Text ? items[i].text : std::wstring(L" ");
        for (wchar_t c : text.empty() ? std::wstring(L" ") : text) {
            if (c == L' ' || c == L'\t') {
                blank = !name.empty();
                continue;
            }
            if (blank)
                name += L' ';
            blank = false;
            name += c;
        }
    }
    return name;
}

} // namespace skinbutton
