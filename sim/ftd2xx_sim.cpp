// Our own FTD2XX.DLL: the eleven D2XX functions over the simulated devices, plus entry points
// for tests. Devices and faults come from "ftd2xx_sim.txt" beside the DLL when it exists; the
// file is read again whenever it changes, so another process can plug and unplug devices.
#include "sim/sim_api.h"
#include "sim/sim_world.h"

#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>

#define SIM_EXPORT extern "C" __declspec(dllexport)

namespace {

using d2xx::FT_HANDLE;
using d2xx::FT_STATUS;

HMODULE g_module = nullptr;
std::recursive_mutex g_lock;

sim::World& TheWorld() {
    static sim::World world;
    return world;
}

std::wstring DllFolder() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameW(g_module, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, n);
    const auto slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

struct ConfigWatch {
    bool enabled = true;
    bool seen = false;
    ULONGLONG lookedAt = 0; // GetTickCount64 of the last look at the file
    FILETIME stamp{};
    ULONGLONG size = 0;
};
ConfigWatch g_watch;

// How often the I/O calls look at the file. A look goes through the file system and costs far more
// than a read of a streaming device, which the program makes thousands of times a second; another
// process that rewrites the file cannot tell a look this often from one at every call.
constexpr ULONGLONG kIoRecheckMs = 20;

// Re-reads the configuration file when it appeared, changed or vanished. An I/O call (read, write,
// queue query) looks only when kIoRecheckMs have passed since the last look.
void RefreshFromFile(bool io) {
    if (!g_watch.enabled)
        return;
    const ULONGLONG now = GetTickCount64();
    if (io && now - g_watch.lookedAt < kIoRecheckMs)
        return;
    g_watch.lookedAt = now;
    const std::wstring path = DllFolder() + L"\\ftd2xx_sim.txt";
    WIN32_FILE_ATTRIBUTE_DATA info{};
    const bool exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) != 0;
    const ULONGLONG size = exists ? (ULONGLONG(info.nFileSizeHigh) << 32) | info.nFileSizeLow : 0;
    if (exists == g_watch.seen && (!exists || (CompareFileTime(&info.ftLastWriteTime, &g_watch.stamp) == 0 &&
                                               size == g_watch.size)))
        return;
    g_watch.seen = exists;
    g_watch.stamp = info.ftLastWriteTime;
    g_watch.size = size;
    if (!exists) {
        TheWorld().Apply(sim::DefaultConfig());
        return;
    }
    std::string text;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        fclose(f);
    }
    int line = 0;
    std::string why;
    if (auto config = sim::ParseConfig(text, &line, &why)) {
        TheWorld().Apply(*config);
    } else {
        // A broken file must not pass silently: say where, and keep the devices as they were.
        const std::string message = "ftd2xx_sim.txt line " + std::to_string(line) + ": " + why + "\n";
        OutputDebugStringA(message.c_str());
        fputs(message.c_str(), stderr);
    }
}

// Serialises every call and applies the configuration file first.
struct Call {
    std::lock_guard<std::recursive_mutex> guard{g_lock};
    explicit Call(bool io = false) { RefreshFromFile(io); }
    sim::World& world = TheWorld();
};

// Publishes the counters (sim_api.h) for as long as the process runs; null when that failed, and
// then the driver simply publishes nothing.
sim::api::PublishedCounters* g_counters = nullptr;

void PublishCounters() {
    const std::wstring name = sim::api::kCountersName + std::to_wstring(GetCurrentProcessId());
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(sim::api::PublishedCounters), name.c_str());
    if (!mapping)
        return;
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(sim::api::PublishedCounters));
    if (!view) {
        CloseHandle(mapping);
        return;
    }
    g_counters = static_cast<sim::api::PublishedCounters*>(view);
    g_counters->size = sizeof(sim::api::PublishedCounters);
}

void Count(volatile d2xx::DWORD sim::api::PublishedCounters::*counter) {
    if (g_counters)
        InterlockedIncrement(reinterpret_cast<volatile LONG*>(&(g_counters->*counter)));
}

