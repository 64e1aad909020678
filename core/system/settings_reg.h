// The per-user settings: defaults, repair, load and write-through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/system/registry.h"

namespace korbela {

// Key of the per-user settings (HKCU) and of the installation record (HKLM).
inline constexpr const char* kSettingsKeyPath = "software\\Quillmarsh\\Korbela Lite";

// The hand-over from LoadSettings to ApplySettings, in table order. The last
// field, the tray icon's look, is not part of it: it is read on its own
// (LoadTrayIconUsage), so that a bad value of it never fails the load of the
// window's nine.
struct SettingsRecord {
    bool CfgAutoStart = false;
    int32_t CfgUpdatePeriod = 1;
    int32_t CfgAttempts = 2;
    bool CfgAutoFreeing = false;
    bool CfgAutoFreeSilent = true;
    int32_t CfgAutoLevel = 20;
    int32_t CfgCPUThreshold = 35;
    int32_t CfgTargetRAM = 50;
    int32_t CfgMonitorView = 1;
    bool CfgTrayIconUsage = false;
};

class Settings_Reg {
public:
    explicit Settings_Reg(IRegistry& registry) : registry_(registry) {}

    bool SettingsKeyExists();
    void CreateDefaultSettings();  // errors escape as KorbelaError
    void RepairSettings();         // errors swallowed
    void CheckSettings();
    bool LoadSettings(SettingsRecord& record);

    bool SaveAutoStart(bool value);
    bool SaveUpdatePeriod(int32_t value);
    bool SaveAttempts(int32_t value);
    bool SaveAutoFreeing(bool value);
    bool SaveAutoFreeSilent(bool value);
    bool SaveAutoLevel(int32_t value);
    bool SaveCPUThreshold(int32_t value);
    bool SaveTargetRAM(int32_t value);
    bool SaveMonitorView(int32_t value);

    // "Tray Icon Usage": whether the tray icon shows the memory in use; empty
    // when the value cannot be read.
    std::optional<bool> LoadTrayIconUsage();
    bool SaveTrayIconUsage(bool value);

private:
    IRegistry& registry_;  // not owned
};

// "Monitor View" code table: U = used RAM, F = free RAM, C = CPU.
struct MonitorViewBoxes {
    bool UsedRAM = false;
    bool FreeRAM = false;
    bool CPU = false;
};
int32_t EncodeMonitorView(const MonitorViewBoxes& boxes);
// False for a code outside 0..7; the boxes are then left alone.
bool DecodeMonitorView(int32_t code, MonitorViewBoxes& boxes);

}  // namespace korbela
