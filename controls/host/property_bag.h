// Saved property set: the named values a form keeps for each control instance, in the order they
// were written. Platform-neutral.
//
// - Names are matched without regard to letter case ("Skin", "skin" and "SKIN" are one entry); the
//   spelling of the first write is kept.
// - Write with a default: a value equal to its default is not stored (an entry already there under
//   that name is dropped, so the set never keeps a stale value). Without a default it is always stored.
// - Read with a default: a missing entry, or one of another kind, reads as the default. Numbers and
//   colours read as each other (both are 32-bit numbers).
// - Text form: one `Name = value` line per entry (see property_text.h).
#pragma once

#include "controls/host/property_value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct PropertyEntry {
    std::wstring name;
    PropertyValue value;
    bool operator==(const PropertyEntry&) const = default;
};

// Whether two names are the same property (letter case ignored; ASCII and Latin-1 letters).
bool SamePropertyName(std::wstring_view a, std::wstring_view b);
// A name the text form can carry: 1 to 255 characters, letters, digits, '_', '.', '-' or any
// non-ASCII character that is not a control character.
bool IsValidPropertyName(std::wstring_view name);

class PropertyBag {
public:
    // Each returns false (and changes nothing) for a name that IsValidPropertyName refuses, a picture
    // whose pixel count does not match its size (or larger than 65536 pixels a side), or a font
    // whose size is not a positive finite number.
    bool WriteBool(std::wstring_view name, bool value, std::optional<bool> defaultValue = std::nullopt);
    bool WriteLong(std::wstring_view name, std::int32_t value, std::optional<std::int32_t> defaultValue = std::nullopt);
    bool WriteColour(std::wstring_view name, std::uint32_t value,
                     std::optional<std::uint32_t> defaultValue = std::nullopt);
    bool WriteString(std::wstring_view name, std::wstring_view value,
                     std::optional<std::wstring_view> defaultValue = std::nullopt);
    bool WriteFont(std::wstring_view name, const FontDesc& value,
                   const std::optional<FontDesc>& defaultValue = std::nullopt);
    bool WritePicture(std::wstring_view name, const Picture& value,
                      const std::optional<Picture>& defaultValue = std::nullopt);
    bool Write(std::wstring_view name, const PropertyValue& value,
               const std::optional<PropertyValue>& defaultValue = std::nullopt);

    bool ReadBool(std::wstring_view name, bool defaultValue) const;
    std::int32_t ReadLong(std::wstring_view name, std::int32_t defaultValue) const;
    std::uint32_t ReadColour(std::wstring_view name, std::uint32_t defaultValue) const;
    std::wstring ReadString(std::wstring_view name, std::wstring_view defaultValue) const;
    FontDesc ReadFont(std::wstring_view name, const FontDesc& defaultValue) const;
    Picture ReadPicture(std::wstring_view name, const Picture& defaultValue = {}) const;

    // The stored value, or null when the set has no entry of that name.
    const PropertyValue* Find(std::wstring_view name) const;
    bool Contains(std::wstring_view name) const { return Find(name) != nullptr; }
    bool Remove(std::wstring_view name);
    void Clear() { entries_.clear(); }
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const std::vector<PropertyEntry>& Entries() const { return entries_; }

    bool operator==(const PropertyBag&) const = default;

private:
    std::vector<PropertyEntry> entries_;
};

} // namespace host
