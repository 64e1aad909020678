#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

using FormCreate = MainWindowTest;

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::ptrdiff_t IndexOf(const EventLog& log, const std::string& entry) {
    const auto found = std::find(log.begin(), log.end(), entry);
    return found == log.end() ? -1 : found - log.begin();
}

TEST_F(FormCreate, FirstStartAppliesTheDefaultsAndStaysHidden) {
    auto& frm = Create();
    EXPECT_FALSE(host.visible);
    EXPECT_FALSE(frm.Loading());
    EXPECT_EQ(frm.pgRAM.ActivePageIndex(), kPageMemory);
    EXPECT_EQ(frm.spnSec.Value(), 1);
    EXPECT_EQ(frm.spnAtempts.Value(), 2);
    EXPECT_EQ(frm.lblttempts.Caption(), "attempts to free target RAM.");
    EXPECT_TRUE(frm.chbUsedRAM.Checked());
    EXPECT_TRUE(frm.chbFreeRAM.Checked());
    EXPECT_TRUE(frm.chbCPU.Checked());
    EXPECT_FALSE(frm.chbAuto_Free.Checked());
    EXPECT_TRUE(frm.chbAuto_Free_Silent.Checked());
    EXPECT_EQ(frm.tbrTarget.Position(), 50);
    EXPECT_EQ(frm.pbrTargetRAM.Percent(), 50);
    EXPECT_EQ(frm.lblRAMperFree.Caption(), "50%   (511 MB)");
    EXPECT_EQ(frm.scpGraph.BaseOffset(), 50);
    EXPECT_EQ(frm.lblAuto_Level.Caption(), "20%");
    EXPECT_EQ(frm.lblRAMtoFree.Caption(), "204 Mb");
    EXPECT_EQ(frm.lblCPU_Threshold.Caption(), "35%");
    EXPECT_EQ(frm.CPUThreshold(), 35);
    EXPECT_EQ(frm.LastCPULoad(), 1);
    EXPECT_TRUE(frm.scpGraph.Active());
    EXPECT_EQ(frm.pnlAbout.Caption(), "About Korbela Lite (version 1.3.0.1)");
    EXPECT_EQ(frm.StartHelp.Target(), "C:\\Program Files\\Korbela Lite\\Korbela Lite.chm");
    EXPECT_EQ(frm.Window_Open.Target(), "C:\\Program Files\\Korbela Lite\\");
    EXPECT_EQ(frm.lbl_OS.Caption(), "") << "Windows 7 has no product name";
    EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(FormCreate, NoTickReachesTheWindowAfterItHasGone) {
    Create();
    ASSERT_TRUE(tmrUsage.onTimer && tmrCheckCPU.onTimer);
    form.reset();
    // The timers live on; a tick already on its way finds no handler.
    EXPECT_FALSE(tmrUsage.onTimer);
    EXPECT_FALSE(tmrCheckCPU.onTimer);
    tmrUsage.Fire();
    tmrCheckCPU.Fire();
}

TEST_F(FormCreate, RunsItsStepsInOrder) {
    Create();
    // The usage timer runs from the window's loading, the check timer only at the end.
    EXPECT_EQ(IndexOf(log, "tmrUsage.Enabled"), 0);
    EXPECT_EQ(tmrCheckCPU.interval, 60000u);
    EXPECT_TRUE(tmrCheckCPU.enabled);
    EXPECT_EQ(log.end()[-2], "tmrCheckCPU.Enabled");
    EXPECT_EQ(log.back(), std::string("tray.Notification: ") + kFirstStartNotice) << "the last step of a first start";
    // The install record is written with the folder and version before the settings load.
    EXPECT_EQ(registry.String(RegRoot::LocalMachine, kSettingsKey, "Install Location"),
              "C:\\Program Files\\Korbela Lite\\");
    EXPECT_EQ(registry.String(RegRoot::LocalMachine, kSettingsKey, "Current Version"), "1.3.0.1");
    EXPECT_FALSE(registry.Value(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   "Korbela").has_value());
}

TEST_F(FormCreate, StartWithAutoStartWritesTheRunValue) {
    registry.PutDword(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Other", 1);
    Store("Auto Start", 1);
    auto& frm = Create();
    EXPECT_TRUE(frm.chbAuto_Start.Checked());
    EXPECT_EQ(registry.String(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                              "Korbela"),
              std::string("\"") + kExePath + "\"");
}

TEST_F(FormCreate, StoredValuesAreClampedByTheControls) {
    Store("Update Period", 50);
    Store("Target RAM", 95);
    Store("Automatic Level", 2);
    Store("CPU Threshold", 80);
    auto& frm = Create();
    EXPECT_EQ(frm.spnSec.Value(), 30);
    EXPECT_EQ(tmrUsage.interval, 30000u);
    EXPECT_EQ(Stored("Update Period"), 30u) << "the changed spinner stores its clamped value";
    EXPECT_EQ(frm.tbrTarget.Position(), 90);
    EXPECT_EQ(Stored("Target RAM"), 95u) << "the target is stored only on mouse-up";
    EXPECT_EQ(frm.tbrAuto_Level.Position(), 5);
    EXPECT_EQ(Stored("Automatic Level"), 5u);
    EXPECT_EQ(frm.tbrCPU_Threshold.Position(), 70);
    EXPECT_EQ(Stored("CPU Threshold"), 70u);
}

TEST_F(FormCreate, UpdatePeriodZeroChangesNothing) {
    Store("Update Period", 0);
    auto& frm = Create();
    EXPECT_EQ(frm.spnSec.Value(), 1);
    EXPECT_EQ(Stored("Update Period"), 0u);
    EXPECT_EQ(tmrUsage.interval, 1000u);
}

TEST_F(FormCreate, MonitorViewOutsideTheTableLeavesTheBoxes) {
    for (uint32_t code : {8u, 9u, static_cast<uint32_t>(-1)}) {
        Store("Monitor View", code);
        auto& frm = Create();
        EXPECT_FALSE(frm.chbUsedRAM.Checked()) << code;
        EXPECT_TRUE(frm.chbFreeRAM.Checked()) << code;
        EXPECT_TRUE(frm.chbCPU.Checked()) << code;
        EXPECT_EQ(Stored("Monitor View"), code);
    }
}

TEST_F(FormCreate, AValueOfTheWrongTypeIsRepairedAndCostsNothingElse) {
    Create();  // first start writes the key
    Store("Auto Start", 1);
    Store("Automatic Level", 25);
    registry.PutString(RegRoot::LocalMachine, kRunKey, "Korbela", std::string("\"") + kExePath + "\"");
    registry.PutString(RegRoot::CurrentUser, kSettingsKey, "Attempts", "2");
    dialog.shown.clear();
    auto& frm = Create();
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_EQ(Stored("Attempts"), 2u);
    EXPECT_EQ(frm.spnAtempts.Value(), 2);
    EXPECT_EQ(frm.tbrAuto_Level.Position(), 25);
    EXPECT_EQ(registry.String(RegRoot::LocalMachine, kRunKey, "Korbela"), std::string("\"") + kExePath + "\"");
}

TEST_F(FormCreate, UnreadableSettingsAreReportedAndNothingUnreadIsStored) {
    Create();  // first start writes the key
    Store("Auto Start", 1);
    Store("Automatic Level", 25);
    registry.PutString(RegRoot::LocalMachine, kRunKey, "Korbela", std::string("\"") + kExePath + "\"");
    registry.PutString(RegRoot::CurrentUser, kSettingsKey, "Attempts", "2");
    registry.SetRefuseWrites(RegRoot::CurrentUser, true);  // so the repair cannot mend it
    dialog.shown.clear();
    auto& frm = Create();
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"Unable to access Korbela settings."}))
        << "no store of the designed state was even tried";
    EXPECT_EQ(frm.spnAtempts.Value(), 3);
    EXPECT_EQ(frm.tbrTarget.Position(), 5) << "the target is still clamped by the start-up";
    EXPECT_EQ(frm.tbrAuto_Level.Position(), 5);
    EXPECT_FALSE(frm.chbAuto_Start.Checked());
    EXPECT_EQ(registry.String(RegRoot::LocalMachine, kRunKey, "Korbela"), std::string("\"") + kExePath + "\"")
        << "the unticked box is not the user's choice";
    EXPECT_FALSE(frm.Loading());
    host.Show();
    EXPECT_EQ(dialog.shown.size(), 2u) << "every showing reports it again";
    registry.SetRefuseWrites(RegRoot::CurrentUser, false);
    EXPECT_EQ(Stored("Automatic Level"), 25u);
}

