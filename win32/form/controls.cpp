// The views of the main window's controls.

#include "win32/form/controls.h"

#include <algorithm>
#include <commctrl.h>
#include <string>
#include <utility>

#include "win32/form/main_window.h"
#include "win32/system/unique_handle.h"
#include "win32/window/dpi.h"
#include "win32/window/error_report.h"
#include "win32/window/skin.h"
#include "win32/window/window.h"

namespace korbela {

namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

}  // namespace

ControlView::ControlView(MainWindow& host, Placement placement, const RECT& rect)
    : host_(host), placement_(placement), rect_(rect) {}

HBRUSH ControlView::OnCtlColor(HDC dc) {
    SetTextColor(dc, palette::kText);
    SetBkColor(dc, palette::kWindow);
    return host_.GetSkin().WindowBrush();
}

HWND ControlView::CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                              HFONT font) {
    return CreateChild(className, text, style, exStyle, id, font, EffectiveRect());
}

HWND ControlView::CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                              HFONT font, const RECT& rect) {
    // Created hidden; the first Sync shows what its page and panel allow.
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  host_.Parent(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  host_.Instance(), nullptr);
    if (window != nullptr && font != nullptr) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

int ControlView::PanelTop() const { return placement_.inside != nullptr ? placement_.inside->Top() : 0; }

RECT ControlView::EffectiveRect() const {
    RECT rect = rect_;
    OffsetRect(&rect, 0, PanelTop());
    return Scaled(rect, host_.Scale());
}

void ControlView::ApplyState(HWND window, const RECT& rect, bool visible, bool enabled) {
    if (window == nullptr) return;
    RECT current{};
    GetWindowRect(window, &current);
    MapWindowPoints(nullptr, host_.Parent(), reinterpret_cast<POINT*>(&current), 2);
    if (!EqualRect(&current, &rect)) {
        SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool shown = visible && host_.Shows(placement_);
    const bool usable = enabled && host_.Enables(placement_, TakesInput());
    const bool isUsable = IsWindowEnabled(window) != FALSE;
    // The style bit, not IsWindowVisible: the main window itself may be hidden.
    const bool isShown = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (((isUsable && !usable) || (isShown && !shown)) && GetFocus() == window) host_.FocusedControlGoes(window);
    if (isUsable != usable) EnableWindow(window, usable ? TRUE : FALSE);
    if (isShown != shown) ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
    if (usable && shown && !(isUsable && isShown)) host_.ControlBack(window);
}

bool ControlView::ApplyText(HWND window, const std::string& text) {
    if (window == nullptr || WindowText(window) == text) return false;
    SetWindowTextA(window, text.c_str());
    return true;
}

void ControlView::ApplyHint(HWND window, const std::string& hint) {
    auto entry = std::find_if(hints_.begin(), hints_.end(), [window](const auto& item) { return item.first == window; });
    if (entry == hints_.end()) {
        if (hint.empty()) return;
        hints_.emplace_back(window, hint);
    } else {
        if (entry->second == hint) return;
        entry->second = hint;
    }
    host_.HintChanged(window, hint);
}

OwnerDrawnButtonView::OwnerDrawnButtonView(MainWindow& host, Placement placement, const RECT& rect, int id,
                                           const std::string& text, std::function<void()> click)
    : ControlView(host, placement, rect), click_(std::move(click)) {
    window_ = CreateChild("BUTTON", text, BS_OWNERDRAW | WS_TABSTOP, 0, id, host.GetSkin().Normal());
    Subclass(window_);
}

void OwnerDrawnButtonView::OnCommand(WORD code) {
    // An owner-drawn button reports the second click of a double click apart.
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) GuardedCall(click_);
}

bool OwnerDrawnButtonView::ShowsFocus(const DRAWITEMSTRUCT& item) {
    return (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
}

LRESULT OwnerDrawnButtonView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, FALSE);
    if (message == WM_ERASEBKGND) return 1;  // the owner draws every pixel
    return DefSubclassProc(window, message, wParam, lParam);
}

ButtonView::ButtonView(MainWindow& host, TButton& model, Placement placement, const RECT& rect, int id,
                       std::optional<skin::Glyph> glyph, const std::string& name)
    : OwnerDrawnButtonView(host, placement, rect, id, glyph ? name : model.Caption(), [&model] { model.Click(); }),
      model_(model),
      glyph_(glyph) {}

