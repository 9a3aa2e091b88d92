#include "console/session_file_name.h"

#include <cstdio>
#include <cwchar>

namespace console {
namespace {

constexpr std::size_t kMaxSerial = 32; // real serial numbers have at most 15 characters

bool Unsafe(wchar_t c) {
    return c < 0x20 || c == 0x7F || std::wcschr(L"\\/:*?\"<>|", c) != nullptr;
}

} // namespace

std::wstring SessionFileName(std::wstring_view serial, const ClockSample& now) {
    std::wstring safe = serial.empty() ? std::wstring(L"consola") : std::wstring(serial.substr(0, kMaxSerial));
    for (wchar_t& c : safe)
        if (Unsafe(c))
            c = L'_';
    wchar_t stamp[32] = {};
    std::swprintf(stamp, 32, L"_%04d%02d%02d-%02d%02d%02d.txt", now.year, now.month, now.day, now.hour, now.minute,
                  now.second);
    return L"ZEV_" + safe + stamp;
}

} // namespace console
