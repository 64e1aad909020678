// Main window, Memory page: the "Total RAM:" group with the used and free
// figures and bars, the freeing banner over its lower part, and the
// "Targeted RAM to free:" group with the target slider, its bar, the Free RAM
// button and the pass panel that covers them during a run.
#include "win32/ui/control_ids.h"
#include "win32/ui/main_window.h"
#include "win32/ui/page_layout.h"
#include "win32/ui/views/button_view.h"
#include "win32/ui/views/label_view.h"
#include "win32/ui/views/panel_view.h"
#include "win32/ui/views/progress_view.h"
#include "win32/ui/views/slider_view.h"
#include "win32/ui/views/widget_view.h"
#include "win32/widgets/percent_bar_painter.h"

namespace korbela {

namespace {

constexpr int kPage = kPageMemory;

DrawnControl::Painter PainterOf(const TPercentBar& bar) { return PercentBarPainter(bar); }

}  // namespace

void MainWindow::BindMemoryPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPage};

    // "Total RAM:"
    const POINT total = layout::Offset(layout::kPage, 0, 0);
    const Placement underBanner{kPage, nullptr, &form.pnlFreeing_RAM};
    Watch(form.lblTotalRAM, Add<LabelView>(form.lblTotalRAM, onPage, At(total, 69, 4, 150, 13), ctrl::lblTotalRAM));
    Watch(form.Label3, Add<LabelView>(form.Label3, onPage, At(total, 8, 26, 100, 13), ctrl::Label3));
    Watch(form.lblUsedRAM, Add<LabelView>(form.lblUsedRAM, onPage, At(total, 110, 26, 150, 13), ctrl::lblUsedRAM));
    WatchWidget(form.pbrUsedRAM.Invalidate,
                Add<WidgetView>(onPage, At(total, 8, 45, 448, 21), ctrl::pbrUsedRAM, PainterOf(form.pbrUsedRAM),
                                form.lblUsedRAM.Hint()));
    Watch(form.Label2, Add<LabelView>(form.Label2, underBanner, At(total, 9, 72, 110, 13), ctrl::Label2));
    Watch(form.lblFreeRAM,
          Add<LabelView>(form.lblFreeRAM, underBanner, At(total, 122, 72, 150, 13), ctrl::lblFreeRAM));
    WatchWidget(form.pbrFreeRAM.Invalidate,
                Add<WidgetView>(underBanner, At(total, 6, 91, 448, 21), ctrl::pbrFreeRAM,
                                PainterOf(form.pbrFreeRAM), form.lblFreeRAM.Hint()));

    // "Targeted RAM to free:"
    const POINT target = layout::Offset(layout::kPage, 0, 122);
    const Placement underPass{kPage, nullptr, &form.pnlPass};
    Watch(form.lblRAMperFree,
          Add<LabelView>(form.lblRAMperFree, onPage, At(target, 134, 5, 200, 13), ctrl::lblRAMperFree));
    Watch(form.tbrTarget, Add<SliderView>(form.tbrTarget, underPass, At(target, 4, 26, 352, 34), ctrl::tbrTarget));
    Watch(form.btnFreeRAM,
          Add<ButtonView>(form.btnFreeRAM, underPass, At(target, 362, 28, 96, 30), ctrl::btnFreeRAM));
    WatchWidget(form.pbrTargetRAM.Invalidate,
                Add<WidgetView>(onPage, At(target, 8, 68, 341, 21), ctrl::pbrTargetRAM, PainterOf(form.pbrTargetRAM),
                                "Percentage of RAM to free."));

    // The pass panel: placed by its Top within the group (24 during a run).
    const Placement inPass{kPage, &form.pnlPass, nullptr};
    Watch(form.lblPassCaption,
          Add<LabelView>(form.lblPassCaption, inPass, At(target, 12, 5, 240, 13), ctrl::lblPassCaption));
    Watch(form.lblPass, Add<LabelView>(form.lblPass, inPass, At(target, 262, 5, 110, 13), ctrl::lblPass));
    Watch(form.lblWorking,
          Add<LabelView>(form.lblWorking, inPass, At(target, 385, 5, 66, 13), ctrl::lblWorking, SS_RIGHT));
    Watch(form.pbrWorking, Add<ProgressView>(form.pbrWorking, inPass, At(target, 12, 22, 439, 14), ctrl::pbrWorking));
    Add<PanelView>(form.pnlPass, onPage, At(target, 4, 0, 459, 42), ctrl::pnlPass, PanelView::Look::Group);
    WatchAll(form.pnlPass);

    // The banner over the free figures while a run is in progress.
    Add<PanelView>(form.pnlFreeing_RAM, onPage, At(total, 4, 68, 459, 48), ctrl::pnlFreeing_RAM,
                   PanelView::Look::Banner);
    WatchAll(form.pnlFreeing_RAM);

    // "Total RAM:" reaches down to the target group.
    Watch(form.pnlTotal,
          Add<PanelView>(form.pnlTotal, onPage, At(total, 0, 0, layout::kPageWidth, target.y - total.y),
                         ctrl::pnlTotal, PanelView::Look::Group));
    Watch(form.pnlFree, Add<PanelView>(form.pnlFree, onPage, At(target, 0, 0, layout::kPageWidth, 106),
                                       ctrl::pnlFree, PanelView::Look::Group));
}

}  // namespace korbela
