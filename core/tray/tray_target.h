// What the main window asks of the tray icon.
#pragma once

#include <string>

namespace korbela {

// The title of every notification the tray icon shows.
inline constexpr char kNotificationTitle[] = "Korbela Lite";

class ITrayTarget {
public:
    virtual ~ITrayTarget() = default;
    virtual void SetHint(const std::string& text) = 0;  // the icon's tip
    virtual void HideToTray() = 0;
    // The percent of memory in use, and whether the icon shows it instead of
    // the program's icon.
    virtual void SetUsage(int percent) = 0;
    virtual bool UsageShown() const = 0;
    virtual void SetUsageShown(bool value) = 0;
    // A balloon notification on the icon: the title above, the information
    // icon, no sound.
    virtual void ShowNotification(const std::string& text) = 0;
};

}  // namespace korbela
