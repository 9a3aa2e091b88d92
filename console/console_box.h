// txtConsole: the locked multi-line console text box. It inserts nothing by itself; every
// character typed is handed to KeyPress (the window writes it to the device), and the caret is
// kept behind the last character on every click, double-click and focus arrival. Its context menu is
// the window's (ContextMenu), never the edit box's own, which would paste into it without sending.
#pragma once

#include "console/console_text.h"

#include <windows.h>

#include <functional>
#include <string>

namespace console {

class ConsoleBox {
public:
    ConsoleBox() = default;
    ConsoleBox(const ConsoleBox&) = delete;
    ConsoleBox& operator=(const ConsoleBox&) = delete;
    ~ConsoleBox();

    // Creates the box disabled, with the given font; false on failure.
    bool Create(HWND parent, int id, const RECT& bounds, HFONT font);
    HWND Hwnd() const { return hwnd_; }

    // The typed character's code, before the box sees it (which then inserts nothing).
    std::function<void(wchar_t)> KeyPress;
    // A right click, the context-menu key or Shift+F10, with the menu's place on the screen: the
    // pointer, or for a key the caret. No other key opens it: every other key belongs to the device.
    std::function<void(POINT)> ContextMenu;

    std::wstring Text() const;
    // Sets the whole text and puts the caret at its end, scrolled into view.
    void SetText(const std::wstring& text);
    // Shows text, which is the box's text after ApplyReceived made change to it, with the caret at
    // its end. Only the changed parts go to the box: an edit box lays out again all the text it is
    // handed, which for a full console costs many times the rest of a receive tick.
    void ShowChange(const std::wstring& text, ConsoleChange change);
    // Caret (selection start) behind the last character; any selection is dropped.
    void CaretToEnd();
    // The caret's position in characters from the start.
    int SelStart() const;

private:
    void OpenContextMenu(LPARAM at);
    // Replaces the characters from start to end (-1: the end of the text) by with.
    void Replace(std::size_t start, long long end, const wchar_t* with);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    HWND hwnd_ = nullptr;
};

} // namespace console
