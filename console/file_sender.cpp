#include "console/file_sender.h"

#include <utility>

namespace console {

void FileSender::Start(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    sent_ = 0;
    active_ = !lines_.empty();
}

void FileSender::Cancel() {
    active_ = false;
    lines_.clear();
    sent_ = 0;
}

void FileSender::Received(std::string_view bytes) {
    if (!active_ || sent_ == 0)
        return;
    for (char c : bytes) {
        if (c == '\r' || c == '\n')
            lineBreakSeen_ = true;
        else if (c == '>' && lineBreakSeen_)
            promptBack_ = true;
    }
}

std::optional<std::string> FileSender::Due(std::uint64_t nowMs) {
    if (!active_)
        return std::nullopt;
    if (sent_ > 0 && !promptBack_ && nowMs - writtenAt_ < kPromptWaitMs)
        return std::nullopt; // the device is still on the last line
    if (sent_ == lines_.size()) {
        Cancel(); // it took the last line
        return std::nullopt;
    }
    lineBreakSeen_ = promptBack_ = false;
    writtenAt_ = nowMs;
    return lines_[sent_++];
}

} // namespace console
