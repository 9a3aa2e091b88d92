// The window hook's message tables and the keys of its record collection. Platform-neutral: the
// rules are tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace toolbarskin {

constexpr int kTableSize = 32;
// As a message number: every message. As a table's count: the table holds every message.
constexpr std::int32_t kAllMessages = -1;

// A count and up to 32 message numbers. A deleted entry is 0 and stays counted until it is reused.
struct MessageTable {
    std::int32_t count = 0;
    std::array<std::int32_t, kTableSize> entries{};
    bool operator==(const MessageTable&) const = default;
};

enum class TableEdit { Changed, Unchanged, Overflow, NotFound };

// Adds a message (kAllMessages: every message). A message already present changes nothing; otherwise
// it takes the first free entry, else the next one after the count. A table whose count has reached
// 32 refuses every message, even after deletions left free entries in it.
TableEdit AddTableEntry(MessageTable& table, std::int32_t message);
// Deletes a message (kAllMessages: empties the table). The entry is freed, the count stays.
TableEdit DeleteTableEntry(MessageTable& table, std::int32_t message);
// Message 0 (WM_NULL) marks a free entry, so it is held only by a table of every message.
bool TableHolds(const MessageTable& table, std::uint32_t message);

// "h" followed by the decimal window handle.
std::wstring HookKey(std::uintptr_t window);

// The error texts.
std::wstring OverflowText();
std::wstring NotFoundText(std::int32_t message);
std::wstring MissingRecordText(std::uintptr_t window);

} // namespace toolbarskin
