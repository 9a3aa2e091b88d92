// One test of this binary run again in a new Wine process, for another regional format (Wine takes it
// from the Unix locale at start-up) or Wine's debug traces in a file. Wine builds a Unix program's
// environment from the block it is given (not a Windows child's), so /bin/sh starts the child: it lets go
// of this process's standard streams, sends the child's output to files here and ends it after a limit.
#pragma once

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace testsupport {

// The child's environment names the test it runs.
inline bool IsChildRun() {
    return GetEnvironmentVariableW(L"ZEV_CHILD_TEST", nullptr, 0) > 0;
}

inline std::string ReadFileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ChildRun {
    int exitCode = -1;  // -1: it did not end within its time; -2: it ran no test of that name
    std::string output; // its standard output: the test's report
};

// Runs the test named ("Suite.Name") in a new process of this binary with these variables set in its
// environment (ZEV_STDERR: a file in the current folder for its standard error), and waits for its end.
inline ChildRun RunTestInChild(const std::string& test, const std::map<std::wstring, std::wstring>& set) {
    const std::wstring base = L"zev_child_" + std::to_wstring(GetCurrentProcessId());
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    wchar_t loader[MAX_PATH] = {}; // Wine's own variables are not passed on to a Unix program
    GetEnvironmentVariableW(L"WINELOADER", loader, MAX_PATH);
    std::map<std::wstring, std::wstring> env{{L"ZEV_CHILD_TEST", std::wstring(test.begin(), test.end())},
                                             {L"ZEV_CHILD_EXE", exe},
                                             {L"ZEV_CHILD_BASE", base},
                                             {L"ZEV_CHILD_WINE", loader}};
    env.insert(set.begin(), set.end());
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
            if (const wchar_t* eq = wcschr(p + 1, L'='))
                env.emplace(std::wstring(p, eq), eq + 1); // what is set above wins
        FreeEnvironmentStringsW(block);
    }
    env.erase(L"GTEST_OUTPUT"); // this process's report, which the child would write over
    std::wstring block;
    for (const auto& [name, value] : env)
        block += name + L"=" + value + L'\0';
    block += L'\0';
    std::wstring command =
        LR"(/bin/sh -c "exec </dev/null >/dev/null 2>&1; PATH=/usr/bin:/bin; )"
        LR"(timeout -k 5 240 \"$ZEV_CHILD_WINE\" \"$ZEV_CHILD_EXE\" \"--gtest_filter=$ZEV_CHILD_TEST\" --gtest_also_run_disabled_tests )"
        LR"(>\"$ZEV_CHILD_BASE.out\" 2>\"${ZEV_STDERR:-/dev/null}\"; )"
        LR"(echo $? >\"$ZEV_CHILD_BASE.part\"; mv \"$ZEV_CHILD_BASE.part\" \"$ZEV_CHILD_BASE.status\"")";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ChildRun run;
    // A Unix program: Wine gives no handle to wait on, so the status file says when it ended.
    if (CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       block.data(), nullptr, &si, &pi)) {
        for (const DWORD end = GetTickCount() + 260'000;
             GetFileAttributesW((base + L".status").c_str()) == INVALID_FILE_ATTRIBUTES &&
             static_cast<LONG>(end - GetTickCount()) > 0;)
            Sleep(100);
        std::istringstream(ReadFileText(base + L".status")) >> run.exitCode;
        run.output = ReadFileText(base + L".out");
        // A name that matches no test would pass unseen: the report must show it run.
        if (run.exitCode == 0 && run.output.find("[       OK ] " + test + " (") == std::string::npos)
            run.exitCode = -2;
    }
    for (const wchar_t* ext : {L".status", L".out"})
        DeleteFileW((base + ext).c_str());
    return run;
}

// Live GDI objects of this process after its latest allocation or release, as the end of Wine's trace
// (WINEDEBUG=+pid,+gdi) in the file says: each "alloc_gdi_handle allocated ... N/65536" line counts the
// new object in, each "free_gdi_handle freed ... N/65536" line still counts the one freed. -1: no line.
inline long LiveGdiObjects(const std::wstring& trace) {
    std::ifstream in(trace.c_str(), std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg(), from = size > (1 << 20) ? size - (1 << 20) : 0;
    std::string text(static_cast<std::size_t>(size - from), '\0');
    in.seekg(from).read(text.data(), static_cast<std::streamsize>(text.size()));
    char pid[16];
    std::snprintf(pid, sizeof(pid), "\n%04lx:", GetCurrentProcessId());
    // From the last whole line of ours back: the one after it may still be being written.
    for (std::size_t at = text.rfind(pid); at != std::string::npos && at > 0; at = text.rfind(pid, at - 1)) {
        const std::size_t end = text.find('\n', at + 1);
        const std::string line = text.substr(at, end == std::string::npos ? 0 : end - at);
        const bool freed = line.find(":free_gdi_handle freed ") != std::string::npos;
        if (freed || line.find(":alloc_gdi_handle allocated ") != std::string::npos)
            return std::stol(line.substr(line.find_last_of(' ') + 1)) - (freed ? 1 : 0);
    }
    return -1;
}

} // namespace testsupport
