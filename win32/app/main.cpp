// Program entry: the instance marker, the application and main windows with
// their components, the start-up sequence and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "core/system/cpu_usage.h"
#include "core/system/system_info.h"
#include "core/ui/frm_kr_main.h"
#include "core/ui/hot_key.h"
#include "core/ui/system_messages.h"
#include "core/widgets/thread_timer.h"
#include "win32/app/application_window.h"
#include "win32/app/instance_marker.h"
#include "win32/app/message_pump.h"
#include "win32/app/one_instance.h"
#include "win32/app/shell_launcher.h"
#include "win32/app/timer_dispatcher.h"
#include "win32/res/resource.h"
#include "win32/system/os_version.h"
#include "win32/system/perf_data_source.h"
#include "win32/system/version_resource.h"
#include "win32/system/win32_memory.h"
#include "win32/system/win32_registry.h"
#include "win32/ui/balloon_hint.h"
#include "win32/ui/dpi.h"
#include "win32/ui/frm_message.h"
#include "win32/ui/global_hot_key.h"
#include "win32/ui/main_window.h"
#include "win32/ui/program_icon.h"
#include "win32/ui/tray_icon_window.h"

namespace korbela {
namespace {

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchWithKeyboardInterface(msg);
    return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance) {
    // Before any window: a second copy sees the first one's marker.
    const InstanceMarker marker;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINICON));

    // The taskbar button shows the application window's icons: the images of
    // its scale's sizes, kept until the window has gone.
    WindowIcons applicationIcons;
    ApplicationWindow application(instance, icon);
    applicationIcons.Apply(application.Handle(), instance, ScaleOfWindow(application.Handle()));
    Win32MemoryStatus memory;
    VirtualBlockAllocator allocator;
    Win32MessagePump pump;
    Win32Registry registry;
    Win32Shell shell;
    Win32OsVersion os;
    Win32PerfDataSource perfData;
    Win32DynDataSource dynData;
    const std::string programPath = ProgramPath();
    Win32VersionResource versionResource(programPath);
    const TExeInfo exeInfo(versionResource);

    MainWindow mainWindow(instance, application.Handle(), icon);
    shell.SetOwner(mainWindow.Handle());
    Tfrm_Message frm_Message(instance, application.Handle(), mainWindow.Handle());
    TSystemMessages messages(frm_Message);
    auto report = [&messages](const std::exception& error) { messages.AppEventsException(error); };

    std::unique_ptr<CpuUsage> cpu;
    try {
        cpu = std::make_unique<CpuUsage>(os, perfData, dynData);
    } catch (const std::exception& error) {
        report(error);  // the start stops here
        return 1;
    }

    auto dispatcher = std::make_shared<TimerDispatcher>(instance);
    TThreadTimer tmrUsage(dispatcher, report);
    TThreadTimer tmrCheckCPU(dispatcher, report);
    tmrUsage.BeginLoading();
    tmrCheckCPU.BeginLoading();

    // The notification area's small size, not the class icon's large one scaled down.
    const UniqueIcon trayIcon = LoadTrayIcon(instance);
    TrayIconWindow tryIcon(application.Handle(), mainWindow.Handle(), trayIcon ? trayIcon.Get() : icon);
    tryIcon.OnError = report;
    TGlobalHotKey GlobalHotKey2(report);
    TBalloonHint BalloonHint1(mainWindow.Handle());

    const MainWindowServices services{memory,   allocator,       pump,     registry,        shell,
                                      os,       mainWindow,      tryIcon.Icon(), messages, tmrUsage,
                                      tmrCheckCPU, cpu.get(),    programPath,   exeInfo.FileVersion()};
    TfrmKRmain frmKRmain(services);

    mainWindow.reportError = report;
    mainWindow.addHint = [&BalloonHint1](HWND control, const std::string& hint) {
        BalloonHint1.AddTool(control, hint);
    };
    mainWindow.OnEndSession = [] { PostQuitMessage(0); };
    mainWindow.OnScaleChanged = [&BalloonHint1](DisplayScale scale) { BalloonHint1.SetScale(scale); };
    mainWindow.Bind(frmKRmain);
    application.OnActivatedByUser = [&mainWindow] { mainWindow.Show(); };
    application.OnCloseCommand = [&mainWindow] { SendMessageA(mainWindow.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };

    tryIcon.popTaskBar.LightClean1Click = [&frmKRmain] { frmKRmain.LightClean1Click(); };
    tryIcon.popTaskBar.MediumClean1Click = [&frmKRmain] { frmKRmain.MediumClean1Click(); };
    tryIcon.popTaskBar.HeavyClean1Click = [&frmKRmain] { frmKRmain.HeavyClean1Click(); };
    tryIcon.popTaskBar.ShowMainWindow1Click = [&frmKRmain] { frmKRmain.ShowMainWindow1Click(); };
    tryIcon.popTaskBar.erminate1Click = [&frmKRmain] { frmKRmain.erminate1Click(); };
    GlobalHotKey2.OnKeyDown = [&frmKRmain](int key, int shift) { frmKRmain.GlobalHotKey2KeyDown(key, shift); };
    GlobalHotKey2.SetHotKey(kMainWindowHotKey);

    Win32OneInstance OneInstance(application.Handle(), [] { PostQuitMessage(0); });
    OneInstance.Loaded(marker.PreviousInstance());

    tmrUsage.EndLoading();
    tmrCheckCPU.EndLoading();
    try {
        frmKRmain.FormCreate();
    } catch (const std::exception& error) {
        report(error);
    }

    const int exitCode = RunMessageLoop();

    // Ticks stop first, then the windows let go of the form.
    dispatcher->Close();
    tmrUsage.SetEnabled(false);
    tmrCheckCPU.SetEnabled(false);
    tryIcon.popTaskBar.LightClean1Click = nullptr;
    tryIcon.popTaskBar.MediumClean1Click = nullptr;
    tryIcon.popTaskBar.HeavyClean1Click = nullptr;
    tryIcon.popTaskBar.ShowMainWindow1Click = nullptr;
    tryIcon.popTaskBar.erminate1Click = nullptr;
    GlobalHotKey2.OnKeyDown = nullptr;
    application.OnActivatedByUser = nullptr;
    application.OnCloseCommand = nullptr;
    mainWindow.OnScaleChanged = nullptr;
    mainWindow.Unbind();
    return exitCode;
}

}  // namespace
}  // namespace korbela

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return korbela::Run(instance);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), "Korbela Lite", MB_OK | MB_ICONERROR);
        return 1;
    }
}
