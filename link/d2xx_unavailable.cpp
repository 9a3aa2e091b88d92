#include "link/d2xx_types.h"

namespace d2xx {
namespace {

FT_STATUS D2XX_CALL NoListDevices(void*, void*, DWORD) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoOpenEx(void*, DWORD, FT_HANDLE*) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoSetBaudRate(FT_HANDLE, std::uint32_t) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoSetDataCharacteristics(FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t) {
    return FT_OTHER_ERROR;
}
FT_STATUS D2XX_CALL NoSetFlowControl(FT_HANDLE, std::uint16_t, std::uint8_t, std::uint8_t) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoSetTimeouts(FT_HANDLE, std::uint32_t, std::uint32_t) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoSetChars(FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) {
    return FT_OTHER_ERROR;
}
FT_STATUS D2XX_CALL NoGetQueueStatus(FT_HANDLE, DWORD*) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoRead(FT_HANDLE, void*, DWORD, DWORD*) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoWrite(FT_HANDLE, void*, DWORD, DWORD*) { return FT_OTHER_ERROR; }
FT_STATUS D2XX_CALL NoClose(FT_HANDLE) { return FT_OTHER_ERROR; }

} // namespace

const DriverTable& UnavailableDriver() {
    static const DriverTable table{NoListDevices, NoOpenEx,         NoSetBaudRate, NoSetDataCharacteristics,
                                   NoSetFlowControl, NoSetTimeouts, NoSetChars,    NoGetQueueStatus,
                                   NoRead,           NoWrite,       NoClose};
    return table;
}

} // namespace d2xx
