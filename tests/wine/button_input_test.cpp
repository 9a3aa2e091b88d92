// The skinned button's interaction on real windows: hover and its poll, mouse and keyboard input,
// the events in their order, check and option behaviour, focus moves, Space, and what a Windows user
// expects of a button (tab stop, WM_GETTEXT, BN_CLICKED, a disabled button never clicks).
#include "tests/wine/support/button_form.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

using namespace skinbutton;
using namespace testsupport;
using Log = EventLog;

namespace {

using ButtonInput = ButtonTest;

bool Ends(const Log& log, const std::string& entry) {
    return !log.empty() && log.back() == entry;
}

} // namespace

TEST_F(ButtonInput, PointerEnterAndLeaveWithTheirEventsAfterAndBeforeTheRepaint) {
    SkinButton b;
    ASSERT_TRUE(Place(b));
    Record(b, log);
    int frameAtOver = -1, frameAtOut = -1;
    b.MouseOver = [&] { log.push_back("MouseOver"), frameAtOver = FrameShown(b); };
    b.MouseOut = [&] { log.push_back("MouseOut"), frameAtOut = FrameShown(b); };
    Move(b, 50, 15);
    Move(b, 60, 16);
    EXPECT_EQ(log, (Log{"MouseMove 0 50,15", "MouseOver", "MouseMove 0 60,16"})) << "one MouseOver while in";
    EXPECT_EQ(frameAtOver, kStateHot) << "MouseOver comes after the hot repaint";
    PumpMessages(60);
    EXPECT_EQ(std::count(log.begin(), log.end(), "MouseOut"), 0) << "the poll finds the pointer still in";
    Away();
    ASSERT_TRUE(PumpUntil([&] { return Ends(log, "MouseOut"); }, 1000));
    EXPECT_EQ(frameAtOut, kStateHot) << "MouseOut comes before the repaint";
    EXPECT_EQ(FrameShown(b), kStateNormal);
    log.clear();
    PumpMessages(60);
    EXPECT_TRUE(log.empty()) << "the poll stops once the pointer has left";

    // A window over the button, under the pointer, counts as leaving (an edit: a static would let the
    // pointer through).
    Move(b, 50, 15);
    ASSERT_EQ(FrameShown(b), kStateHot);
    HWND cover = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 30, 10, 80, 30, form.Hwnd(),
                                 nullptr, nullptr, nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(PumpUntil([&] { return Ends(log, "MouseOut"); }, 1000));
    EXPECT_EQ(FrameShown(b), kStateNormal);
    DestroyWindow(cover);
}

TEST_F(ButtonInput, ClickOrderCommandNotificationAndWhatIsNotAClick) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Conectar", 100, 30, 42));
    Record(b, log);
    Move(b, 30, 12);
    log.clear();
    int frameAtDown = -1, frameAtUp = -1;
    const auto down = b.MouseDown, up = b.MouseUp;
    b.MouseDown = [&](std::int16_t& k, std::int16_t& s, float& x, float& y) {
        down(k, s, x, y), frameAtDown = FrameShown(b);
    };
    b.MouseUp = [&](std::int16_t& k, std::int16_t& s, float& x, float& y) {
        up(k, s, x, y), frameAtUp = FrameShown(b);
    };
    Press(b, 30, 12);
    EXPECT_EQ(FrameShown(b), kStatePressed);
    EXPECT_NE(frameAtDown, kStatePressed) << "MouseDown comes before the pressed repaint";
    EXPECT_EQ(GetFocus(), b.hwnd()) << "a press takes the focus";
    Release(b, 30, 12);
    EXPECT_EQ(frameAtUp, kStatePressed) << "MouseUp comes before the repaint";
    EXPECT_EQ(log, (Log{"MouseDown 1 30,12", "MouseUp 1 30,12", "Click"}));
    ASSERT_EQ(form.commands.size(), 1u);
    EXPECT_EQ(form.commands[0].id, 42);
    EXPECT_EQ(form.commands[0].code, BN_CLICKED);
    EXPECT_EQ(form.commands[0].from, b.hwnd());

    // A right-button click (no pressed look), a press released outside, and a left press that a
    // handler turns into a right one: no Click.
    log.clear();
    SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 12));
    EXPECT_NE(FrameShown(b), kStatePressed);
    SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(30, 12));
    Press(b);
    Release(b, 300, 12);
    EXPECT_EQ(log, (Log{"MouseDown 2 30,12", "MouseUp 2 30,12", "MouseDown 1 10,10", "MouseUp 1 300,12"}));
    b.MouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) { button = 2; };
    log.clear();
    ClickOn(b);
    EXPECT_NE(FrameShown(b), kStatePressed);
    EXPECT_EQ(log, (Log{"MouseUp 1 10,10"}));
    EXPECT_EQ(form.commands.size(), 1u);
}

