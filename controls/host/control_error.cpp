#include "controls/host/control_error.h"

namespace host {

std::wstring ErrorDescription(std::int32_t number) {
    switch (number) {
    case kErrOverflow:
        return L"Desbordamiento";
    case kErrOutOfMemory:
        return L"Memoria insuficiente";
    case kErrSubscriptOutOfRange:
        return L"El subíndice está fuera del intervalo";
    case kErrInvalidPropertyValue:
        return L"El valor de la propiedad no es válido";
    case kErrInvalidPicture:
        return L"La imagen no es válida";
    default:
        return L"Error " + std::to_wstring(number);
    }
}

ControlError MakeError(std::int32_t number, std::wstring source) {
    return ControlError{number, ErrorDescription(number), std::move(source)};
}

namespace {
std::wstring& Title() {
    static std::wstring title = L"ZEV Config";
    return title;
}
} // namespace

const std::wstring& ApplicationTitle() {
    return Title();
}
void SetApplicationTitle(std::wstring title) {
    Title() = std::move(title);
}

} // namespace host
