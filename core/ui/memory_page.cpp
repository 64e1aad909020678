// Memory page: the target slider with its label and bar, and the Free RAM
// button.
#include "core/ui/frm_kr_main.h"
#include "core/ui/system_messages.h"
#include "core/util/rounding.h"

namespace korbela {

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

void TfrmKRmain::btnFreeRAMClick() { FreeRAM(tbrTarget.Position()); }

}  // namespace korbela
