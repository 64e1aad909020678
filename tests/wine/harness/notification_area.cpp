// How Wine 8 shows tray icons when the X display has no XEmbed tray of its
// own: winex11.drv does it, in explorer.exe (dlls/winex11.drv/systray.c).
//  - The "Wine System Tray" is a top-level window of class
//    "__winex11_standalone_tray". Each icon is a child window of it, of class
//    "__winex11_tray_icon", SM_CXSMICON plus a 2 px border on each side
//    square, laid out left to right in the order the icons were shown; the
//    icon is drawn centred at SM_CXSMICON. With an XEmbed tray the same icon
//    windows are top-level instead, docked into that tray.
//  - An icon window keeps in GWLP_USERDATA a pointer to winex11's record of
//    the icon (struct tray_icon), which holds the owner hWnd, the id and the
//    balloon's title and text. The record is read from explorer's memory to
//    tell the icons apart; its copy of the icon window's own handle confirms
//    that the layout read is Wine 8's.
//  - A balloon is a top-level tooltips_class32 window with TTS_BALLOON and one
//    tracking tool, whose hwnd is the icon window. It comes 2 s after the
//    NIF_INFO and stays for uTimeout held within 10 to 30 s (10 s for 0).
//    There is one at a time: a new NIF_INFO for the same icon takes the shown
//    balloon down at once and puts the new one up 2 s later, one for another
//    icon waits its turn, and deleting the icon takes its balloon down.
//  - Wine 8's comctl32 does not know TTM_GETTITLE (it answers 0 and leaves
//    the buffer alone), so the title comes from the icon's record then.
//  - The balloon's stem ends at the icon's centre and covers part of it, so a
//    capture hides the balloons over the icon for its moment.
#include "harness/notification_area.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "harness/screen_capture.h"
#include "win32/system/utf8.h"

namespace korbela::wine {

namespace {

constexpr char kIconClass[] = "__winex11_tray_icon";
constexpr char kTrayClass[] = "__winex11_standalone_tray";
constexpr int kIconBorder = 2;  // ICON_BORDER of the systray.c
constexpr UINT kReplyTimeoutMs = 5000;
constexpr DWORD kSettleMs = 20;

// winex11's record of a tray icon (struct tray_icon of Wine 8's systray.c),
// as explorer holds it; the harness and explorer are both 64-bit.
struct WineTrayIcon {
    void* entry[2];
    HICON image;
    HWND owner;
    HWND window;
    BOOL layered;
    HWND tooltip;
    UINT state;
    UINT id;
    UINT callbackMessage;
    int display;
    wchar_t tipText[128];
    wchar_t infoText[256];
    wchar_t infoTitle[64];
    UINT infoFlags;
    UINT infoTimeout;
    HICON infoIcon;
    UINT version;
};

// What a balloon is asked for, laid out as it goes into the balloon's process:
// the two requests, then the text they fill in.
struct BalloonQuery {
    TTGETTITLE title;
    TTTOOLINFOW tool;
    wchar_t titleText[100];  // szInfoTitle holds 64
    wchar_t text[1024];      // szInfo holds 256; comctl32 copies without a limit
};

// A handle to another process, closed when it goes.
class ProcessHandle {
public:
    ProcessHandle(DWORD processId, DWORD access) : handle_(OpenProcess(access, FALSE, processId)) {}
    ~ProcessHandle() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};

// Memory committed in another process, released when it goes.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size)
        : process_(process), base_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    explicit operator bool() const { return base_ != nullptr; }
    // The address, in the other process, of the byte at `offset`.
    template <typename T>
    T* At(std::size_t offset) const {
        return reinterpret_cast<T*>(static_cast<char*>(base_) + offset);
    }
    bool Write(const void* data, std::size_t size) const {
        return WriteProcessMemory(process_, base_, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, std::size_t size) const {
        return ReadProcessMemory(process_, base_, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* base_;
};

// Windows hidden for a moment, shown again (without activation) when it ends.
class HiddenWindows {
public:
    explicit HiddenWindows(std::vector<HWND> windows) : windows_(std::move(windows)) {
        for (HWND window : windows_) SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | kKeep);
    }
    ~HiddenWindows() {
        for (HWND window : windows_) SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | kKeep);
    }
    HiddenWindows(const HiddenWindows&) = delete;
    HiddenWindows& operator=(const HiddenWindows&) = delete;

private:
    static constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;
    std::vector<HWND> windows_;
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool IsBalloon(HWND window) {
    return IsWindowVisible(window) && ClassOf(window) == TOOLTIPS_CLASSA &&
           (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) != 0;
}

// The record of the icon that a tray icon window shows; false for any other window.
bool ReadIconRecord(HWND iconWindow, WineTrayIcon& icon) {
    if (iconWindow == nullptr || ClassOf(iconWindow) != kIconClass) return false;
    const LONG_PTR record = GetWindowLongPtrW(iconWindow, GWLP_USERDATA);
    if (record == 0) return false;
    ProcessHandle process(ProcessOf(iconWindow), PROCESS_VM_READ);
    if (!process) return false;
    if (!ReadProcessMemory(process.Get(), reinterpret_cast<const void*>(record), &icon, sizeof(icon), nullptr)) {
        return false;
    }
    icon.infoTitle[std::size(icon.infoTitle) - 1] = L'\0';
    return icon.window == iconWindow;
}

bool Ask(HWND window, UINT message, LPARAM lParam, DWORD_PTR& reply) {
    return SendMessageTimeoutW(window, message, 0, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &reply) != 0;
}

// The balloon's title and text; false when they cannot be read.
bool ReadBalloon(HWND balloon, TrayBalloon& read) {
    ProcessHandle process(ProcessOf(balloon), PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE);
    if (!process) return false;
    RemoteMemory memory(process.Get(), sizeof(BalloonQuery));
    if (!memory) return false;

    BalloonQuery query{};
    query.title.dwSize = sizeof(query.title);
    query.title.cch = static_cast<UINT>(std::size(query.titleText));
    query.title.pszTitle = memory.At<wchar_t>(offsetof(BalloonQuery, titleText));
    query.tool.cbSize = sizeof(query.tool);
    query.tool.lpszText = memory.At<wchar_t>(offsetof(BalloonQuery, text));
    if (!memory.Write(&query, sizeof(query))) return false;

    DWORD_PTR reply = 0;
    const auto tool = reinterpret_cast<LPARAM>(memory.At<TTTOOLINFOW>(offsetof(BalloonQuery, tool)));
    if (!Ask(balloon, TTM_GETTITLE, reinterpret_cast<LPARAM>(memory.At<TTGETTITLE>(0)), reply)) return false;
    // A tracking tooltip has no current tool under Wine: the balloon's one
    // tool is read by its index then.
    if (!Ask(balloon, TTM_GETCURRENTTOOLW, tool, reply)) return false;
    if (reply == 0 && (!Ask(balloon, TTM_ENUMTOOLSW, tool, reply) || reply == 0)) return false;
    if (!memory.Read(&query, sizeof(query))) return false;

    query.titleText[std::size(query.titleText) - 1] = L'\0';
    query.text[std::size(query.text) - 1] = L'\0';
    read.title = WideToUtf8(query.titleText);
    read.text = WideToUtf8(query.text);
    WineTrayIcon icon{};
    if (read.title.empty() && ReadIconRecord(query.tool.hwnd, icon)) read.title = WideToUtf8(icon.infoTitle);
    return true;
}

// The icon windows of Wine's tray: the stand-alone tray's children, or
// top-level ones docked into an XEmbed tray.
std::vector<HWND> TrayIconWindows() {
    std::vector<HWND> icons;
    for (HWND window : TopLevelWindows()) {
        const std::string name = ClassOf(window);
        if (name == kIconClass) icons.push_back(window);
        if (name != kTrayClass) continue;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == kIconClass) icons.push_back(child);
        }
    }
    return icons;
}

// The balloons on screen that cover part of the rectangle.
std::vector<HWND> BalloonsOver(const RECT& area) {
    std::vector<HWND> over;
    for (HWND window : TopLevelWindows()) {
        RECT bounds{}, common{};
        if (IsBalloon(window) && GetWindowRect(window, &bounds) && IntersectRect(&common, &bounds, &area)) {
            over.push_back(window);
        }
    }
    return over;
}

}  // namespace

