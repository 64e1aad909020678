// Settings, the start-with-Windows value and the installation record on the
// real registry.
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using Settings = WineTest;

TEST_F(Settings, AFirstStartWritesTheNineDefaultsAndTheInstallationRecord) {
    StartProgram();
    ASSERT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Monitor View").has_value(); }));
    const std::pair<const char*, DWORD> defaults[] = {
        {"Auto Start", 0},           {"Update Period", 1},   {"Attempts", 2},
        {"Automatic RAM Freeing", 0}, {"Automatic RAM Free Silent", 1}, {"Automatic Level", 20},
        {"CPU Threshold", 35},        {"Target RAM", 50},     {"Monitor View", 1}};
    for (const auto& [name, value] : defaults) {
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

}  // namespace
}  // namespace korbela::wine
