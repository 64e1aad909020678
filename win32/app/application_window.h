// The application's own hidden top-level window: it owns the taskbar button,
// carries the title the single-instance guard looks for, and receives the
// application's system commands.
#pragma once

#include <windows.h>

#include <functional>

#include "win32/window/window.h"

namespace korbela {

inline constexpr char kApplicationClass[] = "TApplication";
inline constexpr char kApplicationTitle[] = "Korbela Lite";

class ApplicationWindow : public WindowBase {
public:
    ApplicationWindow(HINSTANCE instance, HICON icon);
    ~ApplicationWindow() override;

    // Another copy of the program restored or activated this window.
    std::function<void()> OnActivatedByUser;
    // The user closed the program's taskbar button.
    std::function<void()> OnCloseCommand;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace korbela
