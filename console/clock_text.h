// The clock's texts: the current date in the system's short date format and the current time in
// its long time format (hours, minutes and seconds).
#pragma once

#include <windows.h>

#include <string>

namespace console {

std::wstring ShortDateText(const SYSTEMTIME& when);
std::wstring LongTimeText(const SYSTEMTIME& when);
SYSTEMTIME LocalNow();

} // namespace console
