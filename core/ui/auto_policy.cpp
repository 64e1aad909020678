// Automatic freeing: the once-a-minute check, the automatic run and its
// hidden test button.
#include "core/platform/message_pump.h"
#include "core/ui/frm_kr_main.h"
#include "core/ui/tray_target.h"
#include "core/ui/main_window_host.h"
#include "core/ui/one_pass_scope.h"

namespace korbela {

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
