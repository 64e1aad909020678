// Start-with-system value and the installation record.
#pragma once

#include <string>

#include "core/system/registry.h"

namespace korbela {

inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Korbela";

// The path wrapped in one pair of double quotes (quotes already there are kept).
std::string QuoteExePath(const std::string& exePath);

class App_Auto_Start {
public:
    explicit App_Auto_Start(IRegistry& registry) : registry_(registry) {}

    // Enable: writes the quoted path as the machine's Run value "Korbela"; when
    // that is refused (a standard user), as the current user's Run value
    // instead. A per-user value is removed when the machine value starts this
    // copy, so the program never starts twice. Disable: deletes the value from
    // both Run keys. True when the system will start the program at logon as
    // asked; false when no key took the value, or a value could not be removed.
    bool SetAutoStart(bool enable, const std::string& exePath);

    // Start-up refresh of the installation record; may raise from CreateDefaultSettings.
    // The record itself fails quietly (no write access to HKEY_LOCAL_MACHINE).
    void UpdateInstallInfo(const std::string& exeFolder, const std::string& fileVersion);
    // Creates the record's key if needed and writes each value that is missing; quiet.
    void WriteInstallInfo(const std::string& exeFolder, const std::string& fileVersion);

private:
    IRegistry& registry_;  // not owned
};

}  // namespace korbela
