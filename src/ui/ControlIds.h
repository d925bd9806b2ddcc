// Fixed identities of every window and control, so that tests and automation can find them.
//
// A top-level window's class name is its form class name; a control is found as the child of
// that window with the control ID below (GetDlgItem). Menu items use the same numbering as
// command IDs, and timers as timer IDs. The numbers never change once released.
// The end-to-end driver knows every `kName = number,` line below by its name without the `k`
// (tests/e2e/CMakeLists.txt reads them), so keep one such line per identity.
#pragma once

namespace quelmo::ids {

// Window class names of the forms.
inline constexpr wchar_t kFormMain[] = L"TForm_Main";
inline constexpr wchar_t kFormSettings[] = L"TForm_Settings";
inline constexpr wchar_t kFormStatistics[] = L"TForm_Statistics";
inline constexpr wchar_t kFormAbout[] = L"TForm_About";
inline constexpr wchar_t kFormInfo[] = L"TForm_Info";

// TForm_Main (1000-1199).
enum MainForm : int {
    kImage_Move = 1001,
    kSB_Menu = 1002,
    kLabel_CPUSpeed = 1003,
    kLabel_MemoryUsed = 1004,
    kSB_Hide = 1005,
    kSB_Close = 1006,
    kChart_CPUUsage = 1007,
    kGauge_CPUUsage = 1008,
    // The start-up banner and its spacer are drawn by the chart (see LineChart::SetBanner); their
    // numbers are reserved for them.
    kLabel_Splash = 1009,
    kBevel_Splash = 1010,
    kToolTips = 1011,
    // Timers.
    kTimer_HideControls = 1050,
    kTimer_HideSplash = 1051,
    // Pop-up menu items.
    kMI_About = 1100,
    kMI_HelpMenu = 1101,
    kMI_Help = 1102,
    kMI_Forum = 1103,
    kMI_VersionHistory = 1104,
    kMI_Copyrights = 1105,
    kMI_Settings = 1106,
    kMI_Statistics = 1107,
    kMI_CPUInformation = 1108,
    kMI_Location = 1109,
    kMI_TopLeft = 1110,
    kMI_TopRight = 1111,
    kMI_BotomLeft = 1112,
    kMI_BotomRight = 1113,
    kMI_Center = 1114,
    kMI_LockForm = 1115,
    kMI_ShowHide = 1116,
    kMI_Exit = 1117,
};

// TForm_Settings (1200-1399).
enum SettingsForm : int {
    kPageControl_Settings = 1200,
    kStaticText_Hint = 1201,
    // "General"
    kCheckBox_AutoRun = 1210,
    kCheckBox_AlwaysOnTop = 1211,
    kCheckBox_DisplayMemory = 1212,
    kCheckBox_ShowFreeMemory = 1213,
    kCheckBox_UsePhysicalMemory = 1214,
    kCheckBox_MemoryAsPercentage = 1215,
    kCheckBox_UpdateSpeed = 1216,
    kCheckBox_DisplayEachCPU = 1217,
    kGroupBox_AppMode = 1218,
    kCheckBox_TrayMode = 1219,
    kLabel_FastSwitchHotkey = 1220,
    kHotKey_FastSwitchAppMode = 1221,
    // "Display"
    kCheckBox_Transparency = 1240,
    kCheckBox_AlphaBlending = 1241,
    kCheckBox_ThickerGraph = 1242,
    kCheckBox_HideBarGraph = 1243,
    kCheckBox_AutoHideControls = 1244,
    kCheckBox_NumericTrayIcons = 1245,
    kCheckBox_HideTrayWhenVisible = 1246,
    kCheckBox_LockForm = 1247,
    kGroupBox_MainWindowSize = 1248,
    kLabel_MainWindowWidth = 1249,
    kSpinEdit_MainWindowWidth = 1250,
    kLabel_MainWindowHeight = 1251,
    kSpinEdit_MainWindowHeight = 1252,
    // "Colors"
    kLabel_BackgroundColor = 1270,
    kColorBox_BackgroundColor = 1271,
    kLabel_GraphCPUColor = 1272,
    kColorBox_GraphCPUColor1 = 1273,
    kColorBox_GraphCPUColor2 = 1274,
    kColorBox_GraphCPUColor3 = 1275,
    kColorBox_GraphCPUColor4 = 1276,
    kLabel_GraphMemoryColor = 1277,
    kColorBox_GraphMemoryColor = 1278,
    kLabel_BarColor = 1279,
    kColorBox_BarColor = 1280,
    kLabel_TextColor = 1281,
    kColorBox_TextColor = 1282,
    // "Extended"
    kGroupBox_Rate = 1300,
    kTrackBar_Rate = 1301,
    kLabel_Rate = 1302,
    kLabel_RateUnit = 1303,
    kGroupBox_GraphLength = 1304,
    kTrackBar_GraphLength = 1305,
    kLabel_GraphLength = 1306,
    kLabel_GraphLengthUnit = 1307,
    kGroupBox_AlphaBlending = 1308,
    kTrackBar_AlphaBlending = 1309,
    kLabel_AlphaBlending = 1310,
    kLabel_AlphaBlendingUnit = 1311,
    // The pages of PageControl_Settings, and the arrows of the two size fields.
    kTabSheet_General = 1320,
    kTabSheet_Display = 1321,
    kTabSheet_Colors = 1322,
    kTabSheet_Extended = 1323,
    kUpDown_MainWindowWidth = 1324,
    kUpDown_MainWindowHeight = 1325,
};

// TForm_Statistics (1400-1499).
enum StatisticsForm : int {
    kPanel_CPUUsage = 1400,
    kPanel_MemoryUsage = 1401,
    kPanel_Counter = 1402,
    kPanel_Time = 1403,
    kLabel_CPUUsageMax = 1410,
    kLabel_CPUUsageAverage = 1411,
    kLabel_CPUUsageMin = 1412,
    kLabel_MemoryUsageMax = 1413,
    kLabel_MemoryUsageAverage = 1414,
    kLabel_MemoryUsageMin = 1415,
    kLabel_Samples = 1416,
    kLabel_StatisticsRate = 1417, // `Label_Rate` of the statistics window
    kLabel_TimeRuning = 1418,
    kLabel_TimeStarted = 1419,
    kSpeedButton_Reset = 1420,
    kTimer_Statistics = 1450, // `Timer`
};

// TForm_About (1500-1599).
enum AboutForm : int {
    kPanel_Header = 1500,
    kImage_Icon = 1501,
    kLabel_Title = 1502,
    kLabel_AboutVersion = 1503, // `Label_Version` of the About window
    kLabel_Date = 1504,
    kLabel_Author = 1505,
    kLabel_Email = 1506,
    kLabel_Website = 1507,
    kLabel_Translator = 1508,
};

// TForm_Info (1600-1699).
enum InfoForm : int {
    kPageControl = 1600,
    kTS_Features = 1601,
    kPanel_Features = 1602,
    kLabel_FeatureSet = 1603,
    kcbActiveSet = 1604,
    kLabel_AvailableFeatures = 1605,
    klvStandard = 1606,
    kTS_Explorer = 1607,
    ktvNavigation = 1608,
    kSplitter1 = 1609,
    klvInformation = 1610,
    kLabel_PoweredBy = 1611,
    kLabel_InfoVersion = 1612, // `Label_Version` of the CPU information window
    kButton_Close = 1613,
};

} // namespace quelmo::ids
