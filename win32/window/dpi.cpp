#include "win32/window/dpi.h"

#include "win32/system/system_function.h"
#include "win32/system/unique_handle.h"

namespace korbela {

DisplayScale ScaleOfWindow(HWND window) {
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = LoadedSystemFunction<GetDpiForWindowProc>("user32.dll", "GetDpiForWindow");
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
    static const auto forDpi = LoadedSystemFunction<GetSystemMetricsForDpiProc>("user32.dll", "GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(scale.dpi));
    return GetSystemMetrics(index);
}

}  // namespace korbela
