// The settings dialog: every change takes effect at once. Non-modal, created hidden at start-up.
//
// The window creates the controls of ui/SettingsModel's tables on four tab pages, routes their
// notifications to the model and carries out what the model asks of the monitor window. Each
// page is a small child dialog, so the system draws it (and its check boxes and track bars) with
// the tab control's themed background; the page passes its controls' notifications on to this
// window. Showing the dialog loads the controls without applying anything; hiding it registers
// the application-mode hot key anew.
#pragma once

#include "ui/Form.h"
#include "ui/SettingsModel.h"
#include "widgets/ColorBox.h"
#include "widgets/SpinEdit.h"

#include <windows.h>

#include <array>
#include <memory>

namespace quelmo::gui {

class TForm_Main;

class TForm_Settings final : public Form {
public:
    explicit TForm_Settings(TForm_Main& mainForm);
    ~TForm_Settings() override;

    // Creates the window hidden, above `owner` (the monitor window).
    bool Create(HWND owner);

    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up switch tabs.
    bool PreTranslateDialogKey(const MSG& message) override;

    // The page that shows, as a tab index.
    int ActivePage() const { return activePage_; }
    void SelectPage(int page);
    // A control of any page.
    HWND Control(int id) const;

private:
    bool CreateControls() override;
    void FormDpiChanged() override;
    bool CreatePages();
    bool CreatePageControls();
    void CreateToolTips();
    // Every position and size of the dialog, from design units; can be run again.
    void LayoutControls();
    void FormCreate() override;
    void FormShow() override;
    void FormHide() override;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(int id, NMHDR& header) override;
    void OnHScroll(HWND control, int code) override;
    void OnNextDialogControl(WPARAM wParam, LPARAM lParam);
    void OnActivate(bool active);

    // Handlers named after their control and event; the check boxes, colour boxes and size
    // fields of the model's tables share one each.
    void CheckBoxClick(int id);
    void HotKey_FastSwitchAppModeChange();
    void SpinEditChange(int id);
    void SpinEditExit(int id);
    void ColorBoxChange(int id, int code);
    void TrackBarChange(HWND trackBar);
    void PageControl_SettingsChange();

    ColorBox* FindColorBox(int id);
    SpinEdit* FindSpinEdit(int id);
    void SetText(int id, const wchar_t* text);

    std::unique_ptr<ui::SettingsMonitor> monitor_;
    ui::SettingsModel model_;
    HWND tabs_ = nullptr; // children of the form: they go with it
    std::array<HWND, ui::kSettingsPageCount> pages_{};
    HWND toolTips_ = nullptr;
    HWND lastFocus_ = nullptr; // where the keyboard was when the dialog last lost activation
    std::array<ColorBox, ui::kSettingsColorBoxes.size()> colorBoxes_;
    std::array<SpinEdit, ui::kSettingsSpinEdits.size()> spinEdits_;
    std::array<int, ui::kSettingsTrackBars.size()> shownPositions_{};
    int activePage_ = 0;
};

} // namespace quelmo::gui
