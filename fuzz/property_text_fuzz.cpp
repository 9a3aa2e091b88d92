// Saved property sets read from text: any bytes are read whole or refused with a line, and what is
// read writes back to a text that reads to the same set.
#include "controls/host/property_text.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = host::ParsePropertyText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result) {
        if (result.line < 1 || result.error.empty())
            std::abort();
        return 0;
    }
    const auto again = host::ParsePropertyText(host::PropertyText(*result.bag));
    if (!again || !(*again.bag == *result.bag))
        std::abort(); // the text form must round-trip
    return 0;
}
