// The simulated driver's configuration file is text anyone can edit: any bytes must parse or be
// refused with a line number, never crash.
#include "sim/sim_world.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int line = 0;
    std::string error;
    const auto config = sim::ParseConfig(std::string_view(reinterpret_cast<const char*>(data), size), &line, &error);
    if (!config && (line < 1 || error.empty()))
        std::abort(); // a refusal must say where and why
    if (config) {
        sim::World world;
        world.Apply(*config);
    }
    return 0;
}