// A call a "delay" statement holds. The thread still answers messages sent to its windows from
// other threads and processes meanwhile, as it would inside any wait that pumps them: a tool
// outside the program can then act on a window in the middle of the call (select a list item while
// an enumeration is under way), which is what such a delay is for.
void HoldIfDue(const char* function, bool io = false) {
    const d2xx::DWORD ms = Call(io).world.TakeDelay(function);
    for (const ULONGLONG end = GetTickCount64() + ms; ms != 0;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            break;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_SENDMESSAGE) ==
            WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

void LogWritten(const void* data, d2xx::DWORD count) {
    const std::string& name = TheWorld().WriteLogName();
    if (name.empty() || count == 0)
        return;
    const std::wstring path = DllFolder() + L"\\" + std::wstring(name.begin(), name.end());
    if (FILE* f = _wfopen(path.c_str(), L"ab")) {
        fwrite(data, 1, count, f);
        fclose(f);
    }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        PublishCounters();
    }
    return TRUE;
}

SIM_EXPORT FT_STATUS WINAPI FT_ListDevices(void* a1, void* a2, d2xx::DWORD flags) {
    const bool count = (flags & d2xx::FT_LIST_NUMBER_ONLY) != 0;
    HoldIfDue("FT_ListDevices");
    if (count)
        HoldIfDue(sim::kEnumeration);
    const FT_STATUS status = Call().world.ListDevices(a1, a2, flags);
    if (count)
        Count(&sim::api::PublishedCounters::enumerations);
    return status;
}
SIM_EXPORT FT_STATUS WINAPI FT_OpenEx(void* a1, d2xx::DWORD flags, FT_HANDLE* h) {
    HoldIfDue("FT_OpenEx");
    const FT_STATUS status = Call().world.OpenEx(a1, flags, h);
    Count(&sim::api::PublishedCounters::opens);
    return status;
}
SIM_EXPORT FT_STATUS WINAPI FT_SetBaudRate(FT_HANDLE h, ULONG baud) {
    HoldIfDue("FT_SetBaudRate");
    return Call().world.SetBaudRate(h, baud);
}
SIM_EXPORT FT_STATUS WINAPI FT_SetDataCharacteristics(FT_HANDLE h, UCHAR bits, UCHAR stop, UCHAR parity) {
    HoldIfDue("FT_SetDataCharacteristics");
    return Call().world.SetDataCharacteristics(h, bits, stop, parity);
}
SIM_EXPORT FT_STATUS WINAPI FT_SetFlowControl(FT_HANDLE h, USHORT flow, UCHAR xon, UCHAR xoff) {
    HoldIfDue("FT_SetFlowControl");
    return Call().world.SetFlowControl(h, flow, xon, xoff);
}
SIM_EXPORT FT_STATUS WINAPI FT_SetTimeouts(FT_HANDLE h, ULONG readMs, ULONG writeMs) {
    HoldIfDue("FT_SetTimeouts");
    return Call().world.SetTimeouts(h, readMs, writeMs);
}
SIM_EXPORT FT_STATUS WINAPI FT_SetChars(FT_HANDLE h, UCHAR ev, UCHAR evOn, UCHAR err, UCHAR errOn) {
    HoldIfDue("FT_SetChars");
    return Call().world.SetChars(h, ev, evOn, err, errOn);
}
SIM_EXPORT FT_STATUS WINAPI FT_GetQueueStatus(FT_HANDLE h, d2xx::DWORD* rx) {
    HoldIfDue("FT_GetQueueStatus", true);
    return Call(true).world.GetQueueStatus(h, rx);
}
SIM_EXPORT FT_STATUS WINAPI FT_Read(FT_HANDLE h, void* buffer, d2xx::DWORD toRead, d2xx::DWORD* got) {
    HoldIfDue("FT_Read", true);
    return Call(true).world.Read(h, buffer, toRead, got);
}
SIM_EXPORT FT_STATUS WINAPI FT_Write(FT_HANDLE h, void* buffer, d2xx::DWORD toWrite, d2xx::DWORD* written) {
    HoldIfDue("FT_Write", true);
    Call call(true);
    const FT_STATUS status = call.world.Write(h, buffer, toWrite, written);
    if (status == d2xx::FT_OK)
        LogWritten(buffer, toWrite);
    return status;
}
SIM_EXPORT FT_STATUS WINAPI FT_Close(FT_HANDLE h) {
    HoldIfDue("FT_Close");
    return Call().world.Close(h);
}

