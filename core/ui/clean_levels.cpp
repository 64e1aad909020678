// The tray's clean levels: one pass at a fixed target with the window shown,
// then back to the tray.
#include "core/ui/frm_kr_main.h"
#include "core/ui/tray_target.h"
#include "core/ui/one_pass_scope.h"

namespace korbela {

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
