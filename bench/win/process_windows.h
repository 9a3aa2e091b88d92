// The windows of another process as the measuring tools see them: found by class name within a
// process, their texts read, counted, waited for.
#pragma once

#include "sim/sim_api.h"

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

// What a person would see of the process's windows (pid 0: of every process), for a failure report:
// each visible top-level window and its descendants, one line each, indented by depth: class,
// text, "hidden"/"disabled"/"focus" where so, and a list box's items with its selection. A message
// box shows as a #32770 window with its text.
std::string DescribeWindows(DWORD pid);
// The same for one top-level window (visible or not).
std::string DescribeWindow(HWND top);

// The counters the simulated driver publishes in that process (sim/sim_api.h), or null when it
// publishes none (another driver, or not loaded yet). The view stays mapped until the tool ends.
const sim::api::PublishedCounters* SimCounters(DWORD pid);

} // namespace measure
