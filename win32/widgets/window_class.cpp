#include "win32/widgets/window_class.h"

namespace korbela {

bool RegisterWindowClass(HINSTANCE instance, const WindowClass& spec) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, spec.name, &existing)) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = spec.style;
    windowClass.lpfnWndProc = spec.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = spec.icon;
    windowClass.hIconSm = spec.icon;
    windowClass.hCursor = spec.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
    windowClass.lpszClassName = spec.name;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace korbela
