// The skinned button's interaction on real windows: hover and its poll, mouse and keyboard input,
// the events in their order, check and option behaviour, focus moves, Space, and what a Windows user
// expects of a button (tab stop, WM_GETTEXT, BN_CLICKED, a disabled button never clicks).
#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "tests/wine/support/button_form.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace skinbutton;
using namespace testsupport;

namespace {

using Log = std::vector<std::string>;

// Records every event of a button into a log, with its arguments.
void Record(SkinButton& b, Log& log, const std::string& name = "") {
    const std::string p = name.empty() ? "" : name + ".";
    b.Click = [&log, p] { log.push_back(p + "Click"); };
    b.MouseOver = [&log, p] { log.push_back(p + "MouseOver"); };
    b.MouseOut = [&log, p] { log.push_back(p + "MouseOut"); };
    b.KeyPress = [&log, p](std::int16_t& k) { log.push_back(p + "KeyPress " + std::to_string(k)); };
    b.KeyDown = [&log, p](std::int16_t& k, std::int16_t&) { log.push_back(p + "KeyDown " + std::to_string(k)); };
    b.KeyUp = [&log, p](std::int16_t& k, std::int16_t&) { log.push_back(p + "KeyUp " + std::to_string(k)); };
    b.MouseDown = [&log, p](std::int16_t& button, std::int16_t&, float& x, float& y) {
        log.push_back(p + "MouseDown " + std::to_string(button) + " " + std::to_string(static_cast<int>(x)) + "," +
                      std::to_string(static_cast<int>(y)));
    };
    b.MouseMove = [&log, p](std::int16_t& button, std::int16_t&, float&, float&) {
        log.push_back(p + "MouseMove " + std::to_string(button));
    };
    b.MouseUp = [&log, p](std::int16_t& button, std::int16_t&, float&, float&) {
        log.push_back(p + "MouseUp " + std::to_string(button));
    };
}

void Cursor(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
}

void Move(SkinButton& b, int x, int y, WPARAM keys = 0) {
    Cursor(b.hwnd(), x, y);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
}

void Press(SkinButton& b, int x = 10, int y = 10) {
    SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}
void Release(SkinButton& b, int x = 10, int y = 10) {
    SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}
void ClickOn(SkinButton& b) {
    Press(b);
    Release(b);
}
void Key(HWND hwnd, WPARAM key, bool down, bool repeat = false) {
    SendMessageW(hwnd, down ? WM_KEYDOWN : WM_KEYUP, key, down ? (repeat ? (1 << 30) | 1 : 1) : 0xC0000001);
}

// The frame a button's surface shows, read at its top-left corner block.
int FrameShown(const SkinButton& b, int skin = 16) {
    win::MemorySurface image;
    image.Adopt(static_cast<HBITMAP>(
        LoadImageW(win::ThisModule(), MAKEINTRESOURCEW(kFirstSkinResource + skin), IMAGE_BITMAP, 0, 0, 0)));
    for (int f = 0; f < kStateCount; ++f)
        if (GetPixel(b.hdc(), 2, 2) == GetPixel(image.Dc(), f * 15 + 2, 2) &&
            GetPixel(b.hdc(), 1, 1) == GetPixel(image.Dc(), f * 15 + 1, 1))
            return f;
    return -1;
}

class ButtonInput : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1200, 1000);
        ASSERT_TRUE(form.Open(40, 40, 420, 220));
    }
    void Away() {
        SetCursorPos(1200, 1000);
        PumpMessages(20);
    }
    NoticeRecorder notices;
    ButtonForm form;
    Log log;
};

} // namespace

TEST_F(ButtonInput, PointerEnterAndLeaveWithTheirEventsAfterAndBeforeTheRepaint) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    Record(b, log);
    int frameAtOver = -1, frameAtOut = -1;
    b.MouseOver = [&] {
        log.push_back("MouseOver");
        frameAtOver = FrameShown(b);
    };
    b.MouseOut = [&] {
        log.push_back("MouseOut");
        frameAtOut = FrameShown(b);
    };
    PumpMessages(20);
    log.clear();
    Move(b, 50, 15);
    EXPECT_EQ(log, (Log{"MouseMove 0", "MouseOver"}));
    EXPECT_EQ(frameAtOver, kStateHot) << "MouseOver comes after the hot repaint";
    Move(b, 60, 16);
    EXPECT_EQ(log.size(), 3u) << "no second MouseOver while in";
    log.clear();
    PumpMessages(60);
    EXPECT_TRUE(log.empty() || log == Log{"MouseMove 0"}) << "the poll finds the pointer still in";
    SetCursorPos(1200, 1000);
    ASSERT_TRUE(PumpUntil([&] { return !log.empty() && log.back() == "MouseOut"; }, 1000));
    EXPECT_EQ(frameAtOut, kStateHot) << "MouseOut comes before the repaint";
    EXPECT_EQ(FrameShown(b), kStateNormal);
    log.clear();
    PumpMessages(60);
    EXPECT_TRUE(log.empty()) << "the poll stops once the pointer has left";
}

