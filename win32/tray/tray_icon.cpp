// The tray icon on Windows: its menu, the shell, the desktop and its window.

#include "win32/tray/tray_icon.h"

#include <commctrl.h>
#include <cstddef>
#include <cstring>
#include <optional>
#include <shellapi.h>
#include <string>
#include <vector>

#include "win32/system/system_function.h"
#include "win32/widgets/gdi_canvas.h"
#include "win32/window/control_ids.h"
#include "win32/window/dpi.h"
#include "win32/window/skin.h"
#include "win32/window/window.h"

namespace korbela {

namespace {

constexpr int kItemHeight = 21;
constexpr int kSeparatorHeight = 5;
constexpr int kTextLeft = 20;
constexpr int kTextRightMargin = 24;
constexpr COLORREF kHighlight = RGB(112, 112, 112);
constexpr COLORREF kSeparatorLine = RGB(120, 120, 120);

struct MenuEntry {
    const char* name;
    int command;
    const char* caption;  // null for a separator
    std::function<void()> TrayMenu::*handler;
};

// In menu order.
constexpr MenuEntry kItems[] = {
    {"LightClean1", menu::LightClean1, "Light Clean", &TrayMenu::LightClean1Click},
    {"MediumClean1", menu::MediumClean1, "Medium Clean", &TrayMenu::MediumClean1Click},
    {"HeavyClean1", menu::HeavyClean1, "Heavy Clean", &TrayMenu::HeavyClean1Click},
    {"N3", 4, nullptr, nullptr},
    {"ShowMainWindow1", menu::ShowMainWindow1, "Show Main Window", &TrayMenu::ShowMainWindow1Click},
    {"ShowMemoryUsageinIcon1", menu::ShowMemoryUsageinIcon1, "Show Memory Usage in Icon",
     &TrayMenu::ShowMemoryUsageinIcon1Click},
    {"N2", 6, nullptr, nullptr},
    {"erminate1", menu::erminate1, "Exit Korbela Lite", &TrayMenu::erminate1Click},
};
constexpr std::size_t kItemCount = sizeof(kItems) / sizeof(kItems[0]);

constexpr const MenuEntry* ItemWithCommand(UINT command) {
    for (const MenuEntry& item : kItems) {
        if (static_cast<UINT>(item.command) == command) return &item;
    }
    return nullptr;
}

static_assert(ItemWithCommand(menu::LightClean1)->handler == &TrayMenu::LightClean1Click);
static_assert(ItemWithCommand(menu::MediumClean1)->handler == &TrayMenu::MediumClean1Click);
static_assert(ItemWithCommand(menu::HeavyClean1)->handler == &TrayMenu::HeavyClean1Click);
static_assert(ItemWithCommand(menu::ShowMainWindow1)->handler == &TrayMenu::ShowMainWindow1Click);
static_assert(ItemWithCommand(menu::ShowMemoryUsageinIcon1)->handler == &TrayMenu::ShowMemoryUsageinIcon1Click);
static_assert(ItemWithCommand(menu::erminate1)->handler == &TrayMenu::erminate1Click);

const MenuEntry* ItemOf(ULONG_PTR itemData) {
    return itemData < kItemCount ? &kItems[itemData] : nullptr;
}

// The menu's modal loop takes the thread's messages, a quit request too, and
// may drop WM_QUIT like any other message and stay open (Wine's does): an Exit,
// a session end or the setup's close that came while the menu is shown would
// be lost. While the menu is up, a message filter takes the request, closes
// the menu and posts the request again once the menu has returned.
class QuitDuringMenu {
public:
    QuitDuringMenu()
        : outer_(active_), hook_(SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId())) {
        active_ = this;
    }
    ~QuitDuringMenu() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        active_ = outer_;
        if (quitCode_) PostQuitMessage(*quitCode_);
    }
    QuitDuringMenu(const QuitDuringMenu&) = delete;
    QuitDuringMenu& operator=(const QuitDuringMenu&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (code == MSGF_MENU && message->message == WM_QUIT && active_ != nullptr) {
            active_->quitCode_ = static_cast<int>(message->wParam);
            EndMenu();
            return TRUE;  // taken: the menu loop drops it from the queue
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // A hook procedure carries no context of its own.
    static inline QuitDuringMenu* active_ = nullptr;
    QuitDuringMenu* outer_;  // not owned: the menu this one is shown from, if any
    HHOOK hook_;
    std::optional<int> quitCode_;
};

}  // namespace

TrayMenu::TrayMenu()
    : menu_(CreatePopupMenu()),
      font_(MakeFont("Tahoma", 11)),
      background_(CreateSolidBrush(palette::kWindow)),
      highlight_(CreateSolidBrush(kHighlight)),
      separator_(CreateSolidBrush(kSeparatorLine)) {
    for (std::size_t i = 0; i < kItemCount; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        info.fType = MFT_OWNERDRAW | (kItems[i].caption == nullptr ? MFT_SEPARATOR : 0);
        info.wID = static_cast<UINT>(kItems[i].command);
        info.dwItemData = i;
        // Drawn by the skin, but the text is the item's too: screen readers and
        // GetMenuString read it, and the menu's keyboard search finds it.
        if (kItems[i].caption != nullptr) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = const_cast<char*>(kItems[i].caption);
        }
        InsertMenuItemA(menu_.Get(), static_cast<UINT>(i), TRUE, &info);
    }
    // The frame around the items in the skin's colour too.
    MENUINFO menuInfo{};
    menuInfo.cbSize = sizeof(menuInfo);
    menuInfo.fMask = MIM_BACKGROUND;
    menuInfo.hbrBack = background_.Get();
    SetMenuInfo(menu_.Get(), &menuInfo);
}

