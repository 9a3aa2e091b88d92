// Every message box and event-log entry of the program goes through Notify, so a test can record
// them instead of blocking on a dialog (or writing to a log nobody reads).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win {

struct Notice {
    enum class Kind { MessageBox, EventLog } kind = Kind::MessageBox;
    HWND owner = nullptr;
    std::wstring text;
    std::wstring title; // message box title, or the event source
    UINT flags = MB_OK; // MB_ style for a message box; EVENTLOG_*_TYPE for a log entry
};

// Returns what MessageBoxW would (IDOK ...); for a log entry, nonzero when it was written.
using NoticeHandler = std::function<int(const Notice&)>;

int Notify(const Notice& notice);
// Replaces the handler; returns the previous one. An empty handler restores the real dialogs.
NoticeHandler SetNoticeHandler(NoticeHandler handler);

inline int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
    return Notify({Notice::Kind::MessageBox, owner, text, title, flags});
}
inline int LogEvent(const std::wstring& source, const std::wstring& text, UINT type) {
    return Notify({Notice::Kind::EventLog, nullptr, text, source, type});
}

} // namespace win
