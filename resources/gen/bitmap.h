// What the bitmap generators share: the pixels they paint and write in the bitmap and icon file forms
// (bmp/), and the files themselves. Platform-neutral.
#pragma once

#include "bmp/bmp_file.h"
#include "bmp/ico_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gen {

using bmp::Raster;
using bmp::Rgb;

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path);

} // namespace gen
