// The main window's pages: each control of the form bound to a view in its
// place, from the title bar and the tab strip to the About page.

#include "win32/form/pages.h"

#include <string>

#include "win32/form/controls.h"
#include "win32/form/main_window.h"
#include "win32/window/control_ids.h"
#include "win32/window/dpi.h"
#include "win32/window/skin.h"

namespace korbela {

// Main window, title bar and page control: the help button beside Close and
// the tab strip that selects the pages.
void MainWindow::BindTitleBar(TfrmKRmain& form) {
    ButtonView& help =
        Add<ButtonView>(form.btnHelp, Placement{}, RECT{377, 2, 446, 27}, ctrl::btnHelp, skin::Glyph::Help, "Help");
    Watch(form.btnHelp, help);
    // Tab runs left to right as on screen: Help first, then Close, made with the window.
    SetWindowPos(help.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Add<TabsView>(form.pgRAM, layout::kTabStrip, ctrl::pgRAM, layout::kTabsLeft - layout::kTabStrip.left);
    // Switching or disabling the pages changes what every control shows.
    WatchAll(form.pgRAM);
}

// Main window, Memory page: the "Total RAM:" group with the used and free
// figures and bars, the freeing banner over its lower part, and the
// "Targeted RAM to free:" group with the target slider, its bar, the Free RAM
// button and the pass panel that covers them during a run.
namespace {

constexpr int kPage = kPageMemory;

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
    AddPercentBar(form.pbrUsedRAM, onPage, At(total, 8, 45, 448, 21), ctrl::pbrUsedRAM, form.lblUsedRAM.Hint());
    Watch(form.Label2, Add<LabelView>(form.Label2, underBanner, At(total, 9, 72, 110, 13), ctrl::Label2));
    Watch(form.lblFreeRAM,
          Add<LabelView>(form.lblFreeRAM, underBanner, At(total, 122, 72, 150, 13), ctrl::lblFreeRAM));
    AddPercentBar(form.pbrFreeRAM, underBanner, At(total, 6, 91, 448, 21), ctrl::pbrFreeRAM, form.lblFreeRAM.Hint());

    // "Targeted RAM to free:"
    const POINT target = layout::Offset(layout::kPage, 0, 122);
    const Placement underPass{kPage, nullptr, &form.pnlPass};
    Watch(form.lblRAMperFree,
          Add<LabelView>(form.lblRAMperFree, onPage, At(target, 134, 5, 200, 13), ctrl::lblRAMperFree));
    Watch(form.tbrTarget, Add<SliderView>(form.tbrTarget, underPass, At(target, 4, 26, 352, 34), ctrl::tbrTarget));
    Watch(form.btnFreeRAM,
          Add<ButtonView>(form.btnFreeRAM, underPass, At(target, 362, 28, 96, 30), ctrl::btnFreeRAM));
    AddPercentBar(form.pbrTargetRAM, onPage, At(target, 8, 68, 341, 21), ctrl::pbrTargetRAM,
                  "Percentage of RAM to free.");

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

// Main window, Monitor page: the "RAM Usage Monitor" group with the graph, its
// scale labels and the three channel boxes, and the "CPU Usage Monitor" group
// with the CPU bar.
namespace {

// Room for the total at the top right, "16777216 MB" and more.
constexpr int kScaleLabelWidth = 140;

}  // namespace

void MainWindow::BindMonitorPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPageMonitor};

    const POINT monitor = layout::Offset(layout::kPage, 0, 0);
    const TScope& graph = form.scpGraph;
    Watch(form.scpGraph,
          Add<WidgetView>(
              onPage, At(monitor, 6, 40, 455, 105), ctrl::scpGraph,
              [&graph](ICanvas& canvas, int width, int height) { graph.Paint(canvas, width, height); }, std::string()));
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

// Main window, Settings page: "General Settings" (start with Windows, update
// period, attempts) and "Automatic RAM Freeing" (the two boxes and the hidden
// test button on the left, the level and CPU threshold sliders on the right).
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

// Main window, About page: the about text centred in its group and the two
// web links at its bottom, the maker's at the left, the product's at the right.
namespace {

// Room on each side of a link's text for its focus cue, in design pixels.
constexpr int kLinkMargin = 4;

// A link is as wide as its text and the room for its focus cue, so only the
// words react to the pointer; in design pixels, rounded up so that the text
// fits at the scale.
int LinkWidth(HWND window, HFONT font, const std::string& text, DisplayScale scale) {
    return DesignWidthAtLeast(skin::TextWidth(window, font, text), scale) + 2 * kLinkMargin;
}

}  // namespace

void MainWindow::BindAboutPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPageAbout};
    const POINT about = layout::Offset(layout::kPage, 0, 0);

    Watch(form.memAbout, Add<LabelView>(form.memAbout, onPage, At(about, 16, 32, 435, 150), ctrl::memAbout, SS_CENTER));

    // The text centred both ways, where it stood when it filled its link.
    const int linkTop = 190;
    const int linkHeight = 23;
    const DWORD centred = SS_CENTER | SS_CENTERIMAGE;
    const int makerWidth = LinkWidth(Handle(), skin_.Link(), form.lblWebSite.Caption(), scale_);
    Watch(form.lblWebSite,
          Add<LinkView>(form.lblWebSite, onPage, At(about, 16 - kLinkMargin, linkTop, makerWidth, linkHeight),
                        ctrl::lblWebSite, centred, [&form] { form.lblWebSiteClick(); }));
    const int productWidth = LinkWidth(Handle(), skin_.Link(), form.HyperLink2.Caption(), scale_);
    Watch(form.HyperLink2,
          Add<LinkView>(form.HyperLink2, onPage,
                        At(about, layout::kPageWidth - 16 + kLinkMargin - productWidth, linkTop, productWidth,
                           linkHeight),
                        ctrl::HyperLink2, centred, [&form] { form.HyperLink2Click(); }));

    Watch(form.pnlAbout, Add<PanelView>(form.pnlAbout, onPage, At(about, 0, 0, layout::kPageWidth, layout::kPageHeight),
                                        ctrl::pnlAbout, PanelView::Look::Group));
}

}  // namespace korbela
