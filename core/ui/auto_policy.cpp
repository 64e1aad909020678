// Automatic freeing: the CPU load reading, the level and threshold sliders,
// the once-a-minute check, the automatic run and its hidden test button.
#include "core/ui/frm_kr_main.h"
#include "core/ui/one_pass_scope.h"
#include "core/util/rounding.h"

namespace korbela {

bool TfrmKRmain::ReadCPULoad() {
    if (cpu_ == nullptr) return false;
    int percent = 0;
    try {
        if (!CombineMachineLoad(*cpu_, percent)) return false;
    } catch (const std::exception&) {
        return false;  // a reading that cannot be formed leaves the bar alone
    }
    pbrCPU.SetPercent(percent);
    return true;
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

void TfrmKRmain::tmrCheckCPUTimer() {
    if (Loading_) return;
    if (!chbAuto_Free.Checked()) return;
    if (!(LastCPULoad_ < CPUThreshold_)) return;
    if (!(FreeMB_ < AutoFreeMB_)) return;
    // Figures from before the last run ended say nothing about memory now.
    if (!figuresFresh_) return;
    AutoFreeRAM();
}

void TfrmKRmain::AutoFreeRAM() {
    if (freeing_) return;  // never a run inside a run
    const bool wasVisible = host_.IsVisible();
    {
        OnePassScope onePass(*this);
        if (!chbAuto_Free_Silent.Checked()) ShowAndFront();
        pump_.ProcessMessages();
        FreeRAM(tbrAuto_Level.Position());
    }
    if (!wasVisible) tray_.HideToTray();
}

void TfrmKRmain::btnTest_Auto_FreeClick() { AutoFreeRAM(); }

void TfrmKRmain::GlobalHotKey2KeyDown(int /*key*/, int /*shift*/) {
    btnTest_Auto_Free.SetVisible(!btnTest_Auto_Free.Visible());
}

}  // namespace korbela
