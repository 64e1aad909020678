// One registration of a window class per process, however many windows of it
// are made.
#pragma once

#include <windows.h>

namespace korbela {

struct WindowClass {
    const char* name;
    WNDPROC procedure;
    HICON icon = nullptr;  // large and small
    bool arrowCursor = false;
    UINT style = 0;
};

// True when the class is registered now or already was.
bool RegisterWindowClass(HINSTANCE instance, const WindowClass& definition);

}  // namespace korbela