void ButtonView::Sync() {
    if (!glyph_ && ApplyText(window_, model_.Caption())) InvalidateRect(window_, nullptr, FALSE);
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

bool ButtonView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const skin::FaceState state = FaceOf(item);
    const bool focused = ShowsFocus(item);
    if (glyph_) {
        // The title bar's buttons too show where Tab has put the focus.
        skin::DrawCaptionButton(item.hDC, item.rcItem, *glyph_, state, host_.Scale());
        if (focused) skin::DrawFocusCue(item.hDC, item.rcItem, host_.Scale());
    } else {
        skin::DrawButton(item.hDC, item.rcItem, model_.Caption(), host_.GetSkin().Normal(), state, focused,
                         host_.Scale());
    }
    return true;
}

LRESULT ButtonView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        // Enter comes to the button instead of going to the window's default one.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        if ((lParam & (1 << 30)) == 0) SendMessageA(window, BM_CLICK, 0, 0);  // not while the key repeats
        return 0;
    }
    return OwnerDrawnButtonView::HandleSubclassMessage(window, message, wParam, lParam);
}

CheckBoxView::CheckBoxView(MainWindow& host, TCheckBox& model, Placement placement, const RECT& rect, int id)
    : OwnerDrawnButtonView(host, placement, rect, id, model.Caption(), [&model] { model.Click(); }),
      model_(model),
      shownChecked_(model.Checked()) {}

void CheckBoxView::Sync() {
    bool repaint = ApplyText(window_, model_.Caption());
    if (shownChecked_ != model_.Checked()) {
        shownChecked_ = model_.Checked();
        repaint = true;
    }
    if (repaint) InvalidateRect(window_, nullptr, FALSE);
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

bool CheckBoxView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    skin::DrawCheckBox(item.hDC, item.rcItem, model_.Caption(), host_.GetSkin().Normal(), shownChecked_, FaceOf(item),
                       ShowsFocus(item), host_.Scale());
    return true;
}

LRESULT CheckBoxView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button keeps no check state of its own.
    if (message == BM_GETCHECK) return shownChecked_ ? BST_CHECKED : BST_UNCHECKED;
    return OwnerDrawnButtonView::HandleSubclassMessage(window, message, wParam, lParam);
}

LabelView::LabelView(MainWindow& host, TCaptionControl& model, Placement placement, const RECT& rect, int id,
                     DWORD align, HFONT font)
    : ControlView(host, placement, rect), model_(model) {
    // SS_NOTIFY lets the balloon hint see the pointer over the label.
    const DWORD wrap = align == SS_CENTER ? 0 : SS_LEFTNOWORDWRAP;
    const DWORD alignment = align == SS_LEFT ? wrap : align;
    window_ = CreateChild("STATIC", model.Caption(), alignment | SS_NOPREFIX | SS_NOTIFY, 0, id,
                          font != nullptr ? font : host.GetSkin().Normal());
}

