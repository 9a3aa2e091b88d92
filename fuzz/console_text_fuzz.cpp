// Whatever a device sends, the console text stays within its limit and the pump never reads or
// writes out of bounds. The first bytes choose how much console text there is already.
#include "console/console_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static const console::AnsiTable table = console::Latin1Table();
    const std::size_t existing = (data[0] | (data[1] << 8)) % (console::kConsoleLimit + 1);
    std::wstring text = L">";
    for (std::size_t i = 1; i < existing; ++i)
        text += (i % 40 == 0) ? L'\n' : static_cast<wchar_t>(L'a' + i % 26);
    const std::string_view received(reinterpret_cast<const char*>(data + 2), size - 2);
    // Several ticks of the same bytes, as a chatty device would send them.
    for (int tick = 0; tick < 3; ++tick) {
        console::ApplyReceived(text, received, table);
        if (text.size() > console::kConsoleLimit || text.find(L'\0') != std::wstring::npos)
            std::abort();
    }
    return 0;
}
