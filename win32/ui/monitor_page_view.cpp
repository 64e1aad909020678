// Main window, Monitor page: the "RAM Usage Monitor" group with the graph, its
// scale labels and the three channel boxes, and the "CPU Usage Monitor" group
// with the CPU bar.
#include "win32/ui/control_ids.h"
#include "win32/ui/dpi.h"
#include "win32/ui/main_window.h"
#include "win32/ui/page_layout.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/views/check_box_view.h"
#include "win32/ui/views/label_view.h"
#include "win32/ui/views/panel_view.h"
#include "win32/ui/views/widget_view.h"

namespace korbela {

namespace {

// Room for the total at the top right, "16777216 MB" and more.
constexpr int kScaleLabelWidth = 140;

}  // namespace

void MainWindow::BindMonitorPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPageMonitor};

    const POINT monitor = layout::Offset(layout::kPage, 0, 0);
    const TScope& graph = form.scpGraph;
    WatchWidget(form.scpGraph.Invalidate,
                Add<WidgetView>(onPage, At(monitor, 6, 40, 455, 105), ctrl::scpGraph,
                                [&graph](ICanvas& canvas, int width, int height) { graph.Paint(canvas, width, height); },
                                std::string()));
    Watch(form.lbl100_Usage,
          Add<LabelView>(form.lbl100_Usage, onPage, At(monitor, 5, 24, 60, 13), ctrl::lbl100_Usage));
    Watch(form.lbl0_Usage, Add<LabelView>(form.lbl0_Usage, onPage, At(monitor, 8, 148, 60, 13), ctrl::lbl0_Usage));
    // The right-hand scale labels are right-aligned: their text grows to the
    // left from where the form's "0 Mb" ends when it starts at 435 and 436.
    const int scaleLeft = DesignWidthAtLeast(skin::TextWidth(Handle(), skin_.Normal(), "0 Mb"), scale_) - kScaleLabelWidth;
    Watch(form.lblTRAM, Add<LabelView>(form.lblTRAM, onPage, At(monitor, 435 + scaleLeft, 24, kScaleLabelWidth, 13),
                                       ctrl::lblTRAM, SS_RIGHT));
    Watch(form.Label6, Add<LabelView>(form.Label6, onPage, At(monitor, 436 + scaleLeft, 147, kScaleLabelWidth, 13),
                                      ctrl::Label6, SS_RIGHT));
    // The boxes stand on the group's caption row, right of the caption.
    Watch(form.chbUsedRAM,
          Add<CheckBoxView>(form.chbUsedRAM, onPage, At(monitor, 264, 1, 76, 17), ctrl::chbUsedRAM));
    Watch(form.chbFreeRAM,
          Add<CheckBoxView>(form.chbFreeRAM, onPage, At(monitor, 344, 1, 70, 17), ctrl::chbFreeRAM));
    Watch(form.chbCPU, Add<CheckBoxView>(form.chbCPU, onPage, At(monitor, 416, 1, 46, 17), ctrl::chbCPU));

    const POINT cpu = layout::Offset(layout::kPage, 0, 177);
    AddPercentBar(form.pbrCPU, onPage, At(cpu, 8, 25, 452, 21), ctrl::pbrCPU,
                  "Displays how much load your CPU(s) are taking in real time.");

    // "RAM Usage Monitor" reaches down to the CPU group.
    Watch(form.pnlMonitor, Add<PanelView>(form.pnlMonitor, onPage,
                                          At(monitor, 0, 0, layout::kPageWidth, cpu.y - monitor.y), ctrl::pnlMonitor,
                                          PanelView::Look::Group));
    Watch(form.pnlCPU, Add<PanelView>(form.pnlCPU, onPage, At(cpu, 0, 0, layout::kPageWidth, 51), ctrl::pnlCPU,
                                      PanelView::Look::Group));
}

}  // namespace korbela
