#include "win32/ui/views/control_view.h"

#include <algorithm>

#include "win32/ui/dpi.h"
#include "win32/ui/skin/palette.h"

namespace korbela {

namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

}  // namespace

ControlView::ControlView(IViewHost& host, Placement placement, const RECT& rect)
    : host_(host), placement_(placement), rect_(rect) {}

HBRUSH ControlView::OnCtlColor(HDC dc) {
    SetTextColor(dc, palette::kText);
    SetBkColor(dc, palette::kWindow);
    return host_.GetSkin().WindowBrush();
}

HWND ControlView::CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                              HFONT font) {
    return CreateChild(className, text, style, exStyle, id, font, EffectiveRect());
}

HWND ControlView::CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                              HFONT font, const RECT& rect) {
    // Created hidden; the first Sync shows what its page and panel allow.
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  host_.Parent(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  host_.Instance(), nullptr);
    if (window != nullptr && font != nullptr) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

int ControlView::PanelTop() const { return placement_.inside != nullptr ? placement_.inside->Top() : 0; }

RECT ControlView::EffectiveRect() const {
    RECT rect = rect_;
    OffsetRect(&rect, 0, PanelTop());
    return Scaled(rect, host_.Scale());
}

void ControlView::ApplyState(HWND window, const RECT& rect, bool visible, bool enabled) {
    if (window == nullptr) return;
    RECT current{};
    GetWindowRect(window, &current);
    MapWindowPoints(nullptr, host_.Parent(), reinterpret_cast<POINT*>(&current), 2);
    if (!EqualRect(&current, &rect)) {
        SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool shown = visible && host_.Shows(placement_);
    const bool usable = enabled && host_.Enables(placement_, TakesInput());
    const bool isUsable = IsWindowEnabled(window) != FALSE;
    // The style bit, not IsWindowVisible: the main window itself may be hidden.
    const bool isShown = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (((isUsable && !usable) || (isShown && !shown)) && GetFocus() == window) host_.FocusedControlGoes(window);
    if (isUsable != usable) EnableWindow(window, usable ? TRUE : FALSE);
    if (isShown != shown) ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
    if (usable && shown && !(isUsable && isShown)) host_.ControlBack(window);
}

bool ControlView::ApplyText(HWND window, const std::string& text) {
    if (window == nullptr || WindowText(window) == text) return false;
    SetWindowTextA(window, text.c_str());
    return true;
}

void ControlView::ApplyHint(HWND window, const std::string& hint) {
    auto entry = std::find_if(hints_.begin(), hints_.end(), [window](const auto& item) { return item.first == window; });
    if (entry == hints_.end()) {
        if (hint.empty()) return;
        hints_.emplace_back(window, hint);
    } else {
        if (entry->second == hint) return;
        entry->second = hint;
    }
    host_.HintChanged(window, hint);
}

}  // namespace korbela
