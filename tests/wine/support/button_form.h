// A plain window to stand skinned buttons on in tests: a visible top-level form of a known colour, and
// frames inside it (each frame a separate container). It records the command notifications it gets.
#pragma once

#include "win/window_base.h"

#include <windows.h>

#include <vector>

namespace testsupport {

class ButtonForm : public win::Window {
public:
    // A form at screen (x, y) of the client size given; its background is the colour given.
    bool Open(int x, int y, int width, int height, COLORREF back = RGB(236, 233, 216)) {
        back_ = CreateSolidBrush(back);
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevTestButtonForm";
        RegisterClassOnce(wc);
        return Create(L"ZevTestButtonForm", WS_EX_CONTROLPARENT, L"form", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                      width, height, nullptr, nullptr) != nullptr;
    }
    ~ButtonForm() override {
        if (back_)
            DeleteObject(back_);
    }

    struct Command {
        int id;
        int code;
        HWND from;
    };
    std::vector<Command> commands;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) {
            commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
            return 0;
        }
        if (msg == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(Hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, back_);
            return 1;
        }
        return Default(msg, wParam, lParam);
    }

private:
    HBRUSH back_ = nullptr;
};

// A frame inside a form: a container of its own, in the form's tab order.
class ButtonFrame : public win::Window {
public:
    bool Open(HWND parent, int x, int y, int width, int height) {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"ZevTestButtonFrame";
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        RegisterClassOnce(wc);
        return Create(L"ZevTestButtonFrame", WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                      width, height, parent, nullptr) != nullptr;
    }
};

} // namespace testsupport
