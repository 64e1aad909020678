#include "win32/app/korbela_application.h"

#include <commctrl.h>

#include "core/app/hot_key.h"
#include "win32/res/resource.h"
#include "win32/window/dpi.h"

namespace korbela {

KorbelaApplication::TickGate::TickGate(TimerDispatcher& dispatcher, TThreadTimer& first, TThreadTimer& second)
    : dispatcher_(dispatcher), first_(first), second_(second) {
    first_.BeginLoading();
    second_.BeginLoading();
}

void KorbelaApplication::TickGate::Open() {
    first_.EndLoading();
    second_.EndLoading();
}

KorbelaApplication::TickGate::~TickGate() {
    dispatcher_.Close();
    first_.SetEnabled(false);
    second_.SetEnabled(false);
}

HICON KorbelaApplication::RegisterControlsAndLoadIcon(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINICON));
}

std::unique_ptr<CpuUsage> KorbelaApplication::MakeCpuUsage() {
    try {
        return std::make_unique<CpuUsage>(os_, perfData_, dynData_);
    } catch (const std::exception& error) {
        ReportApplicationError(error);
        throw StartAbandoned{};
    }
}

MainWindowServices KorbelaApplication::Services() {
    return MainWindowServices{memory_,      allocator_,         pump_,      registry_,       shell_,
                              os_,          mainWindow_,        tryIcon_.Icon(), messages_, tmrUsage_,
                              tmrCheckCPU_, cpu_.get(),         programPath_,    exeInfo_.FileVersion()};
}

KorbelaApplication::KorbelaApplication(HINSTANCE instance)
    : icon_(RegisterControlsAndLoadIcon(instance)),
      application_(instance, icon_),
      programPath_(ProgramPath()),
      versionResource_(programPath_),
      exeInfo_(versionResource_),
      mainWindow_(instance, application_.Handle(), icon_),
      frm_Message_(instance, application_.Handle(), mainWindow_.Handle()),
      messages_(frm_Message_),
      report_([this](const std::exception& error) { messages_.AppEventsException(error); }),
      cpu_(MakeCpuUsage()),
      dispatcher_(std::make_shared<TimerDispatcher>(instance)),
      tmrUsage_(dispatcher_, ReportApplicationError),
      tmrCheckCPU_(dispatcher_, ReportApplicationError),
      ticks_(*dispatcher_, tmrUsage_, tmrCheckCPU_),
      trayIcon_(LoadTrayIcon(instance)),
      tryIcon_(application_.Handle(), mainWindow_.Handle(), trayIcon_ ? trayIcon_.Get() : icon_),
      BalloonHint1_(mainWindow_.Handle()),
      hints_(mainWindow_.addHint,
             [this](HWND control, const std::string& hint) { BalloonHint1_.AddTool(control, hint); }),
      hintRelay_(mainWindow_.relayHint, [this](const MSG& message) { BalloonHint1_.Relay(message); }),
      endSession_(mainWindow_.OnEndSession, [] { PostQuitMessage(0); }),
      scaleChanged_(mainWindow_.OnScaleChanged, [this](DisplayScale scale) { BalloonHint1_.SetScale(scale); }),
      frmKRmain_(Services()),
      binding_(mainWindow_, frmKRmain_),
      activatedByUser_(application_.OnActivatedByUser, [this] { mainWindow_.Show(); }),
      closeCommand_(application_.OnCloseCommand,
                    [this] { SendMessageA(mainWindow_.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
      lightClean_(tryIcon_.popTaskBar.LightClean1Click, [this] { frmKRmain_.LightClean1Click(); }),
      mediumClean_(tryIcon_.popTaskBar.MediumClean1Click, [this] { frmKRmain_.MediumClean1Click(); }),
      heavyClean_(tryIcon_.popTaskBar.HeavyClean1Click, [this] { frmKRmain_.HeavyClean1Click(); }),
      showMainWindow_(tryIcon_.popTaskBar.ShowMainWindow1Click, [this] { frmKRmain_.ShowMainWindow1Click(); }),
      showUsageInIcon_(tryIcon_.popTaskBar.ShowMemoryUsageinIcon1Click,
                       [this] { frmKRmain_.ShowMemoryUsageinIcon1Click(); }),
      menuOpens_(tryIcon_.popTaskBar.popTaskBarPopup, [this] { return frmKRmain_.popTaskBarPopup(); }),
      exit_(tryIcon_.popTaskBar.erminate1Click, [this] { frmKRmain_.erminate1Click(); }),
      hotKey_(GlobalHotKey2_.OnKeyDown, [this](int key, int shift) { frmKRmain_.GlobalHotKey2KeyDown(key, shift); }),
      OneInstance_(application_.Handle(), [] { PostQuitMessage(0); }) {
    applicationIcons_.Apply(application_.Handle(), instance, ScaleOfWindow(application_.Handle()));
    shell_.SetOwner(mainWindow_.Handle());
    GlobalHotKey2_.SetHotKey(kMainWindowHotKey);
    // A second copy has brought the first one forward and ends at its first
    // message: it starts no timer and writes nothing, so the first copy's
    // start-at-logon value and installation record stay as they are.
    if (OneInstance_.Loaded(marker_.PreviousInstance())) return;

    ticks_.Open();
    try {
        frmKRmain_.FormCreate();
    } catch (const std::exception& error) {
        ReportApplicationError(error);
    }
}

int KorbelaApplication::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchWithKeyboardInterface(msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace korbela
