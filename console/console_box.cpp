#include "console/console_box.h"

#include "win/subclass.h"

#include <commctrl.h>

#include <algorithm>

namespace console {

ConsoleBox::~ConsoleBox() {
    if (hwnd_)
        win::RemoveSubclass(hwnd_, &ConsoleBox::SubclassProc, 1);
}

bool ConsoleBox::Create(HWND parent, int id, const RECT& bounds, HFONT font) {
    // ES_AUTOVSCROLL: without it a multi-line edit refuses text that does not fit.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_DISABLED | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
                            bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The text is kept near 5000 characters; the default limit of 30000 must never cut an append.
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    win::SetSubclass(hwnd_, &ConsoleBox::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

std::wstring ConsoleBox::Text() const {
    const auto n = static_cast<int>(SendMessageW(hwnd_, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const auto got = static_cast<int>(
        SendMessageW(hwnd_, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

void ConsoleBox::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
    CaretToEnd();
}

void ConsoleBox::ShowChange(const std::wstring& text, ConsoleChange change) {
    if (change.cutFront >= change.kept) {
        Replace(0, -1, text.c_str()); // nothing of the old text is left
    } else {
        if (change.cutFront > 0)
            Replace(0, static_cast<long long>(change.cutFront), L"");
        const std::size_t from = change.kept - change.cutFront;
        Replace(from, -1, text.c_str() + from);
    }
    CaretToEnd();
}

void ConsoleBox::Replace(std::size_t start, long long end, const wchar_t* with) {
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(with));
}

void ConsoleBox::CaretToEnd() {
    const auto n = static_cast<WPARAM>(SendMessageW(hwnd_, WM_GETTEXTLENGTH, 0, 0));
    SendMessageW(hwnd_, EM_SETSEL, n, static_cast<LPARAM>(n));
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

int ConsoleBox::SelStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void ConsoleBox::OpenContextMenu(LPARAM at) {
    if (!ContextMenu)
        return;
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) { // from the keyboard: at the caret, kept inside the box
        RECT box{};
        GetClientRect(hwnd_, &box);
        GetCaretPos(&p);
        p.x = std::clamp(p.x, box.left, box.right - 1);
        p.y = std::clamp(p.y, box.top, box.bottom - 1);
        ClientToScreen(hwnd_, &p);
    }
    ContextMenu(p);
}

LRESULT CALLBACK ConsoleBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR refData) {
    auto* self = reinterpret_cast<ConsoleBox*>(refData);
    switch (msg) {
    case WM_CHAR:
        // The key press is not cancelled: the locked box inserts nothing, and keeps its own
        // handling of the control keys it knows (Ctrl+C copies the selection).
        if (self->KeyPress)
            self->KeyPress(static_cast<wchar_t>(wParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_SETFOCUS: {
        const LRESULT result = win::DefSubclass(hwnd, msg, wParam, lParam);
        self->CaretToEnd();
        return result;
    }
    case WM_CONTEXTMENU:
        // A right click, Shift+F10 or the context-menu key (lParam -1 for a key): the window's menu,
        // never the edit box's own.
        self->OpenContextMenu(lParam);
        return 0;
    case WM_NCDESTROY:
        win::RemoveSubclass(hwnd, &ConsoleBox::SubclassProc, 1);
        self->hwnd_ = nullptr;
        break;
    }
    return win::DefSubclass(hwnd, msg, wParam, lParam);
}

} // namespace console