TEST_F(ButtonInput, CoveringWindowCountsAsLeaving) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    Record(b, log);
    Move(b, 50, 15);
    ASSERT_EQ(FrameShown(b), kStateHot);
    // A window over the button, under the pointer.
    // (An edit: a static would let the pointer through to the button.)
    HWND cover = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 30, 10, 80, 30, form.Hwnd(),
                                 nullptr, nullptr, nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(PumpUntil([&] { return !log.empty() && log.back() == "MouseOut"; }, 1000));
    EXPECT_EQ(FrameShown(b), kStateNormal);
    DestroyWindow(cover);
}

TEST_F(ButtonInput, ClickOrderCommandNotificationAndWhatIsNotAClick) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 42, RECT{10, 10, 110, 40}, L"Conectar"));
    Record(b, log);
    int frameAtDown = -1, frameAtUp = -1;
    b.MouseDown = [&](std::int16_t& button, std::int16_t&, float& x, float& y) {
        log.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(static_cast<int>(x)) + "," +
                      std::to_string(static_cast<int>(y)));
        frameAtDown = FrameShown(b);
    };
    b.MouseUp = [&](std::int16_t& button, std::int16_t&, float&, float&) {
        log.push_back("MouseUp " + std::to_string(button));
        frameAtUp = FrameShown(b);
    };
    Move(b, 30, 12);
    log.clear();
    Press(b, 30, 12);
    EXPECT_EQ(FrameShown(b), kStatePressed);
    EXPECT_NE(frameAtDown, kStatePressed) << "MouseDown comes before the pressed repaint";
    EXPECT_EQ(GetFocus(), b.hwnd()) << "a press takes the focus";
    Release(b, 30, 12);
    EXPECT_EQ(frameAtUp, kStatePressed) << "MouseUp comes before the repaint";
    EXPECT_EQ(log, (Log{"MouseDown 1 30,12", "MouseUp 1", "Click"}));
    ASSERT_EQ(form.commands.size(), 1u);
    EXPECT_EQ(form.commands[0].id, 42);
    EXPECT_EQ(form.commands[0].code, BN_CLICKED);
    EXPECT_EQ(form.commands[0].from, b.hwnd());

    // A right-button click: no pressed look, no Click.
    log.clear();
    SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 12));
    EXPECT_NE(FrameShown(b), kStatePressed);
    SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(30, 12));
    EXPECT_EQ(log, (Log{"MouseDown 2 30,12", "MouseUp 2"}));
    // Released outside: no Click.
    log.clear();
    Press(b);
    Release(b, 300, 12);
    EXPECT_EQ(log, (Log{"MouseDown 1 10,10", "MouseUp 1"}));
    EXPECT_EQ(form.commands.size(), 1u);
}

TEST_F(ButtonInput, DraggingOutAndBackWithTheButtonHeld) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
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
    EXPECT_EQ(log, (Log{"MouseMove 0", "MouseOver"}));
    EXPECT_EQ(FrameShown(b), kStateHot);
}

TEST_F(ButtonInput, HandlersMayChangeTheirArguments) {
    SkinButton b, next;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"a"));
    ASSERT_TRUE(next.Create(form.Hwnd(), 2, RECT{120, 10, 220, 40}, L"b"));
    int clicks = 0;
    b.Click = [&] { ++clicks; };
    b.MouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) { button = 2; };
    ClickOn(b);
    EXPECT_EQ(clicks, 0) << "a left press turned into a right one does not click";
    EXPECT_NE(FrameShown(b), kStatePressed);
    b.MouseDown = nullptr;
    SetFocus(b.hwnd());
    b.KeyDown = [](std::int16_t& key, std::int16_t&) {
        if (key == VK_RIGHT)
            key = 0;
    };
    Key(b.hwnd(), VK_RIGHT, true);
    EXPECT_EQ(GetFocus(), b.hwnd()) << "a swallowed arrow key moves nothing";
    b.KeyDown = [](std::int16_t& key, std::int16_t&) {
        if (key == 'A')
            key = VK_RIGHT;
    };
    Key(b.hwnd(), 'A', true);
    EXPECT_EQ(GetFocus(), next.hwnd());
}

