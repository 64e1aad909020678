// Settings page: start with Windows, the update period, the attempts, and the
// automatic freeing level, CPU threshold and check boxes. Each change is
// stored as it is made.
#include "core/platform/memory_status.h"
#include "core/ui/frm_kr_main.h"
#include "core/ui/system_messages.h"
#include "core/util/rounding.h"
#include "core/widgets/thread_timer.h"

namespace korbela {

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

}  // namespace korbela
