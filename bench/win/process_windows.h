// The windows of another process as the measuring tools see them: found by class name within a
// process, their texts read, counted, waited for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace measure {

std::wstring TextOf(HWND hwnd);

// Top-level windows of the process (visible or not), and its message-only windows.
std::vector<HWND> TopLevelWindows(DWORD pid);
std::vector<HWND> MessageOnlyWindows(DWORD pid);
std::vector<HWND> Descendants(HWND parent);
// Every USER window the process owns: top-level, message-only and all their descendants.
int CountWindows(DWORD pid);

// The process's first visible top-level window of that class (empty class: any), or null.
HWND FindTopLevel(DWORD pid, const wchar_t* className);
// The first descendant of that class (empty: any) whose text contains text, or null.
HWND FindDescendant(HWND parent, const wchar_t* className, const std::wstring& text);

// Polls every 10 ms until pred holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs);

} // namespace measure
