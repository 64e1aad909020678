// Main window, title bar and page control: the help button beside Close and
// the tab strip that selects the pages.
#include "win32/ui/control_ids.h"
#include "win32/ui/main_window.h"
#include "win32/ui/page_layout.h"
#include "win32/ui/views/button_view.h"
#include "win32/ui/views/tabs_view.h"

namespace korbela {

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

}  // namespace korbela
