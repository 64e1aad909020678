// The application's own hidden top-level window: it owns the taskbar button,
// carries the title the single-instance guard looks for, and receives the
// application's system commands.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace korbela {

inline constexpr char kApplicationClass[] = "TApplication";
inline constexpr char kApplicationTitle[] = "Korbela Lite";

class ApplicationWindow {
public:
    ApplicationWindow(HINSTANCE instance, HICON icon);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return window_; }

    // A hook sees the window's messages before the window does; returning
    // true with a result ends the message there.
    using Hook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    void AddHook(Hook hook) { hooks_.push_back(std::move(hook)); }

    // Another copy of the program restored or activated this window.
    std::function<void()> OnActivatedByUser;
    // The user closed the program's taskbar button.
    std::function<void()> OnCloseCommand;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Hook> hooks_;
};

}  // namespace korbela