TEST_F(ButtonInput, CheckButtonsToggleAndOptionGroupsFollowTheirFrame) {
    ButtonFrame frameA, frameB;
    ASSERT_TRUE(frameA.Open(form.Hwnd(), 0, 0, 200, 100));
    ASSERT_TRUE(frameB.Open(form.Hwnd(), 210, 0, 200, 100));
    SkinButton a1, a2, a3, b1, check;
    ASSERT_TRUE(a1.Create(frameA.Hwnd(), 1, RECT{5, 5, 95, 30}, L"a1"));
    ASSERT_TRUE(a2.Create(frameA.Hwnd(), 2, RECT{5, 35, 95, 60}, L"a2"));
    ASSERT_TRUE(a3.Create(frameA.Hwnd(), 3, RECT{5, 65, 95, 90}, L"a3"));
    ASSERT_TRUE(b1.Create(frameB.Hwnd(), 4, RECT{5, 5, 95, 30}, L"b1"));
    ASSERT_TRUE(check.Create(form.Hwnd(), 5, RECT{10, 120, 100, 145}, L"check"));
    for (SkinButton* o : {&a1, &a2, &a3, &b1})
        o->SetButtonType(kOptionButton);
    a3.SetButtonType(kPushButton); // a push button in the same frame is no part of the group
    a3.SetValue(true);
    Record(a1, log, "a1");
    Record(a2, log, "a2");
    Record(b1, log, "b1");
    ClickOn(b1);
    ClickOn(a1);
    EXPECT_TRUE(a1.Value());
    EXPECT_TRUE(b1.Value()) << "another frame is another group";
    log.clear();
    ClickOn(a2);
    EXPECT_FALSE(a1.Value());
    EXPECT_TRUE(a2.Value());
    EXPECT_TRUE(b1.Value());
    EXPECT_TRUE(a3.Value());
    // The sibling's Click (through its Value) comes first.
    EXPECT_EQ(log, (Log{"a2.MouseDown 1 10,10", "a2.MouseUp 1", "a1.Click", "a2.Click"}));
    EXPECT_EQ(FrameShown(a2), kStateChecked);
    EXPECT_EQ(FrameShown(a1), kStateNormal);
    log.clear();
    ClickOn(a2);
    EXPECT_TRUE(a2.Value()) << "clicking a checked option keeps it checked";
    EXPECT_EQ(log, (Log{"a2.MouseDown 1 10,10", "a2.MouseUp 1", "a2.Click"}));

    check.SetButtonType(kCheckButton);
    int checkClicks = 0;
    check.Click = [&] { ++checkClicks; };
    ClickOn(check);
    EXPECT_TRUE(check.Value());
    EXPECT_EQ(checkClicks, 1) << "the button's own toggle raises one Click";
    ClickOn(check);
    EXPECT_FALSE(check.Value());
    EXPECT_EQ(SendMessageW(check.hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    check.SetValue(true); // through the property at run time: a Click of its own
    EXPECT_EQ(checkClicks, 3);
    EXPECT_EQ(SendMessageW(check.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonInput, ArrowKeysMoveTheFocusAfterKeyDown) {
    SkinButton one, two, three;
    ASSERT_TRUE(one.Create(form.Hwnd(), 1, RECT{10, 10, 100, 35}, L"1"));
    ASSERT_TRUE(two.Create(form.Hwnd(), 2, RECT{110, 10, 200, 35}, L"2"));
    ASSERT_TRUE(three.Create(form.Hwnd(), 3, RECT{210, 10, 300, 35}, L"3"));
    HWND focusAtKeyDown = nullptr;
    two.KeyDown = [&](std::int16_t&, std::int16_t&) { focusAtKeyDown = GetFocus(); };
    for (WPARAM key : {VK_LEFT, VK_UP}) {
        SetFocus(two.hwnd());
        Key(two.hwnd(), key, true);
        EXPECT_EQ(focusAtKeyDown, two.hwnd()) << "KeyDown is raised before the focus moves";
        EXPECT_EQ(GetFocus(), one.hwnd()) << key;
    }
    for (WPARAM key : {VK_RIGHT, VK_DOWN}) {
        SetFocus(two.hwnd());
        Key(two.hwnd(), key, true);
        EXPECT_EQ(GetFocus(), three.hwnd()) << key;
    }
    SetFocus(two.hwnd());
    Key(two.hwnd(), 'X', true);
    EXPECT_EQ(GetFocus(), two.hwnd());
}

TEST_F(ButtonInput, TabReachesTheButtonAndLeavesIt) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 10, 100, 22,
                                form.Hwnd(), nullptr, nullptr, nullptr);
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 40, 100, 65}, L"ok"));
    EXPECT_TRUE(GetWindowLongW(b.hwnd(), GWL_STYLE) & WS_TABSTOP);
    SetFocus(edit);
    MSG msg{edit, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form.Hwnd(), &msg));
    EXPECT_EQ(GetFocus(), b.hwnd()) << "the dialog manager tabs to the button";
    // A window without a dialog manager: the button passes Tab on itself.
    Key(b.hwnd(), VK_TAB, true);
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(ButtonInput, OneSpacePressIsOneClickAndDisabledNeverClicks) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 9, RECT{10, 10, 110, 40}, L"space"));
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
    // A stale Space does not make a right click into a click.
    log.clear();
    SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(log, (Log{"MouseDown 2 5,5", "MouseUp 2"}));
    // Space up without Space down (the press went to another window): nothing.
    log.clear();
    Key(b.hwnd(), VK_SPACE, false);
    EXPECT_EQ(log, (Log{"KeyUp 32"}));

    b.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
    EXPECT_EQ(FrameShown(b), kStateDisabledChecked);
    log.clear();
    Key(b.hwnd(), VK_SPACE, true);
    Key(b.hwnd(), VK_SPACE, false);
    ClickOn(b);
    SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
    for (const std::string& e : log)
        EXPECT_NE(e, "Click");
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

