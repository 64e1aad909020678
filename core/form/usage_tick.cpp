// The usage tick: every period the CPU load is read, the memory figures and
// their bars are refreshed, the graph takes its three points and the tray tip
// the free figure. A reading that fails while automatic freeing is on unticks
// and disables its box for this run of the program and, on Windows Vista,
// explains why.
#include <algorithm>
#include <cctype>

#include "core/system/memory.h"
#include "core/system/cpu_usage.h"
#include "core/form/frm_kr_main.h"
#include "core/dialog/system_messages.h"
#include "core/tray/tray_target.h"
#include "core/system/arithmetic.h"

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

// The hint of the greyed automatic freeing box when the CPU load cannot be read.
constexpr char kAutoFreeOffHint[] =
    "The processor load cannot be read on this system, so automatic freeing is off until Korbela Lite starts "
    "again.";

}  // namespace

std::string VistaAdminNotice() {
    const std::string blankLine = "\r\n\r\n";
    return std::string("Unable to retrieve CPU data. In order to work correctly Korbela Lite Requires "
                       "administrator rights in Windows Vista. ") +
           blankLine + "In the window that has just opened locate and right click on" +
           " the \"Korbela Lite\" program icon. Select properties and click " +
           "on the Compatibility tab. At the bottom of the page check (tick)" +
           "the option to \"Run this program as an administrator\"." + blankLine +
           "Close Korbela and restart." + blankLine + "You will find detailed " +
           "instructions in the troubleshooting section of the manual.";
}

void TfrmKRmain::tmrUsageTimer() {
    if (CPUCheckActive_ && !ReadCPULoad() && chbAuto_Free.Checked()) {
        CPUCheckActive_ = false;
        autoFreeSuspended_ = true;  // the click handler leaves the stored choice alone
        chbAuto_Free.SetChecked(false);
        chbAuto_Free.SetEnabled(false);
        chbAuto_Free.SetHint(kAutoFreeOffHint);
        if (TrimmedLower(lbl_OS.Caption()) == "windows vista") {
            Window_Open.Execute();
            messages_.ShowSystemMessage(VistaAdminNotice());
        }
    }
    UpdateRAMStats();
    LastCPULoad_ = pbrCPU.Percent();
    figuresFresh_ = true;
}

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

void TfrmKRmain::UpdateRAMStats() {
    const MemorySnapshot snapshot = memory_.Snapshot();
    TotalMB_ = BytesToMB(snapshot.TotalPhys);
    FreeMB_ = BytesToMB(snapshot.AvailPhys);
    UsedMB_ = TotalMB_ - FreeMB_;
    lblUsedRAM.SetCaption(std::to_string(UsedMB_) + " MB");
    lblFreeRAM.SetCaption(std::to_string(FreeMB_) + " MB");
    tray_.SetHint("Korbela Lite: " + std::to_string(FreeMB_) + " MB free");
    pbrUsedRAM.SetPercent(PercentOf(UsedMB_, TotalMB_));
    tray_.SetUsage(pbrUsedRAM.Percent());
    const int freePercent = PercentOf(FreeMB_, TotalMB_);
    pbrFreeRAM.SetPercent(freePercent);
    FeedGraph(freePercent);
    scpGraph.AddValue(2, pbrCPU.Percent());
}

void TfrmKRmain::FeedGraph(int freePercent) {
    scpGraph.SetChannelVisible(0, chbFreeRAM.Checked());
    scpGraph.SetChannelVisible(1, chbUsedRAM.Checked());
    scpGraph.SetChannelVisible(2, chbCPU.Checked());
    scpGraph.AddValue(1, 100 - freePercent);
    scpGraph.AddValue(0, freePercent);
}

void TfrmKRmain::ShowTotalRAM() {
    TotalRAMBytes_ = memory_.Snapshot().TotalPhys;
    lblTotalRAM.SetCaption(std::to_string(BytesToMB(TotalRAMBytes_) + 1) + " MB");
    lblTRAM.SetCaption(lblTotalRAM.Caption());
    lbl100_Usage.SetHint("Maximum memory: " + lblTotalRAM.Caption());
}

}  // namespace korbela
