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
