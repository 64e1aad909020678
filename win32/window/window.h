// The program's windows: a window object behind every window procedure, the
// subclass of a common control, the registration of the window classes, and
// the message loop.
#pragma once

#include <vector>
#include <windows.h>

#include "core/system/message_pump.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// The program's windows: a window object behind every window procedure, the
// subclass of a common control, and the registration of the window classes.
// The base of every window the program makes: one window procedure for all of
// them, which attaches the object to its window on the window's first message
// and detaches it on WM_NCDESTROY, hands every message in between to
// HandleMessage, and sends whatever a handler throws to the application's
// error report.
class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // Null before Create and once the window is gone.
    HWND Handle() const { return window_.Get(); }

protected:
    WindowBase() = default;
    // A window still there is detached first: the object it served is gone.
    virtual ~WindowBase();

    // CreateWindowExA for a class registered with WindowProc. The object gets
    // every message from the first on, WM_GETMINMAXINFO and WM_NCCREATE of the
    // creation too. Returns the window, or null when it could not be made.
    HWND Create(DWORD exStyle, const char* className, const char* caption, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance);
    // Destroys the window now, its destruction's messages still handled here.
    void Destroy() { window_.Reset(); }

    // A message of the window; by default the system's handling, but for a
    // close request: the window ends with its object, never on another
    // program's WM_CLOSE (that would take the tray icon, the hot key or the
    // timer ticks away). A window that closes on request handles WM_CLOSE
    // itself. After a report the message counts as handled with 0: its
    // default handling could do what the failed handler was there to prevent.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window procedure of every class whose windows are made with Create.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Attach(HWND window);
    void Detach();

    UniqueWindow window_;
};

// The base of every object that subclasses windows it did not make (controls,
// the tooltip, the application window): one subclass procedure for all of
// them, which hands the messages to HandleSubclassMessage, sends whatever a
// handler throws to the application's error report, and removes the subclass
// on WM_NCDESTROY or when the object goes.
class SubclassBase {
public:
    SubclassBase(const SubclassBase&) = delete;
    SubclassBase& operator=(const SubclassBase&) = delete;

protected:
    SubclassBase() = default;
    virtual ~SubclassBase();

    // True when the window's messages now come here too.
    bool Subclass(HWND window);
    void Unsubclass(HWND window);
    bool Subclasses(HWND window) const;

    // A message of one of the subclassed windows; by default the window's own
    // handling. After a report the message counts as handled with 0.
    virtual LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::vector<HWND> windows_;  // not owned
};

// One registration of a window class per process, however many windows of it
// are made.
struct WindowClass {
    const char* name;
    WNDPROC procedure;
    HICON icon = nullptr;  // large and small
    bool arrowCursor = false;
    UINT style = 0;
};

// True when the class is registered now or already was.
bool RegisterWindowClass(HINSTANCE instance, const WindowClass& definition);

// The disabled child of `parent` under a point of its client area, or null.
// The system gives such a control's mouse messages to its parent.
HWND DisabledChildAt(HWND parent, POINT clientPoint);

// The message loop: the program's own, and the pump a long operation on the
// main thread runs (the system's side of IMessagePump).

// Translates and dispatches one message. Keys meant for a window of controls
// (one with WS_EX_CONTROLPARENT, such as the main window) go through its
// keyboard interface first: Tab and Shift+Tab move the focus, Space presses
// the focused button or check box, the arrow keys go to sliders and tabs.
void DispatchWithKeyboardInterface(MSG& msg);

class Win32MessagePump : public IMessagePump {
public:
    void ProcessMessages() override;
    bool Terminated() const override { return terminated_; }

private:
    bool terminated_ = false;
};

}  // namespace korbela
