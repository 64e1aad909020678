// Main window lifecycle: creation with its fixed start-up sequence, showing,
// the close refusal, Exit, and applying stored settings.
#include "core/form/frm_kr_main.h"

#include <algorithm>

#include "core/system/system_info.h"
#include "core/form/main_window_host.h"
#include "core/dialog/system_messages.h"
#include "core/tray/tray_target.h"
#include "core/system/thread_timer.h"

namespace korbela {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TfrmKRmain::TfrmKRmain(const MainWindowServices& services)
    : pgRAM({" Memory ", " Monitor ", "Settings", "   About   "}),
      tbrTarget(0, 100, 5),
      scpGraph(3),
      spnSec(1, 30, 1),
      spnAtempts(1, 10, 3),
      tbrAuto_Level(0, 100, 5),
      tbrCPU_Threshold(0, 100, 5),
      startURL(services.shell, kMakerWebSite),
      startURL3(services.shell, kProductWebSite),
      StartHelp(services.shell, ""),
      Window_Open(services.shell, ""),
      memory_(services.memory),
      allocator_(services.allocator),
      pump_(services.pump),
      shell_(services.shell),
      os_(services.os),
      host_(services.host),
      tray_(services.tray),
      messages_(services.messages),
      tmrUsage_(services.tmrUsage),
      tmrCheckCPU_(services.tmrCheckCPU),
      cpu_(services.cpu),
      settings_(services.registry),
      autoStart_(services.registry),
      exePathReported_(services.exePath),
      fileVersion_(services.fileVersion) {
    pbrUsedRAM.ApplyPreset(PercentBarPreset::UsedRAM);
    pbrFreeRAM.ApplyPreset(PercentBarPreset::FreeRAM);
    pbrTargetRAM.ApplyPreset(PercentBarPreset::TargetRAM);
    pbrCPU.ApplyPreset(PercentBarPreset::CPU);
    SetCaptions();
    WireHandlers();

    // The components as the window's description loads them: the usage timer
    // runs from here on, the check timer waits for the end of FormCreate.
    tmrUsage_.SetOnTimer([this] { tmrUsageTimer(); });
    tmrUsage_.SetEnabled(true);
    tmrCheckCPU_.SetInterval(60000);
    tmrCheckCPU_.SetOnTimer([this] { tmrCheckCPUTimer(); });
}

// The timers serve this window alone and outlive it: their handlers are taken
// back, so that no tick, nor one already on its way to the main thread, runs on
// a window that has gone.
TfrmKRmain::~TfrmKRmain() {
    tmrUsage_.SetOnTimer(nullptr);
    tmrCheckCPU_.SetOnTimer(nullptr);
}

void TfrmKRmain::SetCaptions() {
    btnHelp.SetHint("Display the help manual");

    pnlTotal.SetCaption("Total RAM:");
    lblTotalRAM.SetCaption("0");
    lblTotalRAM.SetHint("Total amount if RAM avaible.");
    Label3.SetCaption("Memory now in use:");
    lblUsedRAM.SetCaption("0");
    lblUsedRAM.SetHint("Displays how much RAM is currently is use.");
    Label2.SetCaption("Memory currenty free:");
    lblFreeRAM.SetCaption("0");
    lblFreeRAM.SetHint("Displays how RAM is currently free (not used).");
    pnlFreeing_RAM.SetCaption("Korbela is Freeing RAM");
    pnlFreeing_RAM.SetVisible(false);

    pnlFree.SetCaption("Targeted RAM to free:");
    lblRAMperFree.SetCaption("0%   (0 MB)");
    tbrTarget.SetHint("Use this trackbar to set ho much RAM to try and free.");
    btnFreeRAM.SetCaption("Free RAM");
    btnFreeRAM.SetHint("Click here to free up RAM.");
    pnlPass.SetVisible(false);
    lblPassCaption.SetCaption("Attempting to free RAM.  Please wait ...");
    lblPass.SetCaption("Pass 1 of 1");
    lblWorking.SetCaption("100%");

    pnlMonitor.SetCaption("RAM Usage Monitor");
    lbl100_Usage.SetCaption("100%");
    lbl0_Usage.SetCaption("0%");
    lblTRAM.SetCaption("0 Mb");
    Label6.SetCaption("0 Mb");
    chbUsedRAM.SetCaption("Used RAM");
    chbUsedRAM.SetHint("Show / hide how much RAM is being used on the graph.");
    chbFreeRAM.SetCaption("Free RAM");
    chbFreeRAM.SetHint("Show / hide how much RAM is free on the graph.");
    chbFreeRAM.SetChecked(true);
    chbCPU.SetCaption("CPU");
    chbCPU.SetHint("Show / hide how much CPU power is being used on the graph.");
    chbCPU.SetChecked(true);
    pnlCPU.SetCaption("CPU Usage Monitor");

    pnlGeneral.SetCaption("General Settings");
    chbAuto_Start.SetCaption(" Automatic start with windows");
    chbAuto_Start.SetHint("When selected Korbela will launch at windows starts up and you login.");
    lblSecCaption.SetCaption("Update RAM statistics every ");
    spnSec.SetHint("Sets the interval between checking RAM & CPU statistics in seconds.");
    lblSec.SetCaption("second.");
    lblMake.SetCaption("Make");
    spnAtempts.SetHint("Sets the amount of attempts Korbela can try and free target RAM.");
    lblttempts.SetCaption("attempts to free target RAM.");

    pnlAutomatic.SetCaption("Automatic RAM Freeing");
    chbAuto_Free.SetCaption(" Enable automatic RAM freeing");
    chbAuto_Free.SetHint("When checked Korbela will free RAM automatically as set by the levels below.");
    chbAuto_Free_Silent.SetCaption("When auto-freeing RAM do so silently");
    chbAuto_Free_Silent.SetHint(
        "When checked Korbela frees RAM without showing the screen when performing an auto RAM "
        "freeing task.");
    chbAuto_Free_Silent.SetChecked(true);
    btnTest_Auto_Free.SetCaption("Test Auto Free");
    btnTest_Auto_Free.SetHint("Click here to free up RAM.");
    btnTest_Auto_Free.SetVisible(false);
    tbrAuto_Level.SetHint(
        "This sets what at what level of RAM the automatic freeing will start at. It is also the "
        "amount of RAM to auto free.");
    lblAuto_Level.SetCaption("0%");
    lblRAMtoFreeCaption.SetCaption("RAM to Free:");
    lblRAMtoFree.SetCaption("0 Mb");
    lblCPUThresholdCaption.SetCaption("CPU Threshold:");
    tbrCPU_Threshold.SetHint(
        "Auto-freeing of RAM shall not take place unless the CPU usage of the machine is less "
        "than the value set here.");
    lblCPU_Threshold.SetCaption("0%");

    memAbout.SetCaption(
        "Korbela Lite keeps your computer responsive by giving physical memory back to the "
        "system.\r\n\r\nIt claims a share of RAM in 1 MB blocks, fills every byte, holds them and "
        "releases them again, so that Windows moves idle pages out of other programs' working "
        "sets. Free RAM by hand from the Memory page or the tray menu, or let Korbela do it by "
        "itself when memory runs low and the processors are quiet.\r\n\r\nCopyright (c) "
        "Quillmarsh. All rights reserved.");
    lblWebSite.SetCaption("Quillmarsh's Website");
    lblWebSite.SetHint("Open a web browser showing the Quillmarsh website.");
    HyperLink2.SetCaption("Korbela Lite Website");
    HyperLink2.SetHint("Open a web browser showing the Korbela Lite website.");
    lbl_OS.SetVisible(false);
}

void TfrmKRmain::WireHandlers() {
    btnHelp.OnClick = [this] { btnHelpClick(); };
    tbrTarget.OnChange = [this] { tbrTargetChange(); };
    tbrTarget.OnMouseUp = [this] { tbrTargetMouseUp(); };
    // A target chosen with the keyboard or the wheel is kept as a dragged one is.
    tbrTarget.OnEndTrack = [this] { tbrTargetMouseUp(); };
    btnFreeRAM.OnClick = [this] { btnFreeRAMClick(); };
    chbUsedRAM.OnClick = [this] { StoreMonitorView(); };
    chbFreeRAM.OnClick = [this] { StoreMonitorView(); };
    chbCPU.OnClick = [this] { StoreMonitorView(); };
    chbAuto_Start.OnClick = [this] { chbAuto_StartClick(); };
    spnSec.OnChange = [this] { spnSecChange(); };
    spnAtempts.OnChange = [this] { spnAtemptsChange(); };
    chbAuto_Free.OnClick = [this] { chbAuto_FreeClick(); };
    chbAuto_Free_Silent.OnClick = [this] { chbAuto_Free_SilentClick(); };
    btnTest_Auto_Free.OnClick = [this] { btnTest_Auto_FreeClick(); };
    tbrAuto_Level.OnChange = [this] { tbrAuto_LevelChange(); };
    tbrAuto_Level.OnMouseUp = [this] { tbrAuto_LevelMouseUp(); };
    tbrCPU_Threshold.OnChange = [this] { tbrCPU_ThresholdChange(); };
    tbrCPU_Threshold.OnMouseUp = [this] { tbrCPU_ThresholdMouseUp(); };
}

void TfrmKRmain::FormCreate() {
    Loading_ = true;
    // A step that fails is reported by the caller; the window must still store
    // the user's clicks and run its automatic check afterwards.
    struct EndOfLoading {
        TfrmKRmain& form;
        ~EndOfLoading() {
            form.tmrCheckCPU_.SetEnabled(true);
            form.Loading_ = false;
        }
    };
    EndOfLoading endOfLoading{*this};
    ExePath_ = exePathReported_;
    ExeFolder_ = FolderOf(ExePath_);
    CPUCheckActive_ = true;
    // A user's first start: nothing but the settings key remembers it, and
    // the installation record's update is the first step that makes it.
    const bool firstStart = !settings_.SettingsKeyExists();
    autoStart_.UpdateInstallInfo(ExeFolder_, fileVersion_);
    settings_.CheckSettings();
    ApplySettings();
    tray_.SetUsageShown(settings_.LoadTrayIconUsage().value_or(false));
    pgRAM.SetActivePageIndex(kPageMemory);
    // The group panels take the page control's colour: the window draws them so.
    ShowTotalRAM();
    ShowTargetRAM();
    RefreshAutoFreeing();
    LastCPULoad_ = pbrCPU.Percent();
    CPUThreshold_ = tbrCPU_Threshold.Position();
    scpGraph.SetActive(true);
    StartHelp.SetTarget(ExeFolder_ + "Korbela Lite.chm");
    const std::optional<OsVersion> version = os_.Query();
    lbl_OS.SetCaption(version ? WindowsProductName(*version) : std::string());
    Window_Open.SetTarget(ExeFolder_);
    // The box shows the stored "Auto Start" only when the settings could be read.
    if (settingsLoaded_) autoStart_.SetAutoStart(chbAuto_Start.Checked(), ExePath_);
    tmrCheckCPU_.SetEnabled(true);
    pnlAbout.SetCaption("About Korbela Lite (version " + fileVersion_ + ")");
    // The program starts hidden, and a new icon may land among the hidden
    // ones: a first-time user is told where it is.
    if (firstStart) tray_.ShowNotification(kFirstStartNotice);
}

void TfrmKRmain::FormShow() { ApplySettings(); }

bool TfrmKRmain::FormCloseQuery() {
    tray_.HideToTray();
    return false;
}

void TfrmKRmain::FormClose() { tmrUsage_.SetEnabled(false); }

void TfrmKRmain::erminate1Click() { host_.Terminate(); }

void TfrmKRmain::ShowMainWindow1Click() { host_.Show(); }

void TfrmKRmain::ShowMemoryUsageinIcon1Click() {
    const bool shown = !tray_.UsageShown();
    tray_.SetUsageShown(shown);
    if (!settings_.SaveTrayIconUsage(shown)) {
        messages_.ShowSystemMessage("Unable to store tray icon usage.");
    }
}

bool TfrmKRmain::popTaskBarPopup() {
    // The stored look wins, over a choice that could not be stored too; when
    // nothing can be read, the look stays as it is.
    if (const std::optional<bool> stored = settings_.LoadTrayIconUsage()) tray_.SetUsageShown(*stored);
    return tray_.UsageShown();
}

void TfrmKRmain::ApplySettings() {
    settingsLoaded_ = settings_.LoadSettings(record_);
    if (!settingsLoaded_) {
        messages_.ShowSystemMessage("Unable to access Korbela settings.");
        return;
    }
    tbrTarget.SetPosition(record_.CfgTargetRAM);
    tbrAuto_Level.SetPosition(record_.CfgAutoLevel);
    tbrCPU_Threshold.SetPosition(record_.CfgCPUThreshold);
    spnSec.SetValue(record_.CfgUpdatePeriod);
    if (userAttempts_) {
        userAttempts_ = std::clamp(record_.CfgAttempts, spnAtempts.Min(), spnAtempts.Max());
    } else {
        spnAtempts.SetValue(record_.CfgAttempts);
    }
    chbAuto_Start.SetChecked(record_.CfgAutoStart);
    chbAuto_Free.SetChecked(record_.CfgAutoFreeing && !autoFreeSuspended_);
    chbAuto_Free_Silent.SetChecked(record_.CfgAutoFreeSilent);
    ApplyMonitorView(record_.CfgMonitorView);
}

void TfrmKRmain::ShowAndFront() {
    host_.Show();
    pgRAM.SetActivePageIndex(kPageMemory);
    host_.BringToFront();
    host_.Repaint();
}

}  // namespace korbela
