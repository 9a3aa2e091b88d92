// A skinned button as a screen reader reaches it: through AccessibleObjectFromWindow, as any reader
// does, with role, name, state and default action, and a default action that clicks.
#include "controls/button/button_accessible.h"
#include "tests/wine/support/button_form.h"

#include <oleacc.h>

#include <memory>
#include <tuple>

using namespace testsupport;

namespace {

class ButtonReader : public ButtonTest {
protected:
    static IAccessible* Reach(HWND button) {
        void* object = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(button, OBJID_CLIENT, skinbutton::kIidAccessible, &object), S_OK);
        return static_cast<IAccessible*>(object);
    }
    static VARIANT Self() {
        VARIANT self{};
        self.vt = VT_I4; // lVal 0: CHILDID_SELF
        return self;
    }
    static std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* a) {
        BSTR text = nullptr;
        if (FAILED((a->*get)(Self(), &text)) || !text)
            return L"<none>";
        std::wstring out(text, SysStringLen(text));
        SysFreeString(text);
        return out;
    }
    static long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* a) {
        VARIANT out{};
        return SUCCEEDED((a->*get)(Self(), &out)) && out.vt == VT_I4 ? out.lVal : -1;
    }
};

} // namespace

TEST_F(ButtonReader, ReadsAsAPushButtonAndItsDefaultActionClicks) {
    auto b = std::make_unique<skinbutton::SkinButton>();
    ASSERT_TRUE(Place(*b, L"Conectar", 100, 30, 42));
    IAccessible* a = Reach(b->hwnd());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Number(&IAccessible::get_accRole, a), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Text(&IAccessible::get_accName, a), L"Conectar");
    EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, a), L"Presionar");
    const long state = Number(&IAccessible::get_accState, a);
    EXPECT_EQ(state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE),
              STATE_SYSTEM_FOCUSABLE)
        << std::hex << state;
    // Located where the button is: the standard proxy's answer, kept.
    long x = 0, y = 0, w = 0, h = 0;
    RECT r{};
    GetWindowRect(b->hwnd(), &r);
    ASSERT_EQ(a->accLocation(&x, &y, &w, &h, Self()), S_OK);
    const RECT located{x, y, x + w, y + h};
    EXPECT_TRUE(EqualRect(&located, &r));
    // Disabled: a reader hears it and cannot press it; enabled, pressing through the reader clicks.
    b->SetEnabled(false);
    EXPECT_TRUE(Number(&IAccessible::get_accState, a) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(FAILED(a->accDoDefaultAction(Self())));
    b->SetEnabled(true);
    EXPECT_EQ(a->accDoDefaultAction(Self()), S_OK);
    PumpUntil([&] { return !form.commands.empty(); }, 2000);
    ASSERT_EQ(form.commands.size(), 1u);
    EXPECT_EQ(std::tuple(form.commands[0].id, form.commands[0].code, form.commands[0].from),
              std::tuple(42, int{BN_CLICKED}, b->hwnd()));
    b.reset();
    EXPECT_TRUE(FAILED(a->accDoDefaultAction(Self()))) << "the button is gone";
    a->Release();
}
