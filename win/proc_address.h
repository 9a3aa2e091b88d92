// A DLL's exported function as a pointer of its exact type, for functions looked up at run time
// (newer system calls, the driver's entry points).
#pragma once

#include <windows.h>

namespace win {

// Null when the module is not loaded or does not export the name.
template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    return proc ? reinterpret_cast<Fn>(reinterpret_cast<void*>(proc)) : nullptr;
}

} // namespace win
