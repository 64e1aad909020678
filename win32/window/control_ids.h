// Control identifiers of the main window and the message dialog. Every control
// of the main window is a direct child of it, so GetDlgItem(main window, id)
// finds it; the names are those of the controls they stand for.
//
// Classes and texts:
//   labels, group panels      STATIC, window text = caption (panels are owner-drawn)
//   buttons, check boxes      BUTTON (owner-drawn), window text = caption;
//                             check boxes answer BM_GETCHECK, BM_CLICK toggles them
//   sliders                   msctls_trackbar32 (TBM_GETPOS)
//   spinners                  EDIT (the number) + msctls_updown32 (the arrows)
//   pbrWorking                msctls_progress32 (PBM_GETPOS, PBM_GETRANGE)
//   percent bars, scpGraph    "KorbelaDrawn" drawn controls
//   pgRAM                     "KorbelaPageTabs"; answers TCM_GETCURSEL and
//                             TCM_GETITEMCOUNT, and TCM_SETCURSEL selects a page
//                             as a click on its tab would
//   btnClose, btnHelp         BUTTON with a picture; window texts "Close", "Help"
#pragma once

namespace korbela::ctrl {

// Title bar and page control.
inline constexpr int btnClose = 1000;
inline constexpr int btnHelp = 1001;
inline constexpr int pgRAM = 1002;

// Memory page.
inline constexpr int pnlTotal = 1100;
inline constexpr int lblTotalRAM = 1101;
inline constexpr int Label3 = 1102;
inline constexpr int lblUsedRAM = 1103;
inline constexpr int pbrUsedRAM = 1104;
inline constexpr int Label2 = 1105;
inline constexpr int lblFreeRAM = 1106;
inline constexpr int pbrFreeRAM = 1107;
inline constexpr int pnlFreeing_RAM = 1108;
inline constexpr int pnlFree = 1110;
inline constexpr int lblRAMperFree = 1111;
inline constexpr int tbrTarget = 1112;
inline constexpr int pbrTargetRAM = 1113;
inline constexpr int btnFreeRAM = 1114;
inline constexpr int pnlPass = 1115;
inline constexpr int lblPassCaption = 1116;
inline constexpr int lblPass = 1117;
inline constexpr int lblWorking = 1118;
inline constexpr int pbrWorking = 1119;

// Monitor page.
inline constexpr int pnlMonitor = 1200;
inline constexpr int scpGraph = 1201;
inline constexpr int lbl100_Usage = 1202;
inline constexpr int lbl0_Usage = 1203;
inline constexpr int lblTRAM = 1204;
inline constexpr int Label6 = 1205;
inline constexpr int chbUsedRAM = 1206;
inline constexpr int chbFreeRAM = 1207;
inline constexpr int chbCPU = 1208;
inline constexpr int pnlCPU = 1209;
inline constexpr int pbrCPU = 1210;

// Settings page.
inline constexpr int pnlGeneral = 1300;
inline constexpr int chbAuto_Start = 1301;
inline constexpr int lblSecCaption = 1302;
inline constexpr int spnSec = 1303;         // the EDIT
inline constexpr int spnSecArrows = 1304;   // its up-down control
inline constexpr int lblSec = 1305;
inline constexpr int lblMake = 1306;
inline constexpr int spnAtempts = 1307;        // the EDIT
inline constexpr int spnAtemptsArrows = 1308;  // its up-down control
inline constexpr int lblttempts = 1309;
inline constexpr int pnlAutomatic = 1310;
inline constexpr int chbAuto_Free = 1311;
inline constexpr int chbAuto_Free_Silent = 1312;
inline constexpr int btnTest_Auto_Free = 1313;
inline constexpr int tbrAuto_Level = 1315;
inline constexpr int lblAuto_Level = 1316;
inline constexpr int lblRAMtoFreeCaption = 1317;
inline constexpr int lblRAMtoFree = 1318;
inline constexpr int lblCPUThresholdCaption = 1319;
inline constexpr int tbrCPU_Threshold = 1320;
inline constexpr int lblCPU_Threshold = 1321;

// About page.
inline constexpr int pnlAbout = 1400;
inline constexpr int memAbout = 1401;
inline constexpr int lblWebSite = 1402;
inline constexpr int HyperLink2 = 1403;

// Message dialog (window class "Tfrm_Message"); the buttons carry the modal
// results as their identifiers.
inline constexpr int btn_Ok = 1;   // IDOK
inline constexpr int btn_Yes = 6;  // IDYES
inline constexpr int btn_No = 7;   // IDNO
inline constexpr int mem_Message = 100;
inline constexpr int lbl_Header = 101;
inline constexpr int btn_MessageClose = 110;
inline constexpr int btn_MessageMaximize = 111;
inline constexpr int btn_MessageMinimize = 112;

}  // namespace korbela::ctrl

// Tray menu commands, the WM_COMMAND identifiers of its items: the first
// seven items' positions in the menu + 1 (separators at 4 and 6); an item
// added later takes the next free number, so that every older one keeps its own.
namespace korbela::menu {

inline constexpr int LightClean1 = 1;
inline constexpr int MediumClean1 = 2;
inline constexpr int HeavyClean1 = 3;
inline constexpr int ShowMainWindow1 = 5;
inline constexpr int erminate1 = 7;
inline constexpr int ShowMemoryUsageinIcon1 = 8;

}  // namespace korbela::menu
