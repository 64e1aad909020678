// Main window, About page: the about text centred in its group and the two
// web links at its bottom, the maker's at the left, the product's at the right.
#include <string>

#include "win32/ui/control_ids.h"
#include "win32/ui/dpi.h"
#include "win32/ui/main_window.h"
#include "win32/ui/page_layout.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/views/label_view.h"
#include "win32/ui/views/link_view.h"
#include "win32/ui/views/panel_view.h"

namespace korbela {

namespace {

// A link is as wide as its text, so only the words react to the pointer; in
// design pixels, rounded up so that the text fits at the scale.
int LinkWidth(HWND window, HFONT font, const std::string& text, DisplayScale scale) {
    return DesignWidthAtLeast(skin::TextWidth(window, font, text), scale) + 2;
}

}  // namespace

void MainWindow::BindAboutPage(TfrmKRmain& form) {
    using layout::At;
    const Placement onPage{kPageAbout};
    const POINT about = layout::Offset(layout::kPage, 0, 0);

    Watch(form.memAbout, Add<LabelView>(form.memAbout, onPage, At(about, 16, 32, 435, 150), ctrl::memAbout, SS_CENTER));

    const int linkTop = 194;
    const int linkHeight = 23;
    const int makerWidth = LinkWidth(Handle(), skin_.Link(), form.lblWebSite.Caption(), scale_);
    Watch(form.lblWebSite, Add<LinkView>(form.lblWebSite, onPage, At(about, 16, linkTop, makerWidth, linkHeight),
                                         ctrl::lblWebSite, SS_LEFT, [&form] { form.lblWebSiteClick(); }));
    const int productWidth = LinkWidth(Handle(), skin_.Link(), form.HyperLink2.Caption(), scale_);
    Watch(form.HyperLink2,
          Add<LinkView>(form.HyperLink2, onPage,
                        At(about, layout::kPageWidth - 16 - productWidth, linkTop, productWidth, linkHeight),
                        ctrl::HyperLink2, SS_RIGHT, [&form] { form.HyperLink2Click(); }));

    Watch(form.pnlAbout, Add<PanelView>(form.pnlAbout, onPage, At(about, 0, 0, layout::kPageWidth, layout::kPageHeight),
                                        ctrl::pnlAbout, PanelView::Look::Group));
}

}  // namespace korbela
