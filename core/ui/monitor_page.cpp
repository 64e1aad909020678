// Monitor page: the channel boxes and their stored code.
#include "core/ui/frm_kr_main.h"
#include "core/ui/system_messages.h"

namespace korbela {

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

}  // namespace korbela
