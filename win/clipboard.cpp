#include "win/clipboard.h"

#include <algorithm>

namespace win {

std::wstring ClipboardText(HWND owner) {
    if (!OpenClipboard(owner))
        return {};
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            // The clipboard's block may lack its NUL: never read past its end.
            const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            text.assign(chars, std::find(chars, chars + capacity, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool SetClipboardText(HWND owner, std::wstring_view text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!block)
        return false;
    if (auto* chars = static_cast<wchar_t*>(GlobalLock(block))) {
        std::copy(text.begin(), text.end(), chars);
        chars[text.size()] = L'\0';
        GlobalUnlock(block);
    }
    bool placed = false;
    if (OpenClipboard(owner)) {
        placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    }
    if (!placed) // the clipboard owns the block only once it took it
        GlobalFree(block);
    return placed;
}

} // namespace win
