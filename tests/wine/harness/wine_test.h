// The fixture every integration test starts from: no settings, no Run values,
// no installation record, and one copy of the program started.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "harness/korbela_process.h"
#include "harness/registry_access.h"
#include "win32/ui/control_ids.h"

namespace korbela::wine {

class WineTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteProgramRegistryState(); }
    void TearDown() override {
        if (program.Handle() != nullptr && !program.Exited(std::chrono::milliseconds(0))) {
            program.ChooseTrayItem(7);
            if (!program.Exited(std::chrono::seconds(15))) program.Kill();
        }
    }

    void StartProgram() { ASSERT_TRUE(program.Start()) << "korbela.exe did not come up"; }
    std::string Text(int id) const { return WindowText(program.Control(id)); }
    bool Visible(int id) const { return IsWindowVisible(program.Control(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(program.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Waits until the first usage tick has filled the figures.
    bool WaitForFirstTick() {
        return WaitUntil([this] { return Text(ctrl::lblUsedRAM) != "0"; });
    }

    KorbelaProcess program;
};

inline constexpr char kSettingsKey[] = "software\\Quillmarsh\\Korbela Lite";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace korbela::wine
