#include "win32/app/application_window.h"

#include "win32/window/window.h"

namespace korbela {

namespace {

constexpr UINT kShowMainWindow = WM_APP + 10;

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance, HICON icon) {
    RegisterWindowClass(instance, {kApplicationClass, WindowProc, icon});
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    // A zero-size window: it only stands for the program on the taskbar. It
    // starts hidden and minimised, so the program counts as being in the tray
    // and the first click on the icon brings the main window up.
    Create(0, kApplicationClass, kApplicationTitle,
           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX | WS_MINIMIZE, x, y, 0, 0, nullptr,
           nullptr, instance);
}

ApplicationWindow::~ApplicationWindow() { Destroy(); }

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        // Restored from the taskbar or by a second copy of the program.
        if (wParam == SIZE_RESTORED) PostMessageA(Handle(), kShowMainWindow, 0, 0);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(Handle(), kShowMainWindow, 0, 0);
        break;
    case kShowMainWindow:
        // Hiding the main window can pass activation here on its way to the
        // tray; only a restore that left this window shown counts.
        if (IsWindowVisible(Handle()) && !IsIconic(Handle()) && OnActivatedByUser) OnActivatedByUser();
        return 0;
    case WM_SYSCOMMAND:
        // The taskbar button's Close (its menu, the thumbnail's cross, Alt+F4 on
        // it) is the user closing the window: it hides to the tray like the
        // window's own Close. Only a plain WM_CLOSE from outside (the setup,
        // Task Manager) ends the program.
        if ((wParam & 0xFFF0) == SC_CLOSE && OnCloseCommand) {
            OnCloseCommand();
            return 0;
        }
        break;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace korbela
