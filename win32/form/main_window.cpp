#include "win32/form/main_window.h"

#include <stdexcept>

#include "win32/window/error_report.h"
#include "win32/window/control_ids.h"
#include "win32/window/dpi.h"
#include "win32/window/skin.h"
#include "win32/form/controls.h"
#include "win32/widgets/drawn_control.h"
#include "win32/window/window.h"

namespace korbela {

namespace {

// A control that can take the focus: shown and enabled by its own style bits,
// as the window itself may not be shown yet.
bool Usable(HWND control) {
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, HWND applicationWindow, HICON icon)
    : instance_(instance), application_(applicationWindow), icon_(icon) {
    RegisterWindowClass(instance, {kMainWindowClass, WindowProc, icon, true});
    // A popup with a title bar of its own: no native frame, so the client
    // area is the whole 473 x 291 window, in design pixels. It is made on the
    // primary screen and then takes that screen's scale.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
    HWND window = Create(WS_EX_CONTROLPARENT, kMainWindowClass, kMainWindowCaption,
                         WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU, x, y, kClientWidth, kClientHeight,
                         applicationWindow, nullptr, instance);
    if (window == nullptr) throw std::runtime_error("Unable to create the main window.");
    ApplyScale(ScaleOfWindow(window), nullptr);
    btnClose_.OnClick = [this] { CloseQuery(); };
    ControlView& close = Add<ButtonView>(btnClose_, Placement{}, RECT{448, 2, 471, 27}, ctrl::btnClose,
                                         skin::Glyph::Close, "Close");
    close.Sync();
}

MainWindow::~MainWindow() {
    // The form's hooks are not touched here: the form may already be gone.
    Destroy();
    views_.clear();
}

void MainWindow::Bind(TfrmKRmain& form) {
    if (form_ != nullptr) Unbind();
    form_ = &form;
    ScaleWidgets();
    BindTitleBar(form);
    BindMemoryPage(form);
    BindMonitorPage(form);
    BindSettingsPage(form);
    BindAboutPage(form);
    // Group panels lie under their controls, the covering panels between.
    auto sendToBottom = [this](bool covering) {
        for (const auto& view : views_) {
            const int id = GetDlgCtrlID(view->Handle());
            const bool isCovering = id == ctrl::pnlPass || id == ctrl::pnlFreeing_RAM;
            if (dynamic_cast<PanelView*>(view.get()) != nullptr && isCovering == covering) {
                SetWindowPos(view->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    };
    sendToBottom(true);
    sendToBottom(false);
    // Focus cues as Windows decides: hidden until the keyboard is used.
    SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    SyncAll();
}

void MainWindow::Unbind() {
    parkedFocus_ = nullptr;
    focusOnActivate_ = nullptr;
    for (auto& unhook : unhooks_) unhook();
    unhooks_.clear();
    form_ = nullptr;
    // Keep the title bar's Close button, which belongs to the window.
    std::vector<std::unique_ptr<ControlView>> kept;
    for (auto& view : views_) {
        if (GetDlgCtrlID(view->Handle()) == ctrl::btnClose) {
            kept.push_back(std::move(view));
        } else {
            for (HWND window : view->Windows()) {
                byWindow_.erase(window);
                if (IsWindow(window)) UniqueWindow(window).Reset();
            }
        }
    }
    views_ = std::move(kept);
}

void MainWindow::Hook(std::function<void()>& changed, std::function<void()> handler) {
    changed = std::move(handler);
    unhooks_.push_back([&changed] { changed = nullptr; });
}

void MainWindow::AddPercentBar(TPercentBar& bar, const Placement& placement, const RECT& rect, int id,
                               std::string hint) {
    bar.SetScale(scale_);
    Watch(bar, Add<WidgetView>(placement, rect, id, PercentBarPainter(bar), std::move(hint),
                               [&bar] { return bar.CaptionText(); }));
}

void MainWindow::ApplyScale(DisplayScale scale, const RECT* suggested) {
    if (scale != scale_) {
        // The controls take the new skin's fonts before the old ones go.
        Skin next("Tahoma", scale);
        for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
            if (HFONT counterpart = next.Counterpart(font, skin_)) {
                SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(counterpart), FALSE);
            }
        }
        skin_ = std::move(next);
        scale_ = scale;
    }
    icons_.Apply(Handle(), instance_, scale_);
    ScaleWidgets();
    if (suggested != nullptr) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const int width = scale_(kClientWidth);
        const int height = scale_(kClientHeight);
        SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SyncAll();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (OnScaleChanged) OnScaleChanged(scale_);
}

void MainWindow::ScaleWidgets() {
    if (form_ == nullptr) return;
    for (TPercentBar* bar : {&form_->pbrUsedRAM, &form_->pbrFreeRAM, &form_->pbrTargetRAM, &form_->pbrCPU}) {
        bar->SetScale(scale_);
    }
    form_->scpGraph.SetScale(scale_);
}

void MainWindow::SyncAll() {
    for (const auto& view : views_) view->Sync();
    // Input stays on the page that shows.
    HWND focus = GetFocus();
    if (focus != nullptr && GetParent(focus) == Handle() && !IsWindowVisible(focus)) SetFocus(Handle());
}

ControlView* MainWindow::ViewOf(HWND window) const {
    const auto found = byWindow_.find(window);
    return found == byWindow_.end() ? nullptr : found->second;
}

bool MainWindow::Shows(const Placement& placement) const {
    if (placement.page >= 0) {
        if (form_ == nullptr || !form_->pgRAM.Visible() || form_->pgRAM.ActivePageIndex() != placement.page) {
            return false;
        }
    }
    if (placement.inside != nullptr && !placement.inside->Visible()) return false;
    if (placement.coveredBy != nullptr && placement.coveredBy->Visible()) return false;
    return true;
}

bool MainWindow::Enables(const Placement& placement, bool takesInput) const {
    if (placement.page < 0) return true;
    // The page control disables the pages it does not show, and the whole
    // page area while it is disabled itself.
    if (form_ == nullptr || form_->pgRAM.ActivePageIndex() != placement.page) return false;
    return form_->pgRAM.Enabled() || !takesInput;
}

void MainWindow::HintChanged(HWND control, const std::string& hint) {
    if (addHint) addHint(control, hint);
}

bool MainWindow::IsVisible() { return IsWindowVisible(Handle()) != FALSE; }

void MainWindow::Show() {
    // The taskbar button belongs to the application window: bring it back too.
    if (application_ != nullptr) {
        if (IsIconic(application_)) {
            ShowWindow(application_, SW_RESTORE);
        } else if (!IsWindowVisible(application_)) {
            ShowWindow(application_, SW_SHOW);
        }
    }
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

HWND MainWindow::FirstControlOfPage() const {
    if (form_ == nullptr) return nullptr;
    const int page = form_->pgRAM.ActivePageIndex();
    // Children in Tab order, which is the order they stand in.
    for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlView* view = ViewOf(child);
        if (view == nullptr || view->Page() != page) continue;
        if ((GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP) != 0 && Usable(child)) return child;
    }
    return nullptr;
}

void MainWindow::RelayMouseMove(WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MSG message{Handle(), WM_MOUSEMOVE, wParam, lParam, static_cast<DWORD>(GetMessageTime()), point};
    ClientToScreen(Handle(), &message.pt);
    const HWND child = DisabledChildAt(Handle(), point);
    if (child != nullptr && ViewOf(child) != nullptr) {
        POINT inChild = message.pt;
        ScreenToClient(child, &inChild);
        message.hwnd = child;
        message.lParam = MAKELPARAM(inChild.x, inChild.y);
    }
    GuardedCall([this, &message] { relayHint(message); });
}

void MainWindow::ControlBack(HWND control) {
    if (control != parkedFocus_) return;
    parkedFocus_ = nullptr;
    const HWND focus = GetFocus();
    if ((focus == nullptr || focus == Handle()) && IsWindowVisible(control)) SetFocus(control);
}

void MainWindow::BringToFront() {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Handle());
}

void MainWindow::Repaint() {
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainWindow::Terminate() { PostQuitMessage(0); }

void MainWindow::CloseQuery() {
    if (form_ == nullptr) {
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    GuardedCall([this] {
        // The form refuses and hides to the tray; were it ever to agree, the
        // main window's close ends the program.
        if (form_->FormCloseQuery()) {
            form_->FormClose();
            Terminate();
        }
    });
}

void MainWindow::VisibilityChanged(bool visible) {
    if (!visible) {
        shown_ = false;
        return;
    }
    if (shown_) return;
    shown_ = true;
    if (form_ != nullptr) GuardedCall([this] { form_->FormShow(); });
    // Shown anew, the window takes the keyboard at its page's first control.
    focusOnActivate_ = FirstControlOfPage();
    if (focusOnActivate_ != nullptr && GetActiveWindow() == Handle()) SetFocus(focusOnActivate_);
}

void MainWindow::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    skin::FillSolid(dc, client, palette::kWindow);
    const int border = scale_(1);
    const RECT title{border, border, client.right - border, scale_(kTitleBarHeight)};
    char caption[128] = {};
    GetWindowTextA(Handle(), caption, static_cast<int>(sizeof(caption)));
    const HICON icon = icons_.Small() != nullptr ? icons_.Small() : icon_;
    skin::DrawTitleBar(dc, title, icon, caption, skin_.Title(), active_, scale_);
    skin::Frame(dc, client, palette::kBorder, border);
}

bool MainWindow::RouteToView(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL: {
        ControlView* view = ViewOf(reinterpret_cast<HWND>(lParam));
        if (view == nullptr) return false;
        if (message == WM_COMMAND) {
            view->OnCommand(HIWORD(wParam));
        } else {
            view->OnScroll(LOWORD(wParam));
        }
        result = 0;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ControlView* view = ViewOf(item->hwndItem);
        if (view == nullptr || !view->OnDrawItem(*item)) return false;
        result = TRUE;
        return true;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        ControlView* view = ViewOf(header->hwndFrom);
        return view != nullptr && view->OnNotify(*header, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ControlView* view = ViewOf(reinterpret_cast<HWND>(lParam));
        if (view != nullptr) {
            result = reinterpret_cast<LRESULT>(view->OnCtlColor(dc));
        } else {
            SetTextColor(dc, palette::kText);
            SetBkColor(dc, palette::kWindow);
            result = reinterpret_cast<LRESULT>(skin_.WindowBrush());
        }
        return true;
    }
    default:
        return false;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (RouteToView(message, wParam, lParam, result)) return result;
    if (HandleBufferedPaint(Handle(), message, result, [this](HDC dc, const RECT&) { Paint(dc); })) return result;
    switch (message) {
    case WM_PRINTCLIENT:
        // Themed controls ask for the background behind them.
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCHITTEST: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(Handle(), &point);
        return point.y >= 0 && point.y < scale_(kTitleBarHeight) ? HTCAPTION : HTCLIENT;
    }
    case WM_DPICHANGED:
        // Another monitor's scale: laid out again where the system suggests.
        ApplyScale(DisplayScale{HIWORD(wParam)}, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NCACTIVATE:
        active_ = wParam != FALSE;
        InvalidateRect(Handle(), nullptr, FALSE);
        return TRUE;
    case WM_SHOWWINDOW:
        // Only a showing of this window itself, not an owner's minimise or restore.
        if (lParam == 0) VisibilityChanged(wParam != FALSE);
        break;
    case WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((position->flags & SWP_SHOWWINDOW) != 0) VisibilityChanged(true);
        if ((position->flags & SWP_HIDEWINDOW) != 0) VisibilityChanged(false);
        break;
    }
    case WM_COMMAND:
        // Escape, from the keyboard interface: as the close button.
        if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
            CloseQuery();
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            CloseQuery();
            return 0;
        case SC_SIZE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
            return 0;  // a fixed window
        default:
            break;
        }
        break;
    case WM_CLOSE:
        CloseQuery();
        return 0;
    case WM_MOUSEMOVE:
        if (relayHint) RelayMouseMove(wParam, lParam);
        break;
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back with it to the same control.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(Handle(), focus)) focusOnActivate_ = focus;
            break;
        }
        if (focusOnActivate_ != nullptr && IsChild(Handle(), focusOnActivate_) && Usable(focusOnActivate_)) {
            SetFocus(focusOnActivate_);
            return 0;
        }
        break;
    case WM_HELP:
        // F1: the manual, as the Help button opens it.
        if (form_ != nullptr) GuardedCall([this] { form_->btnHelpClick(); });
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE;  // a logoff is never held up
    case WM_ENDSESSION:
        if (wParam != FALSE && OnEndSession) GuardedCall(OnEndSession);
        return 0;
    default:
        break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace korbela