std::vector<TrayBalloon> VisibleTrayBalloons(DWORD ignoredProcess) {
    std::vector<TrayBalloon> balloons;
    for (HWND window : TopLevelWindows()) {
        // The icons' own tooltips (the tip on hover) are plain, not balloons.
        if (ProcessOf(window) == ignoredProcess || !IsBalloon(window)) continue;
        TrayBalloon balloon;
        if (ReadBalloon(window, balloon)) balloons.push_back(balloon);
    }
    return balloons;
}

TrayIconPixels CaptureTrayIcon(HWND owner, UINT id) {
    for (HWND window : TrayIconWindows()) {
        WineTrayIcon record{};
        if (!IsWindowVisible(window) || !ReadIconRecord(window, record)) continue;
        if (record.owner != owner || record.id != id) continue;

        RECT area{};
        GetWindowRect(window, &area);
        ScreenCapture capture;
        {
            const HiddenWindows balloons(BalloonsOver(area));
            // Has the icon painted again (WM_PAINT is sent at once); explorer
            // puts it on screen a moment later, so the capture is taken until
            // two in a row agree.
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            for (int attempt = 0; attempt < 10; ++attempt) {
                Sleep(kSettleMs);
                ScreenCapture again = ScreenCapture::OfClient(window);
                const bool settled = again.Pixels() == capture.Pixels();
                capture = std::move(again);
                if (settled) break;
            }
        }
        // The icon is drawn centred in its window, inside the border.
        TrayIconPixels icon;
        icon.width = capture.Width() - 2 * kIconBorder;
        icon.height = capture.Height() - 2 * kIconBorder;
        if (icon.width <= 0 || icon.height <= 0) return {};
        icon.pixels.reserve(static_cast<std::size_t>(icon.width) * icon.height);
        for (int y = 0; y < icon.height; ++y) {
            for (int x = 0; x < icon.width; ++x) {
                const Rgb c = capture.At(kIconBorder + x, kIconBorder + y);
                icon.pixels.push_back(static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b);
            }
        }
        return icon;
    }
    return {};
}

namespace {

NOTIFYICONDATAA IconRecord(HWND owner, UINT id) {
    NOTIFYICONDATAA record{};
    record.cbSize = sizeof(record);
    record.hWnd = owner;
    record.uID = id;
    return record;
}

}  // namespace

bool TrayIconPlaced(HWND owner, UINT id) {
    NOTIFYICONDATAA record = IconRecord(owner, id);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

void LoseTrayIcon(HWND owner, UINT id) {
    NOTIFYICONDATAA record = IconRecord(owner, id);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

HWND WineSystemTray() { return FindWindowA(kTrayClass, nullptr); }

}  // namespace korbela::wine
