#include "link/device_catalog.h"

#include <algorithm>
#include <cstring>

namespace devlink {

void AssignField(TextField& field, std::string_view text) {
    const std::size_t n = std::min(text.size(), field.size());
    std::copy_n(text.data(), n, field.begin());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(n), field.end(), ' ');
}

std::string FieldText(const TextField& field) {
    const void* nul = std::memchr(field.data(), '\0', field.size());
    const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field.data()) : field.size();
    return std::string(field.data(), n);
}

bool DeviceCatalog::EnumerateDevices() {
    d2xx::DWORD count = 0;
    if (driver_.ListDevices(&count, nullptr, d2xx::FT_LIST_NUMBER_ONLY) != d2xx::FT_OK)
        return false;
    // More devices than slots: the first eleven are listed and nothing is written beyond them.
    lNumDevices = static_cast<std::int32_t>(std::min<d2xx::DWORD>(count, kCatalogSlots));
    for (std::int32_t i = 0; i < lNumDevices; ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        QuerySlot(index, d2xx::FT_LIST_BY_INDEX | d2xx::FT_OPEN_BY_DESCRIPTION, sDescriptions[index]);
        QuerySlot(index, d2xx::FT_LIST_BY_INDEX | d2xx::FT_OPEN_BY_SERIAL_NUMBER, sSerialNumbers[index]);
    }
    return true;
}

void DeviceCatalog::QuerySlot(std::uint32_t index, d2xx::DWORD flag, TextField& field) {
    for (int attempt = 0; attempt < kByIndexAttempts; ++attempt) {
        // The driver writes its NUL-terminated text at the buffer's start; the bytes behind the NUL
        // keep what the field held. A failed call leaves the field alone.
        TextField buffer = field;
        // The index travels by value in the pointer argument, as the driver expects.
        void* byValue = reinterpret_cast<void*>(static_cast<std::uintptr_t>(index));
        if (driver_.ListDevices(byValue, buffer.data(), flag) == d2xx::FT_OK) {
            field = buffer;
            return;
        }
    }
    field.fill('\0'); // the device went away: an empty text, so no list item is made of it
}

bool DeviceCatalog::IsCatalogChanged() const {
    if (lNumDevices != lPrevNumDevices)
        return true;
    std::int32_t matches = 0;
    for (std::int32_t j = 0; j < lNumDevices; ++j) {
        const auto& current = sSerialNumbers[static_cast<std::size_t>(j)];
        if (std::find(sPrevSerialNumbers.begin(), sPrevSerialNumbers.end(), current) != sPrevSerialNumbers.end())
            ++matches;
    }
    return matches != lNumDevices;
}

void DeviceCatalog::TakeSnapshot() {
    for (std::size_t i = 0; i < sPrevSerialNumbers.size(); ++i) {
        if (static_cast<std::int32_t>(i) < lNumDevices)
            sPrevSerialNumbers[i] = sSerialNumbers[i];
        else
            sPrevSerialNumbers[i].fill(' ');
    }
    lPrevNumDevices = lNumDevices;
}

} // namespace devlink
