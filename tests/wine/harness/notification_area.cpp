// How Wine 8 shows tray icons on a display without a tray of its own:
// winex11.drv does it in explorer.exe. The "Wine System Tray" window (class
// "__winex11_standalone_tray") holds one child window an icon (class
// "__winex11_tray_icon"), SM_CXSMICON plus a border of 2 px each side, the icon
// drawn in the middle. A balloon is a top-level "tooltips_class32" window of
// explorer with TTS_BALLOON; it comes 2 s after it is asked for, and one for
// the same icon replaces the one shown.
#include "harness/notification_area.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

#include "harness/screen_capture.h"
#include "win32/system/unique_handle.h"
#include "win32/system/utf8.h"

namespace korbela::wine {

namespace {

constexpr char kTrayClass[] = "__winex11_standalone_tray";
constexpr char kIconClass[] = "__winex11_tray_icon";
constexpr int kIconBorder = 2;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// What the balloon's process fills in: the tool, then the text it points to.
struct ToolQuery {
    TTTOOLINFOW tool;
    wchar_t text[1024];  // comctl32 copies the text without a limit
};

// The balloon's text, read through memory in its own process: the message's
// pointers are not carried over between processes. Wine's balloon is a
// tracking tooltip with no current tool: its one tool is asked for by index.
bool ReadBalloonText(HWND balloon, std::string& text) {
    DWORD processId = 0;
    GetWindowThreadProcessId(balloon, &processId);
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return false;
    auto* remote = static_cast<ToolQuery*>(
        VirtualAllocEx(process.Get(), nullptr, sizeof(ToolQuery), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return false;
    ToolQuery query{};
    query.tool.cbSize = sizeof(query.tool);
    query.tool.lpszText = remote->text;
    DWORD_PTR found = 0;
    const bool read = WriteProcessMemory(process.Get(), remote, &query, sizeof(query), nullptr) &&
                      SendMessageTimeoutW(balloon, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&remote->tool),
                                          SMTO_ABORTIFHUNG, 5000, &found) &&
                      found != 0 && ReadProcessMemory(process.Get(), remote, &query, sizeof(query), nullptr);
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    if (!read) return false;
    query.text[std::size(query.text) - 1] = L'\0';
    text = WideToUtf8(query.text);
    return true;
}

}  // namespace

std::vector<std::string> VisibleTrayBalloons(DWORD ignoredProcess) {
    std::vector<std::string> texts;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        // The icons' tips on hover are plain tooltips, not balloons.
        if (processId == ignoredProcess || !IsWindowVisible(window) || ClassOf(window) != TOOLTIPS_CLASSA ||
            (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) == 0) {
            continue;
        }
        std::string text;
        if (ReadBalloonText(window, text)) texts.push_back(text);
    }
    return texts;
}

TrayIconPixels CaptureTrayIcon() {
    std::vector<HWND> icons;
    for (HWND child = GetWindow(WineSystemTray(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == kIconClass && IsWindowVisible(child)) icons.push_back(child);
    }
    if (icons.size() != 1) return {};
    // Explorer paints the icon at once and puts it on screen a moment later:
    // captures are taken until two in a row agree.
    RedrawWindow(icons[0], nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ScreenCapture capture;
    for (int attempt = 0; attempt < 10; ++attempt) {
        Sleep(20);
        ScreenCapture again = ScreenCapture::OfClient(icons[0]);
        const bool settled = again.Pixels() == capture.Pixels();
        capture = std::move(again);
        if (settled) break;
    }
    TrayIconPixels icon{capture.Width() - 2 * kIconBorder, capture.Height() - 2 * kIconBorder, {}};
    if (icon.width <= 0 || icon.height <= 0) return {};
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            icon.pixels.push_back(capture.Pixels()[(y + kIconBorder) * capture.Width() + x + kIconBorder] & 0xFFFFFF);
        }
    }
    return icon;
}

namespace {

bool CallShell(DWORD message, HWND owner, UINT id) {
    NOTIFYICONDATAA record{};
    record.cbSize = sizeof(record);
    record.hWnd = owner;
    record.uID = id;
    return Shell_NotifyIconA(message, &record) != FALSE;
}

}  // namespace

bool TrayIconPlaced(HWND owner, UINT id) { return CallShell(NIM_MODIFY, owner, id); }

void LoseTrayIcon(HWND owner, UINT id) { CallShell(NIM_DELETE, owner, id); }

void BroadcastTaskbarCreated() {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 10000,
                        &answer);
}

HWND WineSystemTray() { return FindWindowA(kTrayClass, nullptr); }

}  // namespace korbela::wine
