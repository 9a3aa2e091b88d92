// The D2XX driver interface as the program uses it: types, constants and a typed table of the
// eleven functions. No windows.h here, so the link logic also builds and is tested natively.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define D2XX_CALL __stdcall
#else
#define D2XX_CALL
#endif

namespace d2xx {

using FT_STATUS = std::uint32_t; // ULONG on Windows: 32 bits on x86 and x64
using FT_HANDLE = void*;         // pointer-sized: 64 bits on x64
using DWORD = std::uint32_t;

enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_INVALID_BAUD_RATE = 7,
    FT_NOT_SUPPORTED = 17,
    FT_OTHER_ERROR = 18,
};

constexpr DWORD FT_LIST_NUMBER_ONLY = 0x80000000u;
constexpr DWORD FT_LIST_BY_INDEX = 0x40000000u;
constexpr DWORD FT_LIST_ALL = 0x20000000u;
constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;

constexpr std::uint8_t FT_BITS_8 = 8;
constexpr std::uint8_t FT_STOP_BITS_1 = 0;
constexpr std::uint8_t FT_PARITY_NONE = 0;
constexpr std::uint16_t FT_FLOW_NONE = 0;

using PFN_ListDevices = FT_STATUS(D2XX_CALL*)(void* arg1, void* arg2, DWORD flags);
using PFN_OpenEx = FT_STATUS(D2XX_CALL*)(void* arg1, DWORD flags, FT_HANDLE* handle);
using PFN_SetBaudRate = FT_STATUS(D2XX_CALL*)(FT_HANDLE, std::uint32_t baud);
using PFN_SetDataCharacteristics = FT_STATUS(D2XX_CALL*)(FT_HANDLE, std::uint8_t wordLength,
                                                         std::uint8_t stopBits, std::uint8_t parity);
using PFN_SetFlowControl = FT_STATUS(D2XX_CALL*)(FT_HANDLE, std::uint16_t flow, std::uint8_t xon,
                                                 std::uint8_t xoff);
using PFN_SetTimeouts = FT_STATUS(D2XX_CALL*)(FT_HANDLE, std::uint32_t readMs, std::uint32_t writeMs);
using PFN_SetChars = FT_STATUS(D2XX_CALL*)(FT_HANDLE, std::uint8_t eventChar, std::uint8_t eventEnabled,
                                           std::uint8_t errorChar, std::uint8_t errorEnabled);
using PFN_GetQueueStatus = FT_STATUS(D2XX_CALL*)(FT_HANDLE, DWORD* rxBytes);
using PFN_Read = FT_STATUS(D2XX_CALL*)(FT_HANDLE, void* buffer, DWORD toRead, DWORD* returned);
using PFN_Write = FT_STATUS(D2XX_CALL*)(FT_HANDLE, void* buffer, DWORD toWrite, DWORD* written);
using PFN_Close = FT_STATUS(D2XX_CALL*)(FT_HANDLE);

// Exactly the functions the program calls; nothing else of the driver is used.
struct DriverTable {
    PFN_ListDevices ListDevices = nullptr;
    PFN_OpenEx OpenEx = nullptr;
    PFN_SetBaudRate SetBaudRate = nullptr;
    PFN_SetDataCharacteristics SetDataCharacteristics = nullptr;
    PFN_SetFlowControl SetFlowControl = nullptr;
    PFN_SetTimeouts SetTimeouts = nullptr;
    PFN_SetChars SetChars = nullptr;
    PFN_GetQueueStatus GetQueueStatus = nullptr;
    PFN_Read Read = nullptr;
    PFN_Write Write = nullptr;
    PFN_Close Close = nullptr;
};

// A table whose every function fails with FT_OTHER_ERROR and touches none of its arguments:
// what the program runs on when the driver library cannot be loaded.
const DriverTable& UnavailableDriver();

} // namespace d2xx
