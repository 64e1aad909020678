// The main window's design grid: the title bar, the tab strip and the page
// area below it. Controls are placed relative to their panel's top left.
#pragma once

#include <windows.h>

namespace korbela::layout {

// The page control fills the window below the title bar; its tabs start 10
// pixels from its left edge. The strip keeps clear of the window's border.
inline constexpr RECT kPageControl{0, 38, 473, 291};
inline constexpr int kTabsLeft = kPageControl.left + 10;
inline constexpr RECT kTabStrip{1, 38, 472, 60};
inline constexpr POINT kPage{3, 60};  // top left of every page, 467 x 228
inline constexpr int kPageWidth = 467;
inline constexpr int kPageHeight = 228;

// The point (x, y) of a panel whose top left is `origin`.
constexpr POINT Offset(POINT origin, int x, int y) { return POINT{origin.x + x, origin.y + y}; }

// A w x h rectangle at (x, y) from `origin`, in the main window's client area.
constexpr RECT At(POINT origin, int x, int y, int w, int h) {
    return RECT{origin.x + x, origin.y + y, origin.x + x + w, origin.y + y + h};
}

}  // namespace korbela::layout
