// The second baseline of the idle-cost benchmark: the least a tray utility
// with common controls is made of. A tray icon, a hidden top-level window
// holding a trackbar, a progress bar and a button, and an idle message loop;
// nothing runs on a timer. WM_CLOSE to the window ends it with exit code 0.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr char kClassName[] = "KorbelaTrayLoop";
constexpr UINT kTrayCallback = WM_APP + 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND AddChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
              int height) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    if (!InitCommonControlsEx(&controls)) return 1;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return 1;
    // Never shown, like a tray program's window between uses.
    HWND window = CreateWindowExA(0, kClassName, "Tray loop", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  473, 291, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    AddChild(window, TRACKBAR_CLASSA, "", TBS_HORZ, 10, 10, 300, 30);
    AddChild(window, PROGRESS_CLASSA, "", 0, 10, 50, 300, 20);
    AddChild(window, "BUTTON", "Free RAM", BS_PUSHBUTTON, 10, 80, 100, 25);

    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayCallback;
    icon.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    lstrcpynA(icon.szTip, "Tray loop", sizeof(icon.szTip));
    Shell_NotifyIconA(NIM_ADD, &icon);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return static_cast<int>(message.wParam);
}