void TrayMenu::ApplyScale(DisplayScale scale) {
    if (scale == scale_) return;
    UniqueGdiObject<HFONT> font = MakeFont("Tahoma", 11, false, false, scale);
    if (!font) return;
    font_ = std::move(font);
    scale_ = scale;
    // Setting an item's type again makes the menu ask for its size anew.
    for (std::size_t i = 0; i < kItemCount; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_OWNERDRAW | (kItems[i].caption == nullptr ? MFT_SEPARATOR : 0);
        SetMenuItemInfoA(menu_.Get(), static_cast<UINT>(i), TRUE, &info);
    }
}

void TrayMenu::Popup(HWND owner, int x, int y) {
    ApplyScale(ScaleOfWindow(owner));
    const bool usageChecked = popTaskBarPopup && popTaskBarPopup();
    CheckMenuItem(menu_.Get(), static_cast<UINT>(menu::ShowMemoryUsageinIcon1),
                  MF_BYCOMMAND | (usageChecked ? MF_CHECKED : MF_UNCHECKED));
    QuitDuringMenu quit;
    TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

bool TrayMenu::Choose(UINT commandId) {
    const MenuEntry* item = ItemWithCommand(commandId);
    if (item == nullptr || item->handler == nullptr) return false;
    const std::function<void()>& handler = this->*item->handler;
    if (handler) handler();
    return true;
}

bool TrayMenu::Measure(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const MenuEntry* item = ItemOf(measure.itemData);
    if (item == nullptr) return false;
    if (item->caption == nullptr) {
        measure.itemWidth = 0;
        measure.itemHeight = static_cast<UINT>(scale_(kSeparatorHeight));
        return true;
    }
    WindowDc screen(nullptr);
    SelectionRestore select(screen.Get(), font_.Get());
    SIZE extent{};
    GetTextExtentPoint32A(screen.Get(), item->caption, lstrlenA(item->caption), &extent);
    measure.itemWidth = static_cast<UINT>(scale_(kTextLeft) + extent.cx + scale_(kTextRightMargin));
    measure.itemHeight = static_cast<UINT>(scale_(kItemHeight));
    return true;
}

bool TrayMenu::Draw(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    const MenuEntry* item = ItemOf(draw.itemData);
    if (item == nullptr) return false;
    RECT area = draw.rcItem;
    if (item->caption == nullptr) {
        FillRect(draw.hDC, &area, background_.Get());
        RECT line{area.left + scale_(4), area.top + (area.bottom - area.top) / 2, area.right - scale_(4), 0};
        line.bottom = line.top + scale_(1);
        FillRect(draw.hDC, &line, separator_.Get());
        return true;
    }
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    FillRect(draw.hDC, &area, selected && !disabled ? highlight_.Get() : background_.Get());
    const DcStateRestore state(draw.hDC);
    SelectObject(draw.hDC, font_.Get());
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, disabled ? palette::kTextDisabled : palette::kText);
    RECT text = area;
    text.left += scale_(kTextLeft);
    DrawTextA(draw.hDC, item->caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if ((draw.itemState & ODS_CHECKED) != 0) DrawCheckMark(draw.hDC, area, disabled);
    return true;
}

// A tick in the room left of the caption, in the caption's colour.
void TrayMenu::DrawCheckMark(HDC dc, const RECT& item, bool disabled) {
    const int middle = (item.top + item.bottom) / 2;
    const int left = item.left + scale_(5);
    const POINT tick[] = {
        {left, middle}, {left + scale_(3), middle + scale_(3)}, {left + scale_(9), middle - scale_(3)}};
    UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, scale_(2), disabled ? palette::kTextDisabled : palette::kText));
    if (!pen) return;
    SelectionRestore select(dc, pen.Get());
    Polyline(dc, tick, 3);
}

