// Monitor page: feeding the graph, the channel boxes and their stored code,
// and the notice shown when the CPU load cannot be read on Windows Vista.
#include "core/ui/frm_kr_main.h"

namespace korbela {

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

void TfrmKRmain::FeedGraph(int freePercent) {
    scpGraph.SetChannelVisible(0, chbFreeRAM.Checked());
    scpGraph.SetChannelVisible(1, chbUsedRAM.Checked());
    scpGraph.SetChannelVisible(2, chbCPU.Checked());
    scpGraph.AddValue(1, 100 - freePercent);
    scpGraph.AddValue(0, freePercent);
}

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
