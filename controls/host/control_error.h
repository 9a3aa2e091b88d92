// Errors a control reports to its caller (never thrown across components), with the numbers and
// Spanish descriptions the program's message boxes show, and the application's title that those
// boxes carry. Platform-neutral.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace host {

struct ControlError {
    std::int32_t number = 0;
    std::wstring description;
    std::wstring source; // the routine or property that raised it, e.g. "Propiedad Skin"
    bool operator==(const ControlError&) const = default;
};

// A setter or operation that may fail: nothing on success.
using ControlResult = std::optional<ControlError>;

constexpr std::int32_t kErrOverflow = 6;
constexpr std::int32_t kErrOutOfMemory = 7;
constexpr std::int32_t kErrSubscriptOutOfRange = 9;
constexpr std::int32_t kErrInvalidPropertyValue = 380;
constexpr std::int32_t kErrInvalidPicture = 481;

// The standard description for a number ("Error N" for one this program never raises).
std::wstring ErrorDescription(std::int32_t number);
ControlError MakeError(std::int32_t number, std::wstring source = {});

// The title of the program's message boxes ("ZEV Config" unless the program sets another).
const std::wstring& ApplicationTitle();
void SetApplicationTitle(std::wstring title);

} // namespace host
