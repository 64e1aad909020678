// The message dialog.

#include "win32/dialog/frm_message.h"

#include <algorithm>
#include <commctrl.h>
#include <stdexcept>

#include "win32/res/resource.h"
#include "win32/window/control_ids.h"
#include "win32/window/dpi.h"
#include "win32/window/skin.h"
#include "win32/window/window.h"

namespace korbela {

OtherWindowsDisabled::OtherWindowsDisabled(HWND dialog, HWND mainWindow) : dialog_(dialog) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    if (mainWindow != nullptr && IsWindowEnabled(mainWindow) &&
        std::find(windows_.begin(), windows_.end(), mainWindow) == windows_.end()) {
        windows_.push_back(mainWindow);
    }
    for (HWND window : windows_) EnableWindow(window, FALSE);
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
    for (HWND window : windows_) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
}

BOOL CALLBACK OtherWindowsDisabled::Collect(HWND window, LPARAM self) {
    auto* disabled = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != disabled->dialog_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
        disabled->windows_.push_back(window);
    }
    return TRUE;
}

namespace {

constexpr int kTitleBarHeight = 38;
constexpr int kHeaderHeight = 31;
constexpr int kFooterHeight = 41;
constexpr int kButtonHeight = 27;
constexpr int kBodyLeft = 0;
constexpr int kBodyTop = 66;
constexpr int kBodyWidth = 453;
constexpr int kBodyHeight = 183;
constexpr int kOkLeft = 167;
constexpr int kOkWidth = 122;
constexpr int kYesLeft = 320;  // kept as far from the right edge as in the designed width
constexpr int kResizeBorder = 5;
constexpr std::size_t kNo = 0;
constexpr std::size_t kOk = 1;
constexpr std::size_t kYes = 2;
constexpr std::size_t kClose = 3;
constexpr std::size_t kMaximize = 4;
constexpr std::size_t kMinimize = 5;

// The edit control breaks lines only at CR LF.
std::string WithCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

constexpr int kPictureSize = 24;

UniqueIcon LoadPicture(HINSTANCE instance, int size) {
    for (int id : {IDI_HEADER, IDI_MAINICON}) {
        auto picture = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        if (picture != nullptr) return UniqueIcon(picture);
    }
    return UniqueIcon();
}

}  // namespace

Tfrm_Message::Tfrm_Message(HINSTANCE instance, HWND applicationWindow, HWND mainWindow)
    : instance_(instance),
      main_(mainWindow),
      textFont_(MakeFont("Verdana", 11)),
      headerFont_(MakeFont("Verdana", 11, true)),
      buttonFont_(MakeFont("MS Sans Serif", 11)),
      titleFont_(MakeFont("Tahoma", 11, true)),
      bodyBrush_(CreateSolidBrush(palette::kWindow)),
      headerBrush_(CreateSolidBrush(palette::kDialog)),
      picture_(LoadPicture(instance, kPictureSize)) {
    RegisterWindowClass(instance, {kMessageWindowClass, WindowProc, nullptr, true});
    // A sizing frame without a native border: WM_NCCALCSIZE gives the whole
    // window to the client area, the edges size it through WM_NCHITTEST. The
    // minimum size holds from the start: WM_GETMINMAXINFO comes first.
    HWND window = Create(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, kMessageWindowClass, kMessageWindowCaption,
                         WS_POPUP | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, 0,
                         0, kClientWidth, kClientHeight, applicationWindow, nullptr, instance);
    if (window == nullptr) throw std::runtime_error("Unable to create the message dialog.");

    header_ = CreateWindowExA(0, "STATIC", "System Message", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 40, kTitleBarHeight + 8,
                              200, 14, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl::lbl_Header)),
                              instance, nullptr);
    SendMessageA(header_, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_.Get()), FALSE);
    memo_ = CreateWindowExA(0, "EDIT", "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0,
                            0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl::mem_Message)),
                            instance, nullptr);
    SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
    SendMessageA(memo_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(12, 12));

    AddButton(kNo, ctrl::btn_No, "&No", std::nullopt);
    AddButton(kOk, ctrl::btn_Ok, "&Ok", std::nullopt);
    AddButton(kYes, ctrl::btn_Yes, "&Yes", std::nullopt);
    AddButton(kClose, ctrl::btn_MessageClose, "Close", skin::Glyph::Close);
    AddButton(kMaximize, ctrl::btn_MessageMaximize, "Maximize", skin::Glyph::Maximize);
    AddButton(kMinimize, ctrl::btn_MessageMinimize, "Minimize", skin::Glyph::Minimize);
    ShowWindow(buttons_[kNo].window, SW_HIDE);
    ShowWindow(buttons_[kYes].window, SW_HIDE);
    ApplyScale(ScaleOfWindow(Handle()), nullptr);
}

