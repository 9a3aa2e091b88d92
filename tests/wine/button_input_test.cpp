// The skinned button's interaction on real windows: hover and its poll, input and the events in their
// order, check and option behaviour, focus moves, what a Windows user expects of a button and what a
// screen reader hears of it and does with it.
#include "controls/button/button_accessible.h"
#include "tests/wine/support/button_form.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <stdexcept>
#include <thread>
#include <tuple>

using namespace skinbutton;
using namespace testsupport;

namespace {

using ButtonInput = ButtonTest;

// Sends the actions (see Send; also ?, f, #, w and a) and returns what the button did: each event with
// the frame shown when it was raised ("@n"), "=n" for the frame shown at "?", "focus" at "f" if the
// button has it, "#n" for the parent's command count at "#"; "w" lets the timers run for 60 ms, "a"
// moves the pointer away and waits for MouseOut. The log is the caller's: it must outlive the button's
// events. The setup runs once the events are recorded.
std::string Drive(SkinButton& b, const ButtonForm& form, EventLog& log, const std::string& actions,
                  void (*setup)(SkinButton&)) {
    log.clear();
    Record(b, log);
    if (setup)
        setup(b);
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
        bool value, enabled;
        const char* actions;
        const char* expected;
        void (*setup)(SkinButton&) = nullptr;
    } cases[] = {
        // Hover: one MouseOver while in, after the hot repaint (the system's own move to where the pointer
        // was put arrives while the timers run); the poll finds the pointer still in; once it has left,
        // MouseOut comes before the repaint and the poll stops.
        {kPushButton, false, true, "m 50 15 m 60 16 w ? a w ?",
         "MouseMove 0 0 50 15 @4, MouseOver @0, MouseMove 0 0 60 16 @0, MouseMove 0 0 60 16 @0, =0, MouseOut @0, =4"},
        // A click: events before their repaints, the Click after; normal or hot after it as the pointer
        // is; the press took the focus.
        {kPushButton, false, true, "m 30 12 p 30 12 r 30 12 ? f #",
         "MouseMove 0 0 30 12 @4, MouseOver @0, MouseDown 1 0 30 12 @0, MouseUp 1 0 30 12 @1, Click @0, =0, focus, "
         "#1"},
        // No Click for the right button (no pressed look either) nor for a release outside.
        {kPushButton, false, true, "P 30 12 ? R 30 12 p 10 10 r 300 12 #",
         "MouseDown 2 0 30 12 @4, =4, MouseUp 2 0 30 12 @4, MouseDown 1 0 10 10 @4, MouseUp 1 0 300 12 @1, #0"},
        // Dragging out and back with the button held; after the click normal until the pointer moves.
        {kPushButton, false, true, "m 50 15 p 50 15 d 55 15 d 200 100 d 50 15 r 50 15 m 51 15",
         "MouseMove 0 0 50 15 @4, MouseOver @0, MouseDown 1 0 50 15 @0, MouseMove 1 0 55 15 @1, "
         "MouseMove 1 0 200 100 @1, MouseMove 1 0 50 15 @4, MouseUp 1 0 50 15 @1, Click @4, "
         "MouseMove 0 0 51 15 @4, MouseOver @0"},
        // One Space press is one Click and toggles a check button once, however long it is held; a stale
        // Space does not make a right click into a click; Space up without Space down does nothing.
        {kCheckButton, false, true, "k 32 h 32 c 32 u 32 # P 5 5 R 5 5 u 32 #",
         "KeyDown 32 0 @4, KeyDown 32 0 @1, KeyPress 32 @1, KeyUp 32 0 @1, Click @2, #1, MouseDown 2 0 5 5 @2, "
         "MouseUp 2 0 5 5 @2, KeyUp 32 0 @2, #1"},
        // A disabled button never clicks.
        {kCheckButton, true, false, "k 32 u 32 p 5 5 r 5 5 b ? #",
         "KeyDown 32 0 @6, KeyUp 32 0 @6, MouseDown 1 0 5 5 @6, MouseUp 1 0 5 5 @6, =6, #0"},
        // A handler may change its arguments: a left press turned into a right one neither looks pressed
        // nor clicks.
        {kPushButton, false, true, "p 10 10 ? r 10 10 #", "=4, MouseUp 1 0 10 10 @4, #0",
         [](SkinButton& b) { b.MouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) { button = 2; }; }},
        // A failing handler ends only its message: the failed move keeps the previous look, the press
        // after it is handled.
        {kPushButton, false, true, "m 50 15 ? p 30 12 r 30 12",
         "=4, MouseDown 1 0 30 12 @4, MouseUp 1 0 30 12 @1, Click @4",
         [](SkinButton& b) {
             b.MouseMove = [](std::int16_t&, std::int16_t&, float&, float&) { throw std::runtime_error("handler"); };
         }},
    };
    for (const auto& c : cases) {
        SkinButton b;
        ASSERT_TRUE(Place(b, L"Conectar", 100, 30, 42));
        b.SetButtonType(c.type);
        b.SetValue(c.value);
        b.SetEnabled(c.enabled);
        form.commands.clear();
        EXPECT_EQ(Drive(b, form, log, c.actions, c.setup), c.expected) << c.actions;
        EXPECT_EQ(b.Value(), c.type == kCheckButton) << c.actions;
        Away();
    }
}

