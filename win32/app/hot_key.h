// The system-wide hot key GlobalHotKey2: a hidden window of its own
// ("KorbelaHotKeyWindow") that holds the registration and receives WM_HOTKEY,
// and a global atom that makes its identifier unique to this object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "core/app/hot_key.h"
#include "win32/system/unique_handle.h"
#include "win32/window/window.h"

namespace korbela {

inline constexpr char kHotKeyWindowClass[] = "KorbelaHotKeyWindow";

class TGlobalHotKey : public WindowBase, private IHotKeyRegistrar {
public:
    // Errors raised by OnKeyDown go to the application's report; the window
    // goes on working.
    TGlobalHotKey();
    // Gives the key back and deletes the atom; the window goes last.
    ~TGlobalHotKey() override = default;

    bool Active() const { return key_.Active(); }
    void SetActive(bool value) { key_.SetActive(value); }
    uint16_t HotKey() const { return key_.HotKey(); }
    // A new non-zero value while Active registers it (Ctrl+Alt+A: kMainWindowHotKey).
    void SetHotKey(uint16_t value) { key_.SetHotKey(value); }

    // Key and shift come from HotKey: for Ctrl+Alt+A, 0x41 and ssCtrl | ssAlt.
    std::function<void(int key, int shift)> OnKeyDown;

private:
    void Register(uint32_t modifiers, uint32_t virtualKey) override;
    void Unregister() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    UniqueGlobalAtom atom_;
    THotKey key_;  // last: it gives the key back while window and atom are there
};

}  // namespace korbela
