#include "win32/widgets/window_class.h"

namespace korbela {

bool RegisterWindowClass(HINSTANCE instance, const WindowClass& definition) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, definition.name, &existing)) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = definition.style;
    windowClass.lpfnWndProc = definition.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = definition.icon;
    windowClass.hIconSm = definition.icon;
    windowClass.hCursor = definition.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
    windowClass.lpszClassName = definition.name;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace korbela
