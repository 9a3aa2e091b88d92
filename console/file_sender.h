// "Enviar archivo…" sends its lines one at a time, so a device without flow control is never overrun:
// the first at once, each next when the device's prompt (">") has come back, or after 2 s when it does
// not come. Platform-neutral over the caller's clock (milliseconds) and the bytes the device sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace console {

class FileSender {
public:
    static constexpr std::uint64_t kPromptWaitMs = 2000;

    // Lines as DecodeFileToSend gives them; the first is due at once.
    void Start(std::vector<std::string> lines);
    void Cancel();
    // Sending, or waiting for the device to take the last line.
    bool Active() const { return active_; }
    // Lines written so far, and in all.
    std::size_t Sent() const { return sent_; }
    std::size_t Total() const { return lines_.size(); }

    // What the device sent: a ">" after a line break since the last line was written is its prompt
    // (the echo of the line itself ends with the line break it was sent with).
    void Received(std::string_view bytes);
    // The line to write now, if one is due. After the last line the same wait ends the send.
    std::optional<std::string> Due(std::uint64_t nowMs);

private:
    std::vector<std::string> lines_;
    std::size_t sent_ = 0;
    bool active_ = false;
    bool lineBreakSeen_ = false;
    bool promptBack_ = false;
    std::uint64_t writtenAt_ = 0;
};

} // namespace console