TEST_F(ButtonInput, DraggingOutAndBackWithTheButtonHeld) {
    SkinButton b;
    ASSERT_TRUE(Place(b));
    Record(b, log);
    Move(b, 50, 15);
    Press(b, 50, 15);
    Move(b, 55, 15, MK_LBUTTON);
    EXPECT_EQ(FrameShown(b), kStatePressed);
    Move(b, 200, 100, MK_LBUTTON); // outside, still captured
    EXPECT_EQ(FrameShown(b), kStateNormal) << "after a pressed move inside, the hover flag is cleared";
    Move(b, 50, 15, MK_LBUTTON);
    EXPECT_EQ(FrameShown(b), kStatePressed);
    Release(b, 50, 15);
    EXPECT_EQ(FrameShown(b), kStateNormal) << "after a click, normal until the pointer moves again";
    log.clear();
    Move(b, 51, 15);
    EXPECT_EQ(log, (Log{"MouseMove 0 51,15", "MouseOver"}));
    EXPECT_EQ(FrameShown(b), kStateHot);
}

TEST_F(ButtonInput, CheckButtonsToggleAndOptionGroupsFollowTheirFrame) {
    ButtonForm frameA, frameB;
    ASSERT_TRUE(frameA.Open(form.Hwnd(), 0, 0, 200, 100));
    ASSERT_TRUE(frameB.Open(form.Hwnd(), 210, 0, 200, 100));
    SkinButton a1, a2, a3, b1, check;
    ASSERT_TRUE(a1.Create(frameA.Hwnd(), 1, RECT{5, 5, 95, 30}, L"a1"));
    ASSERT_TRUE(a2.Create(frameA.Hwnd(), 2, RECT{5, 35, 95, 60}, L"a2"));
    ASSERT_TRUE(a3.Create(frameA.Hwnd(), 3, RECT{5, 65, 95, 90}, L"a3"));
    ASSERT_TRUE(b1.Create(frameB.Hwnd(), 4, RECT{5, 5, 95, 30}, L"b1"));
    ASSERT_TRUE(check.Create(form.Hwnd(), 5, RECT{10, 120, 100, 145}, L"check"));
    for (SkinButton* o : {&a1, &a2, &b1})
        o->SetButtonType(kOptionButton);
    a3.SetValue(true); // a push button in the same frame is no part of the group
    Record(a1, log, "a1");
    Record(a2, log, "a2");
    ClickOn(b1);
    ClickOn(a1);
    EXPECT_TRUE(a1.Value());
    EXPECT_TRUE(b1.Value()) << "another frame is another group";
    log.clear();
    ClickOn(a2);
    EXPECT_FALSE(a1.Value());
    EXPECT_TRUE(a2.Value() && b1.Value() && a3.Value());
    // The sibling's Click (through its Value) comes first.
    EXPECT_EQ(log, (Log{"a2.MouseDown 1 10,10", "a2.MouseUp 1 10,10", "a1.Click", "a2.Click"}));
    EXPECT_EQ(FrameShown(a2), kStateChecked);
    EXPECT_EQ(FrameShown(a1), kStateNormal);
    log.clear();
    ClickOn(a2);
    EXPECT_TRUE(a2.Value()) << "clicking a checked option keeps it checked";
    EXPECT_EQ(log, (Log{"a2.MouseDown 1 10,10", "a2.MouseUp 1 10,10", "a2.Click"}));

    check.SetButtonType(kCheckButton);
    int clicks = 0;
    check.Click = [&] { ++clicks; };
    ClickOn(check);
    EXPECT_TRUE(check.Value());
    EXPECT_EQ(clicks, 1) << "the button's own toggle raises one Click";
    ClickOn(check);
    EXPECT_EQ(SendMessageW(check.hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    check.SetValue(true); // through the property at run time: a Click of its own
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(SendMessageW(check.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonInput, ArrowKeysAndTabMoveTheFocusAfterKeyDown) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 50, 100, 22,
                                form.Hwnd(), nullptr, nullptr, nullptr);
    SkinButton one, two, three;
    ASSERT_TRUE(one.Create(form.Hwnd(), 1, RECT{10, 10, 100, 35}, L"1"));
    ASSERT_TRUE(two.Create(form.Hwnd(), 2, RECT{110, 10, 200, 35}, L"2"));
    ASSERT_TRUE(three.Create(form.Hwnd(), 3, RECT{210, 10, 300, 35}, L"3"));
    HWND focusAtKeyDown = nullptr;
    bool swallow = false;
    two.KeyDown = [&](std::int16_t& key, std::int16_t&) {
        focusAtKeyDown = GetFocus();
        if (key == 'A')
            key = VK_RIGHT; // a handler may change the key, or swallow it
        if (swallow)
            key = 0;
    };
    const struct {
        WPARAM key;
        bool swallow;
        HWND to;
    } moves[] = {{VK_LEFT, false, one.hwnd()},   {VK_UP, false, one.hwnd()}, {VK_RIGHT, false, three.hwnd()},
                 {VK_DOWN, false, three.hwnd()}, {'X', false, two.hwnd()},   {'A', false, three.hwnd()},
                 {VK_RIGHT, true, two.hwnd()}};
    for (const auto& m : moves) {
        SetFocus(two.hwnd());
        focusAtKeyDown = nullptr;
        swallow = m.swallow;
        Key(two.hwnd(), m.key, true);
        EXPECT_EQ(focusAtKeyDown, two.hwnd()) << "KeyDown is raised before the focus moves";
        EXPECT_EQ(GetFocus(), m.to) << m.key << (m.swallow ? " swallowed" : "");
    }
    SetFocus(edit);
    MSG msg{edit, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form.Hwnd(), &msg));
    EXPECT_EQ(GetFocus(), one.hwnd()) << "the dialog manager tabs to the button";
    Key(one.hwnd(), VK_TAB, true);
    EXPECT_EQ(GetFocus(), two.hwnd()) << "without one, the button passes Tab on itself";
}

TEST_F(ButtonInput, OneSpacePressIsOneClickAndDisabledNeverClicks) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"space", 100, 30, 9));
    b.SetButtonType(kCheckButton);
    Record(b, log);
    SetFocus(b.hwnd());
    log.clear();
    Key(b.hwnd(), VK_SPACE, true);
    EXPECT_EQ(FrameShown(b), kStatePressed);
    Key(b.hwnd(), VK_SPACE, true, true); // auto-repeat while held
    SendMessageW(b.hwnd(), WM_CHAR, L' ', 1);
    Key(b.hwnd(), VK_SPACE, false);
    EXPECT_EQ(log, (Log{"KeyDown 32", "KeyDown 32", "KeyPress 32", "KeyUp 32", "Click"}));
    EXPECT_TRUE(b.Value()) << "toggled once";
    EXPECT_EQ(form.commands.size(), 1u);
    // A stale Space does not make a right click into a click; Space up without Space down (the press
    // went to another window) does nothing.
    log.clear();
    SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    Key(b.hwnd(), VK_SPACE, false);
    EXPECT_EQ(log, (Log{"MouseDown 2 5,5", "MouseUp 2 5,5", "KeyUp 32"}));

    b.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
    log.clear();
    Key(b.hwnd(), VK_SPACE, true);
    Key(b.hwnd(), VK_SPACE, false);
    ClickOn(b);
    SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Click"), 0);
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(form.commands.size(), 1u);
    EXPECT_EQ(FrameShown(b), kStateDisabledChecked);
    // Enabled again from outside, through the window.
    EnableWindow(b.hwnd(), TRUE);
    EXPECT_TRUE(b.Enabled());
    SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(form.commands.size(), 2u);
}

