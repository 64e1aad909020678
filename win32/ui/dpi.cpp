#include "win32/ui/dpi.h"

#include "win32/system/unique_handle.h"

namespace korbela {

namespace {

// A function of user32 that older Windows versions lack, or null.
template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

}  // namespace

DisplayScale ScaleOfWindow(HWND window) {
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowProc>("GetDpiForWindow");
    int dpi = 0;
    if (getDpiForWindow != nullptr && window != nullptr) dpi = static_cast<int>(getDpiForWindow(window));
    if (dpi <= 0) {
        const WindowDc dc(window);
        if (dc.Get() != nullptr) dpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    }
    return DisplayScale{dpi > 0 ? dpi : DisplayScale::kDesignDpi};
}

int SystemMetricAt(int index, DisplayScale scale) {
    using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiProc>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(scale.dpi));
    return GetSystemMetrics(index);
}

}  // namespace korbela
