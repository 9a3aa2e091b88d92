#include "controls/host/property_text.h"

#include "controls/host/base64.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace host {
namespace {

constexpr bool kWideIs16Bit = sizeof(wchar_t) == 2;

// ---- writing ----------------------------------------------------------------------------------

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendEscape(std::string& out, std::uint32_t unit) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\u{%X}", static_cast<unsigned>(unit));
    out += buf;
}

// Any sequence of wide units survives: lone surrogates and control characters go as \u{...}.
void AppendQuoted(std::string& out, std::wstring_view s) {
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto u = static_cast<std::uint32_t>(s[i]) & (kWideIs16Bit ? 0xFFFFu : 0xFFFFFFFFu);
        switch (u) {
        case '\\':
            out += "\\\\";
            continue;
        case '"':
            out += "\\\"";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            AppendEscape(out, u);
        } else if (u >= 0xD800 && u <= 0xDBFF && kWideIs16Bit && i + 1 < s.size() &&
                   (static_cast<std::uint32_t>(s[i + 1]) & 0xFFFF) >= 0xDC00 &&
                   (static_cast<std::uint32_t>(s[i + 1]) & 0xFFFF) <= 0xDFFF) {
            const std::uint32_t low = static_cast<std::uint32_t>(s[i + 1]) & 0xFFFF;
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            ++i;
        } else if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) {
            AppendEscape(out, u);
        } else {
            AppendUtf8(out, u);
        }
    }
    out += '"';
}

void AppendName(std::string& out, std::wstring_view name) {
    for (wchar_t c : name)
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::uint32_t>(c) & (kWideIs16Bit ? 0xFFFFu : 0xFFFFFFFFu)));
}

std::string FormatSize(double size) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, size);
    return std::string(buf, r.ptr);
}

void AppendValue(std::string& out, const PropertyValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        out += *b ? "True" : "False";
    } else if (const auto* n = std::get_if<std::int32_t>(&value)) {
        out += std::to_string(*n);
    } else if (const auto* c = std::get_if<Colour>(&value)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "&H%08X&", static_cast<unsigned>(c->value));
        out += buf;
    } else if (const auto* s = std::get_if<std::wstring>(&value)) {
        AppendQuoted(out, *s);
    } else if (const auto* f = std::get_if<FontDesc>(&value)) {
        out += "Font(";
        AppendQuoted(out, f->name);
        out += ", " + FormatSize(f->size);
        if (f->bold)
            out += ", Bold";
        if (f->italic)
            out += ", Italic";
        if (f->underline)
            out += ", Underline";
        if (f->strikethrough)
            out += ", Strikethrough";
        if (f->charset != 0)
            out += ", Charset=" + std::to_string(f->charset);
        out += ")";
    } else if (const auto* p = std::get_if<Picture>(&value)) {
        out += "Picture(";
        if (!p->IsNone())
            out += Base64Encode(bmp::Encode(p->raster));
        out += ")";
    }
}

// ---- reading ----------------------------------------------------------------------------------

struct Fault {
    std::wstring what;
};

void AppendWide(std::wstring& out, char32_t cp) {
    if (kWideIs16Bit && cp >= 0x10000) {
        out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

// One code point of strict UTF-8 at s[i] (advances i); nothing for a malformed sequence.
std::optional<char32_t> NextUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0)
        len = 2, cp = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0)
        len = 3, cp = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0)
        len = 4, cp = b0 & 0x07;
    else
        return std::nullopt;
    if (i + static_cast<std::size_t>(len) > s.size())
        return std::nullopt;
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt; // overlong, out of range or an encoded surrogate
    i += static_cast<std::size_t>(len);
    return cp;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

class ValueReader {
public:
    explicit ValueReader(std::string_view s) : s_(s) {}

