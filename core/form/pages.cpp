// The pages' own handlers: the Memory page's target and Free RAM button, the
// Monitor page's channel boxes, the Settings page, and the title bar's help
// and the About page's links.

#include "core/dialog/system_messages.h"
#include "core/form/frm_kr_main.h"
#include "core/system/arithmetic.h"
#include "core/system/memory.h"
#include "core/system/thread_timer.h"

namespace korbela {

// Memory page: the target slider with its label and bar, and the Free RAM
// button.
void TfrmKRmain::ShowTargetRAM() {
    if (tbrTarget.Position() > 90) tbrTarget.SetPosition(90);
    if (tbrTarget.Position() < 5) tbrTarget.SetPosition(5);
    const int position = tbrTarget.Position();
    scpGraph.SetBaseOffset(position);
    ShowTargetCaption(position);
}

void TfrmKRmain::ShowTargetCaption(int percent) {
    const int64_t bytes = RoundHalfEvenQuotient(static_cast<int64_t>(TotalRAMBytes_) * percent, 100);
    const int64_t mb = bytes >> 20;
    lblRAMperFree.SetCaption(std::to_string(percent) + "%   (" + std::to_string(mb) + " MB)");
}

void TfrmKRmain::tbrTargetChange() {
    pbrTargetRAM.SetPercent(tbrTarget.Position());
    ShowTargetRAM();
    if (!Loading_) UpdateRAMStats();
}

void TfrmKRmain::tbrTargetMouseUp() {
    pbrTargetRAM.SetPercent(tbrTarget.Position());
    ShowTargetRAM();
    if (!settings_.SaveTargetRAM(tbrTarget.Position())) {
        messages_.ShowSystemMessage("Unable to store automatic RAM level.");
    }
}

void TfrmKRmain::btnFreeRAMClick() { TellFreed(FreeRAM(tbrTarget.Position())); }

// Monitor page: the channel boxes and their stored code.
void TfrmKRmain::StoreMonitorView() {
    const int32_t code = EncodeMonitorView({chbUsedRAM.Checked(), chbFreeRAM.Checked(), chbCPU.Checked()});
    if (!settings_.SaveMonitorView(code)) {
        messages_.ShowSystemMessage("Unable to store monitor view.");
    }
}

void TfrmKRmain::ApplyMonitorView(int32_t code) {
    MonitorViewBoxes boxes;
    if (!DecodeMonitorView(code, boxes)) return;
    chbUsedRAM.SetChecked(boxes.UsedRAM);
    chbFreeRAM.SetChecked(boxes.FreeRAM);
    chbCPU.SetChecked(boxes.CPU);
}

// Settings page: start with Windows, the update period, the attempts, and the
// automatic freeing level, CPU threshold and check boxes. Each change is
// stored as it is made.
void TfrmKRmain::chbAuto_StartClick() {
    if (Loading_) return;
    const bool enable = chbAuto_Start.Checked();
    autoStart_.SetAutoStart(enable, ExePath_);
    if (!settings_.SaveAutoStart(enable)) {
        messages_.ShowSystemMessage("Unable to store auto start.");
    }
}

void TfrmKRmain::spnSecChange() {
    const int seconds = spnSec.Value();
    lblSec.SetCaption(seconds == 1 ? "second." : "seconds.");
    tmrUsage_.SetInterval(static_cast<uint32_t>(seconds) * 1000);
    if (KeepsStoredSettings()) return;
    if (!settings_.SaveUpdatePeriod(seconds)) {
        messages_.ShowSystemMessage("Unable to store update period.");
    }
}

void TfrmKRmain::spnAtemptsChange() {
    lblttempts.SetCaption(spnAtempts.Value() == 1 ? "attempt to free target RAM."
                                                   : "attempts to free target RAM.");
    if (userAttempts_ || KeepsStoredSettings()) return;  // a run's one pass is not the user's
    if (!settings_.SaveAttempts(spnAtempts.Value())) {
        messages_.ShowSystemMessage("Unable to atempts to free.");
    }
}

void TfrmKRmain::RefreshAutoFreeing() {
    const MemorySnapshot snapshot = memory_.Snapshot();
    if (tbrAuto_Level.Position() > 90) tbrAuto_Level.SetPosition(90);
    if (tbrAuto_Level.Position() < 5) tbrAuto_Level.SetPosition(5);
    if (tbrCPU_Threshold.Position() > 70) tbrCPU_Threshold.SetPosition(70);
    const int level = tbrAuto_Level.Position();
    lblAuto_Level.SetCaption(std::to_string(level) + "%");
    lblCPU_Threshold.SetCaption(std::to_string(tbrCPU_Threshold.Position()) + "%");
    const int64_t perPercent = RoundHalfEvenQuotient(static_cast<int64_t>(snapshot.TotalPhys), 100);
    AutoFreeMB_ = (perPercent * level) >> 20;
    lblRAMtoFree.SetCaption(std::to_string(AutoFreeMB_) + " Mb");
}

void TfrmKRmain::tbrAuto_LevelChange() {
    lblAuto_Level.SetCaption(std::to_string(tbrAuto_Level.Position()) + "%");
    RefreshAutoFreeing();
    if (KeepsStoredSettings()) return;
    if (!settings_.SaveAutoLevel(tbrAuto_Level.Position())) {
        messages_.ShowSystemMessage("Unable to automatic RAM to free level.");
    }
}

void TfrmKRmain::tbrAuto_LevelMouseUp() {
    if (!settings_.SaveAutoLevel(tbrAuto_Level.Position())) {
        messages_.ShowSystemMessage("Unable to store automatic freeing level.");
    }
}

void TfrmKRmain::tbrCPU_ThresholdChange() {
    lblCPU_Threshold.SetCaption(std::to_string(tbrCPU_Threshold.Position()) + "%");
    CPUThreshold_ = tbrCPU_Threshold.Position();
    if (KeepsStoredSettings()) return;
    if (!settings_.SaveCPUThreshold(tbrCPU_Threshold.Position())) {
        messages_.ShowSystemMessage("Unable to store cpu threshold.");
    }
}

void TfrmKRmain::tbrCPU_ThresholdMouseUp() {
    if (!settings_.SaveCPUThreshold(tbrCPU_Threshold.Position())) {
        messages_.ShowSystemMessage("Unable to store cpu threshold.");
    }
}

void TfrmKRmain::chbAuto_FreeClick() {
    if (Loading_ || autoFreeSuspended_) return;
    if (!settings_.SaveAutoFreeing(chbAuto_Free.Checked())) {
        messages_.ShowSystemMessage("Unable to automatic RAM to free level.");
    }
}

void TfrmKRmain::chbAuto_Free_SilentClick() {
    if (Loading_) return;
    if (!settings_.SaveAutoFreeSilent(chbAuto_Free_Silent.Checked())) {
        messages_.ShowSystemMessage("Unable to automatic RAM to free level.");
    }
}

// The title bar, the About page and the hot key that shows the test button.
void TfrmKRmain::btnHelpClick() { StartHelp.Execute(); }

void TfrmKRmain::lblWebSiteClick() { startURL.Execute(); }

void TfrmKRmain::HyperLink2Click() { startURL3.Execute(); }

void TfrmKRmain::GlobalHotKey2KeyDown(int /*key*/, int /*shift*/) {
    btnTest_Auto_Free.SetVisible(!btnTest_Auto_Free.Visible());
}

}  // namespace korbela