void LabelView::Sync() {
    ApplyText(window_, model_.Caption());
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

LinkView::LinkView(MainWindow& host, TLabel& model, Placement placement, const RECT& rect, int id, DWORD align,
                   std::function<void()> onClick)
    : ControlView(host, placement, rect), model_(model), onClick_(std::move(onClick)) {
    // A tab stop, so that a keyboard user reaches the link and opens it with
    // Space or Enter.
    window_ = CreateChild("STATIC", model.Caption(), align | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP, 0, id,
                          host.GetSkin().Link());
    Subclass(window_);
}

void LinkView::Sync() {
    ApplyText(window_, model_.Caption());
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void LinkView::OnCommand(WORD code) {
    if (code == STN_CLICKED && onClick_) GuardedCall(onClick_);
}

HBRUSH LinkView::OnCtlColor(HDC dc) {
    SetTextColor(dc, hot_.Hot() ? palette::kText : palette::kSilver);
    SetBkColor(dc, palette::kWindow);
    return host_.GetSkin().WindowBrush();
}

LRESULT LinkView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, TRUE);
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    case WM_GETDLGCODE: {
        // Enter opens the link instead of going to the window's default button.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    case WM_KEYDOWN:
        if ((wParam == VK_SPACE || wParam == VK_RETURN) && onClick_) {
            if ((lParam & (1 << 30)) == 0) GuardedCall(onClick_);  // not while the key repeats
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (GetFocus() == window) {
            RECT client{};
            GetClientRect(window, &client);
            WindowDc dc(window);
            const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
            const UINT format = (style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : DT_LEFT;
            skin::DrawTextFocusCue(dc.Get(), client, client, model_.Caption(), host_.GetSkin().Link(), format,
                                   host_.Scale());
        }
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

PanelView::PanelView(MainWindow& host, TPanel& model, Placement placement, const RECT& rect, int id, Look look)
    : ControlView(host, placement, rect), model_(model), look_(look) {
    window_ = CreateChild("STATIC", model.Caption(), SS_OWNERDRAW, 0, id, host.GetSkin().Bold());
}

void PanelView::Sync() {
    RECT rect = rect_;
    OffsetRect(&rect, 0, PanelTop() + model_.Top());
    rect = Scaled(rect, host_.Scale());
    if (ApplyText(window_, model_.Caption())) InvalidateRect(window_, nullptr, FALSE);
    ApplyState(window_, rect, model_.Visible(), model_.Enabled());
}

bool PanelView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    if (look_ == Look::Banner) {
        skin::DrawBanner(item.hDC, area, model_.Caption(), host_.GetSkin().Freeing(), host_.Scale());
    } else {
        skin::DrawGroupPanel(item.hDC, area, model_.Caption(), host_.GetSkin().Bold(), host_.Scale());
    }
    return true;
}

ProgressView::ProgressView(MainWindow& host, TProgressBar& model, Placement placement, const RECT& rect, int id)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild(PROGRESS_CLASSA, "", PBS_SMOOTH, 0, id, nullptr);
    Subclass(window_);
}

void ProgressView::Sync() {
    PBRANGE range{};
    SendMessageA(window_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    if (range.iLow != 0 || range.iHigh != model_.Max()) SendMessageA(window_, PBM_SETRANGE32, 0, model_.Max());
    if (SendMessageA(window_, PBM_GETPOS, 0, 0) != model_.Position()) {
        SendMessageA(window_, PBM_SETPOS, static_cast<WPARAM>(model_.Position()), 0);
    }
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void ProgressView::Paint(HDC dc, const RECT& client) const {
    const DisplayScale scale = host_.Scale();
    skin::FillSolid(dc, client, palette::kWell);
    skin::Frame(dc, client, palette::kWellFrame, scale(1));
    const int margin = scale(2);
    const RECT inner{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
    const int width = inner.right - inner.left;
    const int max = model_.Max();
    const int position = std::clamp(model_.Position(), 0, std::max(max, 0));
    if (max <= 0 || width <= 0) return;
    const int filled = static_cast<int>(static_cast<long long>(width) * position / max);
    const RECT bar{inner.left, inner.top, inner.left + filled, inner.bottom};
    // The colour runs over the whole width, so a short bar shows its dark end.
    for (int x = bar.left; x < bar.right; ++x) {
        const int r = GetRValue(palette::kProgressFrom) +
                      (GetRValue(palette::kProgressTo) - GetRValue(palette::kProgressFrom)) * (x - inner.left) / width;
        const int g = GetGValue(palette::kProgressFrom) +
                      (GetGValue(palette::kProgressTo) - GetGValue(palette::kProgressFrom)) * (x - inner.left) / width;
        const int b = GetBValue(palette::kProgressFrom) +
                      (GetBValue(palette::kProgressTo) - GetBValue(palette::kProgressFrom)) * (x - inner.left) / width;
        // Segments of 3 design pixels with a 1-pixel gap, like the percent bars.
        const int stride = scale(4);
        const bool gap = (x - inner.left) % stride >= stride - scale(1);
        const RECT column{x, bar.top, x + 1, bar.bottom};
        skin::FillSolid(dc, column, gap ? palette::kWell : RGB(r, g, b));
    }
}

LRESULT ProgressView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted, [this](HDC dc, const RECT& client) { Paint(dc, client); })) {
        return painted;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

SliderView::SliderView(MainWindow& host, TSlider& model, Placement placement, const RECT& rect, int id)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild(TRACKBAR_CLASSA, "", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0, id,
                          host.GetSkin().Normal());
    SendMessageA(window_, TBM_SETRANGEMIN, FALSE, model.Min());
    SendMessageA(window_, TBM_SETRANGEMAX, FALSE, model.Max());
    SendMessageA(window_, TBM_SETTICFREQ, static_cast<WPARAM>(model.Frequency()), 0);
    SendMessageA(window_, TBM_SETLINESIZE, 0, 1);
    SendMessageA(window_, TBM_SETPAGESIZE, 0, 2);
    SendMessageA(window_, TBM_SETPOS, TRUE, model.Position());
    Subclass(window_);
}

void SliderView::Sync() {
    if (SendMessageA(window_, TBM_GETPOS, 0, 0) != model_.Position()) {
        SendMessageA(window_, TBM_SETPOS, TRUE, model_.Position());
    }
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void SliderView::PassPosition() {
    const int position = static_cast<int>(SendMessageA(window_, TBM_GETPOS, 0, 0));
    GuardedCall([this, position] { model_.SetPosition(position); });
}

void SliderView::OnScroll(WORD code) {
    PassPosition();
    // A drag or a click ends with the release, a wheel turn after its message.
    if (code == TB_ENDTRACK && !pressed_ && !wheeling_) GuardedCall([this] { model_.EndTrack(); });
}

bool SliderView::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != NM_CUSTOMDRAW) return false;
    result = skin::PaintTrackbar(reinterpret_cast<NMCUSTOMDRAW&>(header), window_, host_.Scale());
    return true;
}

LRESULT SliderView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = HandleMessage(window, message, wParam, lParam);
    if (message == TBM_GETPOS || message == WM_DESTROY) return result;
    // The lit groove runs up to the thumb, so a move repaints the whole
    // control, not only the thumb's old and new places.
    const LRESULT position = SendMessageA(window, TBM_GETPOS, 0, 0);
    if (position != paintedPosition_) {
        paintedPosition_ = position;
        InvalidateRect(window, nullptr, FALSE);
    }
    return result;
}

LRESULT SliderView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pressed_ = true;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        // The trackbar settles its position on the release first.
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (pressed_) {
            pressed_ = false;
            PassPosition();
            GuardedCall([this] { model_.MouseUp(); });
        }
        return result;
    }
    case WM_MOUSEWHEEL: {
        wheeling_ = true;
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        wheeling_ = false;
        PassPosition();
        GuardedCall([this] { model_.EndTrack(); });
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

namespace {

constexpr int kButtonsWidth = 15;

std::string EditText(HWND edit) {
    char text[64] = {};
    GetWindowTextA(edit, text, static_cast<int>(sizeof(text)));
    return text;
}

// A triangle of three design rows, one more pixel each side per row.
void Arrow(HDC dc, const RECT& half, bool up, bool enabled, DisplayScale scale) {
    const int cx = (half.left + half.right) / 2;
    const int cy = (half.top + half.bottom) / 2;
    const COLORREF ink = enabled ? palette::kText : palette::kTextDisabled;
    const int rows = scale(3);
    const int first = scale(1);
    for (int row = 0; row < rows; ++row) {
        const int y = up ? cy - first + row : cy + first - row;
        skin::FillSolid(dc, RECT{cx - row, y, cx + row + 1, y + 1}, ink);
    }
}

}  // namespace

SpinnerView::SpinnerView(MainWindow& host, TSpinner& model, Placement placement, const RECT& rect, int id,
                         int buttonsId)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild("EDIT", model.Text(), ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, id,
                          host.GetSkin().Normal(), EditRect());
    buttons_ = CreateChild(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, buttonsId,
                           nullptr, ButtonsRect());
    SendMessageA(buttons_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window_), 0);
    SendMessageA(buttons_, UDM_SETRANGE32, static_cast<WPARAM>(model.Min()), model.Max());
    Subclass(buttons_);
}

