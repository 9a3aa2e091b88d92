// The clipboard's text, read and written as Unicode.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// The clipboard's text; empty when it holds none or cannot be opened.
std::wstring ClipboardText(HWND owner);
// Puts the text on the clipboard in place of what it held; false when the clipboard could not be had.
bool SetClipboardText(HWND owner, std::wstring_view text);

} // namespace win
