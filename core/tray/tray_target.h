// What the main window asks of the tray icon.
#pragma once

#include <string>

namespace korbela {

class ITrayTarget {
public:
    virtual ~ITrayTarget() = default;
    virtual void SetHint(const std::string& text) = 0;  // the icon's tip
    virtual void HideToTray() = 0;
};

}  // namespace korbela