// The tray icon on Windows.
uint32_t ReadShellVersion() {
    wchar_t folder[MAX_PATH] = {};
    const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
    if (folderLength == 0 || folderLength >= MAX_PATH) return 0;
    // The full path, so that no shell32.dll next to the program is read instead.
    const std::wstring path = std::wstring(folder, folderLength) + L"\\shell32.dll";
    DWORD ignored = 0;
    const DWORD infoSize = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (infoSize == 0) return 0;
    std::vector<char> info(infoSize);
    if (!GetFileVersionInfoW(path.c_str(), 0, infoSize, info.data())) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize)) return 0;
    if (fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) return 0;
    return fixed->dwFileVersionMS;
}

namespace {

// Copies as much of the text as the field holds, with its terminating zero.
template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    const std::size_t count = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), count);
    field[count] = '\0';
}

}  // namespace

UniqueIcon MakeUsageIcon(const UsageIconFace& face) {
    const std::vector<uint32_t> pixels = DrawUsageIcon(face);
    const BITMAPINFO info = TopDown32(face.size, face.size);
    void* bits = nullptr;
    UniqueGdiObject<HBITMAP> colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || bits == nullptr) return UniqueIcon();
    // Opaque everywhere: the alpha of every pixel is full.
    auto* target = static_cast<uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) target[i] = pixels[i] | 0xFF000000u;
    // The mask of an icon with alpha is still required; all of it shows.
    const std::vector<uint8_t> maskBits(static_cast<std::size_t>((face.size + 15) / 16 * 2) * face.size, 0);
    UniqueGdiObject<HBITMAP> mask(CreateBitmap(face.size, face.size, 1, 1, maskBits.data()));
    if (!mask) return UniqueIcon();
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = mask.Get();
    icon.hbmColor = colour.Get();
    return UniqueIcon(CreateIconIndirect(&icon));
}

HICON Win32NotifyShell::IconFor(const NotifyIconRecord& record) {
    if (!record.usageFace) {
        usageIcon_ = UniqueIcon();
        usageFace_.reset();
        return icon_;
    }
    if (usageFace_ != record.usageFace) {
        UniqueIcon drawn = MakeUsageIcon(*record.usageFace);
        if (!drawn) return icon_;  // no picture: the program's icon rather than none
        usageIcon_ = std::move(drawn);
        usageFace_ = record.usageFace;
    }
    return usageIcon_.Get();
}

