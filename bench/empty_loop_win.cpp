// The baseline of the idle-cost benchmark: a Windows program that does
// nothing but wait in its message loop, with one hidden window. WM_CLOSE to
// that window ends it with exit code 0.
#include <windows.h>

namespace {

constexpr char kClassName[] = "KorbelaEmptyLoop";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return 1;
    HWND window = CreateWindowExA(0, kClassName, "Empty loop", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  200, 100, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