    PropertyValue Read() {
        SkipBlanks();
        PropertyValue v = ReadAny();
        SkipBlanks();
        if (pos_ != s_.size())
            throw Fault{L"sobra texto después del valor"};
        return v;
    }

private:
    PropertyValue ReadAny() {
        if (pos_ >= s_.size())
            throw Fault{L"falta el valor"};
        const char c = s_[pos_];
        if (c == '"')
            return ReadString();
        if (c == '&')
            return ReadColour();
        if (c == '-' || c == '+' || (c >= '0' && c <= '9'))
            return ReadLong();
        const std::string_view word = ReadWord();
        if (EqualsNoCase(word, "true"))
            return true;
        if (EqualsNoCase(word, "false"))
            return false;
        if (EqualsNoCase(word, "font"))
            return ReadFont();
        if (EqualsNoCase(word, "picture"))
            return ReadPicture();
        throw Fault{L"valor no reconocido"};
    }

    std::string_view ReadWord() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && ((s_[pos_] >= 'a' && s_[pos_] <= 'z') || (s_[pos_] >= 'A' && s_[pos_] <= 'Z')))
            ++pos_;
        return s_.substr(start, pos_ - start);
    }

    std::int32_t ReadLong() {
        const std::size_t start = pos_;
        if (s_[pos_] == '+' || s_[pos_] == '-')
            ++pos_;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9')
            ++pos_;
        std::string_view digits = s_.substr(start, pos_ - start);
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        std::int32_t v = 0;
        const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (r.ec == std::errc::result_out_of_range)
            throw Fault{L"número fuera del intervalo de 32 bits"};
        if (r.ec != std::errc() || r.ptr != digits.data() + digits.size())
            throw Fault{L"número no válido"};
        return v;
    }

    Colour ReadColour() {
        if (s_.substr(pos_, 2) != "&H" && s_.substr(pos_, 2) != "&h")
            throw Fault{L"color no válido"};
        pos_ += 2;
        const std::size_t start = pos_;
        while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
        const std::size_t n = pos_ - start;
        if (n == 0 || n > 8 || pos_ >= s_.size() || s_[pos_] != '&')
            throw Fault{L"color no válido"};
        ++pos_;
        std::uint32_t v = 0;
        std::from_chars(s_.data() + start, s_.data() + start + n, v, 16);
        return Colour{v};
    }

    std::wstring ReadString() {
        ++pos_; // opening quote
        std::wstring out;
        while (true) {
            if (pos_ >= s_.size())
                throw Fault{L"texto sin comillas de cierre"};
            const char c = s_[pos_];
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c == '\\') {
                ReadEscape(out);
                continue;
            }
            const auto cp = NextUtf8(s_, pos_);
            if (!cp)
                throw Fault{L"texto UTF-8 no válido"};
            AppendWide(out, *cp);
        }
    }

    void ReadEscape(std::wstring& out) {
        ++pos_;
        if (pos_ >= s_.size())
            throw Fault{L"secuencia de escape no válida"};
        const char c = s_[pos_++];
        switch (c) {
        case '\\':
            out += L'\\';
            return;
        case '"':
            out += L'"';
            return;
        case 'n':
            out += L'\n';
            return;
        case 'r':
            out += L'\r';
            return;
        case 't':
            out += L'\t';
            return;
        case 'u':
            break;
        default:
            throw Fault{L"secuencia de escape no válida"};
        }
        if (pos_ >= s_.size() || s_[pos_] != '{')
            throw Fault{L"secuencia de escape no válida"};
        const std::size_t start = ++pos_;
        while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
        const std::size_t n = pos_ - start;
        if (n == 0 || n > 6 || pos_ >= s_.size() || s_[pos_] != '}')
            throw Fault{L"secuencia de escape no válida"};
        ++pos_;
        std::uint32_t v = 0;
        std::from_chars(s_.data() + start, s_.data() + start + n, v, 16);
        if (v > 0x10FFFF)
            throw Fault{L"secuencia de escape no válida"};
        // A surrogate named by an escape is kept as the single unit it names.
        if (v >= 0xD800 && v <= 0xDFFF)
            out += static_cast<wchar_t>(v);
        else
            AppendWide(out, v);
    }

    void Expect(char c, const wchar_t* fault) {
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != c)
            throw Fault{fault};
        ++pos_;
        SkipBlanks();
    }

    FontDesc ReadFont() {
        constexpr const wchar_t* bad = L"fuente no válida";
        FontDesc f;
        Expect('(', bad);
        if (pos_ >= s_.size() || s_[pos_] != '"')
            throw Fault{bad};
        f.name = ReadString();
        Expect(',', bad);
        const std::size_t start = pos_;
        while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                                    s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '-' || s_[pos_] == '+'))
            ++pos_;
        const auto r = std::from_chars(s_.data() + start, s_.data() + pos_, f.size);
        if (pos_ == start || r.ec != std::errc() || r.ptr != s_.data() + pos_ || !std::isfinite(f.size) || f.size <= 0)
            throw Fault{bad};
        SkipBlanks();
        while (pos_ < s_.size() && s_[pos_] == ',') {
            ++pos_;
            SkipBlanks();
            const std::string_view flag = ReadWord();
            if (EqualsNoCase(flag, "bold"))
                f.bold = true;
            else if (EqualsNoCase(flag, "italic"))
                f.italic = true;
            else if (EqualsNoCase(flag, "underline"))
                f.underline = true;
            else if (EqualsNoCase(flag, "strikethrough"))
                f.strikethrough = true;
            else if (EqualsNoCase(flag, "charset")) {
                Expect('=', bad);
                const std::size_t at = pos_;
                while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])))
                    ++pos_;
                const auto cr = std::from_chars(s_.data() + at, s_.data() + pos_, f.charset);
                if (pos_ == at || cr.ec != std::errc())
                    throw Fault{bad};
            } else
                throw Fault{bad};
            SkipBlanks();
        }
        Expect(')', bad);
        return f;
    }

    Picture ReadPicture() {
        constexpr const wchar_t* bad = L"imagen no válida";
        Expect('(', bad);
        const std::size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != ')' && !IsBlank(s_[pos_]))
            ++pos_;
        const std::string_view data = s_.substr(start, pos_ - start);
        Expect(')', bad);
        if (data.empty())
            return Picture{};
        const auto bytes = Base64Decode(data);
        if (!bytes)
            throw Fault{bad};
        auto raster = bmp::Decode(*bytes);
        if (!raster)
            throw Fault{bad};
        return Picture{std::move(*raster)};
    }

    void SkipBlanks() {
        while (pos_ < s_.size() && IsBlank(s_[pos_]))
            ++pos_;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::wstring DecodeName(std::string_view s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size();) {
        const auto cp = NextUtf8(s, i);
        if (!cp)
            throw Fault{L"texto UTF-8 no válido"};
        AppendWide(out, *cp);
    }
    return out;
}

} // namespace

