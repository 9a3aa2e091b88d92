// The clock's texts: the current date in the system's short date format and the current time in
// its long time format (hours, minutes and seconds); and how wide the status panels must be for them.
#pragma once

#include "console/clock_panels.h"
#include "controls/statusbar/skin_status_bar.h"

#include <windows.h>

#include <string>

namespace console {

std::wstring ShortDateText(const SYSTEMTIME& when);
std::wstring LongTimeText(const SYSTEMTIME& when);
SYSTEMTIME LocalNow();

// The three panels' widths in the bar's pixels for the user's regional format: the widest short date of
// the year and the widest long time, measured in the font the bar's panel labels show.
StartPanelWidths ClockPanelWidths(const statusbar::SkinStatusBar& bar, int year);

} // namespace console
