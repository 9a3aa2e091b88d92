#include "controls/host/property_bag.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

wchar_t FoldCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c - L'A' + L'a');
    // Latin-1 capitals (À to Þ, without ×): Spanish names may carry Ñ or accented letters.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<wchar_t>(c + 0x20);
    return c;
}

// A value of the wanted kind, or null. Numbers and colours stand in for each other.
template <typename T> const T* As(const PropertyValue* v) {
    return v ? std::get_if<T>(v) : nullptr;
}

// Values the text form can carry back unchanged: a picture whose pixels match its size and that a
// .bmp file can hold, a font of a finite size.
bool IsStorable(const PropertyValue& v) {
    if (const auto* p = std::get_if<Picture>(&v)) {
        const auto& r = p->raster;
        if (p->IsNone())
            return true;
        return r.width <= bmp::kMaxSide && r.height <= bmp::kMaxSide &&
               r.pixels.size() == static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
    }
    if (const auto* f = std::get_if<FontDesc>(&v))
        return std::isfinite(f->size) && f->size > 0;
    return true;
}

} // namespace

bool SamePropertyName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

bool IsValidPropertyName(std::wstring_view name) {
    if (name.empty() || name.size() > 255)
        return false;
    return std::all_of(name.begin(), name.end(), [](wchar_t c) {
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
            return true;
        if (c == L'_' || c == L'.' || c == L'-')
            return true;
        // Non-ASCII, past the C1 controls; but not the byte-order mark, which a reader of the text
        // form takes for the file's signature.
        return static_cast<std::uint32_t>(c) >= 0xA0 && c != 0xFEFF;
    });
}

const PropertyValue* PropertyBag::Find(std::wstring_view name) const {
    for (const auto& e : entries_)
        if (SamePropertyName(e.name, name))
            return &e.value;
    return nullptr;
}

bool PropertyBag::Remove(std::wstring_view name) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const PropertyEntry& e) { return SamePropertyName(e.name, name); });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

// Every picture without pixels is the same "none", whatever size or pixel fields it carries.
static PropertyValue Normalised(const PropertyValue& v) {
    if (const auto* p = std::get_if<Picture>(&v); p && p->IsNone())
        return Picture{};
    return v;
}

bool PropertyBag::Write(std::wstring_view name, const PropertyValue& rawValue,
                        const std::optional<PropertyValue>& defaultValue) {
    if (!IsValidPropertyName(name) || !IsStorable(rawValue))
        return false;
    const PropertyValue value = Normalised(rawValue);
    if (defaultValue && Normalised(*defaultValue) == value) {
        Remove(name);
        return true;
    }
    for (auto& e : entries_) {
        if (SamePropertyName(e.name, name)) {
            e.value = value;
            return true;
        }
    }
    entries_.push_back({std::wstring(name), value});
    return true;
}

bool PropertyBag::WriteBool(std::wstring_view name, bool value, std::optional<bool> defaultValue) {
    return defaultValue ? Write(name, value, PropertyValue(*defaultValue)) : Write(name, value);
}
bool PropertyBag::WriteLong(std::wstring_view name, std::int32_t value, std::optional<std::int32_t> defaultValue) {
    return defaultValue ? Write(name, value, PropertyValue(*defaultValue)) : Write(name, value);
}
bool PropertyBag::WriteColour(std::wstring_view name, std::uint32_t value, std::optional<std::uint32_t> defaultValue) {
    return defaultValue ? Write(name, Colour{value}, PropertyValue(Colour{*defaultValue})) : Write(name, Colour{value});
}
bool PropertyBag::WriteString(std::wstring_view name, std::wstring_view value,
                              std::optional<std::wstring_view> defaultValue) {
    const PropertyValue v{std::wstring(value)};
    return defaultValue ? Write(name, v, PropertyValue(std::wstring(*defaultValue))) : Write(name, v);
}
bool PropertyBag::WriteFont(std::wstring_view name, const FontDesc& value,
                            const std::optional<FontDesc>& defaultValue) {
    return defaultValue ? Write(name, value, PropertyValue(*defaultValue)) : Write(name, value);
}
bool PropertyBag::WritePicture(std::wstring_view name, const Picture& value,
                               const std::optional<Picture>& defaultValue) {
    return defaultValue ? Write(name, value, PropertyValue(*defaultValue)) : Write(name, value);
}

bool PropertyBag::ReadBool(std::wstring_view name, bool defaultValue) const {
    const auto* v = As<bool>(Find(name));
    return v ? *v : defaultValue;
}
std::int32_t PropertyBag::ReadLong(std::wstring_view name, std::int32_t defaultValue) const {
    const PropertyValue* found = Find(name);
    if (const auto* v = As<std::int32_t>(found))
        return *v;
    if (const auto* c = As<Colour>(found))
        return static_cast<std::int32_t>(c->value);
    return defaultValue;
}
std::uint32_t PropertyBag::ReadColour(std::wstring_view name, std::uint32_t defaultValue) const {
    const PropertyValue* found = Find(name);
    if (const auto* c = As<Colour>(found))
        return c->value;
    if (const auto* v = As<std::int32_t>(found))
        return static_cast<std::uint32_t>(*v);
    return defaultValue;
}
std::wstring PropertyBag::ReadString(std::wstring_view name, std::wstring_view defaultValue) const {
    const auto* v = As<std::wstring>(Find(name));
    return v ? *v : std::wstring(defaultValue);
}
FontDesc PropertyBag::ReadFont(std::wstring_view name, const FontDesc& defaultValue) const {
    const auto* v = As<FontDesc>(Find(name));
    return v ? *v : defaultValue;
}
Picture PropertyBag::ReadPicture(std::wstring_view name, const Picture& defaultValue) const {
    const auto* v = As<Picture>(Find(name));
    return v ? *v : defaultValue;
}

} // namespace host
