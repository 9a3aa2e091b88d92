#pragma once
// Chains window procedures the way comctl32's SetWindowSubclass does, with the same procedure
// signature, but keeps the chain in a per-thread table instead of window properties. Under Wine every
// message through a SetWindowSubclass window costs three property lookups in the wine server; the
// main window sees a timer message ten times a second and the status bar's labels repaint every
// second, so that cost was most of what the idle program spends.
//
// Only for Unicode windows of the calling thread (the chain is installed with SetWindowLongPtrW).
#include <windows.h>

#include <commctrl.h>

namespace win {

// Installs proc on hwnd (newest runs first); the same proc and id again only changes data.
bool SetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
// Safe from inside the procedure itself. When the last one goes and nobody subclassed the window
// after us, the original procedure is put back; otherwise the chain stays as a pass-through.
bool RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
// Passes a message on to the next procedure of the chain (from inside a subclass procedure).
LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace win
