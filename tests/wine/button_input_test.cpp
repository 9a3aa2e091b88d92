// The skinned button's interaction on real windows: hover and its poll, input and the events in their
// order, focus moves, a handler destroying its button, and a screen reader reaching it.
#include "controls/button/button_accessible.h"
#include "tests/wine/support/button_form.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <thread>

using namespace skinbutton;
using namespace testsupport;

namespace {

using ButtonInput = ButtonTest;

// Sends the actions (see Send; also ?, f, #, w and a) and returns what the button did: each event with
// the frame shown when it was raised ("@n"), "=n" for the frame shown at "?", "focus" at "f" if the
// button has it, "#n" for the parent's command count at "#"; "w" lets the timers run for 60 ms, "a"
// moves the pointer away and waits for MouseOut. The log is the caller's: it must outlive the button's
// events.
std::string Drive(SkinButton& b, const ButtonForm& form, EventLog& log, const std::string& actions) {
    log.clear();
    Record(b, log);
    Send(b, actions, [&](char a) {
        if (a == 'a') {
            Away();
            PumpUntil([&] { return log.back().starts_with("MouseOut"); }, 1000);
        } else if (a == 'w') {
            PumpMessages(60);
        } else if (a == 'f') {
            log.push_back(GetFocus() == b.hwnd() ? "focus" : "no focus");
        } else {
            log.push_back(a == '?' ? "=" + std::to_string(FrameShown(b)) : "#" + std::to_string(form.commands.size()));
        }
    });
    std::string out;
    for (const auto& e : log)
        out += (out.empty() ? "" : ", ") + e;
    return out;
}

LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// A screen reader's view of a button, reached as any reader reaches it.
IAccessible* Reach(HWND button) {
    void* object = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(button, OBJID_CLIENT, skinbutton::kIidAccessible, &object), S_OK);
    return static_cast<IAccessible*>(object);
}
VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4; // lVal 0: CHILDID_SELF
    return self;
}
long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* a) {
    VARIANT out{};
    return SUCCEEDED((a->*get)(Self(), &out)) && out.vt == VT_I4 ? out.lVal : -1;
}
} // namespace

TEST_F(ButtonInput, EventsTheirOrderAndClicksFromSynthesizedInput) {
    const struct {
        int type;
        const char* actions;
        const char* expected;
    } cases[] = {
        // Hover: one MouseOver while in, after the hot repaint (the system's own move to where the pointer
        // was put arrives while the timers run); the poll finds the pointer still in; once it has left,
        // MouseOut comes before the repaint and the poll stops.
        {kPushButton, "m 50 15 m 60 16 w ? a w ?",
         "MouseMove 0 0 50 15 @4, MouseOver @0, MouseMove 0 0 60 16 @0, MouseMove 0 0 60 16 @0, =0, MouseOut @0, =4"},
        // A click: events before their repaints, the Click after; normal or hot after it as the pointer
        // is; the press took the focus.
        {kPushButton, "m 30 12 p 30 12 r 30 12 ? f #",
         "MouseMove 0 0 30 12 @4, MouseOver @0, MouseDown 1 0 30 12 @0, MouseUp 1 0 30 12 @1, Click @0, =0, focus, "
         "#1"},
        // One Space press is one Click and toggles a check button once, however long it is held; a stale
        // Space does not make a right click into a click; Space up without Space down does nothing.
        {kCheckButton, "k 32 h 32 c 32 u 32 # P 5 5 R 5 5 u 32 #",
         "KeyDown 32 0 @4, KeyDown 32 0 @1, KeyPress 32 @1, KeyUp 32 0 @1, Click @2, #1, MouseDown 2 0 5 5 @2, "
         "MouseUp 2 0 5 5 @2, KeyUp 32 0 @2, #1"},
    };
    for (const auto& c : cases) {
        SkinButton b;
        ASSERT_TRUE(Place(b, L"Conectar", 100, 30, 42));
        b.SetButtonType(c.type);
        form.commands.clear();
        EXPECT_EQ(Drive(b, form, log, c.actions), c.expected) << c.actions;
        EXPECT_EQ(b.Value(), c.type == kCheckButton) << c.actions;
        Away();
    }
}

