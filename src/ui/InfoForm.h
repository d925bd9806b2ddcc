// The CPU information window: the feature sets of processor 0 with an availability picture per
// feature, and the processor explorer, a tree of every processor and its information groups
// beside the property list of the selected node. Non-modal, created the first time the menu asks
// for it and then reused; closing it only hides it.
//
// Each tree item keeps its node code (lParam), and the property list is rebuilt from the code
// alone by ui/InfoPages, which quelmo-cpuinfo prints too: the two never disagree. A processor
// page shows its rows at once; the clock is measured on a worker thread (ui/InfoClockModel) and
// fills the "Speed" row when it answers, so the window never waits for it.
//
// Every position, size and font height is in 96-DPI design units through Scale(): fonts, the
// image list and the layout are each made by one method that can run again.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/Form.h"
#include "ui/InfoClockModel.h"
#include "widgets/Panel.h"
#include "widgets/Splitter.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace quelmo::gui {

// Rebuilding a control's items: the hourglass cursor and no drawing for the scope, then one
// repaint and the cursor put back, also when the filling throws.
class ScopedControlUpdate {
public:
    explicit ScopedControlUpdate(HWND control);
    ~ScopedControlUpdate();
    ScopedControlUpdate(const ScopedControlUpdate&) = delete;
    ScopedControlUpdate& operator=(const ScopedControlUpdate&) = delete;

private:
    HWND control_;
    HCURSOR savedCursor_;
};

// The update of one list view, its old rows removed first when `clear` is set.
class TListviewUpdate {
public:
    TListviewUpdate(HWND listView, bool clear);

private:
    ScopedControlUpdate update_;
};

class TForm_Info final : public Form {
public:
    TForm_Info();
    ~TForm_Info() override;

    // Creates the window hidden, above `owner` (the monitor window), and fills it.
    bool Create(HWND owner);

    // The explorer's tree width in design units, and the page shown (0 features, 1 explorer).
    int TreeWidth() const { return treeWidth_; }
    int ActivePage() const;
    void ActivatePage(int page);
    // The splitter's drag: its left edge wanted at `left` pixels within the explorer page.
    void Splitter1Moved(int left);
    // True while the shown processor page waits for its clock.
    bool MeasuringClock() const { return awaitingClock_; }
    // No measurement runs or waits to be collected, for this page or an earlier one.
    bool ClockIdle() const { return !clock_.Busy(); }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(int id, NMHDR& header) override;

    bool CreateControls() override;
    void FormDpiChanged() override;
    void FormCreate() override;
    void OnActivate(bool active);

    // Made again at another display scale.
    void CreateFonts();
    void CreateImages();
    void LayoutControls();
    void LayoutExplorer();

    void SetNumberSeparators();
    void BuildTree();
    void FillFeatureList(std::uint8_t kind);
    void AddPropertyRow(std::string_view caption, std::string_view value);
    void FitDescriptionColumn();
    void FitValueColumn();
    void OnClockMeasured();
    bool SetCursorWhileMeasuring(LPARAM hit);

    // Handlers named after their control and event.
    void PageControlChange();
    void cbActiveSetChange();
    void tvNavigationChange(int code);
    void Button_CloseClick();

    win32::UniqueFont font_;
    win32::UniqueImageList ilAvailable_;

    HWND pageControl_ = nullptr;
    Panel tsFeatures_;
    Panel panelFeatures_;
    HWND labelFeatureSet_ = nullptr;
    HWND cbActiveSet_ = nullptr;
    HWND labelAvailableFeatures_ = nullptr;
    HWND lvStandard_ = nullptr;
    Panel tsExplorer_;
    HWND tvNavigation_ = nullptr;
    Splitter splitter1_;
    HWND lvInformation_ = nullptr;
    HWND labelPoweredBy_ = nullptr;
    HWND labelVersion_ = nullptr;
    HWND buttonClose_ = nullptr;
    HWND lastFocus_ = nullptr; // the control that had the keyboard when the window lost it

    int treeWidth_; // design units
    // Each selection gets a ticket; a clock answer counts only for the page shown now.
    std::uint32_t pageTicket_ = 0;
    std::optional<int> clockRow_;
    bool awaitingClock_ = false;
    HWND clockWindow_ = nullptr; // where the worker posts its answer; set before it ever runs
    ui::InfoClock clock_;
};

} // namespace quelmo::gui
