// What the skinned-button tests share: a form and frames to stand buttons on, the committed skin
// bitmaps to compare pixels with, synthesized input, an event recorder and a fixture that keeps the
// pointer away.
#pragma once

#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"
#include "controls/button/skin_palette.h"
#include "tests/wine/support/window_test.h"
#include "win/gdi.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A plain visible top-level window to stand buttons on. It records its command notifications.
class ButtonForm : public win::Window {
public:
    bool Open(int x, int y, int width, int height) {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevTestButtonForm";
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        RegisterClassOnce(wc);
        return Create(L"ZevTestButtonForm", WS_EX_CONTROLPARENT, L"form", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                      width, height, nullptr, nullptr);
    }
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) {
            commands.emplace_back(wParam, lParam);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }
};

// A built-in skin bitmap as the resource holds it (seven 15 × 23 frames).
class SkinImage {
public:
    explicit SkinImage(int skin) {
        surface_.Adopt(static_cast<HBITMAP>(LoadImageW(
            win::ThisModule(), MAKEINTRESOURCEW(skinbutton::kFirstSkinResource + skin), IMAGE_BITMAP, 0, 0, 0)));
    }
    COLORREF At(int frame, int x, int y) const { return GetPixel(surface_.Dc(), frame * 15 + x, y); }

private:
    win::MemorySurface surface_;
};

inline COLORREF At(const skinbutton::SkinButton& b, int x, int y) {
    return GetPixel(b.hdc(), x, y);
}

// The frame of the default skin a button's surface shows, told by its top-left corner block; -1 for none.
inline int FrameShown(const skinbutton::SkinButton& b) {
    const SkinImage skin(16);
    for (int f = 0; f < skinbutton::kStateCount; ++f)
        if (At(b, 2, 2) == skin.At(f, 2, 2) && At(b, 1, 1) == skin.At(f, 1, 1))
            return f;
    return -1;
}

// Where the pixels of one colour lie in the top-left w × h of the surface ({w, h, -1, -1} when there
// are none), and how many there are.
struct Ink {
    RECT box;
    int count;
};
inline Ink InkOf(const skinbutton::SkinButton& b, int w, int h, COLORREF colour) {
    Ink ink{{w, h, -1, -1}, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (At(b, x, y) == colour) {
                ++ink.count;
                ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                           std::max<LONG>(ink.box.right, x), std::max<LONG>(ink.box.bottom, y)};
            }
    return ink;
}

// Synthesized input from a line of actions, in client coordinates of the button: m x y (move the
// pointer there), p/r x y (left press/release), P/R x y (right press/release), k/u n (key down/up),
// h n (key held down: a repeat), c n (character). Any other action goes to the handler given.
inline void Send(skinbutton::SkinButton& b, const std::string& actions, const std::function<void(char)>& other = {}) {
    const struct {
        char name;
        UINT msg;
        WPARAM keys;
        LPARAM flags;
        int args; // 1: a key code, 2: coordinates
    } kinds[] = {{'p', WM_LBUTTONDOWN, MK_LBUTTON, 0, 2},
                 {'r', WM_LBUTTONUP, 0, 0, 2},
                 {'P', WM_RBUTTONDOWN, MK_RBUTTON, 0, 2},
                 {'R', WM_RBUTTONUP, 0, 0, 2},
                 {'k', WM_KEYDOWN, 0, 1, 1},
                 {'h', WM_KEYDOWN, 0, (1 << 30) | 1, 1},
                 {'u', WM_KEYUP, 0, static_cast<LPARAM>(0xC0000001u), 1}, // negative on x86
                 {'c', WM_CHAR, 0, 1, 1},
                 {'m', WM_MOUSEMOVE, 0, 0, 2}};
    std::istringstream in(actions);
    for (char a; in >> a;) {
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [a](const auto& k) { return k.name == a; });
        int x = 0, y = 0;
        if (kind == std::end(kinds)) {
            other(a);
            continue;
        }
        if (in >> x && kind->args > 1)
            in >> y;
        if (kind->msg == WM_MOUSEMOVE) {
            POINT p{x, y};
            ClientToScreen(b.hwnd(), &p);
            SetCursorPos(p.x, p.y);
        }
        const WPARAM w = kind->args == 1 ? static_cast<WPARAM>(x) : kind->keys;
        SendMessageW(b.hwnd(), kind->msg, w, kind->args == 2 ? MAKELPARAM(x, y) : kind->flags);
    }
}

// Every event of a button into a log with its arguments (shift state and coordinates included) and
// the frame shown when it was raised.
using EventLog = std::vector<std::string>;
inline void Record(skinbutton::SkinButton& b, EventLog& log) {
    auto say = [&](const char* event) {
        return [&log, &b, event](auto&... args) {
            std::string entry = event;
            ((entry += " " + std::to_string(static_cast<int>(args))), ...);
            log.push_back(entry + " @" + std::to_string(FrameShown(b)));
        };
    };
    b.Click = say("Click"), b.MouseOver = say("MouseOver"), b.MouseOut = say("MouseOut");
    b.KeyPress = say("KeyPress"), b.KeyDown = say("KeyDown"), b.KeyUp = say("KeyUp");
    b.MouseDown = say("MouseDown"), b.MouseMove = say("MouseMove"), b.MouseUp = say("MouseUp");
}

// Moves the pointer away from every button.
inline void Away() {
    SetCursorPos(1200, 1000);
    PumpMessages(20);
}

// A form to stand buttons on, with the pointer away from them unless a test means otherwise.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Away();
        ASSERT_TRUE(form.Open(40, 40, 420, 220));
    }
    // A button at (10, 10) of the given size.
    bool Place(skinbutton::SkinButton& b, const std::wstring& caption = L"", int w = 100, int h = 30, int id = 1) {
        return b.Create(form.Hwnd(), id, RECT{10, 10, 10 + w, 10 + h}, caption);
    }
    NoticeRecorder notices;
    ButtonForm form;
    EventLog log;
};

} // namespace testsupport
