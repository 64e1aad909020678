// Settings page, "General Settings": start with Windows.
#include "core/ui/frm_kr_main.h"

namespace korbela {

void TfrmKRmain::chbAuto_StartClick() {
    if (Loading_) return;
    const bool enable = chbAuto_Start.Checked();
    autoStart_.SetAutoStart(enable, ExePath_);
    if (!settings_.SaveAutoStart(enable)) {
        messages_.ShowSystemMessage("Unable to store auto start.");
    }
}

}  // namespace korbela
