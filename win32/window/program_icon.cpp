#include "win32/window/program_icon.h"

#include <commctrl.h>

#include <utility>

#include "win32/res/resource.h"
#include "win32/system/system_function.h"
#include "win32/window/dpi.h"

namespace korbela {

UniqueIcon LoadProgramIcon(HINSTANCE instance, int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueIcon LoadTrayIcon(HINSTANCE instance) {
    using LoadIconMetricProc = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    const auto loadIconMetric = LoadedSystemFunction<LoadIconMetricProc>("comctl32.dll", "LoadIconMetric");
    HICON icon = nullptr;
    if (loadIconMetric != nullptr &&
        SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(IDI_MAINICON), LIM_SMALL, &icon))) {
        return UniqueIcon(icon);
    }
    return LoadProgramIcon(instance, GetSystemMetrics(SM_CXSMICON));
}

void WindowIcons::Apply(HWND window, HINSTANCE instance, DisplayScale scale) {
    UniqueIcon small = LoadProgramIcon(instance, SystemMetricAt(SM_CXSMICON, scale));
    UniqueIcon big = LoadProgramIcon(instance, SystemMetricAt(SM_CXICON, scale));
    if (small) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    if (big) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    if (small) small_ = std::move(small);
    if (big) big_ = std::move(big);
}

}  // namespace korbela