RECT SpinnerView::EditRect() const {
    RECT rect = EffectiveRect();
    rect.right -= host_.Scale()(kButtonsWidth);
    return rect;
}

RECT SpinnerView::ButtonsRect() const {
    RECT rect = EffectiveRect();
    rect.left = rect.right - host_.Scale()(kButtonsWidth);
    return rect;
}

void SpinnerView::Sync() {
    if (EditText(window_) != model_.Text()) {
        writing_ = true;
        SetWindowTextA(window_, model_.Text().c_str());
        writing_ = false;
    }
    ApplyHint(window_, model_.Hint());
    ApplyHint(buttons_, model_.Hint());
    ApplyState(window_, EditRect(), model_.Visible(), model_.Enabled());
    ApplyState(buttons_, ButtonsRect(), model_.Visible(), model_.Enabled());
}

void SpinnerView::OnCommand(WORD code) {
    if (code == EN_KILLFOCUS) {
        GuardedCall([this] { model_.Settle(); });
        return;
    }
    if (code != EN_CHANGE || writing_) return;
    const std::string text = EditText(window_);
    GuardedCall([this, &text] { model_.SetText(text); });
}

HBRUSH SpinnerView::OnCtlColor(HDC dc) {
    SetTextColor(dc, IsWindowEnabled(window_) ? palette::kText : palette::kTextDisabled);
    SetBkColor(dc, palette::kWell);
    return host_.GetSkin().WellBrush();
}

