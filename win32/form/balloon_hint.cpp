#include "win32/form/balloon_hint.h"

#include <commctrl.h>

#include "core/widgets/short_hint.h"
#include "win32/system/system_function.h"
#include "win32/window/dpi.h"

namespace korbela {

namespace {

constexpr char kHeader[] = "Korbela Lite";
constexpr COLORREF kHintColor = RGB(192, 192, 192);
constexpr int kHintHidePause = 3500;
constexpr int kHintPause = 500;
constexpr int kHintShortPause = 50;
constexpr int kMaxTipWidth = 300;
// With visual styles the balloon takes the theme's colours and ignores its
// own; uxtheme is loaded only for this, so the program needs no import of it.
void UseClassicLook(HWND tip) {
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    if (uxtheme == nullptr) return;
    using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setWindowTheme = reinterpret_cast<SetWindowThemeProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setWindowTheme != nullptr) setWindowTheme(tip, L"", L"");
    FreeLibrary(uxtheme);
}

TTTOOLINFOA ToolInfo(HWND owner, HWND control) {
    TTTOOLINFOA info{};
    // The size that comctl32 5.8 and 6 both accept.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

}  // namespace

TBalloonHint::TBalloonHint(HWND owner) : owner_(owner) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    tip_.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), nullptr));
    HWND tip = tip_.Get();
    if (tip == nullptr) return;
    Subclass(tip);
    UseClassicLook(tip);
    SendMessageA(tip, TTM_SETTITLEA, TTI_INFO, reinterpret_cast<LPARAM>(kHeader));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kHintHidePause, 0));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kHintPause, 0));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(kHintShortPause, 0));
    SendMessageA(tip, TTM_SETTIPBKCOLOR, kHintColor, 0);
    SetScale(ScaleOfWindow(owner));
}

void TBalloonHint::SetScale(DisplayScale scale) {
    HWND tip = tip_.Get();
    if (tip == nullptr) return;
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, scale(kMaxTipWidth));
    // The tip draws in the status font, which the system gives at its own
    // resolution; on a monitor of another one it takes that one's.
    using SystemParametersInfoForDpiProc = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const auto forDpi =
        LoadedSystemFunction<SystemParametersInfoForDpiProc>("user32.dll", "SystemParametersInfoForDpi");
    const bool systemScale = scale == ScaleOfWindow(nullptr);
    if ((systemScale && !font_) || (!systemScale && forDpi == nullptr)) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    const BOOL got = systemScale ? SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)
                                 : forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                          static_cast<UINT>(scale.dpi));
    if (!got) return;
    UniqueGdiObject<HFONT> font(CreateFontIndirectW(&metrics.lfStatusFont));
    if (!font) return;
    SendMessageA(tip, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);
}

LRESULT TBalloonHint::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    if (message == TTM_WINDOWFROMPOINT) {
        // Where the pointer is over a disabled control, the system names its
        // owner instead; the tip asks again while it shows, and keeps the control.
        const LRESULT under = DefSubclassProc(window, message, wParam, lParam);
        if (reinterpret_cast<HWND>(under) != owner_ || lParam == 0) return under;
        POINT point = *reinterpret_cast<const POINT*>(lParam);
        ScreenToClient(owner_, &point);
        const HWND child = DisabledChildAt(owner_, point);
        return child != nullptr ? reinterpret_cast<LRESULT>(child) : under;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void TBalloonHint::AddTool(HWND control, const std::string& hint) {
    HWND tip = tip_.Get();
    if (tip == nullptr || control == nullptr) return;
    TTTOOLINFOA info = ToolInfo(owner_, control);
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    std::string text = ShortHint(hint);
    if (text.empty()) return;
    // The tooltip keeps its own copy of the text.
    info.lpszText = text.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void TBalloonHint::Relay(const MSG& message) {
    if (tip_) SendMessageA(tip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace korbela