TEST_F(ButtonInput, ArrowKeysAndTabMoveTheFocusAfterKeyDown) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 50, 100, 22,
                                form.Hwnd(), nullptr, nullptr, nullptr);
    SkinButton one, two, three;
    ASSERT_TRUE(one.Create(form.Hwnd(), 1, RECT{10, 10, 100, 35}, L"1"));
    ASSERT_TRUE(two.Create(form.Hwnd(), 2, RECT{110, 10, 200, 35}, L"2"));
    ASSERT_TRUE(three.Create(form.Hwnd(), 3, RECT{210, 10, 300, 35}, L"3"));
    HWND focusAtKeyDown = nullptr;
    two.KeyDown = [&](std::int16_t&, std::int16_t&) { focusAtKeyDown = GetFocus(); };
    const std::pair<WPARAM, HWND> moves[] = {{VK_UP, one.hwnd()}, {VK_RIGHT, three.hwnd()}, {'X', two.hwnd()}};
    for (const auto& [key, to] : moves) {
        SetFocus(two.hwnd());
        focusAtKeyDown = nullptr;
        Send(two, "k " + std::to_string(key));
        EXPECT_EQ(focusAtKeyDown, two.hwnd()) << "KeyDown is raised before the focus moves";
        EXPECT_EQ(GetFocus(), to) << key;
    }
    SetFocus(edit);
    MSG msg{edit, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form.Hwnd(), &msg));
    EXPECT_EQ(GetFocus(), one.hwnd()) << "the dialog manager tabs to the button";
}

TEST_F(ButtonInput, AClickHandlerMayDestroyItsButton) {
    auto b = std::make_unique<SkinButton>();
    ASSERT_TRUE(Place(*b, L"Aceptar"));
    HWND hwnd = b->hwnd();
    b->Click = [&] { b.reset(); };
    Send(*b, "p 10 10");
    Send(*static_cast<SkinButton*>(win::Window::FromHwnd(hwnd)), "r 10 10");
    EXPECT_FALSE(b);
    EXPECT_TRUE(form.commands.empty()) << "nothing is told about a button that is gone";
}

TEST_F(ButtonInput, AScreenReaderReadsAsAPushButtonAndItsDefaultActionClicks) {
    auto b = std::make_unique<skinbutton::SkinButton>();
    ASSERT_TRUE(Place(*b, L"Conectar", 100, 30, 42));
    ASSERT_TRUE(SetWindowSubclass(b->hwnd(), &PassOn, 1, 0)) << "as a screen reader's hook may";
    IAccessible* a = Reach(b->hwnd());
    ASSERT_NE(a, nullptr);
    // Role, name and state bits are the rules' native table; here: reached through the system, the
    // state follows the window, and the default action clicks.
    EXPECT_EQ(Number(&IAccessible::get_accRole, a), ROLE_SYSTEM_PUSHBUTTON);
    b->SetEnabled(false);
    EXPECT_TRUE(Number(&IAccessible::get_accState, a) & STATE_SYSTEM_UNAVAILABLE);
    b->SetEnabled(true);
    EXPECT_EQ(a->accDoDefaultAction(Self()), S_OK);
    PumpUntil([&] { return !form.commands.empty(); }, 2000);
    ASSERT_EQ(form.commands.size(), 1u);
    EXPECT_EQ(form.commands[0], std::pair(MAKEWPARAM(42, BN_CLICKED), reinterpret_cast<LPARAM>(b->hwnd())));
    b.reset();
    EXPECT_TRUE(FAILED(a->accDoDefaultAction(Self()))) << "the button is gone";
    a->Release();

    // Answering a reader leaves a thread's COM as it was: the program starts its apartment itself, once.
    HRESULT afterwards = E_FAIL;
    std::thread reader([&] { // a hidden window of its own: nothing of it waits on the test's thread
        HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        if (SkinButton other; other.Create(host, 7, RECT{0, 0, 20, 20}, L"x"))
            SendMessageW(other.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        DestroyWindow(host);
        if (SUCCEEDED(afterwards = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
            CoUninitialize();
    });
    reader.join();
    EXPECT_EQ(afterwards, S_OK) << "not started before";
}
