// The main window's behaviour: its controls as plain models and every handler
// of its pages. The Win32 window binds real controls to these models; tests
// drive them directly. Where a handler lives: the start, the showing, hiding
// and closing of the window in frm_kr_main.cpp; the usage tick (memory figures,
// the graph, the tray tip) in usage_tick.cpp; every run that frees RAM (the
// Free RAM button, the clean levels, automatic freeing and its CPU check) in
// freeing.cpp; the pages' own controls in pages.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/system/app_auto_start.h"
#include "core/system/settings_reg.h"
#include "core/form/controls.h"
#include "core/widgets/percent_bar.h"
#include "core/widgets/scope.h"

namespace korbela {

class CpuUsage;
class IBlockAllocator;
class IMainWindowHost;
class IMemoryStatus;
class IMessagePump;
class IOsVersion;
class ITimer;
class ITrayTarget;
class TSystemMessages;

inline constexpr std::size_t kRAMBlockSize = 1048576;
inline constexpr int kPageMemory = 0;
inline constexpr int kPageMonitor = 1;
inline constexpr int kPageSettings = 2;
inline constexpr int kPageAbout = 3;
inline constexpr const char* kMakerWebSite = "https://www.quillmarsh.com/";
inline constexpr const char* kProductWebSite = "https://www.quillmarsh.com/korbela-lite/";

// The text shown when the CPU load cannot be read on Windows Vista.
std::string VistaAdminNotice();

// What a run freed: the available memory after it less the memory before it,
// and after it, in MB (bytes shifted right by 20: a loss of a few bytes is a
// loss of a whole MB).
struct FreedMemory {
    int64_t freedMB = 0;
    int64_t freeMB = 0;

    friend bool operator==(const FreedMemory&, const FreedMemory&) = default;
};
FreedMemory FreedBetween(uint64_t availableBefore, uint64_t availableAfter);
// "Freed N MB. M MB free now.", or "Nothing freed. M MB free now."
std::string FreedNotice(const FreedMemory& freed);

// The notification of the first start for a user.
inline constexpr char kFirstStartNotice[] =
    "Korbela Lite is running in the notification area. Right-click its icon for the menu.";

// Everything the window uses of the system; all references outlive the window.
struct MainWindowServices {
    IMemoryStatus& memory;
    IBlockAllocator& allocator;
    IMessagePump& pump;
    IRegistry& registry;
    IShell& shell;
    IOsVersion& os;
    IMainWindowHost& host;
    ITrayTarget& tray;
    TSystemMessages& messages;
    ITimer& tmrUsage;
    ITimer& tmrCheckCPU;
    CpuUsage* cpu;            // not owned; null when no sampler could be made
    std::string exePath;      // the program's full file path
    std::string fileVersion;  // the executable's FileVersion text
};

class TfrmKRmain {
public:
    explicit TfrmKRmain(const MainWindowServices& services);
    ~TfrmKRmain();
    TfrmKRmain(const TfrmKRmain&) = delete;
    TfrmKRmain& operator=(const TfrmKRmain&) = delete;

    // Lifecycle.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();  // always refuses: hides to the tray
    void FormClose();
    void erminate1Click();
    void ShowMainWindow1Click();
    // The tray menu's "Show Memory Usage in Icon": switches the icon's look
    // and stores it.
    void ShowMemoryUsageinIcon1Click();
    // The tray menu opens: the stored look is read back; returns the item's
    // check mark.
    bool popTaskBarPopup();
    void btnHelpClick();
    void lblWebSiteClick();
    void HyperLink2Click();
    void ApplySettings();

    // Memory statistics and the usage tick.
    void ShowTotalRAM();
    void UpdateRAMStats();
    void tmrUsageTimer();
    void spnSecChange();

    // Freeing run. A run that ends normally tells what it freed; nothing
    // when it was not started (a run was on already).
    int32_t BlocksForPercent(int percent) const;
    std::optional<FreedMemory> FreeRAM(int percent);

    // Manual freeing and clean levels.
    void ShowTargetRAM();
    void tbrTargetChange();
    void tbrTargetMouseUp();
    void btnFreeRAMClick();
    void spnAtemptsChange();
    void LightClean1Click();
    void MediumClean1Click();
    void HeavyClean1Click();

    // Automatic freeing.
    bool ReadCPULoad();
    void RefreshAutoFreeing();
    std::optional<FreedMemory> AutoFreeRAM();
    void tmrCheckCPUTimer();
    void chbAuto_FreeClick();
    void chbAuto_Free_SilentClick();
    void tbrAuto_LevelChange();
    void tbrAuto_LevelMouseUp();
    void tbrCPU_ThresholdChange();
    void tbrCPU_ThresholdMouseUp();
    void btnTest_Auto_FreeClick();
    void GlobalHotKey2KeyDown(int key, int shift);

    // Settings page.
    void chbAuto_StartClick();

    // Monitor page.
    void FeedGraph(int freePercent);
    void StoreMonitorView();
    void ApplyMonitorView(int32_t code);

