#include "controls/toolbar/message_table.h"

#include <algorithm>
#include <cwchar>
#include <span>

namespace toolbarskin {
namespace {

// The counted entries (none for a table of every message).
template <typename Table> auto Used(Table& table) {
    return std::span(table.entries).first(static_cast<std::size_t>(std::clamp(table.count, 0, kTableSize)));
}

} // namespace

TableEdit AddTableEntry(MessageTable& table, std::int32_t message) {
    if (message == kAllMessages) {
        table.count = kAllMessages;
        return TableEdit::Changed;
    }
    if (table.count >= kTableSize)
        return TableEdit::Overflow;
    if (table.count < 0)
        table.count = 0; // from every message to exactly this one
    auto used = Used(table);
    // Looked for over the whole table first: placing it in a free entry ahead of a copy would make a
    // later deletion leave the copy behind.
    if (std::find(used.begin(), used.end(), message) != used.end())
        return TableEdit::Unchanged;
    if (auto free = std::find(used.begin(), used.end(), 0); free != used.end()) {
        *free = message;
        return TableEdit::Changed;
    }
    table.entries[static_cast<std::size_t>(table.count++)] = message;
    return TableEdit::Changed;
}

TableEdit DeleteTableEntry(MessageTable& table, std::int32_t message) {
    if (message == kAllMessages) {
        table.count = 0;
        return TableEdit::Changed;
    }
    auto used = Used(table);
    auto found = std::find(used.begin(), used.end(), message);
    if (found == used.end())
        return TableEdit::NotFound;
    *found = 0;
    return TableEdit::Changed;
}

bool TableHolds(const MessageTable& table, std::uint32_t message) {
    if (table.count < 0)
        return true;
    if (message == 0)
        return false;
    auto used = Used(table);
    return std::find(used.begin(), used.end(), static_cast<std::int32_t>(message)) != used.end();
}

std::wstring HookKey(std::uintptr_t window) {
    return L"h" + std::to_wstring(window);
}

std::wstring OverflowText() {
    return L"Message table overflow. Either enlarge the message table or hook all messages instead of specific "
           L"message values";
}

std::wstring NotFoundText(std::int32_t message) {
    wchar_t hex[16] = {};
    std::swprintf(hex, 16, L"%X", static_cast<std::uint32_t>(message));
    return L"Message &H" + std::wstring(hex) + L" not found in table";
}

std::wstring MissingRecordText(std::uintptr_t window) {
    return L"Hook record for window " + std::to_wstring(window) + L" does not exist";
}

} // namespace toolbarskin
