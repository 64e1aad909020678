// Memory page: the total, used and free figures, the usage tick, the target
// slider with its label and bar, the Free RAM button and the tray's clean levels.
#include <algorithm>
#include <cctype>

#include "core/ui/frm_kr_main.h"
#include "core/ui/one_pass_scope.h"
#include "core/util/rounding.h"

namespace korbela {

namespace {

std::string TrimmedLower(const std::string& text) {
    auto isSpaceOrControl = [](unsigned char c) { return c <= ' ' || c == 0x7F; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isSpaceOrControl(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && isSpaceOrControl(static_cast<unsigned char>(text[last - 1]))) --last;
    std::string result = text.substr(first, last - first);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

int PercentOf(int64_t part, int64_t whole) {
    if (whole <= 0) return 0;  // no figures yet: nothing to divide by
    return static_cast<int>(RoundHalfEvenQuotient(part * 100, whole));
}

}  // namespace

void TfrmKRmain::ShowTotalRAM() {
    TotalRAMBytes_ = memory_.Snapshot().TotalPhys;
    lblTotalRAM.SetCaption(std::to_string(BytesToMB(TotalRAMBytes_) + 1) + " MB");
    lblTRAM.SetCaption(lblTotalRAM.Caption());
    lbl100_Usage.SetHint("Maximum memory: " + lblTotalRAM.Caption());
}

void TfrmKRmain::UpdateRAMStats() {
    const MemorySnapshot snapshot = memory_.Snapshot();
    TotalMB_ = BytesToMB(snapshot.TotalPhys);
    FreeMB_ = BytesToMB(snapshot.AvailPhys);
    UsedMB_ = TotalMB_ - FreeMB_;
    lblUsedRAM.SetCaption(std::to_string(UsedMB_) + " MB");
    lblFreeRAM.SetCaption(std::to_string(FreeMB_) + " MB");
    tray_.SetHint("Korbela Lite: " + std::to_string(FreeMB_) + " MB free");
    pbrUsedRAM.SetPercent(PercentOf(UsedMB_, TotalMB_));
    const int freePercent = PercentOf(FreeMB_, TotalMB_);
    pbrFreeRAM.SetPercent(freePercent);
    FeedGraph(freePercent);
    scpGraph.AddValue(2, pbrCPU.Percent());
}

void TfrmKRmain::tmrUsageTimer() {
    if (CPUCheckActive_ && !ReadCPULoad() && chbAuto_Free.Checked()) {
        CPUCheckActive_ = false;
        autoFreeSuspended_ = true;  // the click handler leaves the stored choice alone
        chbAuto_Free.SetChecked(false);
        chbAuto_Free.SetEnabled(false);
        if (TrimmedLower(lbl_OS.Caption()) == "windows vista") {
            Window_Open.Execute();
            messages_.ShowSystemMessage(VistaAdminNotice());
        }
    }
    UpdateRAMStats();
    LastCPULoad_ = pbrCPU.Percent();
    figuresFresh_ = true;
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

void TfrmKRmain::ShowTargetRAM() {
    if (tbrTarget.Position() > 90) tbrTarget.SetPosition(90);
    if (tbrTarget.Position() < 5) tbrTarget.SetPosition(5);
    const int position = tbrTarget.Position();
    scpGraph.SetBaseOffset(position);
    const int64_t bytes = RoundHalfEvenQuotient(static_cast<int64_t>(TotalRAMBytes_) * position, 100);
    const int64_t mb = bytes >> 20;
    lblRAMperFree.SetCaption(std::to_string(position) + "%   (" + std::to_string(mb) + " MB)");
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

void TfrmKRmain::btnFreeRAMClick() { FreeRAM(tbrTarget.Position()); }

void TfrmKRmain::spnAtemptsChange() {
    lblttempts.SetCaption(spnAtempts.Value() == 1 ? "attempt to free target RAM."
                                                   : "attempts to free target RAM.");
    if (userAttempts_ || KeepsStoredSettings()) return;  // a run's one pass is not the user's
    if (!settings_.SaveAttempts(spnAtempts.Value())) {
        messages_.ShowSystemMessage("Unable to atempts to free.");
    }
}

void TfrmKRmain::CleanLevel(int percent, bool setTargetBar) {
    if (freeing_) return;  // never a run inside a run
    {
        OnePassScope onePass(*this);
        if (setTargetBar) pbrTargetRAM.SetPercent(percent);
        ShowAndFront();
        FreeRAM(percent);
    }
    tray_.HideToTray();
}

void TfrmKRmain::LightClean1Click() { CleanLevel(30, false); }

void TfrmKRmain::MediumClean1Click() { CleanLevel(60, true); }

void TfrmKRmain::HeavyClean1Click() { CleanLevel(80, false); }

}  // namespace korbela
