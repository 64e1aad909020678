#include "win32/app/hot_key.h"

#include <string>

#include "win32/window/window.h"

namespace korbela {

TGlobalHotKey::TGlobalHotKey()
    // The decimal address of this object: a text no other hot key object shares.
    : atom_(GlobalAddAtomA(std::to_string(reinterpret_cast<std::uintptr_t>(this)).c_str())), key_(*this) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, {kHotKeyWindowClass, WindowProc});
    Create(WS_EX_TOOLWINDOW, kHotKeyWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance);
    key_.OnKeyDown = [this](int key, int shift) {
        if (OnKeyDown) OnKeyDown(key, shift);
    };
}

void TGlobalHotKey::Register(uint32_t modifiers, uint32_t virtualKey) {
    // A key another program holds is simply not delivered.
    RegisterHotKey(Handle(), atom_.Get(), modifiers, virtualKey);
}

void TGlobalHotKey::Unregister() { UnregisterHotKey(Handle(), atom_.Get()); }

LRESULT TGlobalHotKey::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HOTKEY) return WindowBase::HandleMessage(message, wParam, lParam);
    // The message's own key and modifiers are not looked at.
    key_.HotKeyPressed();
    return 0;
}

}  // namespace korbela
