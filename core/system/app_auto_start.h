// Start-with-system value and the installation record.
#pragma once

#include <string>

#include "core/platform/registry.h"

namespace korbela {

inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Korbela";

// The path wrapped in one pair of double quotes (quotes already there are kept).
std::string QuoteExePath(const std::string& exePath);

class App_Auto_Start {
public:
    explicit App_Auto_Start(IRegistry& registry) : registry_(registry) {}

    // Writes (enable) or deletes the Run value; true unless an error occurred.
    bool SetAutoStart(bool enable, const std::string& exePath);

    // Start-up refresh of the installation record; may raise from CreateDefaultSettings.
    void UpdateInstallInfo(const std::string& exeFolder, const std::string& fileVersion);
    void WriteInstallInfo(const std::string& exeFolder, const std::string& fileVersion);

private:
    IRegistry& registry_;  // not owned
};

}  // namespace korbela
