// What a streaming simulated device sends: numbered 64-byte lines, endlessly. Every byte follows
// from its position in the stream, so whoever knows how many bytes went by can tell exactly what
// the tail of the stream must look like, and so prove that nothing was lost or reordered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// Each line: "ZEV stream " + a 9-digit line number + letters + CR LF.
constexpr std::size_t kStreamLineLength = 64;

// Copies n bytes of the stream, starting at byte offset from its start, into out.
void StreamPattern(std::uint64_t offset, char* out, std::size_t n);

// The bytes [offset, offset + n) of the stream as a string.
std::string StreamText(std::uint64_t offset, std::size_t n);

} // namespace sim
