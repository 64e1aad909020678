// The tray's clean levels: one pass at a fixed target with the window shown,
// its percent and MB on the target label and bar for the length of the run,
// then back to the tray.
#include "core/ui/frm_kr_main.h"
#include "core/ui/tray_target.h"
#include "core/ui/one_pass_scope.h"

namespace korbela {

void TfrmKRmain::CleanLevel(int percent) {
    if (freeing_) return;  // never a run inside a run
    {
        OnePassScope onePass(*this);
        ShowAndFront();  // showing applies the stored settings, the slider's too
        // However the run ends, the label and the bar show the slider again.
        struct LevelShown {
            TfrmKRmain& form;
            ~LevelShown() {
                form.pbrTargetRAM.SetPercent(form.tbrTarget.Position());
                form.ShowTargetCaption(form.tbrTarget.Position());
            }
        };
        LevelShown shown{*this};
        pbrTargetRAM.SetPercent(percent);
        ShowTargetCaption(percent);
        FreeRAM(percent);
    }
    tray_.HideToTray();
}

void TfrmKRmain::LightClean1Click() { CleanLevel(30); }

void TfrmKRmain::MediumClean1Click() { CleanLevel(60); }

void TfrmKRmain::HeavyClean1Click() { CleanLevel(80); }

}  // namespace korbela