void Tfrm_Message::ApplyScale(DisplayScale scale, const RECT* suggested) {
    if (scale != scale_) {
        // The children take the new fonts before the old ones go.
        UniqueGdiObject<HFONT> textFont = MakeFont("Verdana", 11, false, false, scale);
        UniqueGdiObject<HFONT> headerFont = MakeFont("Verdana", 11, true, false, scale);
        UniqueGdiObject<HFONT> buttonFont = MakeFont("MS Sans Serif", 11, false, false, scale);
        SendMessageA(header_, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont.Get()), FALSE);
        SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont.Get()), FALSE);
        for (const Button& button : buttons_) {
            SendMessageA(button.window, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont.Get()), FALSE);
        }
        textFont_ = std::move(textFont);
        headerFont_ = std::move(headerFont);
        buttonFont_ = std::move(buttonFont);
        titleFont_ = MakeFont("Tahoma", 11, true, false, scale);
        if (UniqueIcon picture = LoadPicture(instance_, scale(kPictureSize))) picture_ = std::move(picture);
        scale_ = scale;
    }
    const int margin = scale_(12);
    SendMessageA(memo_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    SetWindowPos(header_, nullptr, scale_(40), scale_(kTitleBarHeight + 8), scale_(200), scale_(14),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (suggested != nullptr) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(Handle(), nullptr, 0, 0, scale_(kClientWidth), scale_(kClientHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

Tfrm_Message::~Tfrm_Message() { Destroy(); }

void Tfrm_Message::AddButton(std::size_t slot, int id, const char* caption, std::optional<skin::Glyph> glyph) {
    const DWORD tabStop = glyph ? 0 : WS_TABSTOP;
    HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | tabStop, 0, 0, 0, 0,
                                  Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Handle(), GWLP_HINSTANCE)), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), FALSE);
    buttons_[slot].window = button;
    buttons_[slot].glyph = glyph;
    Subclass(button);
}

void Tfrm_Message::FormConstrainedResize(int& minWidth, int& minHeight, int& /*maxWidth*/, int& /*maxHeight*/) {
    minWidth = scale_(kMinWidth);
    minHeight = scale_(kMinHeight);
}