TEST_F(ButtonInput, TheCaptionIsTheWindowText) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"Cancelar"));
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
}

TEST_F(ButtonInput, FocusRectangleAtGotFocusGoneAtTheNextRepaint) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    auto edge = [&] {
        std::vector<COLORREF> row;
        for (int x = 0; x < 100; ++x)
            row.push_back(GetPixel(b.hdc(), x, 0));
        for (int y = 0; y < 30; ++y)
            row.push_back(GetPixel(b.hdc(), 0, y));
        return row;
    };
    const auto before = edge();
    SetFocus(b.hwnd());
    EXPECT_NE(edge(), before) << "the dotted rectangle inverts pixels along the edge";
    Move(b, 50, 15);
    EXPECT_EQ(FrameShown(b), kStateHot);
    Away();
    ASSERT_TRUE(PumpUntil([&] { return FrameShown(b) == kStateNormal; }, 1000));
    EXPECT_EQ(edge(), before);
}

TEST_F(ButtonInput, AClickHandlerMayDestroyTheButton) {
    auto b = std::make_unique<SkinButton>();
    ASSERT_TRUE(b->Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"Aceptar"));
    HWND hwnd = b->hwnd();
    b->Click = [&] { b.reset(); };
    Press(*b);
    Release(*reinterpret_cast<SkinButton*>(win::Window::FromHwnd(hwnd)));
    EXPECT_FALSE(b);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(form.commands.empty()) << "nothing is told about a button that is gone";
    PumpMessages(30);
}

TEST_F(ButtonInput, AnEventHandlerThatFailsEndsOnlyThatMessage) {
    SkinButton b;
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L""));
    b.MouseMove = [](std::int16_t&, std::int16_t&, float&, float&) { throw std::runtime_error("handler"); };
    Move(b, 50, 15);
    EXPECT_EQ(FrameShown(b), kStateNormal) << "the failed move keeps the previous look";
    b.MouseMove = nullptr;
    Move(b, 51, 15);
    EXPECT_EQ(FrameShown(b), kStateHot);
}

TEST_F(ButtonInput, FontNamesTheSystemLacksFallBackToTheAmbientFont) {
    SkinButton b;
    host::FontDesc ambient;
    ambient.name = L"Courier New";
    b.Ambient().SetFont(ambient);
    ASSERT_TRUE(b.Create(form.Hwnd(), 1, RECT{10, 10, 110, 40}, L"x"));
    b.SetFontName(L"Arial");
    EXPECT_EQ(b.FontName(), L"Arial");
    b.SetFontName(L"No Such Font Anywhere");
    EXPECT_EQ(b.FontName(), L"Courier New");
    b.SetFontName(std::wstring(40, L'x'));
    EXPECT_EQ(b.FontName(), L"Courier New") << "a name longer than a face name can be";
}