TEST_F(FormCreate, ShowingTheWindowAppliesSettingsChangedOutside) {
    auto& frm = Create();
    Store("Attempts", 7);
    Store("Automatic RAM Free Silent", 0);
    frm.ShowMainWindow1Click();
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(frm.spnAtempts.Value(), 7);
    EXPECT_FALSE(frm.chbAuto_Free_Silent.Checked());
    EXPECT_EQ(Stored("Automatic RAM Free Silent"), 0u);
}

TEST_F(FormCreate, ClosingHidesToTheTrayAndExitEndsTheProgram) {
    auto& frm = Create();
    host.Show();
    EXPECT_FALSE(frm.FormCloseQuery());
    EXPECT_EQ(tray.hides, 1);
    EXPECT_FALSE(host.visible);
    EXPECT_TRUE(tmrUsage.enabled) << "the program goes on";
    frm.erminate1Click();
    EXPECT_TRUE(host.terminated);
}

TEST_F(FormCreate, HelpAndWebLinksGoThroughTheShell) {
    auto& frm = Create();
    frm.btnHelp.Click();
    frm.lblWebSiteClick();
    frm.HyperLink2Click();
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shell.opened[0], "C:\\Program Files\\Korbela Lite\\Korbela Lite.chm");
    EXPECT_EQ(shell.opened[1], kMakerWebSite);
    EXPECT_EQ(shell.opened[2], kProductWebSite);
}

TEST_F(FormCreate, AnErrorInASetUpStepEndsItThereButLeavesTheWindowWorking) {
    registry.SetRefuseWrites(RegRoot::CurrentUser, true);  // the defaults cannot be written
    auto& frm = Create(false);
    EXPECT_THROW(frm.FormCreate(), std::exception);
    EXPECT_FALSE(frm.Loading());
    EXPECT_TRUE(tmrCheckCPU.enabled);
    EXPECT_EQ(frm.pnlAbout.Caption(), "") << "the later steps did not run";

    registry.SetRefuseWrites(RegRoot::CurrentUser, false);
    registry.AddKey(RegRoot::CurrentUser, kSettingsKey);
    frm.chbAuto_Start.SetChecked(true);
    frm.chbAuto_Free.SetChecked(true);
    frm.chbAuto_Free_Silent.SetChecked(false);
    EXPECT_EQ(Stored("Auto Start"), 1u);
    EXPECT_EQ(Stored("Automatic RAM Freeing"), 1u);
    EXPECT_EQ(Stored("Automatic RAM Free Silent"), 0u);
}

}  // namespace
}  // namespace korbela::testing