void Tfrm_Message::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    const DisplayScale s = scale_;
    auto place = [](HWND window, int x, int y, int w, int h) {
        SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Title bar buttons from the right, lined up with the main window's.
    place(buttons_[kClose].window, width - s(26), s(2), s(23), s(25));
    place(buttons_[kMaximize].window, width - s(50), s(2), s(23), s(25));
    place(buttons_[kMinimize].window, width - s(74), s(2), s(23), s(25));
    // The body keeps its place and size. The header, the footer and the frame
    // lie over it where they meet, so it shows, and lays out its text, only
    // between them.
    const int footerTop = height - s(kFooterHeight);
    const RECT body = Scaled(RECT{kBodyLeft, kBodyTop, kBodyLeft + kBodyWidth, kBodyTop + kBodyHeight}, s);
    place(memo_, body.left, body.top, body.right - body.left, body.bottom - body.top);
    RECT shown{std::max<int>(body.left, s(1)), std::max<int>(body.top, s(kTitleBarHeight + kHeaderHeight)),
               std::min<int>(body.right, width - s(1)), std::min<int>(body.bottom, footerTop)};
    shown.right = std::max(shown.left, shown.right);
    shown.bottom = std::max(shown.top, shown.bottom);
    OffsetRect(&shown, -body.left, -body.top);
    // The window takes the region over.
    SetWindowRgn(memo_, CreateRectRgnIndirect(&shown), TRUE);
    SendMessageA(memo_, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    const int buttonTop = footerTop + (s(kFooterHeight) - s(kButtonHeight)) / 2;
    place(buttons_[kNo].window, s(6), buttonTop, s(123), s(kButtonHeight));
    // Ok keeps its centre where it was in the designed width, in proportion.
    const int okCentre = MulDiv(s(kOkLeft + kOkWidth / 2), width, s(kClientWidth));
    place(buttons_[kOk].window, okCentre - s(kOkWidth) / 2, buttonTop, s(kOkWidth), s(kButtonHeight));
    place(buttons_[kYes].window, width - (s(kClientWidth) - s(kYesLeft)), buttonTop, s(123), s(kButtonHeight));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Tfrm_Message::PlaceOverMainWindow() {
    RECT current{};
    GetWindowRect(Handle(), &current);
    const int width = std::max<int>(current.right - current.left, scale_(kMinWidth));
    const int height = std::max<int>(current.bottom - current.top, scale_(kMinHeight));
    RECT anchor{};
    if (main_ == nullptr || !GetWindowRect(main_, &anchor)) {
        anchor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    int x = (anchor.left + anchor.right - width) / 2;
    int y = (anchor.top + anchor.bottom - height) / 2;
    // Keep the dialog on the screen the main window is on.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoA(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - width));
        y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - height));
    }
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
}