bool Win32NotifyShell::Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = record.size;
    data.hWnd = window_;
    data.uID = record.id;
    data.uFlags = flags;
    data.uCallbackMessage = record.callbackMessage;
    // The shell keeps a copy of the icon it is given: the one drawn before it
    // is destroyed as soon as it is replaced.
    data.hIcon = (flags & NIF_ICON) != 0 ? IconFor(record) : icon_;
    // The record's texts are already cut to what its layout holds.
    CopyText(data.szTip, record.tip);
    data.uVersion = record.version;
    if ((flags & NIF_INFO) != 0) {
        CopyText(data.szInfoTitle, record.infoTitle);
        CopyText(data.szInfo, record.info);
        data.dwInfoFlags = record.infoFlags;
    }

    DWORD message = NIM_ADD;
    switch (command) {
    case NotifyCommand::Add: message = NIM_ADD; break;
    case NotifyCommand::Modify: message = NIM_MODIFY; break;
    case NotifyCommand::Delete: message = NIM_DELETE; break;
    case NotifyCommand::SetVersion: message = NIM_SETVERSION; break;
    }
    // A failure that sets no error means the taskbar did not answer at all;
    // an error left over from an earlier call must not be taken for it.
    SetLastError(0);
    const bool ok = Shell_NotifyIconA(message, &data) != FALSE;
    lastError_ = ok ? 0 : GetLastError();
    return ok;
}

namespace {

RECT ToRect(const ScreenRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
ScreenRect FromRect(const RECT& rect) { return ScreenRect{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

Win32TrayDesktop::Win32TrayDesktop(HWND trayWindow, HWND applicationWindow, HWND mainWindow, TrayMenu& menu,
                                   SysCommandHook onSysCommand)
    : trayWindow_(trayWindow),
      applicationWindow_(applicationWindow),
      mainWindow_(mainWindow),
      menu_(menu),
      onSysCommand_(std::move(onSysCommand)) {}

Win32TrayDesktop::~Win32TrayDesktop() { UnhookApplicationWindow(); }

void Win32TrayDesktop::StartTimer(uint32_t id, uint32_t milliseconds) {
    SetTimer(trayWindow_, id, milliseconds, nullptr);
}

void Win32TrayDesktop::KillTimer(uint32_t id) { ::KillTimer(trayWindow_, id); }

uint32_t Win32TrayDesktop::DoubleClickTime() { return GetDoubleClickTime(); }

ScreenPoint Win32TrayDesktop::CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return ScreenPoint{point.x, point.y};
}

void Win32TrayDesktop::SetForegroundToTrayWindow() { SetForegroundWindow(trayWindow_); }

void Win32TrayDesktop::ShowPopupMenu(ScreenPoint at) { menu_.Popup(trayWindow_, at.x, at.y); }

void Win32TrayDesktop::PostNullToTrayWindow() { PostMessageA(trayWindow_, WM_NULL, 0, 0); }

void Win32TrayDesktop::HookApplicationWindow() {
    if (applicationWindow_ != nullptr) Subclass(applicationWindow_);
}

void Win32TrayDesktop::UnhookApplicationWindow() { Unsubclass(applicationWindow_); }

bool Win32TrayDesktop::ApplicationIconic() { return IsIconic(applicationWindow_) != FALSE; }

void Win32TrayDesktop::ShowApplicationWindow(AppWindowShow how) {
    switch (how) {
    case AppWindowShow::Hide:
        ShowWindow(applicationWindow_, SW_HIDE);
        break;
    case AppWindowShow::Show:
        ShowWindow(applicationWindow_, SW_SHOW);
        break;
    case AppWindowShow::Minimize:
        if (!IsIconic(applicationWindow_)) ShowWindow(applicationWindow_, SW_MINIMIZE);
        break;
    case AppWindowShow::Restore:
        if (IsIconic(applicationWindow_)) ShowWindow(applicationWindow_, SW_RESTORE);
        break;
    case AppWindowShow::ShowMinimizedWithoutAnimation:
        // SW_SHOWMINNOACTIVE does not animate; the system-wide animation
        // setting is left alone.
        ShowWindow(applicationWindow_, SW_SHOWMINNOACTIVE);
        break;
    }
}

bool Win32TrayDesktop::HasMainWindow() { return mainWindow_ != nullptr && IsWindow(mainWindow_) != FALSE; }

ScreenRect Win32TrayDesktop::MainWindowRect() {
    RECT rect{};
    GetWindowRect(mainWindow_, &rect);
    return FromRect(rect);
}

void Win32TrayDesktop::SetMainWindowVisible(bool value) { ShowWindow(mainWindow_, value ? SW_SHOW : SW_HIDE); }

std::optional<ScreenRect> Win32TrayDesktop::NotifyAreaRect() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar == nullptr) return std::nullopt;
    HWND notifyArea = FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr);
    if (notifyArea == nullptr) return std::nullopt;
    RECT rect{};
    if (!GetWindowRect(notifyArea, &rect)) return std::nullopt;
    return FromRect(rect);
}

