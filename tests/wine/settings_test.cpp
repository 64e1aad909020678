// Settings, the start-with-Windows value and the installation record on the
// real registry.
#include <functional>
#include <iterator>

#include "harness/wine_test.h"
#include "tests/settings_defaults.h"

namespace korbela::wine {
namespace {

using Settings = WineTest;

TEST_F(Settings, AFirstStartWritesTheTenDefaultsAndTheInstallationRecord) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    StartProgram();
    // The values are written in order: the last one there means all are.
    const char* last = std::end(testing::kDefaults)[-1].Name;
    ASSERT_TRUE(WaitUntil([&] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, last).has_value(); }));
    for (const auto& [name, value] : testing::kDefaults) {
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, name), value) << name;
    }
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install Location"), BinFolder());
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Current Version"), "1.3.0.1");
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value());
}

TEST_F(Settings, TickingAutomaticStartWritesTheQuotedPathAndUntickingDeletesIt) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::chbAuto_Start), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value(); }));
    std::string quoted(1, '"');
    quoted.append(KorbelaExePath()).push_back('"');
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela"), quoted);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start"), 1u);
    SendMessageA(program.Control(ctrl::chbAuto_Start), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return !ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela").has_value(); }));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start"), 0u);
}

TEST_F(Settings, AValueChangedWhileHiddenShowsWhenTheWindowIsShown) {
    StartProgram();
    ASSERT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts").has_value(); }));
    EXPECT_EQ(Text(ctrl::spnAtempts), "2");
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 7);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Update Period", 3);
    ASSERT_TRUE(program.ShowMainWindow());
    EXPECT_TRUE(WaitUntil([this] { return Text(ctrl::spnAtempts) == "7"; })) << Text(ctrl::spnAtempts);
    EXPECT_EQ(Text(ctrl::spnSec), "3");
    EXPECT_EQ(Text(ctrl::lblSec), "seconds.");
}

TEST_F(Settings, AUserChangeIsWrittenAtOnce) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::chbCPU), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Monitor View") == 4u; }));
    SendMessageA(program.Control(ctrl::spnAtempts), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
    EXPECT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts") == 5u; }));
    EXPECT_EQ(Text(ctrl::lblttempts), "attempts to free target RAM.");
}

TEST_F(Settings, WrongTypedValuesAreRepairedAtStartAndCostNothingElse) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start", 1);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Update Period", 3);
    const std::string quoted = "\"" + KorbelaExePath() + "\"";
    const char text[] = "7";
    const ULONGLONG wide = 40;
    const DWORD bytes = 60;
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, "Attempts", REG_SZ, text, sizeof(text));
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, "Target RAM", REG_QWORD, &wide, sizeof(wide));
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, "CPU Threshold", REG_BINARY, &bytes, sizeof(bytes));
    StartProgram();
    // The Run value is written after the repair, once the settings are applied.
    ASSERT_TRUE(WaitUntil([&] { return ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela") == quoted; }))
        << "the Run value stays";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "CPU Threshold"), 35u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts"), 2u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM"), 50u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Update Period"), 3u);
    ASSERT_TRUE(program.ShowMainWindow());
    EXPECT_EQ(Text(ctrl::spnAtempts), "2");
    EXPECT_EQ(Text(ctrl::spnSec), "3");
}

// Each write that fails says which setting it could not store, in the
// program's own words.
TEST_F(Settings, EachFailedWriteSaysWhatCouldNotBeStored) {
    ASSERT_TRUE(StartShown());
    auto press = [this](int slider) {
        PostMessageA(program.Control(slider), WM_KEYDOWN, VK_RIGHT, 1);
        PostMessageA(program.Control(slider), WM_KEYUP, VK_RIGHT, 1 | (3LL << 30));
    };
    const struct {
        const char* message;
        std::function<void()> act;
    } cases[] = {
        {"Unable to store automatic RAM level.", [&] { press(ctrl::tbrTarget); }},
        // The message comes up inside the program's handling of the new text.
        {"Unable to atempts to free.",
         [&] {
             SendMessageTimeoutA(program.Control(ctrl::spnAtempts), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"),
                                 SMTO_NORMAL, 500, nullptr);
         }},
        {"Unable to automatic RAM to free level.", [&] { press(ctrl::tbrAuto_Level); }},
        {"Unable to store cpu threshold.", [&] { press(ctrl::tbrCPU_Threshold); }},
        {"Unable to store auto start.", [&] { PostMessageA(program.Control(ctrl::chbAuto_Start), BM_CLICK, 0, 0); }},
    };
    // Every write through the program's open key fails once the key has gone.
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    for (const auto& c : cases) {
        c.act();
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            dialog = FindProcessWindow(program.Id(), "Tfrm_Message");
            return dialog != nullptr && IsWindowVisible(dialog);
        }, std::chrono::seconds(10))) << c.message;
        EXPECT_EQ(WindowText(GetDlgItem(dialog, ctrl::mem_Message)), c.message);
        PostMessageA(GetDlgItem(dialog, ctrl::btn_Ok), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, std::chrono::seconds(5)));
    }
}

}  // namespace
}  // namespace korbela::wine