void Tfrm_Message::ShowModal(const std::string& text) {
    if (Handle() == nullptr) return;
    if (inModal_) {
        SetWindowTextA(memo_, WithCrLf(text).c_str());
        return;
    }
    ShowWindow(buttons_[kNo].window, SW_HIDE);
    ShowWindow(buttons_[kYes].window, SW_HIDE);
    ShowWindow(buttons_[kOk].window, SW_SHOW);
    SetWindowTextA(memo_, WithCrLf(text).c_str());
    modalResult_ = 0;
    if (IsZoomed(Handle()) || IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    PlaceOverMainWindow();

    inModal_ = true;
    bool quit = false;
    WPARAM quitCode = 0;
    {
        OtherWindowsDisabled disabled(Handle(), main_);
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        SetFocus(buttons_[kOk].window);
        MSG message{};
        while (modalResult_ == 0 && Handle() != nullptr) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) {
                quit = true;
                quitCode = message.wParam;
                break;
            }
            if (got == -1) break;
            if (!IsDialogMessageA(Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        // The other windows come back before the dialog goes, so activation
        // returns to one of them.
    }
    if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
    inModal_ = false;
    // Exit while the dialog was open: the main loop still has to see it.
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

void Tfrm_Message::CloseDialog(int result) {
    modalResult_ = result;
    if (!inModal_) ShowWindow(Handle(), SW_HIDE);
}

void Tfrm_Message::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    const DisplayScale s = scale_;
    const int line = s(1);
    skin::FillSolid(dc, client, palette::kWindow);
    char caption[128] = {};
    GetWindowTextA(Handle(), caption, static_cast<int>(sizeof(caption)));
    skin::DrawTitleBar(dc, RECT{line, line, client.right - line, s(kTitleBarHeight)}, nullptr, caption,
                       titleFont_.Get(), active_, s);
    const RECT header{line, s(kTitleBarHeight), client.right - line, s(kTitleBarHeight + kHeaderHeight)};
    skin::FillSolid(dc, header, palette::kDialog);
    skin::FillSolid(dc, RECT{header.left, header.bottom - line, header.right, header.bottom}, palette::kPanelShadow);
    const RECT picture = Scaled(RECT{8, kTitleBarHeight + 4, 8 + kPictureSize, kTitleBarHeight + 4 + kPictureSize}, s);
    if (picture_) {
        DrawIconEx(dc, picture.left, picture.top, picture_.Get(), picture.right - picture.left,
                   picture.bottom - picture.top, 0, nullptr, DI_NORMAL);
    } else {
        skin::DrawMessagePicture(dc, picture);
    }
    const RECT footer{line, client.bottom - s(kFooterHeight), client.right - line, client.bottom - line};
    skin::FillSolid(dc, footer, palette::kDialog);
    skin::FillSolid(dc, RECT{footer.left, footer.top, footer.right, footer.top + line}, palette::kPanelShadow);
    skin::Frame(dc, client, palette::kBorder, line);
}

Tfrm_Message::Button* Tfrm_Message::ButtonOf(HWND window) {
    const auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                    [window](const Button& button) { return button.window == window; });
    return found == buttons_.end() ? nullptr : &*found;
}

void Tfrm_Message::DrawButton(const DRAWITEMSTRUCT& item) {
    const Button* found = ButtonOf(item.hwndItem);
    if (found == nullptr) return;
    const skin::FaceState state = skin::FaceStateOf(item, found->hot.Hot());
    if (found->glyph) {
        skin::Glyph glyph = *found->glyph;
        if (glyph == skin::Glyph::Maximize && IsZoomed(Handle())) glyph = skin::Glyph::Restore;
        skin::DrawCaptionButton(item.hDC, item.rcItem, glyph, state, scale_);
        return;
    }
    char caption[32] = {};
    GetWindowTextA(item.hwndItem, caption, static_cast<int>(sizeof(caption)));
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    skin::DrawButton(item.hDC, item.rcItem, caption, buttonFont_.Get(), state, focused, scale_);
}

LRESULT Tfrm_Message::HitTest(POINT screen) const {
    POINT point = screen;
    ScreenToClient(Handle(), &point);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!IsZoomed(Handle())) {
        const int border = scale_(kResizeBorder);
        const bool left = point.x < border;
        const bool right = point.x >= client.right - border;
        const bool top = point.y < border;
        const bool bottom = point.y >= client.bottom - border;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    return point.y < scale_(kTitleBarHeight) ? HTCAPTION : HTCLIENT;
}

LRESULT Tfrm_Message::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Button* button = ButtonOf(window);
    if (button != nullptr && button->hot.Handle(window, message)) InvalidateRect(window, nullptr, FALSE);
    if (message == WM_ERASEBKGND) return 1;
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT Tfrm_Message::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(Handle(), message, painted, [this](HDC dc, const RECT&) { Paint(dc); })) return painted;
    switch (message) {
    case WM_NCCALCSIZE:
        if (wParam != FALSE) return 0;  // the client area is the whole window
        break;
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        active_ = wParam != FALSE;
        InvalidateRect(Handle(), nullptr, FALSE);
        return TRUE;
    case WM_NCHITTEST:
        return HitTest(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        int minWidth = info->ptMinTrackSize.x;
        int minHeight = info->ptMinTrackSize.y;
        int maxWidth = info->ptMaxTrackSize.x;
        int maxHeight = info->ptMaxTrackSize.y;
        FormConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
        info->ptMinTrackSize = POINT{minWidth, minHeight};
        info->ptMaxTrackSize = POINT{maxWidth, maxHeight};
        return 0;
    }
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED:
        // Another monitor's scale: laid out again where the system suggests.
        ApplyScale(DisplayScale{HIWORD(wParam)}, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, palette::kText);
        const bool header = reinterpret_cast<HWND>(lParam) == header_;
        SetBkColor(dc, header ? palette::kDialog : palette::kWindow);
        return reinterpret_cast<LRESULT>(header ? headerBrush_.Get() : bodyBrush_.Get());
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ctrl::btn_Ok:
            btn_OkClick();
            return 0;
        case ctrl::btn_No:
            btn_NoClick();
            return 0;
        case ctrl::btn_Yes:
            btn_YesClick();
            return 0;
        case IDCANCEL:  // Escape
        case ctrl::btn_MessageClose:
            CloseDialog(IDCANCEL);
            return 0;
        case ctrl::btn_MessageMaximize:
            ShowWindow(Handle(), IsZoomed(Handle()) ? SW_RESTORE : SW_MAXIMIZE);
            InvalidateRect(buttons_[kMaximize].window, nullptr, FALSE);
            return 0;
        case ctrl::btn_MessageMinimize:
            ShowWindow(Handle(), SW_MINIMIZE);
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        CloseDialog(IDCANCEL);
        return 0;
    default:
        break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace korbela