    // State shared by the pages.
    bool Loading() const { return Loading_; }
    bool CPUCheckActive() const { return CPUCheckActive_; }
    int64_t TotalMB() const { return TotalMB_; }
    int LastCPULoad() const { return LastCPULoad_; }
    int CPUThreshold() const { return CPUThreshold_; }
    int64_t AutoFreeMB() const { return AutoFreeMB_; }
    const SettingsRecord& Settings() const { return record_; }

    // Title bar and page control.
    TButton btnHelp;
    TPageControl pgRAM;

    // Memory page: "Total RAM:".
    TPanel pnlTotal;
    TLabel lblTotalRAM;
    TLabel Label3;
    TLabel lblUsedRAM;
    TPercentBar pbrUsedRAM;
    TLabel Label2;
    TLabel lblFreeRAM;
    TPercentBar pbrFreeRAM;
    TPanel pnlFreeing_RAM;

    // Memory page: "Targeted RAM to free:".
    TPanel pnlFree;
    TLabel lblRAMperFree;
    TSlider tbrTarget;
    TPercentBar pbrTargetRAM;
    TButton btnFreeRAM;
    TPanel pnlPass;
    TLabel lblPassCaption;
    TLabel lblPass;
    TLabel lblWorking;
    TProgressBar pbrWorking;

    // Monitor page.
    TPanel pnlMonitor;
    TScope scpGraph;
    TLabel lbl100_Usage;
    TLabel lbl0_Usage;
    TLabel lblTRAM;
    TLabel Label6;
    TCheckBox chbUsedRAM;
    TCheckBox chbFreeRAM;
    TCheckBox chbCPU;
    TPanel pnlCPU;
    TPercentBar pbrCPU;

    // Settings page: "General Settings".
    TPanel pnlGeneral;
    TCheckBox chbAuto_Start;
    TLabel lblSecCaption;
    TSpinner spnSec;
    TLabel lblSec;
    TLabel lblMake;
    TSpinner spnAtempts;
    TLabel lblttempts;

    // Settings page: "Automatic RAM Freeing".
    TPanel pnlAutomatic;
    TCheckBox chbAuto_Free;
    TCheckBox chbAuto_Free_Silent;
    TButton btnTest_Auto_Free;
    TSlider tbrAuto_Level;
    TLabel lblAuto_Level;
    TLabel lblRAMtoFreeCaption;
    TLabel lblRAMtoFree;
    TLabel lblCPUThresholdCaption;
    TSlider tbrCPU_Threshold;
    TLabel lblCPU_Threshold;

    // About page.
    TPanel pnlAbout;
    TLabel memAbout;
    TLabel lblWebSite;
    TLabel HyperLink2;

    // Not on any page: holds the product name for the CPU failure path.
    TLabel lbl_OS;

    // Launchers.
    TStarter startURL;
    TStarter startURL3;
    TStarter StartHelp;
    TStarter Window_Open;

private:
    friend class OnePassScope;

    void WireHandlers();
    // While a start could not read the settings, the controls still hold the
    // window's designed state, and none of it may overwrite what is stored.
    bool KeepsStoredSettings() const { return Loading_ && !settingsLoaded_; }
    void SetCaptions();
    void ShowAndFront();
    void CleanLevel(int percent);
    void TellFreed(const std::optional<FreedMemory>& freed);
    // The target label for a percent of the total RAM: "50%   (511 MB)".
    void ShowTargetCaption(int percent);
    void RunFreeingPasses(int32_t blocks);
    void ReleaseBlocks(int32_t count);
    void ShowWorkingPercent();

    IMemoryStatus& memory_;
    IBlockAllocator& allocator_;
    IMessagePump& pump_;
    IShell& shell_;
    IOsVersion& os_;
    IMainWindowHost& host_;
    ITrayTarget& tray_;
    TSystemMessages& messages_;
    ITimer& tmrUsage_;
    ITimer& tmrCheckCPU_;
    CpuUsage* cpu_;  // not owned
    Settings_Reg settings_;
    App_Auto_Start autoStart_;
    std::string exePathReported_;
    std::string fileVersion_;

    bool Loading_ = false;
    std::string ExePath_;
    std::string ExeFolder_;
    bool CPUCheckActive_ = false;
    uint64_t TotalRAMBytes_ = 0;
    int64_t TotalMB_ = 0;
    int64_t UsedMB_ = 0;
    int64_t FreeMB_ = 0;
    int LastCPULoad_ = 0;
    int CPUThreshold_ = 0;
    int64_t AutoFreeMB_ = 0;
    std::vector<void*> RAMBlocks_;
    SettingsRecord record_;
    bool freeing_ = false;
    bool settingsLoaded_ = false;
    // The attempts the user set, while a clean level or an automatic run shows
    // its one pass on the spinner; that pass is never stored.
    std::optional<int> userAttempts_;
    // A usage tick has refreshed the figures since the last run ended.
    bool figuresFresh_ = false;
    // The CPU reading failed while automatic freeing was on: the box stays
    // unticked for this run of the program, the stored choice stays as it is.
    bool autoFreeSuspended_ = false;
};

}  // namespace korbela
