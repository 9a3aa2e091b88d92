#include "console/console_text.h"

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
        }
    }

private:
    std::wstring& out_;
};

void KeepWithinLimit(std::wstring& text) {
    if (text.size() <= kConsoleLimit)
        return;
    std::size_t start = text.size() - kConsoleLimit;
    for (std::size_t i = start; i + 1 < text.size(); ++i) {
        if (text[i] == kCr && text[i + 1] == kLf) {
            start = i; // the kept text begins with that line break
            break;
        }
    }
    text.erase(0, start);
}

} // namespace

AnsiTable Latin1Table() {
    AnsiTable table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = static_cast<wchar_t>(b);
    return table;
}

void ApplyReceived(std::wstring& consoleText, std::string_view received, const AnsiTable& table) {
    std::wstring out;
    out.reserve(consoleText.size() + 2 * received.size());
    EraseAwareText text(out);
    // The console text may hold a sequence of its own (it is taken as it stands), so it goes
    // through the same pass.
    for (wchar_t c : consoleText)
        text.Push(c);
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
    KeepWithinLimit(out);
    consoleText = std::move(out);
}

} // namespace console