TEST_F(ButtonInput, TheCaptionIsTheWindowTextAndFocusIsShownOnce) {
    SkinButton b;
    ASSERT_TRUE(Place(b, L"Cancelar"));
    wchar_t text[32] = {};
    EXPECT_EQ(SendMessageW(b.hwnd(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 8);
    EXPECT_STREQ(text, L"Cancelar");
    b.SetCaption(L"Salir");
    EXPECT_EQ(WindowText(b.hwnd()), L"Salir");
    SetWindowTextW(b.hwnd(), L"Volver");
    EXPECT_EQ(b.Caption(), L"Volver") << "text set from outside is the caption";
    wchar_t cls[64] = {};
    GetClassNameW(b.hwnd(), cls, 64);
    EXPECT_EQ(FindWindowExW(form.Hwnd(), nullptr, cls, L"Volver"), b.hwnd());

    // The focus rectangle appears at GotFocus and is gone at the next repaint.
    auto edge = [&] {
        std::vector<COLORREF> row;
        for (int x = 0; x < 100; ++x)
            row.push_back(At(b, x, 0));
        for (int y = 0; y < 30; ++y)
            row.push_back(At(b, 0, y));
        return row;
    };
    const auto before = edge();
    SetFocus(b.hwnd());
    EXPECT_NE(edge(), before) << "the dotted rectangle inverts pixels along the edge";
    Move(b, 50, 15);
    Away();
    ASSERT_TRUE(PumpUntil([&] { return FrameShown(b) == kStateNormal; }, 1000));
    EXPECT_EQ(edge(), before);
}

TEST_F(ButtonInput, HandlersThatDestroyTheButtonOrFailEndOnlyTheirMessage) {
    auto b = std::make_unique<SkinButton>();
    ASSERT_TRUE(Place(*b, L"Aceptar"));
    HWND hwnd = b->hwnd();
    b->Click = [&] { b.reset(); };
    Press(*b);
    Release(*static_cast<SkinButton*>(win::Window::FromHwnd(hwnd)));
    EXPECT_FALSE(b);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(form.commands.empty()) << "nothing is told about a button that is gone";
    PumpMessages(30);

    SkinButton c;
    ASSERT_TRUE(Place(c));
    c.MouseMove = [](std::int16_t&, std::int16_t&, float&, float&) { throw std::runtime_error("handler"); };
    Move(c, 50, 15);
    EXPECT_EQ(FrameShown(c), kStateNormal) << "the failed move keeps the previous look";
    c.MouseMove = nullptr;
    Move(c, 51, 15);
    EXPECT_EQ(FrameShown(c), kStateHot);
}

TEST_F(ButtonInput, FontNamesTheSystemLacksFallBackToTheAmbientFont) {
    SkinButton b;
    b.Ambient().SetFont({L"Courier New"});
    ASSERT_TRUE(Place(b, L"x"));
    b.SetFontName(L"Arial");
    EXPECT_EQ(b.FontName(), L"Arial");
    b.SetFontName(L"No Such Font Anywhere");
    EXPECT_EQ(b.FontName(), L"Courier New");
    b.SetFontName(std::wstring(40, L'x'));
    EXPECT_EQ(b.FontName(), L"Courier New") << "a name longer than a face name can be";
}
