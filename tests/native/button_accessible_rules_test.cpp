// What a screen reader hears of a SkinButton: role, state bits, default action and name.
#include "controls/button/accessible_rules.h"
#include "controls/button/paint_rules.h"

#include <gtest/gtest.h>

using namespace skinbutton;

TEST(ButtonAccessible, RoleAndDefaultActionByType) {
    struct Row {
        int type;
        bool checked;
        long role;
        const wchar_t* action;
    };
    const Row rows[] = {
        {kPushButton, false, kRolePushButton, L"Presionar"},
        {kCheckButton, false, kRoleCheckButton, L"Activar"},
        {kCheckButton, true, kRoleCheckButton, L"Desactivar"},
        {kOptionButton, true, kRoleRadioButton, L"Activar"},
        {9, false, kRolePushButton, L"Presionar"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AccessibleRole(r.type), r.role) << r.type;
        EXPECT_EQ(AccessibleDefaultAction(r.type, r.checked), r.action) << r.type;
    }
}

TEST(ButtonAccessible, StateBits) {
    struct Row {
        AccessibleFacts facts;
        long state;
    };
    const Row rows[] = {
        {{}, kStateFocusable},
        {{false, true, true, true, true}, kStateFocusable | kStateUnavailable | kStateCheckedBit | kStateFocused},
        {{true, true, false, false, true}, kStateFocusable | kStatePressedBit},
        {{true, false, false, false, true}, kStateFocusable | kStateHotTracked},
    };
    for (const Row& r : rows)
        EXPECT_EQ(AccessibleState(r.facts), r.state) << std::hex << r.state;
}

TEST(ButtonAccessible, NameIsTheShownWordsWithoutFormatting) {
    FormattedText formatted;
    const host::FontDesc font{L"Arial", 10};
    formatted.Add(L"Conectar ", font, {});
    formatted.AddNewLine();
    formatted.Add(L"  al  equipo  ", font, {});
    EXPECT_EQ(AccessibleName(L"Caption", true, formatted), L"Conectar al equipo");
    EXPECT_EQ(AccessibleName(L"Caption", false, formatted), L"Caption") << "formatting not shown";
    EXPECT_EQ(AccessibleName(L"Caption", true, FormattedText{}), L"Caption") << "nothing formatted";
}
