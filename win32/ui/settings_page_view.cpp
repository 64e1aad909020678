// Main window, Settings page: "General Settings" (start with Windows, update
// period, attempts) and "Automatic RAM Freeing" (the two boxes and the hidden
// test button on the left, the level and CPU threshold sliders on the right).
#include "win32/ui/control_ids.h"
#include "win32/ui/main_window.h"
#include "win32/ui/page_layout.h"
#include "win32/ui/views/button_view.h"
#include "win32/ui/views/check_box_view.h"
#include "win32/ui/views/label_view.h"
#include "win32/ui/views/panel_view.h"
#include "win32/ui/views/slider_view.h"
#include "win32/ui/views/spinner_view.h"

namespace korbela {

void MainWindow::BindSettingsPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPageSettings};

    // "General Settings": each spinner reads as a sentence with its labels.
    const POINT general = layout::Offset(layout::kPage, 0, 0);
    Watch(form.chbAuto_Start,
          Add<CheckBoxView>(form.chbAuto_Start, onPage, At(general, 10, 26, 260, 17), ctrl::chbAuto_Start));
    Watch(form.lblSecCaption,
          Add<LabelView>(form.lblSecCaption, onPage, At(general, 12, 51, 142, 13), ctrl::lblSecCaption));
    Watch(form.spnSec,
          Add<SpinnerView>(form.spnSec, onPage, At(general, 156, 47, 46, 20), ctrl::spnSec, ctrl::spnSecArrows));
    Watch(form.lblSec, Add<LabelView>(form.lblSec, onPage, At(general, 207, 51, 100, 13), ctrl::lblSec));
    Watch(form.lblMake, Add<LabelView>(form.lblMake, onPage, At(general, 12, 73, 28, 13), ctrl::lblMake));
    Watch(form.spnAtempts, Add<SpinnerView>(form.spnAtempts, onPage, At(general, 42, 69, 46, 20), ctrl::spnAtempts,
                                            ctrl::spnAtemptsArrows));
    Watch(form.lblttempts, Add<LabelView>(form.lblttempts, onPage, At(general, 93, 73, 200, 13), ctrl::lblttempts));

    // "Automatic RAM Freeing"
    const POINT automatic = layout::Offset(layout::kPage, 0, 94);
    Watch(form.chbAuto_Free,
          Add<CheckBoxView>(form.chbAuto_Free, onPage, At(automatic, 10, 26, 215, 17), ctrl::chbAuto_Free));
    Watch(form.chbAuto_Free_Silent, Add<CheckBoxView>(form.chbAuto_Free_Silent, onPage,
                                                      At(automatic, 10, 47, 215, 17), ctrl::chbAuto_Free_Silent));
    Watch(form.btnTest_Auto_Free, Add<ButtonView>(form.btnTest_Auto_Free, onPage, At(automatic, 12, 72, 110, 25),
                                                  ctrl::btnTest_Auto_Free));
    Watch(form.lblRAMtoFreeCaption, Add<LabelView>(form.lblRAMtoFreeCaption, onPage, At(automatic, 12, 110, 66, 13),
                                                   ctrl::lblRAMtoFreeCaption));
    Watch(form.lblRAMtoFree,
          Add<LabelView>(form.lblRAMtoFree, onPage, At(automatic, 80, 110, 120, 13), ctrl::lblRAMtoFree));

    Watch(form.lblAuto_Level,
          Add<LabelView>(form.lblAuto_Level, onPage, At(automatic, 396, 26, 60, 13), ctrl::lblAuto_Level, SS_RIGHT));
    Watch(form.tbrAuto_Level,
          Add<SliderView>(form.tbrAuto_Level, onPage, At(automatic, 234, 40, 226, 32), ctrl::tbrAuto_Level));
    Watch(form.lblCPUThresholdCaption, Add<LabelView>(form.lblCPUThresholdCaption, onPage,
                                                      At(automatic, 240, 76, 140, 13), ctrl::lblCPUThresholdCaption));
    Watch(form.lblCPU_Threshold, Add<LabelView>(form.lblCPU_Threshold, onPage, At(automatic, 396, 76, 60, 13),
                                                ctrl::lblCPU_Threshold, SS_RIGHT));
    Watch(form.tbrCPU_Threshold,
          Add<SliderView>(form.tbrCPU_Threshold, onPage, At(automatic, 234, 90, 226, 32), ctrl::tbrCPU_Threshold));

    Watch(form.pnlGeneral, Add<PanelView>(form.pnlGeneral, onPage, At(general, 0, 0, layout::kPageWidth, 92),
                                          ctrl::pnlGeneral, PanelView::Look::Group));
    Watch(form.pnlAutomatic, Add<PanelView>(form.pnlAutomatic, onPage, At(automatic, 0, 0, layout::kPageWidth, 134),
                                            ctrl::pnlAutomatic, PanelView::Look::Group));
}

}  // namespace korbela