// ---- test controls ----

SIM_EXPORT void WINAPI SimReset() {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    g_watch = ConfigWatch{};
    g_watch.enabled = false;
    TheWorld().Reset();
}
SIM_EXPORT void WINAPI SimUseConfigFile(d2xx::DWORD on) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    g_watch = ConfigWatch{};
    g_watch.enabled = on != 0;
}
SIM_EXPORT d2xx::DWORD WINAPI SimLoadConfigText(const char* text) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    int line = 0;
    auto config = sim::ParseConfig(text ? text : "", &line, nullptr);
    if (!config)
        return static_cast<d2xx::DWORD>(line);
    TheWorld().Apply(*config);
    return 0;
}
SIM_EXPORT void WINAPI SimPlug(const char* serial, const char* description) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    TheWorld().Plug(serial, description);
}
SIM_EXPORT d2xx::DWORD WINAPI SimUnplug(const char* serial) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    return TheWorld().Unplug(serial) ? 1 : 0;
}
SIM_EXPORT void WINAPI SimFail(const char* function, d2xx::DWORD status, d2xx::DWORD atCall, d2xx::DWORD times) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    TheWorld().SetFault(function, sim::Fault{status, atCall ? atCall : 1, times, 0});
}
SIM_EXPORT void WINAPI SimClearFaults() {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    TheWorld().ClearFaults();
}
SIM_EXPORT d2xx::DWORD WINAPI SimQueueBytes(const char* serial, const void* data, d2xx::DWORD count) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    return TheWorld().QueueBytes(serial, std::string_view(static_cast<const char*>(data), count)) ? 1 : 0;
}
SIM_EXPORT d2xx::DWORD WINAPI SimFlood(const char* serial, d2xx::DWORD count) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    return TheWorld().Flood(serial, count) ? 1 : 0;
}
SIM_EXPORT d2xx::DWORD WINAPI SimReadWritten(const char* serial, void* buffer, d2xx::DWORD capacity) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    const sim::Device* d = TheWorld().Find(serial);
    if (!d)
        return 0;
    const size_t n = std::min<size_t>(capacity, d->written.size());
    if (buffer)
        memcpy(buffer, d->written.data(), n);
    return static_cast<d2xx::DWORD>(d->written.size());
}
SIM_EXPORT void WINAPI SimClearWritten(const char* serial) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    if (sim::Device* d = TheWorld().Find(serial))
        d->written.clear();
}
SIM_EXPORT d2xx::DWORD WINAPI SimCallCount(const char* function) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    return static_cast<d2xx::DWORD>(TheWorld().CallCount(function));
}
SIM_EXPORT d2xx::DWORD WINAPI SimIsOpen(const char* serial) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    const sim::Device* d = TheWorld().Find(serial);
    return d && d->handle ? 1 : 0;
}
SIM_EXPORT d2xx::DWORD WINAPI SimQueuedBytes(const char* serial) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    const sim::Device* d = TheWorld().Find(serial);
    return d ? static_cast<d2xx::DWORD>(d->rx.size()) : 0;
}
SIM_EXPORT d2xx::DWORD WINAPI SimStreamCounts(const char* serial, sim::api::StreamCounts* out) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    const sim::Device* d = TheWorld().Find(serial);
    if (!d || !out)
        return 0;
    const sim::Stream& s = d->stream;
    *out = sim::api::StreamCounts{s.sent, s.read, s.queued, s.purged};
    return 1;
}
SIM_EXPORT d2xx::DWORD WINAPI SimGetSettings(const char* serial, sim::api::Settings* out) {
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    const sim::Device* d = TheWorld().Find(serial);
    if (!d || !out)
        return 0;
    const sim::LineSettings& s = d->settings;
    *out = sim::api::Settings{s.baud,          s.wordLength,     s.stopBits,  s.parity,
                              s.flow,          s.xon,            s.xoff,      s.readTimeoutMs,
                              s.writeTimeoutMs, s.eventChar,     s.eventEnabled, s.errorChar,
                              s.errorEnabled};
    return 1;
}
