// Base64 (RFC 4648 alphabet, '=' padding): how pictures travel in a saved set's text form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

std::string Base64Encode(const std::vector<std::uint8_t>& bytes);
// Strict: nothing for a character outside the alphabet, a wrong length or misplaced padding.
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

} // namespace host
