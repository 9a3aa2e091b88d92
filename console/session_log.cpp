#include "console/session_log.h"

#include <algorithm>

namespace console {

void SessionLog::Reset(std::string_view shown) {
    // A long session's memory goes back now, not when the next one has grown as large.
    buffer_.clear();
    buffer_.shrink_to_fit();
    buffer_.assign(shown);
    begin_ = 0;
    cut_ = false;
    KeepWithinLimit();
}

void SessionLog::Append(std::string_view received) {
    // At its limit the buffer holds the kept text, what was dropped in front of it since the last
    // compaction, and one tick's bytes (twice: CR becomes CR LF); it never needs to double beyond that.
    const std::size_t most = buffer_.size() + 2 * received.size();
    if (most > buffer_.capacity() && most > limit_)
        buffer_.reserve(std::max(most, limit_ + limit_ / 8 + 2 * received.size()));
    for (char c : received) {
        if (c == '\0' || c == '\n') // a text box cannot hold a NUL; only CR makes a line break
            continue;
        Push(c);
        if (c == '\r')
            Push('\n');
    }
    KeepWithinLimit();
}

void SessionLog::Push(char c) {
    buffer_.push_back(c);
    // As the console does it: the text never holds an erase sequence, so one can only complete at the end.
    const std::size_t n = buffer_.size();
    if (n - begin_ >= 3 && buffer_[n - 1] == '\b' && buffer_[n - 2] == ' ' && buffer_[n - 3] == '\b')
        // Erased rather than resized: the shrink cannot grow, and GCC 12 at -O3 warns about resize's
        // growing branch (a false -Wrestrict).
        buffer_.erase(n - 3 > begin_ ? n - 4 : n - 3); // at the very start, only the sequence
}

void SessionLog::KeepWithinLimit() {
    const std::size_t size = buffer_.size() - begin_;
    if (size > limit_) {
        std::size_t from = buffer_.size() - limit_;
        // The kept text begins with a whole line when there is a line break to start from.
        if (const std::size_t lineEnd = buffer_.find("\r\n", from); lineEnd != std::string::npos)
            from = lineEnd + 2;
        begin_ = from;
        cut_ = true;
    }
    if (begin_ > 0 && (begin_ >= buffer_.size() / 2 || begin_ > limit_ / 8)) {
        buffer_.erase(0, begin_);
        begin_ = 0;
    }
}

std::string SessionLog::FileBytes(std::string_view cutNote) const {
    std::string bytes;
    if (cut_) {
        bytes.reserve(cutNote.size() + 2 + Text().size());
        bytes.append(cutNote).append("\r\n");
    }
    bytes.append(Text());
    return bytes;
}

} // namespace console
