// The session as the console showed it since the last connect or clear, whole: the console itself keeps
// only its last 5000 characters, "Copiar todo" and "Guardar como…" want everything. Platform-neutral.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace console {

class SessionLog {
public:
    // What is kept at most; older text is dropped, and the log says its start was cut.
    static constexpr std::size_t kDefaultLimit = std::size_t{16} << 20;
    explicit SessionLog(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    // The console's text after a connect or a clear (its prompt): the session starts again.
    void Reset(std::string_view shown);
    // A receive tick's bytes, as the console shows them: every LF dropped, every CR as CR LF, NUL
    // dropped, each BS SP BS taking the one character in front of it with it. The bytes stay in the code
    // page they came in.
    void Append(std::string_view received);

    std::string_view Text() const { return std::string_view(buffer_).substr(begin_); }
    // More was shown than kept: the text starts at the first line after the cut.
    bool StartCut() const { return cut_; }
    // What "Guardar como…" writes: the text, after cutNote and CR LF when its start was cut.
    std::string FileBytes(std::string_view cutNote) const;

private:
    void Push(char c);
    void KeepWithinLimit();

    std::size_t limit_;
    std::string buffer_;
    // The text starts here: dropping the front moves it, and the buffer is compacted only once an eighth
    // of the limit was dropped, so a stream at full speed does not move megabytes on every tick.
    std::size_t begin_ = 0;
    bool cut_ = false;
};

} // namespace console
