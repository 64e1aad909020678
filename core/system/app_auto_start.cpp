// Start-with-system value and installation record.
//
// The Run value goes to the machine's Run key when the process may write it.
// A standard user may not, so the value then goes to the user's own Run key,
// which the system also reads at logon: start with Windows works either way,
// and at most one of the two keys ever holds a value that starts this copy.
#include "core/system/app_auto_start.h"

#include <cctype>

#include "core/system/registry.h"
#include "core/system/settings_reg.h"

namespace korbela {
namespace {

constexpr const char* kInstallLocation = "Install Location";
constexpr const char* kCurrentVersion = "Current Version";

bool SameCommand(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
}

bool WriteRunValue(IRegistry& registry, RegRoot root, const std::string& command) {
    TRegistry run(registry);
    run.SetRootKey(root);
    // The machine's Run key is never created; the user's may be missing on a
    // fresh profile, and without it the fallback would not start anything.
    run.OpenKey(kRunKeyPath, root == RegRoot::CurrentUser);
    try {
        run.WriteString(kRunValueName, command);
        return true;
    } catch (const ERegistryError&) {
        return false;
    }
}

// Read access is enough to look, so this also works for a standard user.
bool RunValueExists(IRegistry& registry, RegRoot root) {
    TRegistry run(registry);
    run.SetRootKey(root);
    return run.OpenKeyReadOnly(kRunKeyPath) && run.ValueExists(kRunValueName);
}

bool MachineRunValueIs(IRegistry& registry, const std::string& command) {
    TRegistry run(registry);
    run.SetRootKey(RegRoot::LocalMachine);
    if (!run.OpenKeyReadOnly(kRunKeyPath) || !run.ValueExists(kRunValueName)) return false;
    try {
        return SameCommand(run.ReadString(kRunValueName), command);
    } catch (const ERegistryError&) {
        return false;
    }
}

// True when no Run value of ours is left under the root (as far as it can be seen).
bool RemoveRunValue(IRegistry& registry, RegRoot root) {
    TRegistry run(registry);
    run.SetRootKey(root);
    if (run.OpenKey(kRunKeyPath, false)) run.DeleteValue(kRunValueName);
    run.CloseKey();
    return !RunValueExists(registry, root);
}

bool EnableAutoStart(IRegistry& registry, const std::string& command) {
    if (WriteRunValue(registry, RegRoot::LocalMachine, command)) {
        // A per-user value left by a start without administrator rights would
        // start the program a second time at logon.
        RemoveRunValue(registry, RegRoot::CurrentUser);
        return true;
    }
    if (MachineRunValueIs(registry, command)) {
        // The machine value (written by an administrator) already starts this copy.
        RemoveRunValue(registry, RegRoot::CurrentUser);
        return true;
    }
    return WriteRunValue(registry, RegRoot::CurrentUser, command);
}

bool DisableAutoStart(IRegistry& registry) {
    const bool machineClear = RemoveRunValue(registry, RegRoot::LocalMachine);
    const bool userClear = RemoveRunValue(registry, RegRoot::CurrentUser);
    return machineClear && userClear;
}

}  // namespace

std::string QuoteExePath(const std::string& exePath) {
    std::string quoted = exePath;
    if (quoted.empty() || quoted.front() != '"') quoted.insert(quoted.begin(), '"');
    // A lone quote is an opening quote, not a closing one.
    if (quoted.size() < 2 || quoted.back() != '"') quoted.push_back('"');
    return quoted;
}

bool App_Auto_Start::SetAutoStart(bool enable, const std::string& exePath) {
    return enable ? EnableAutoStart(registry_, QuoteExePath(exePath)) : DisableAutoStart(registry_);
}

void App_Auto_Start::UpdateInstallInfo(const std::string& exeFolder, const std::string& fileVersion) {
    Settings_Reg settings(registry_);
    if (!settings.SettingsKeyExists()) settings.CreateDefaultSettings();

    TRegistry record(registry_);
    record.SetRootKey(RegRoot::LocalMachine);
    record.OpenKey(kSettingsKeyPath, false);
    // The record is never read back, so a refused overwrite must not end the
    // start-up work that follows; it is dropped like WriteInstallInfo's failures.
    try {
        if (record.ValueExists(kInstallLocation)) {
            record.WriteString(kInstallLocation, exeFolder);
        } else {
            WriteInstallInfo(exeFolder, fileVersion);
        }
        if (record.ValueExists(kCurrentVersion)) {
            record.WriteString(kCurrentVersion, fileVersion);
        } else {
            WriteInstallInfo(exeFolder, fileVersion);
        }
    } catch (const ERegistryError&) {
        // Left as it was; the next start tries again.
    }
}

void App_Auto_Start::WriteInstallInfo(const std::string& exeFolder, const std::string& fileVersion) {
    TRegistry record(registry_);
    record.SetRootKey(RegRoot::LocalMachine);
    try {
        record.OpenKey(kSettingsKeyPath, true);
        if (!record.ValueExists(kInstallLocation)) record.WriteString(kInstallLocation, exeFolder);
        if (!record.ValueExists(kCurrentVersion)) record.WriteString(kCurrentVersion, fileVersion);
    } catch (const ERegistryError&) {
        // Without write access to HKEY_LOCAL_MACHINE there is no record.
    }
}

}  // namespace korbela
