#include "console/console_text.h"

#include <algorithm>
#include <cstdint>

namespace console {
namespace {

constexpr wchar_t kCr = L'\r';
constexpr wchar_t kLf = L'\n';
constexpr wchar_t kBs = L'\b';
constexpr wchar_t kSp = L' ';

// The text built so far never holds an erase sequence. A sequence can only appear when a character
// is added, and then only at the end; since it is the earliest one in the whole text (nothing
// before it matched, and anything later starts later), removing it at once gives the same result
// as searching from the start each time. What is left after a removal is a prefix of a text that
// held no sequence, so it holds none either.
class EraseAwareText {
public:
    explicit EraseAwareText(std::wstring& out) : out_(out) {}

    void Push(wchar_t c) {
        out_.push_back(c);
        const std::size_t n = out_.size();
        if (n >= 3 && out_[n - 1] == kBs && out_[n - 2] == kSp && out_[n - 3] == kBs) {
            // The sequence and the one character in front of it, whatever that is.
            out_.resize(n > 3 ? n - 4 : 0);
            lowest_ = std::min(lowest_, out_.size());
        }
    }
    // The fewest characters the text held after a removal: below that, nothing was ever touched.
    std::size_t Lowest() const { return lowest_; }

private:
    std::wstring& out_;
    std::size_t lowest_ = SIZE_MAX;
};

// Returns how many characters were cut from the front.
std::size_t KeepWithinLimit(std::wstring& text) {
    if (text.size() <= kConsoleLimit)
        return 0;
    std::size_t start = text.size() - kConsoleLimit;
    for (std::size_t i = start; i + 1 < text.size(); ++i) {
        if (text[i] == kCr && text[i + 1] == kLf) {
            start = i; // the kept text begins with that line break
            break;
        }
    }
    text.erase(0, start);
    return start;
}

// Where the received bytes begin that alone decide the whole console, or npos: the shortest tail
// that yields more than kConsoleLimit characters and holds no BS, so that nothing in it can erase.
// The text is then over the limit, which keeps only its last kConsoleLimit characters; no character
// of such a tail can be removed, so whatever came before it (the old text, an erase further back)
// cannot show. A device streaming at full speed brings hundreds of kilobytes a tick; only this tail
// is decoded.
std::size_t DecidingTail(std::string_view received, const AnsiTable& table) {
    std::size_t characters = 0;
    for (std::size_t i = received.size(); i-- > 0;) {
        const auto b = static_cast<unsigned char>(received[i]);
        if (b == 0x00)
            continue;
        const wchar_t c = table[b];
        if (c == kBs)
            return std::string_view::npos;
        characters += c == kCr ? 2 : c == kLf ? 0 : 1;
        if (characters > kConsoleLimit)
            return i;
    }
    return std::string_view::npos;
}

} // namespace

AnsiTable Latin1Table() {
    AnsiTable table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = static_cast<wchar_t>(b);
    return table;
}

std::wstring DecodeAnsi(std::string_view bytes, const AnsiTable& table) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        if (byte != '\0')
            text += table[static_cast<unsigned char>(byte)];
    return text;
}

ConsoleChange ApplyReceived(std::wstring& consoleText, std::string_view received, const AnsiTable& table) {
    std::wstring out;
    EraseAwareText text(out);
    ConsoleChange change;
    const std::size_t tail = DecidingTail(received, table);
    if (tail != std::string_view::npos) {
        // The whole console comes from the tail: neither the old text nor the bytes before the tail
        // can reach it, so they are not decoded. The box is given everything anew.
        received.remove_prefix(tail);
        out.reserve(2 * received.size());
    } else {
        out.reserve(consoleText.size() + 2 * received.size());
        // The console text may hold a sequence of its own (it is taken as it stands), so it goes
        // through the same pass.
        for (wchar_t c : consoleText)
            text.Push(c);
    }
    for (char byte : received) {
        const auto b = static_cast<unsigned char>(byte);
        if (b == 0x00) // a text box cannot hold it
            continue;
        const wchar_t c = table[b];
        if (c == kLf) // dropped: only CR makes a line break
            continue;
        text.Push(c);
        if (c == kCr)
            text.Push(kLf);
    }
    if (tail == std::string_view::npos)
        change.kept = std::min(consoleText.size(), text.Lowest());
    change.cutFront = KeepWithinLimit(out);
    consoleText = std::move(out);
    return change;
}

} // namespace console
