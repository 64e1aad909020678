// What the notification area shows of another process's tray icon, read back
// from the system: the balloons on screen and the icon's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korbela::wine {

struct TrayBalloon {
    std::string title;  // UTF-8
    std::string text;   // UTF-8
};

// The balloon notifications (Shell_NotifyIcon NIF_INFO) on screen now. Under
// Wine 8 each is a visible balloon-style window of class "tooltips_class32" of
// explorer.exe; its title and text are read with TTM_GETTITLE and
// TTM_GETCURRENTTOOLW through memory in the balloon's own process, since those
// messages' pointers are not carried over between processes. Windows of
// `ignoredProcess` (the program's own hint balloons) are skipped.
std::vector<TrayBalloon> VisibleTrayBalloons(DWORD ignoredProcess);

// The pixels of the tray icon that `owner` (the hWnd of its NOTIFYICONDATA)
// placed with `id`, as the notification area draws it now: the icon's square,
// top row first, 0x00RRGGBB. The size is the one drawn (16 px at 96 dpi, 24 at
// 144). Empty when the icon is not on screen.
struct TrayIconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
TrayIconPixels CaptureTrayIcon(HWND owner, UINT id);

// The shell answers a modify without changes only for an icon it has.
bool TrayIconPlaced(HWND owner, UINT id);
// Takes the icon away, as a taskbar that ends takes every icon with it.
void LoseTrayIcon(HWND owner, UINT id);
// Without a tray of the X desktop, Wine shows the icons in a window of its
// own that it hides while it holds none. Not there on Windows.
HWND WineSystemTray();

}  // namespace korbela::wine
