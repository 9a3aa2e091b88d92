// One test of this binary run again in a new Wine process, for what a running process cannot give
// itself: another regional format (Wine takes it from the Unix locale when a process starts) or Wine's
// debug traces in a file of its own. Wine hands a Windows child its parent's Unix environment and
// standard error whatever the child's environment block and start-up handles say, but builds the
// environment of a Unix program it starts from the block: so the child is started through /bin/sh,
// which sends its output to files and ends it after a time limit whatever becomes of this process.
#pragma once

#include "win/proc_address.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace testsupport {

// Set in the child's environment: a test that starts a child knows it is the child.
inline bool IsChildRun() {
    return GetEnvironmentVariableW(L"ZEV_TEST_CHILD", nullptr, 0) > 0;
}

// A Windows path as Wine's Unix side names it (empty when not under Wine).
inline std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = win::ProcAddress<ToUnix>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    const std::string out = unix ? unix : "";
    if (unix)
        HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

inline std::string ReadFileText(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ChildRun {
    int exitCode = -1;  // -1: it did not end within its time
    std::string output; // its standard output: the test's report
};

// Runs the test named (gtest's "Suite.Name") in a new process of this binary, with these variables set
// in its environment (a Windows path as value of ZEV_STDERR sends its standard error to that file), and
// waits for it to end.
inline ChildRun RunTestInChild(const std::string& test, const std::map<std::wstring, std::wstring>& set) {
    constexpr int kLimitSeconds = 240;
    wchar_t exe[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"zev_child_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(GetTickCount());
    const std::wstring script = base + L".sh", out = base + L".out", status = base + L".status";
    const auto it = set.find(L"ZEV_STDERR");
    const std::wstring err = it != set.end() ? it->second : base + L".err";
    const auto quoted = [](const std::string& s) {
        std::string q = "'";
        for (char c : s)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    char loader[MAX_PATH] = {};
    GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH);
    std::string exeA(MAX_PATH * 2, '\0');
    exeA.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, exe, -1, exeA.data(), static_cast<int>(exeA.size()), nullptr, nullptr) - 1));
    {
        std::ofstream sh{std::filesystem::path(script), std::ios::binary};
        sh << "PATH=/usr/bin:/bin\n"
           << "exec <" << "/dev/null >" << quoted(UnixPath(out)) << " 2>" << quoted(UnixPath(err)) << "\n"
           << "timeout -k 5 " << kLimitSeconds << ' ' << quoted(loader) << ' ' << quoted(exeA)
           << " --gtest_filter=" << quoted(test) << "\n"
           << "echo $? >" << quoted(UnixPath(status) + ".part") << " && mv " << quoted(UnixPath(status) + ".part")
           << ' ' << quoted(UnixPath(status)) << "\n";
    }
    // This process's environment, less its test report's file (the child would write over it), with the
    // changes asked for.
    std::map<std::wstring, std::wstring> env;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            const std::wstring v(p);
            const std::size_t eq = v.find(L'=', 1);
            if (eq != std::wstring::npos)
                env[v.substr(0, eq)] = v.substr(eq + 1);
        }
        FreeEnvironmentStringsW(block);
    }
    env.erase(L"GTEST_OUTPUT");
    env[L"ZEV_TEST_CHILD"] = L"1";
    for (const auto& [name, value] : set)
        env[name] = value;
    std::wstring block;
    for (const auto& [name, value] : env)
        block += name + L"=" + value + L'\0';
    block += L'\0';

    std::wstring command = L"/bin/sh " + std::wstring(L"\"") + std::filesystem::path(UnixPath(script)).wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ChildRun run;
    // A Unix program: Wine returns no handle to wait on, so the shell's status file says it ended.
    if (CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       block.data(), nullptr, &si, &pi)) {
        if (pi.hProcess)
            CloseHandle(pi.hProcess);
        if (pi.hThread)
            CloseHandle(pi.hThread);
        const DWORD end = GetTickCount() + (kLimitSeconds + 20) * 1000;
        while (GetFileAttributesW(status.c_str()) == INVALID_FILE_ATTRIBUTES &&
               static_cast<LONG>(end - GetTickCount()) > 0)
            Sleep(100);
        std::istringstream(ReadFileText(status)) >> run.exitCode;
        run.output = ReadFileText(out);
    }
    for (const std::wstring& f : {script, out, status})
        DeleteFileW(f.c_str());
    if (it == set.end())
        DeleteFileW(err.c_str());
    return run;
}

// Live GDI objects of this process after its latest allocation or release, as Wine's trace
// (WINEDEBUG=+pid,+gdi) in the file says: each "alloc_gdi_handle allocated ... N/65536" line counts the
// new object in, each "free_gdi_handle freed ... N/65536" line still counts the one freed. -1: no line.
inline long LiveGdiObjects(const std::wstring& trace) {
    std::ifstream in{std::filesystem::path(trace), std::ios::binary | std::ios::ate};
    const std::streamoff size = in.tellg();
    const std::streamoff from = size > (1 << 20) ? size - (1 << 20) : 0;
    std::string tail(static_cast<std::size_t>(size - from), '\0');
    in.seekg(from);
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    char pid[16];
    std::snprintf(pid, sizeof(pid), "%04lx:", GetCurrentProcessId());
    // Only whole lines: the last one may still be being written.
    for (std::size_t end = tail.rfind('\n'); end != std::string::npos && end > 0;) {
        const std::size_t start = tail.rfind('\n', end - 1);
        const std::size_t first = start == std::string::npos ? 0 : start + 1;
        const std::string line = tail.substr(first, end - first);
        end = start;
        if (start == std::string::npos && from > 0)
            break; // cut by where the reading began
        const bool freed = line.find(":free_gdi_handle freed ") != std::string::npos;
        if (!line.starts_with(pid) || (!freed && line.find(":alloc_gdi_handle allocated ") == std::string::npos))
            continue;
        const std::size_t count = line.find_last_of(' ') + 1;
        return std::stol(line.substr(count)) - (freed ? 1 : 0);
    }
    return -1;
}

} // namespace testsupport