void Win32TrayDesktop::DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) {
    const RECT fromRect = ToRect(from);
    const RECT toRect = ToRect(to);
    DrawAnimatedRects(mainWindow_, IDANI_CAPTION, &fromRect, &toRect);
}

// The notification area sits on the primary monitor, as the tray's own
// window does.
DisplayScale Win32TrayDesktop::NotifyAreaScale() {
    if (!scale_) scale_ = ScaleOfWindow(trayWindow_);
    return *scale_;
}

LRESULT Win32TrayDesktop::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && onSysCommand_ && onSysCommand_(static_cast<UINT>(wParam))) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

HWND TrayIconWindow::CreateTrayWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, {kTrayWindowClass, WindowProc});
    // A hidden top-level window, not a message-only one: only top-level
    // windows get the "TaskbarCreated" broadcast and the session messages,
    // and the popup menu needs a window that can take the foreground.
    return Create(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance);
}

namespace {

// Without an icon of its own the tray shows the application's.
HICON IconOrApplicationIcon(HICON icon, HWND applicationWindow) {
    if (icon != nullptr || applicationWindow == nullptr) return icon;
    return reinterpret_cast<HICON>(GetClassLongPtrA(applicationWindow, GCLP_HICON));
}

// Windows 7 lets one window take the message; Vista lets the whole process.
void AllowMessageFromLowerIntegrity(HWND window, UINT message) {
    using WindowFilterProc = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    using ProcessFilterProc = BOOL(WINAPI*)(UINT, DWORD);
    static const auto forWindow = LoadedSystemFunction<WindowFilterProc>("user32.dll", "ChangeWindowMessageFilterEx");
    static const auto forProcess = LoadedSystemFunction<ProcessFilterProc>("user32.dll", "ChangeWindowMessageFilter");
    if (forWindow != nullptr) {
        forWindow(window, message, MSGFLT_ALLOW, nullptr);
    } else if (forProcess != nullptr) {
        forProcess(message, MSGFLT_ADD);
    }
}

}  // namespace

TrayIconWindow::TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon)
    : taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      // The window first: the shell and the desktop are made for it.
      shell_(CreateTrayWindow(), IconOrApplicationIcon(icon, applicationWindow)),
      desktop_(Handle(), applicationWindow, mainWindow, popTaskBar,
               [this](UINT command) { return ready_ && icon_.ApplicationSysCommand(command); }),
      icon_(shell_, desktop_, ReadShellVersion()) {
    // An elevated copy would otherwise not hear a restarted Explorer.
    if (taskbarCreated_ != 0) AllowMessageFromLowerIntegrity(Handle(), taskbarCreated_);
    ready_ = true;
    icon_.Loaded();
}

TrayIconWindow::~TrayIconWindow() { ready_ = false; }

LRESULT TrayIconWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!ready_) return WindowBase::HandleMessage(message, wParam, lParam);
    if (message == kTrayCallbackMessage) {
        // With the version 3 callback the report is the whole lParam.
        icon_.TrayCallback(LOWORD(lParam));
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        icon_.TaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_QUERYENDSESSION:
        return kQueryEndSessionAnswer;
    case WM_ENDSESSION:
        icon_.EndSession(wParam != FALSE);
        return 0;
    case WM_TIMER:
        icon_.Timer(static_cast<uint32_t>(wParam));
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
    case WM_SETTINGCHANGE:
        desktop_.ForgetScale();
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0 && popTaskBar.Choose(LOWORD(wParam))) return 0;
        break;
    case WM_MEASUREITEM:
        if (popTaskBar.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (popTaskBar.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    default:
        break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace korbela
