#include "win32/ui/global_hot_key.h"

#include <string>

#include "win32/widgets/window_class.h"

namespace korbela {

HWND TGlobalHotKey::CreateHotKeyWindow(TGlobalHotKey* self) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, {kHotKeyWindowClass, WindowProc});
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHotKeyWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           instance, self);
}

TGlobalHotKey::TGlobalHotKey(ErrorReport onError)
    : onError_(std::move(onError)),
      window_(CreateHotKeyWindow(this)),
      // The decimal address of this object: a text no other hot key object shares.
      atom_(GlobalAddAtomA(std::to_string(reinterpret_cast<std::uintptr_t>(this)).c_str())),
      key_(*this) {
    key_.OnKeyDown = [this](int key, int shift) {
        if (OnKeyDown) OnKeyDown(key, shift);
    };
}

TGlobalHotKey::~TGlobalHotKey() {
    // From here on the window is not to reach this object; the key is given
    // back by key_ as it goes.
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0);
}

void TGlobalHotKey::Register(uint32_t modifiers, uint32_t virtualKey) {
    // A key another program holds is simply not delivered.
    RegisterHotKey(window_.Get(), atom_.Get(), modifiers, virtualKey);
}

void TGlobalHotKey::Unregister() { UnregisterHotKey(window_.Get(), atom_.Get()); }

LRESULT CALLBACK TGlobalHotKey::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TGlobalHotKey*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    auto* self = reinterpret_cast<TGlobalHotKey*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_HOTKEY && self != nullptr) {
        // The message's own key and modifiers are not looked at.
        GuardedCall(self->onError_, [self] { self->key_.HotKeyPressed(); });
        return 0;
    }
    // Another program's close request would take the key away; only the destructor ends this window.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace korbela
