#include "console/file_to_send.h"

#include <cstdio>
#include <map>
#include <optional>
#include <type_traits>

namespace console {
namespace {

using Problem = FileToSend::Problem;

// Characters one at a time from the file's encoding; nullopt at the end, kBad for a malformed sequence.
constexpr char32_t kBad = 0xFFFFFFFF;

class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view s) : s_(s) {}
    std::optional<char32_t> Next() {
        if (at_ >= s_.size())
            return std::nullopt;
        const auto b0 = Byte(at_++);
        if (b0 < 0x80)
            return b0;
        const int extra = b0 >= 0xF0 && b0 <= 0xF4 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : -1;
        if (extra < 0 || b0 > 0xF4)
            return kBad;
        char32_t c = b0 & (0x3F >> extra);
        for (int i = 0; i < extra; ++i) {
            if (at_ >= s_.size() || (Byte(at_) & 0xC0) != 0x80)
                return kBad;
            c = (c << 6) | (Byte(at_++) & 0x3F);
        }
        constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
        if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return kBad; // overlong, beyond Unicode, or a surrogate
        return c;
    }

private:
    unsigned Byte(std::size_t i) const { return static_cast<unsigned char>(s_[i]); }
    std::string_view s_;
    std::size_t at_ = 0;
};

class Utf16Reader {
public:
    Utf16Reader(std::string_view s, bool bigEndian) : s_(s), big_(bigEndian) {}
    std::optional<char32_t> Next() {
        if (at_ >= s_.size())
            return std::nullopt;
        const std::optional<char32_t> unit = Unit();
        if (!unit)
            return kBad; // an odd byte at the end
        if (*unit >= 0xD800 && *unit <= 0xDBFF) {
            const std::optional<char32_t> low = Unit();
            if (!low || *low < 0xDC00 || *low > 0xDFFF)
                return kBad;
            return 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
        }
        return *unit >= 0xDC00 && *unit <= 0xDFFF ? kBad : *unit;
    }

private:
    std::optional<char32_t> Unit() {
        if (s_.size() - at_ < 2)
            return std::nullopt;
        const auto a = static_cast<unsigned char>(s_[at_]), b = static_cast<unsigned char>(s_[at_ + 1]);
        at_ += 2;
        return big_ ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    }
    std::string_view s_;
    bool big_;
    std::size_t at_ = 0;
};

class AnsiReader {
public:
    AnsiReader(std::string_view s, const AnsiTable& table) : s_(s), table_(table) {}
    std::optional<char32_t> Next() {
        if (at_ >= s_.size())
            return std::nullopt;
        last_ = s_[at_++];
        const auto b = static_cast<unsigned char>(last_);
        // Byte 0 is a NUL whatever the table says.
        return b == 0 ? char32_t{0} : static_cast<char32_t>(table_[b]);
    }
    // The byte the last character came from: one that no character stands for (the lead byte of a
    // double-byte code page, shown as "?") must not go out as another.
    char LastByte() const { return last_; }

private:
    std::string_view s_;
    const AnsiTable& table_;
    std::size_t at_ = 0;
    char last_ = 0;
};

// The one byte that stands for each character of the code page.
std::map<char32_t, char> ByteOfCharacter(const AnsiTable& table) {
    std::map<char32_t, char> bytes;
    for (std::size_t b = 1; b < table.size(); ++b)
        bytes.emplace(static_cast<char32_t>(table[b]), static_cast<char>(b)); // the first byte of a character
    return bytes;
}

template <typename Reader> FileToSend Split(Reader reader, const AnsiTable& table, Problem malformed) {
    const std::map<char32_t, char> byteOf = ByteOfCharacter(table);
    FileToSend out;
    std::string line;
    std::size_t number = 1;
    bool afterCr = false;
    const auto refuse = [&](Problem p, char32_t c) {
        FileToSend refused;
        refused.problem = p;
        refused.line = number;
        refused.character = c;
        return refused;
    };
    while (const std::optional<char32_t> c = reader.Next()) {
        if (*c == U'\n' && afterCr) { // the LF of a CR LF: the line already ended
            afterCr = false;
            continue;
        }
        afterCr = *c == U'\r';
        if (*c == U'\r' || *c == U'\n') {
            out.lines.push_back(line + '\r');
            line.clear();
            ++number;
            continue;
        }
        if (*c == kBad)
            return refuse(malformed, 0);
        if (*c == 0)
            return refuse(Problem::Nul, 0);
        const auto byte = byteOf.find(*c);
        bool mapped = byte != byteOf.end();
        if constexpr (std::is_same_v<Reader, AnsiReader>)
            mapped = mapped && byte->second == reader.LastByte();
        if (!mapped)
            return refuse(Problem::Unmappable, *c);
        line += byte->second;
    }
    if (!line.empty())
        out.lines.push_back(line); // nothing added after the last line
    if (out.lines.empty())
        out.problem = Problem::Empty;
    return out;
}

} // namespace

FileToSend DecodeFileToSend(std::string_view file, const AnsiTable& table) {
    if (file.size() > kMaxFileToSend) {
        FileToSend refused;
        refused.problem = Problem::TooLarge;
        return refused;
    }
    if (file.starts_with("\xEF\xBB\xBF"))
        return Split(Utf8Reader(file.substr(3)), table, Problem::BadUtf8);
    if (file.starts_with("\xFF\xFE"))
        return Split(Utf16Reader(file.substr(2), false), table, Problem::BadUtf16);
    if (file.starts_with("\xFE\xFF"))
        return Split(Utf16Reader(file.substr(2), true), table, Problem::BadUtf16);
    return Split(AnsiReader(file, table), table, Problem::None);
}

std::wstring RefusalText(const FileToSend& decoded) {
    const std::wstring line = L"El archivo no se puede enviar: la línea " + std::to_wstring(decoded.line);
    switch (decoded.problem) {
    case Problem::None:
        break;
    case Problem::TooLarge:
        return L"El archivo no se puede enviar: tiene más de 64 KB.";
    case Problem::Empty:
        return L"El archivo está vacío: no hay nada que enviar.";
    case Problem::Nul:
        return line + L" contiene un carácter nulo.";
    case Problem::Unmappable: {
        wchar_t code[16] = {};
        std::swprintf(code, 16, L"U+%04X", static_cast<unsigned>(decoded.character));
        return line + L" contiene un carácter (" + code + L") que la página de códigos del sistema no tiene.";
    }
    case Problem::BadUtf8:
        return line + L" no es texto UTF-8 válido.";
    case Problem::BadUtf16:
        return line + L" no es texto UTF-16 válido.";
    }
    return {};
}

} // namespace console
