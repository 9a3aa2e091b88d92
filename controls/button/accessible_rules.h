// What a screen reader is told about a SkinButton: its role by its type, its name (what it shows,
// without the formatting), its state and its default action. Platform-neutral; the numbers are
// the platform's accessibility roles and state bits.
#pragma once

#include "controls/button/formatted_text.h"

#include <cstdint>
#include <string>

namespace skinbutton {

// Roles.
constexpr long kRolePushButton = 0x2B, kRoleCheckButton = 0x2C, kRoleRadioButton = 0x2D;
// State bits.
constexpr long kStateUnavailable = 0x1, kStateFocused = 0x4, kStatePressedBit = 0x8, kStateCheckedBit = 0x10,
               kStateHotTracked = 0x80, kStateFocusable = 0x100000;

// A check button reads as one, an option button as a radio button; every other type clicks like a
// push button and reads as one.
long AccessibleRole(int buttonType);

struct AccessibleFacts {
    bool enabled = true;
    bool pressed = false; // shown pressed (the pointer or Space holds it down)
    bool checked = false; // a check or option button whose Value is true
    bool focused = false;
    bool hot = false; // the pointer is over it
};
// Focusable always (a tab stop); unavailable while disabled, and then neither pressed nor hot.
long AccessibleState(const AccessibleFacts& facts);

// The Spanish Windows words for what the default action does: a push button is pressed, a check
// button checked or cleared, an option button checked.
std::wstring AccessibleDefaultAction(int buttonType, bool checked);

// The caption as shown: with a formatted caption on show, its words joined (line breaks and
// pictures as single blanks, runs of blanks as one, none at the ends); else Caption itself.
std::wstring AccessibleName(const std::wstring& caption, bool formattedShown, const FormattedText& formatted);

} // namespace skinbutton
