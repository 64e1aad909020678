// Calls that newer Windows versions have and older ones lack, looked up at run
// time, so that the program still starts where they are missing.
#pragma once

#include <windows.h>

namespace korbela {

// The function `name` of the system library `module`, which the program has
// already loaded, or null when that Windows version has no such function.
template <typename Function>
Function LoadedSystemFunction(const char* module, const char* name) {
    const HMODULE library = GetModuleHandleA(module);
    if (library == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace korbela
