#include "controls/button/accessible_rules.h"

#include "controls/button/paint_rules.h"

#include <span>

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
    // The first item is the formatted text's placeholder, never shown.
    for (const CaptionItem& item : std::span(formatted.Items()).subspan(1)) {
        const std::wstring& text = item.type == CaptionItem::Type::Text ? item.text : std::wstring(L" ");
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
