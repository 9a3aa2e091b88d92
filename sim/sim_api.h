// Extra entry points of the simulated FTD2XX.DLL, for tests that steer the simulated devices.
// Tests resolve them with GetProcAddress from the DLL the program loaded.
#pragma once

#include "link/d2xx_types.h"

namespace sim::api {

using d2xx::DWORD;

// What the driver publishes for tools outside the program, which cannot call into it: a named
// block of shared memory per process, kCountersName followed by the process id in decimal. A tool
// that drives the device finder waits on these counts for a state it cannot see in the window (the
// finder's list looks the same before and after it is rebuilt).
struct PublishedCounters {
    DWORD size;                  // sizeof(PublishedCounters), for a reader built against another layout
    volatile DWORD enumerations; // count queries answered: each enumeration of the devices starts with one
    volatile DWORD opens;        // FT_OpenEx calls answered, whatever their result
};
inline constexpr wchar_t kCountersName[] = L"Local\\ZevSimCounters.";

struct Settings { // the line settings a device received, for checking what the program set up
    DWORD baud, wordLength, stopBits, parity, flow, xon, xoff, readTimeoutMs, writeTimeoutMs;
    DWORD eventChar, eventEnabled, errorChar, errorEnabled;
};

struct StreamCounts { // a streaming device's byte counts (see the "stream" statement)
    unsigned long long sent, read, queued, purged;
};

// Back to the default devices, no faults, counters zero. Ignores the configuration file until
// SimUseConfigFile(1).
using PFN_SimReset = void(D2XX_CALL*)();
// Loads a configuration text; 0 on success, else the number of the bad line.
using PFN_SimLoadConfigText = DWORD(D2XX_CALL*)(const char* text);
using PFN_SimUseConfigFile = void(D2XX_CALL*)(DWORD on);
using PFN_SimPlug = void(D2XX_CALL*)(const char* serial, const char* description);
using PFN_SimUnplug = DWORD(D2XX_CALL*)(const char* serial);
// The function fails with status on its atCall-th call from now (1-based), for times calls (0: always).
using PFN_SimFail = void(D2XX_CALL*)(const char* function, DWORD status, DWORD atCall, DWORD times);
using PFN_SimClearFaults = void(D2XX_CALL*)();
using PFN_SimQueueBytes = DWORD(D2XX_CALL*)(const char* serial, const void* data, DWORD count);
using PFN_SimFlood = DWORD(D2XX_CALL*)(const char* serial, DWORD count);
// Copies up to capacity bytes of what was written to the device; returns the total written.
using PFN_SimReadWritten = DWORD(D2XX_CALL*)(const char* serial, void* buffer, DWORD capacity);
using PFN_SimClearWritten = void(D2XX_CALL*)(const char* serial);
using PFN_SimCallCount = DWORD(D2XX_CALL*)(const char* function);
using PFN_SimIsOpen = DWORD(D2XX_CALL*)(const char* serial);
using PFN_SimGetSettings = DWORD(D2XX_CALL*)(const char* serial, Settings* out);
using PFN_SimQueuedBytes = DWORD(D2XX_CALL*)(const char* serial);
// 0 for an unknown device.
using PFN_SimStreamCounts = DWORD(D2XX_CALL*)(const char* serial, StreamCounts* out);

} // namespace sim::api
