// The running program: every part of it as a member, declared in the order of
// its lifetime. Construction is the start-up sequence; destruction undoes it in
// reverse by itself, however the program ends (Exit, a close or session end
// request, or a start-up step that failed): first everything that calls into
// the form lets go of it (the connections of the tray menu, the hot key and
// the application window, then the main window's binding), then the form,
// which takes its handlers back from the timers, so that no tick reaches it
// even while the tray icon's removal lets the main thread run sent messages;
// then the timers and their hand-over stop, the windows go, and the instance
// marker goes last.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/system/cpu_usage.h"
#include "core/system/system_info.h"
#include "core/form/frm_kr_main.h"
#include "core/dialog/system_messages.h"
#include "core/system/thread_timer.h"
#include "win32/app/application_window.h"
#include "win32/window/error_report.h"
#include "win32/app/instance_guard.h"
#include "win32/window/window.h"
#include "win32/system/shell.h"
#include "win32/app/timer_dispatcher.h"
#include "win32/system/os_version.h"
#include "win32/system/cpu_usage.h"
#include "win32/system/system_info.h"
#include "win32/system/memory.h"
#include "win32/system/registry.h"
#include "win32/form/balloon_hint.h"
#include "win32/dialog/frm_message.h"
#include "win32/app/hot_key.h"
#include "win32/form/main_window.h"
#include "win32/window/program_icon.h"
#include "win32/tray/tray_icon.h"

namespace korbela {

// Thrown when the start-up has reported why it cannot go on; the program then
// ends with exit code 1 and nothing more to say.
struct StartAbandoned {};

// Gives a component's event its handler for as long as it lives and takes it
// away again, so that nothing calls into a part that is already gone.
template <typename Handler>
class HandlerConnection {
public:
    HandlerConnection(Handler& event, Handler handler) : event_(event) { event_ = std::move(handler); }
    ~HandlerConnection() { event_ = nullptr; }
    HandlerConnection(const HandlerConnection&) = delete;
    HandlerConnection& operator=(const HandlerConnection&) = delete;

private:
    Handler& event_;
};

using ClickConnection = HandlerConnection<std::function<void()>>;

class KorbelaApplication {
public:
    explicit KorbelaApplication(HINSTANCE instance);
    KorbelaApplication(const KorbelaApplication&) = delete;
    KorbelaApplication& operator=(const KorbelaApplication&) = delete;

    // The message loop; returns the program's exit code.
    int Run();

private:
    // The timers' ticks are held back from their construction until the form
    // has been created; when the timers go, their hand-over closes first.
    class TickGate {
    public:
        TickGate(TimerDispatcher& dispatcher, TThreadTimer& first, TThreadTimer& second);
        ~TickGate();
        TickGate(const TickGate&) = delete;
        TickGate& operator=(const TickGate&) = delete;
        void Open();

    private:
        TimerDispatcher& dispatcher_;
        TThreadTimer& first_;
        TThreadTimer& second_;
    };

    // The main window's controls stay bound to the form while both exist.
    class FormBinding {
    public:
        FormBinding(MainWindow& window, TfrmKRmain& form) : window_(window) { window_.Bind(form); }
        ~FormBinding() { window_.Unbind(); }
        FormBinding(const FormBinding&) = delete;
        FormBinding& operator=(const FormBinding&) = delete;

    private:
        MainWindow& window_;
    };

    std::unique_ptr<CpuUsage> MakeCpuUsage();
    MainWindowServices Services();
    // The common control classes registered, and the program icon.
    static HICON RegisterControlsAndLoadIcon(HINSTANCE instance);

    // Before any window: a second copy sees the first one's marker.
    const InstanceMarker marker_;
    const HICON icon_;  // shared from the module, never destroyed
    // The taskbar button shows the application window's icons: the images of
    // its scale's sizes, kept until the window has gone.
    WindowIcons applicationIcons_;
    ApplicationWindow application_;

    // The system.
    Win32MemoryStatus memory_;
    VirtualBlockAllocator allocator_;
    Win32MessagePump pump_;
    Win32Registry registry_;
    Win32Shell shell_;
    Win32OsVersion os_;
    Win32PerfDataSource perfData_;
    Win32DynDataSource dynData_;
    const std::string programPath_;
    Win32VersionResource versionResource_;
    const TExeInfo exeInfo_;

    // The windows and what they report through.
    MainWindow mainWindow_;
    Tfrm_Message frm_Message_;
    TSystemMessages messages_;
    const ScopedApplicationErrorReport report_;
    std::unique_ptr<CpuUsage> cpu_;

    // The timers, the tray icon, the hot key and the hints.
    std::shared_ptr<TimerDispatcher> dispatcher_;
    TThreadTimer tmrUsage_;
    TThreadTimer tmrCheckCPU_;
    TickGate ticks_;
    // The notification area's small size, not the class icon's large one scaled down.
    const UniqueIcon trayIcon_;
    TrayIconWindow tryIcon_;
    TGlobalHotKey GlobalHotKey2_;
    TBalloonHint BalloonHint1_;
    HandlerConnection<std::function<void(HWND, const std::string&)>> hints_;
    HandlerConnection<std::function<void(const MSG&)>> hintRelay_;
    ClickConnection endSession_;
    HandlerConnection<std::function<void(DisplayScale)>> scaleChanged_;

    // The form and everything that calls into it, each cut off before the form
    // goes. The form hands its tick handlers to the timers above and takes
    // them back when it goes.
    TfrmKRmain frmKRmain_;
    FormBinding binding_;
    ClickConnection activatedByUser_;
    ClickConnection closeCommand_;
    ClickConnection lightClean_;
    ClickConnection mediumClean_;
    ClickConnection heavyClean_;
    ClickConnection showMainWindow_;
    ClickConnection showUsageInIcon_;
    HandlerConnection<std::function<bool()>> menuOpens_;
    ClickConnection exit_;
    HandlerConnection<std::function<void(int, int)>> hotKey_;
    Win32OneInstance OneInstance_;
};

}  // namespace korbela
