#include "sim/stream_pattern.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

void MakeLine(std::uint64_t number, char* line) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::memcpy(line, "ZEV stream ", 11);
    for (int i = 19; i >= 11; --i, number /= 10)
        line[i] = static_cast<char>('0' + number % 10);
    line[20] = ' ';
    std::memcpy(line + 21, kLetters, kStreamLineLength - 23);
    line[kStreamLineLength - 2] = '\r';
    line[kStreamLineLength - 1] = '\n';
}

} // namespace

void StreamPattern(std::uint64_t offset, char* out, std::size_t n) {
    char line[kStreamLineLength];
    std::uint64_t number = offset / kStreamLineLength;
    std::size_t column = static_cast<std::size_t>(offset % kStreamLineLength);
    while (n > 0) {
        MakeLine(number++, line);
        const std::size_t take = std::min(n, kStreamLineLength - column);
        std::memcpy(out, line + column, take);
        out += take;
        n -= take;
        column = 0;
    }
}

std::string StreamText(std::uint64_t offset, std::size_t n) {
    std::string text(n, '\0');
    StreamPattern(offset, text.data(), n);
    return text;
}

} // namespace sim