std::string PropertyText(const PropertyBag& bag) {
    std::string out;
    for (const auto& e : bag.Entries()) {
        AppendName(out, e.name);
        out += " = ";
        AppendValue(out, e.value);
        out += '\n';
    }
    return out;
}

PropertyTextResult ParsePropertyText(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    PropertyBag bag;
    int lineNo = 0;
    while (!text.empty() || lineNo == 0) {
        ++lineNo;
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        try {
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos)
                throw Fault{L"falta el signo '=' entre el nombre y el valor"};
            const std::wstring name = DecodeName(Trim(line.substr(0, eq)));
            if (name.empty())
                throw Fault{L"falta el nombre de la propiedad"};
            if (!IsValidPropertyName(name))
                throw Fault{L"el nombre de propiedad \"" + name + L"\" no es válido"};
            if (bag.Contains(name))
                throw Fault{L"la propiedad \"" + name + L"\" aparece más de una vez"};
            PropertyValue value = ValueReader(line.substr(eq + 1)).Read();
            bag.Write(name, value);
        } catch (const Fault& f) {
            PropertyTextResult result;
            result.line = lineNo;
            result.error = L"Línea " + std::to_wstring(lineNo) + L": " + f.what;
            return result;
        }
    }
    PropertyTextResult result;
    result.bag = std::move(bag);
    return result;
}

} // namespace host
