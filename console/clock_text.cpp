#include "console/clock_text.h"

namespace console {

std::wstring ShortDateText(const SYSTEMTIME& when) {
    wchar_t text[128] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, 128) <= 0)
        return {};
    return text;
}

std::wstring LongTimeText(const SYSTEMTIME& when) {
    wchar_t text[128] = {};
    // No flags and no picture: the user's long time format.
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, text, 128) <= 0)
        return {};
    return text;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

} // namespace console