TEST_F(ButtonInput, OptionGroupsFollowTheirFrame) {
    ButtonForm frameA, frameB;
    ASSERT_TRUE(frameA.Open(form.Hwnd(), 0, 0, 200, 100));
    ASSERT_TRUE(frameB.Open(form.Hwnd(), 210, 0, 200, 100));
    SkinButton a1, a2, b1;
    ASSERT_TRUE(a1.Create(frameA.Hwnd(), 1, RECT{5, 5, 95, 30}, L"a1"));
    ASSERT_TRUE(a2.Create(frameA.Hwnd(), 2, RECT{5, 35, 95, 60}, L"a2"));
    ASSERT_TRUE(b1.Create(frameB.Hwnd(), 4, RECT{5, 5, 95, 30}, L"b1"));
    for (SkinButton* o : {&a1, &a2, &b1})
        o->SetButtonType(kOptionButton);
    ASSERT_TRUE(SetWindowSubclass(a1.hwnd(), &PassOn, 1, 0)) << "a subclassed option stays in its group";
    Send(b1, "p 10 10 r 10 10");
    Send(a1, "p 10 10 r 10 10");
    Send(a2, "p 10 10 r 10 10 p 10 10 r 10 10");
    EXPECT_EQ(std::tuple(a1.Value(), a2.Value(), b1.Value()), std::tuple(false, true, true))
        << "another frame is another group; clicking a checked option keeps it checked";
    EXPECT_EQ(std::pair(FrameShown(a2), FrameShown(a1)), std::pair(int{kStateChecked}, int{kStateNormal}));
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
    const std::pair<WPARAM, HWND> moves[] = {{VK_LEFT, one.hwnd()},
                                             {VK_UP, one.hwnd()},
                                             {VK_RIGHT, three.hwnd()},
                                             {VK_DOWN, three.hwnd()},
                                             {'X', two.hwnd()}};
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

TEST_F(ButtonInput, TheCaptionIsTheWindowTextAndFocusIsShownOnce) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Cancelar"));
    b.SetCaption(L"Salir");
    EXPECT_EQ(WindowText(b.hwnd()), L"Salir");
    SetWindowTextW(b.hwnd(), L"Volver");
    EXPECT_EQ(b.Caption(), L"Volver") << "text set from outside is the caption";

    // The focus rectangle appears at GotFocus and is gone at the next repaint.
    auto edge = [&] {
        std::vector<COLORREF> row;
        for (int x = 0; x < 100; ++x)
            row.push_back(At(b, x, 0));
        return row;
    };
    const auto before = edge();
    SetFocus(b.hwnd());
    EXPECT_NE(edge(), before) << "the dotted rectangle inverts pixels along the edge";
    b.Refresh();
    EXPECT_EQ(edge(), before);
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
    // state follows the window, and the default action clicks only while enabled.
    EXPECT_EQ(Number(&IAccessible::get_accRole, a), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_FALSE(Number(&IAccessible::get_accState, a) & STATE_SYSTEM_UNAVAILABLE);
    b->SetEnabled(false);
    EXPECT_TRUE(Number(&IAccessible::get_accState, a) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(FAILED(a->accDoDefaultAction(Self())));
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