void SpinnerView::PaintButtons(HDC dc, const RECT& client) const {
    const bool enabled = IsWindowEnabled(buttons_) != FALSE;
    const int middle = (client.top + client.bottom) / 2;
    const RECT halves[2] = {{client.left, client.top, client.right, middle},
                            {client.left, middle, client.right, client.bottom}};
    for (int half = 0; half < 2; ++half) {
        const bool pressed = pressedHalf_ == half;
        skin::FillVertical(dc, halves[half], pressed ? palette::kFacePressedTop : palette::kFaceTop,
                           pressed ? palette::kFacePressedBottom : palette::kFaceBottom);
        skin::Frame(dc, halves[half], palette::kFaceFrame, host_.Scale()(1));
        Arrow(dc, halves[half], half == 0, enabled, host_.Scale());
    }
}

LRESULT SpinnerView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted,
                            [this](HDC dc, const RECT& client) { PaintButtons(dc, client); })) {
        return painted;
    }
    switch (message) {
    case WM_LBUTTONDOWN: {
        RECT client{};
        GetClientRect(window, &client);
        pressedHalf_ = static_cast<short>(HIWORD(lParam)) < client.bottom / 2 ? 0 : 1;
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (pressedHalf_ >= 0) {
            pressedHalf_ = -1;
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

namespace {

constexpr char kTabsClass[] = "KorbelaPageTabs";
constexpr int kTabPadding = 18;
constexpr int kTabGap = 2;
constexpr int kTabTop = 3;

}  // namespace

TabsView::TabsView(MainWindow& host, TPageControl& model, const RECT& rect, int id, int firstTabLeft)
    : ControlView(host, Placement{}, rect), model_(model), firstTabLeft_(firstTabLeft) {
    // The view's subclass does all the work.
    RegisterWindowClass(host.Instance(), {kTabsClass, DefWindowProcA, nullptr, true});
    window_ = CreateChild(kTabsClass, "", WS_TABSTOP, 0, id, nullptr);
    Subclass(window_);
}

void TabsView::Sync() {
    if (shownPage_ != model_.ActivePageIndex() || shownEnabled_ != model_.Enabled()) {
        shownPage_ = model_.ActivePageIndex();
        shownEnabled_ = model_.Enabled();
        InvalidateRect(window_, nullptr, FALSE);
    }
    ApplyState(model_.Visible(), model_.Enabled());
}

RECT TabsView::TabRect(HDC dc, int index) const {
    SelectionRestore select(dc, host_.GetSkin().Bold());
    RECT client{};
    GetClientRect(window_, &client);
    const DisplayScale scale = host_.Scale();
    int left = scale(firstTabLeft_);
    for (int i = 0; i <= index; ++i) {
        const std::string& caption = model_.TabCaption(i);
        SIZE extent{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        const RECT tab{left, scale(kTabTop), left + extent.cx + scale(kTabPadding), client.bottom - scale(1)};
        if (i == index) return tab;
        left = tab.right + scale(kTabGap);
    }
    return RECT{};
}

int TabsView::TabAt(POINT point) const {
    const WindowDc dc(window_);
    for (int i = 0; i < TPageControl::kPageCount; ++i) {
        const RECT tab = TabRect(dc.Get(), i);
        if (PtInRect(&tab, point)) return i;
    }
    return -1;
}

void TabsView::Select(int index) {
    if (index < 0 || index >= TPageControl::kPageCount || !model_.Enabled()) return;
    GuardedCall([this, index] { model_.SetActivePageIndex(index); });
}

void TabsView::Paint(HDC dc, const RECT& client) const {
    skin::FillSolid(dc, client, palette::kWindow);
    const bool enabled = model_.Enabled();
    const int active = model_.ActivePageIndex();
    const DisplayScale scale = host_.Scale();
    const int line = scale(1);
    skin::FillSolid(dc, RECT{client.left, client.bottom - line, client.right, client.bottom}, palette::kTabActive);
    for (int i = 0; i < TPageControl::kPageCount; ++i) {
        RECT tab = TabRect(dc, i);
        const bool selected = i == active;
        if (selected) tab.bottom += line;  // joins the line below
        COLORREF fill = selected ? palette::kTabActive : (i == hotTab_ && enabled ? palette::kTabHot : palette::kTabIdle);
        skin::FillVertical(dc, tab, fill, selected ? palette::kTabActive : palette::kTitleBottom);
        if (selected) {
            const RECT accent{tab.left, tab.top, tab.right, tab.top + scale(2)};
            skin::FillSolid(dc, accent, enabled ? palette::kAccent : palette::kPanelFrame);
        }
        const DcStateRestore state(dc);
        SelectObject(dc, selected ? host_.GetSkin().Bold() : host_.GetSkin().Normal());
        SetBkMode(dc, TRANSPARENT);
        COLORREF ink = selected ? palette::kText : palette::kSilver;
        if (!enabled) ink = palette::kTextDisabled;
        SetTextColor(dc, ink);
        const std::string& caption = model_.TabCaption(i);
        RECT textArea = tab;
        textArea.top += line;
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (selected && GetFocus() == window_) skin::DrawFocusCue(dc, tab, scale);
    }
}

LRESULT TabsView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted, [this](HDC dc, const RECT& client) { Paint(dc, client); })) {
        return painted;
    }
    switch (message) {
    case WM_LBUTTONDOWN: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SetFocus(window);
        Select(TabAt(point));
        return 0;
    }
    case WM_MOUSEMOVE: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int hot = TabAt(point);
        if (hot != hotTab_) {
            hotTab_ = hot;
            InvalidateRect(window, nullptr, FALSE);
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = window;
            TrackMouseEvent(&track);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);  // the focus cue on the page's tab
        return DefSubclassProc(window, message, wParam, lParam);
    case WM_MOUSELEAVE:
        hotTab_ = -1;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT) Select(model_.ActivePageIndex() - 1);
        if (wParam == VK_RIGHT) Select(model_.ActivePageIndex() + 1);
        return 0;
    case TCM_GETCURSEL:
        return model_.ActivePageIndex();
    case TCM_GETITEMCOUNT:
        return TPageControl::kPageCount;
    case TCM_SETCURSEL: {
        const int previous = model_.ActivePageIndex();
        Select(static_cast<int>(wParam));
        return previous;
    }
    default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

WidgetView::WidgetView(MainWindow& host, Placement placement, const RECT& rect, int id, DrawnControl::Painter painter,
                       std::string hint, std::function<std::string()> text)
    : ControlView(host, placement, rect), hint_(std::move(hint)), text_(std::move(text)) {
    const RECT place = EffectiveRect();
    control_ = std::make_unique<DrawnControl>(host.Parent(), id, place.left, place.top, place.right - place.left,
                                              place.bottom - place.top, std::move(painter));
    window_ = control_->Handle();
    // Hidden until its page shows it, like every other control.
    ShowWindow(window_, SW_HIDE);
}

void WidgetView::Sync() {
    ApplyWidgetText();
    ApplyHint(window_, hint_);
    ApplyState(true, true);
}

void WidgetView::ModelChanged() {
    ApplyWidgetText();
    control_->Invalidate();
}

void WidgetView::ApplyWidgetText() {
    if (!text_) return;
    std::string text = text_();
    if (text == shownText_) return;
    shownText_ = std::move(text);
    SetWindowTextA(window_, shownText_.c_str());
}

}  // namespace korbela
