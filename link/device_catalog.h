// The attached D2XX devices as the last enumeration found them, and the snapshot of what the
// device finder last listed. Platform-neutral: the driver comes in as a table.
#pragma once

#include "link/d2xx_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace devlink {

constexpr std::size_t kFieldLength = 256; // every text field holds exactly this many ANSI bytes
constexpr int kCatalogSlots = 11;         // driver indices 0 to 10

using TextField = std::array<char, kFieldLength>;

// A shorter text is padded with spaces, a longer one cut.
void AssignField(TextField& field, std::string_view text);
// The field's text up to its first NUL; a field without NUL yields all of it and nothing beyond.
std::string FieldText(const TextField& field);

class DeviceCatalog {
public:
    explicit DeviceCatalog(const d2xx::DriverTable& driver) : driver_(driver) {}

    std::array<TextField, kCatalogSlots> sSerialNumbers{};
    std::array<TextField, kCatalogSlots> sDescriptions{};
    std::array<TextField, kCatalogSlots> sPrevSerialNumbers{};
    std::int32_t lNumDevices = 0;     // never above kCatalogSlots, never negative
    std::int32_t lPrevNumDevices = 0;

    // Count query, then the description and serial number of each device. False when the count
    // query fails; the text fields are then untouched.
    bool EnumerateDevices();
    // True when the current devices differ from the snapshot, ignoring order. Meant for
    // lNumDevices >= 1.
    bool IsCatalogChanged() const;
    void TakeSnapshot();

    // How often a failing by-index query is tried before the slot is given up as empty: a device
    // unplugged between the count and the by-index query fails for good.
    static constexpr int kByIndexAttempts = 5;

private:
    void QuerySlot(std::uint32_t index, d2xx::DWORD flag, TextField& field);

    const d2xx::DriverTable& driver_;
};

} // namespace devlink
