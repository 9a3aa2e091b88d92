#include "win/ansi_text.h"

#include <windows.h>

namespace win {

std::array<wchar_t, 256> SystemAnsiTable() {
    std::array<wchar_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t c[2] = {};
        const int n = MultiByteToWideChar(CP_ACP, 0, &byte, 1, c, 2);
        table[static_cast<std::size_t>(b)] = n == 1 ? c[0] : L'?';
    }
    return table;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), n);
    return text;
}

} // namespace win
