// The monitor window: a borderless window with the clock and memory labels, the processor graph
// and gauge, four control buttons, a tray icon, and the two sampling threads it owns.
//
// The form creates its controls, routes messages and applies what the portable models compute
// (DisplayModel, MainLayout, Placement). Its pop-up menu (MainMenu, built from MenuModel's
// table), the window/tray mode with the hot key (AppMode), the tray icon (MainTray) and the tool tips
// (MainToolTips) are rooms of their own; the form runs the menu's handlers. The application object (App)
// creates it and runs the loop.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32UiLink.h"
#include "sampling/MyThreads.h"
#include "ui/AppMode.h"
#include "ui/DisplayModel.h"
#include "ui/Form.h"
#include "ui/MainFormOptions.h"
#include "ui/MainLayout.h"
#include "ui/MainMenu.h"
#include "ui/MainToolTips.h"
#include "ui/MainTray.h"
#include "ui/Placement.h"
#include "widgets/BarGauge.h"
#include "widgets/LineChart.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quelmo::gui {

// The windows the menu opens; each is optional until its window exists.
struct MainFormActions {
    std::function<void()> showAbout;
    std::function<void()> showSettings;
    std::function<void()> showStatistics;
    std::function<void()> showCpuInformation;
};

class TForm_Main final : public Form, private ui::MenuHandlers {
public:
    using Options = MainFormOptions;

    explicit TForm_Main(Options options);
    TForm_Main() : TForm_Main(Options{}) {}
    ~TForm_Main() override;

    // Creates the window hidden and runs FormCreate. False when the window could not be made.
    bool Create();
    // Shows the window unless the settings start the application in tray mode.
    void ShowAtStartup();
    void SetActions(MainFormActions actions) { actions_ = std::move(actions); }

    // The message loop's pre-translation: the application message hook and the menu and location
    // shortcuts. True when the message has been handled.
    bool PreTranslateMessage(MSG& message);

    // Operations the settings dialog and the statistics window call.
    void ApplySettings();
    void SetTextColor(COLORREF color);
    void SetDisplayMemory(bool show);
    void SetHideBarGraph(bool hide);
    void SetBackgroundColor(COLORREF color);
    void SetTransparency(bool on);
    void SetAlphaBlend(bool on, std::uint8_t value);
    void SetGraphLineWidth(bool thicker);
    // The settings dialog shows the window's state and sets its size; the size set answers the
    // width (height) the window then has.
    bool TransparencyOn() const { return transparency_; }
    bool AlphaBlendOn() const { return alphaBlend_; }
    std::uint8_t AlphaBlendValue() const { return alphaValue_; }
    // The window's size in design units, as PosWidth and PosHeight keep it (the settings dialog
    // shows and takes these); the setters answer the size the window took.
    SIZE WindowSize() const;
    int SetWindowWidth(int width);
    int SetWindowHeight(int height);
    void ShowControls(bool show);
    void SetAutoHideControls(bool on);
    void SetAppTrayMode(bool mode, bool atStart);
    void RegisterAppModeHotkey();
    void MoveToPreset(ui::LocationPreset preset);
    // Deletes every point of all five series (the statistics window's reset).
    void ClearGraph();

    LineChart& Chart() { return chart_; }
    BarGauge& Gauge() { return gauge_; }
    TTrayIcon& TrayIcon() { return tray_.Icon(); }
    // The sampler while sampling runs (the statistics window reads it).
    TResMonitor* ResMonitor() { return threads_.ResMonitor.get(); }

    // The display step: reads the sample and updates gauge, graph, memory label and tray icon.
    void DisplaySample(const ui::SampleView& sample);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(int id, NMHDR& header) override;
    void OnTimer(UINT_PTR id) override;
    void OnContextMenu(HWND window, POINT screen) override;

    // Creation and destruction, and the hooks of Form.
    bool CreateControls() override;
    void StartSamplingThreads();
    void FormCreate() override;
    void FormShow() override;
    void AfterShow() override;
    void FormDpiChanged() override;
    void OnClose() override;
    void LeaveScreen();
    void FormCloseQuery();
    void SaveSettingsOnce();
    void FormDestroy();
    void OnCpuSpeed(WPARAM wParam);
    void OnTrayNotify(LPARAM lParam);
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    // Part of creation.
    void ApplyStayOnTop();
    void InstallApplicationHook();
    void ApplicationMessageHook(const MSG& message);
    void RestorePlacement();
    void UpdateTrayIcon(int cpu, int memory);
    void ApplyLayeredAttributes();
    void SetLabelText(HWND label, std::string_view utf8);
    SIZE LabelExtent(HWND label) const;
    // Geometry and fonts, each from one place that can run again (another DPI, another size).
    void LayoutControls();
    void CreateFonts();
    // The window's size in pixels.
    SIZE PixelSize() const;
    void PopupMenuAt(POINT screen);

    // Handlers named after their control and event.
    void SB_MenuClick();
    void SB_HideClick();
    void SB_CloseClick();
    void Timer_HideControlsTimer();
    void Timer_HideSplashTimer();
    void FormMouseDown(int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp();

    // The pop-up menu's items.
    void MI_AboutClick() override;
    void MI_HelpClick() override;
    void MI_ForumClick() override;
    void MI_VersionHistoryClick() override;
    void MI_CopyrightsClick() override;
    void MI_SettingsClick() override;
    void MI_StatisticsClick() override;
    void MI_CPUInformationClick() override;
    void MI_TopLeftClick() override;
    void MI_TopRightClick() override;
    void MI_BotomLeftClick() override;
    void MI_BotomRightClick() override;
    void MI_CenterClick() override;
    void MI_LockFormClick() override;
    void MI_ShowHideClick() override;
    void MI_ExitClick() override;

    // DragOrigin is kept as two 16-bit values, read back unsigned.
    struct {
        std::uint16_t x = 0;
        std::uint16_t y = 0;
    } DragOrigin;
    bool Dragging = false;
    MainTray tray_;
    AppMode appMode_{*this, tray_.Icon()};

    // Fonts first: the controls and the measuring DC use them.
    win32::UniqueFont font_;
    win32::UniqueFont boldFont_;
    LOGFONTW logFont_{};
    LOGFONTW boldLogFont_{};
    win32::UniqueMemoryDc measureDc_; // the bold font selected, to size the labels
    COLORREF textColor_ = RGB(0, 0, 0);
    bool transparency_ = false;
    bool alphaBlend_ = false;
    std::uint8_t alphaValue_ = 255;
    win32::UniqueIcon appIcon_;
    win32::UniqueIcon appIconSmall_;
    MainMenu menu_;

    HWND imageMove_ = nullptr;
    HWND sbMenu_ = nullptr;
    HWND labelCpuSpeed_ = nullptr;
    HWND labelMemoryUsed_ = nullptr;
    HWND sbHide_ = nullptr;
    HWND sbClose_ = nullptr;
    MainToolTips toolTips_;
    LineChart chart_;
    BarGauge gauge_;
    Options options_;
    bool hookInstalled_ = false;
    bool hideBarGraph_ = false;
    bool controlsVisible_ = true;
    bool showBanner_ = false;

    std::string decimalSeparator_ = ".";
    ui::DisplayStep step_;           // reused by every sample
    std::array<wchar_t, 64> wide_{}; // label text conversion buffer
    MainFormActions actions_;

    // The link before the threads: the threads call through it until they are freed.
    std::unique_ptr<platform::Win32UiLink> link_;
    SamplingThreads threads_;
    bool sampling_ = false;
    bool destroyed_ = false;
};

} // namespace quelmo::gui
