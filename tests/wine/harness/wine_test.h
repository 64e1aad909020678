// The fixture every integration test starts from: an empty settings key, no
// Run values, no installation record, and one copy of the program started.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/system/display_scale.h"
#include "harness/korbela_process.h"
#include "harness/registry_access.h"
#include "win32/window/control_ids.h"

namespace korbela::wine {

inline constexpr char kSettingsKey[] = "software\\Quillmarsh\\Korbela Lite";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The scale of the prefix's display (its LogPixels, which Wine 8 gives every
// process and window alike): the program draws the design's figures at it.
inline DisplayScale ScreenScale() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return DisplayScale{dpi > 0 ? dpi : DisplayScale::kDesignDpi};
}

// How far a scaled figure may stray: not at all at 96 dpi, where every figure
// is the design's to the pixel, one pixel where scaling rounds.
inline int ScaleSlack(DisplayScale scale) { return scale.dpi == DisplayScale::kDesignDpi ? 0 : 1; }

// How a picture a test saves is named at this scale: "page-monitor.bmp" at
// 96 dpi, "page-monitor-144dpi.bmp" at 144.
inline std::string ScaledFileName(const std::string& stem, const std::string& extension) {
    const DisplayScale scale = ScreenScale();
    if (scale.dpi == DisplayScale::kDesignDpi) return stem + extension;
    return stem + "-" + std::to_string(scale.dpi) + "dpi" + extension;
}

class WineTest : public ::testing::Test {
protected:
    // An empty settings key: a start is no user's first, which tells where the
    // program is; the tests of a first start delete the key.
    void SetUp() override {
        DeleteProgramRegistryState();
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            RegCloseKey(key);
        }
    }
    void TearDown() override {
        if (program.Handle() != nullptr && !program.Exited(std::chrono::milliseconds(0))) {
            program.ChooseTrayItem(menu::erminate1);
            if (!program.Exited(std::chrono::seconds(15))) program.Kill();
        }
    }

    void StartProgram() { ASSERT_TRUE(program.Start()) << "korbela.exe did not come up: " << program.StartReport(); }
    // Starts the program and shows its window once the first tick has filled it.
    [[nodiscard]] bool StartShown() { return program.Start() && program.ShowMainWindow() && WaitForFirstTick(); }
    std::string Text(int id) const { return WindowText(program.Control(id)); }
    bool Visible(int id) const { return IsWindowVisible(program.Control(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(program.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Waits until the first usage tick has filled the figures ("812 MB"; the
    // label is empty before the window is bound and "0" until the tick).
    bool WaitForFirstTick() {
        return WaitUntil([this] {
            const std::string used = Text(ctrl::lblUsedRAM);
            return used.size() > 3 && used.compare(used.size() - 3, 3, " MB") == 0;
        });
    }

    // Removes the settings key under the running program and clicks a box
    // whose store then fails; the message dialog that says so, or null.
    HWND ShowStoreFailureMessage() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        PostMessageA(program.Control(ctrl::chbCPU), BM_CLICK, 0, 0);
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = FindProcessWindow(program.Id(), "Tfrm_Message");
            return dialog != nullptr && IsWindowVisible(dialog);
        }, std::chrono::seconds(10));
        return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
    }

    KorbelaProcess program;
};

}  // namespace korbela::wine
