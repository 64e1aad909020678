#include "core/app/hot_key.h"

namespace korbela {

DecodedShortCut DecodeShortCut(uint16_t shortCut) {
    DecodedShortCut decoded;
    decoded.virtualKey = shortCut & 0xFFu;
    if ((shortCut & kShortCutShift) != 0) {
        decoded.modifiers |= kModShift;
        decoded.shift |= ssShift;
    }
    if ((shortCut & kShortCutCtrl) != 0) {
        decoded.modifiers |= kModControl;
        decoded.shift |= ssCtrl;
    }
    if ((shortCut & kShortCutAlt) != 0) {
        decoded.modifiers |= kModAlt;
        decoded.shift |= ssAlt;
    }
    return decoded;
}

THotKey::~THotKey() { SetHotKey(0); }

void THotKey::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (hotKey_ == 0) return;
    if (active_) {
        const DecodedShortCut decoded = DecodeShortCut(hotKey_);
        registrar_.Register(decoded.modifiers, decoded.virtualKey);
    } else {
        registrar_.Unregister();
    }
}

void THotKey::SetHotKey(uint16_t value) {
    if (value == hotKey_) return;
    // A key taken over by another shortcut is given back first.
    if (active_ && hotKey_ != 0) registrar_.Unregister();
    hotKey_ = value;
    if (active_ && hotKey_ != 0) {
        const DecodedShortCut decoded = DecodeShortCut(hotKey_);
        registrar_.Register(decoded.modifiers, decoded.virtualKey);
    }
}

void THotKey::HotKeyPressed() {
    if (!OnKeyDown) return;
    const DecodedShortCut decoded = DecodeShortCut(hotKey_);
    OnKeyDown(static_cast<int>(decoded.virtualKey), decoded.shift);
}

}  // namespace korbela
