#include "console/window_icon.h"

#include "console/console_ids.h"
#include "win/window_base.h"

#include <cstdint>
#include <cstring>
#include <map>

namespace console {
namespace {

std::uint32_t Read32(const BYTE* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

// The stored image of the given size, else the smallest larger one (the largest when none is),
// made size x size.
HICON MakeIcon(int size) {
    HMODULE module = win::ThisModule();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDI_PRINCIPAL), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD length = found ? SizeofResource(module, found) : 0;
    if (!data || length < 6 || size <= 0)
        return nullptr;
    // The .ico file form: a 6-byte header, then 16 bytes per image (width, height, ..., size, offset).
    const unsigned count = data[4] | (data[5] << 8);
    const BYTE* best = nullptr;
    int bestWidth = 0;
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= length; ++i) {
        const BYTE* entry = data + 6 + 16 * i;
        const int width = entry[0] == 0 ? 256 : entry[0];
        const std::uint32_t bytes = Read32(entry + 8), offset = Read32(entry + 12);
        if (offset > length || bytes > length - offset)
            continue;
        const bool better = !best || (bestWidth < size ? width > bestWidth : width >= size && width < bestWidth);
        if (better) {
            best = entry;
            bestWidth = width;
        }
    }
    if (!best)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<BYTE*>(data + Read32(best + 12)), Read32(best + 8), TRUE, 0x00030000,
                                    size, size, LR_DEFAULTCOLOR);
}

} // namespace

HICON PrincipalIcon(int size) {
    // Made once per size and kept for the whole run: windows and classes share them.
    static std::map<int, HICON> made;
    auto it = made.find(size);
    if (it == made.end())
        it = made.emplace(size, MakeIcon(size)).first;
    return it->second;
}

} // namespace console
