// The system-wide hot key GlobalHotKey2: the shortcut value and what it is
// registered as, kept registered while Active, and delivered to OnKeyDown.
#pragma once

#include <cstdint>
#include <functional>

namespace korbela {

// Modifier bits of a 16-bit shortcut; its low byte is the virtual-key code.
inline constexpr uint16_t kShortCutShift = 0x2000;
inline constexpr uint16_t kShortCutCtrl = 0x4000;
inline constexpr uint16_t kShortCutAlt = 0x8000;

// Ctrl+Alt+A, the main window's hot key.
inline constexpr uint16_t kMainWindowHotKey = 49217;

// RegisterHotKey modifiers.
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModShift = 0x4;

// Shift state bits handed to OnKeyDown.
inline constexpr int ssShift = 0x1;
inline constexpr int ssAlt = 0x2;
inline constexpr int ssCtrl = 0x4;

struct DecodedShortCut {
    uint32_t modifiers = 0;   // MOD_ flags for RegisterHotKey
    uint32_t virtualKey = 0;
    int shift = 0;            // ss flags for OnKeyDown
    friend bool operator==(const DecodedShortCut&, const DecodedShortCut&) = default;
};

DecodedShortCut DecodeShortCut(uint16_t shortCut);

class IHotKeyRegistrar {
public:
    virtual ~IHotKeyRegistrar() = default;
    // RegisterHotKey for the component's window and identifier; the result is not used.
    virtual void Register(uint32_t modifiers, uint32_t virtualKey) = 0;
    virtual void Unregister() = 0;
};

class THotKey {
public:
    explicit THotKey(IHotKeyRegistrar& registrar) : registrar_(registrar) {}
    // Gives the key back: HotKey becomes 0.
    ~THotKey();
    THotKey(const THotKey&) = delete;
    THotKey& operator=(const THotKey&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool value);
    uint16_t HotKey() const { return hotKey_; }
    void SetHotKey(uint16_t value);

    // WM_HOTKEY arrived: OnKeyDown gets key and shift from HotKey, not from the message.
    void HotKeyPressed();

    std::function<void(int key, int shift)> OnKeyDown;

private:
    IHotKeyRegistrar& registrar_;  // not owned
    bool active_ = true;
    uint16_t hotKey_ = 0;
};

}  // namespace korbela
