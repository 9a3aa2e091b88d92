// The finder's and About's buttons as a screen reader reaches them: through AccessibleObjectFromWindow,
// as any reader does, with role, name, state and default action, and a default action that clicks.
#include "console/about.h"
#include "controls/button/button_accessible.h"
#include "finder/dispositivos.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <oleacc.h>

using namespace testsupport;

namespace {

class ButtonReader : public PrincipalSession {
protected:
    void TearDown() override {
        finder::Dispositivos::CloseInstance();
        console::About::CloseInstance();
        PrincipalSession::TearDown();
    }
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

TEST_F(ButtonReader, FinderAndAboutButtonsReadAsPushButtonsAndTheirDefaultActionClicks) {
    finder::Dispositivos* f = finder::Dispositivos::Show(app);
    console::About* about = console::About::Show();
    ASSERT_TRUE(f && about);
    PumpMessages(50);
    struct Row {
        skinbutton::SkinButton& button;
        const wchar_t* name;
    };
    const Row rows[] = {{f->btnConectar, L"Conectar"}, {f->btnCancelar, L"Cancelar"}, {about->cmdOK, L"Aceptar"}};
    for (const Row& r : rows) {
        IAccessible* a = Reach(r.button.Hwnd());
        ASSERT_NE(a, nullptr) << Narrow(r.name);
        EXPECT_EQ(Number(&IAccessible::get_accRole, a), ROLE_SYSTEM_PUSHBUTTON) << Narrow(r.name);
        EXPECT_EQ(Text(&IAccessible::get_accName, a), r.name);
        EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, a), L"Presionar");
        const long state = Number(&IAccessible::get_accState, a);
        EXPECT_EQ(state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE),
                  STATE_SYSTEM_FOCUSABLE)
            << Narrow(r.name) << std::hex << state;
        // Disabled: a reader hears it and cannot press it.
        r.button.SetEnabled(false);
        EXPECT_TRUE(Number(&IAccessible::get_accState, a) & STATE_SYSTEM_UNAVAILABLE);
        EXPECT_TRUE(FAILED(a->accDoDefaultAction(Self())));
        r.button.SetEnabled(true);
        a->Release();
    }
    // Located where the button is: the standard proxy's answer, kept.
    IAccessible* ok = Reach(about->cmdOK.Hwnd());
    ASSERT_NE(ok, nullptr);
    long x = 0, y = 0, w = 0, h = 0;
    RECT r{};
    GetWindowRect(about->cmdOK.Hwnd(), &r);
    ASSERT_EQ(ok->accLocation(&x, &y, &w, &h, Self()), S_OK);
    const RECT located{x, y, x + w, y + h};
    EXPECT_TRUE(EqualRect(&located, &r));
    // Pressing through the reader clicks: Aceptar closes About, Cancelar closes the finder.
    EXPECT_EQ(ok->accDoDefaultAction(Self()), S_OK);
    PumpUntil([] { return console::About::Instance() == nullptr; }, 2000);
    EXPECT_EQ(console::About::Instance(), nullptr);
    EXPECT_TRUE(FAILED(ok->accDoDefaultAction(Self()))) << "the button is gone";
    ok->Release();
    IAccessible* cancel = Reach(f->btnCancelar.Hwnd());
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->accDoDefaultAction(Self()), S_OK);
    PumpUntil([] { return finder::Dispositivos::Instance() == nullptr; }, 2000);
    EXPECT_EQ(finder::Dispositivos::Instance(), nullptr);
    cancel->Release();
}
