// What the notification area shows of the program's tray icon, read back from
// the system: the balloons on screen and the icon's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korbela::wine {

// The texts of the balloons on screen now but those of `ignoredProcess` (the
// program's hints). Wine 8 cannot give their titles: it lacks TTM_GETTITLE.
std::vector<std::string> VisibleTrayBalloons(DWORD ignoredProcess);

// The tray icon as drawn now, top row first, 0x00RRGGBB; empty unless exactly
// one icon is shown, as in the tests' prefix, which holds the program's alone.
struct TrayIconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
TrayIconPixels CaptureTrayIcon();

// The shell answers a modify without changes only for an icon it has.
bool TrayIconPlaced(HWND owner, UINT id);
// Takes the icon away, as a taskbar that ends takes every icon with it.
void LoseTrayIcon(HWND owner, UINT id);
// What a taskbar that starts again sends every top-level window.
void BroadcastTaskbarCreated();
// Wine's own tray window, hidden while it holds no icon; not there on Windows.
HWND WineSystemTray();

}  // namespace korbela::wine
