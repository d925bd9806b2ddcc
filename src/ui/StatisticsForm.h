// The statistics window over the sampling thread's running statistics. Non-modal, created hidden at
// start-up.
//
// Four titled panels (processor, memory, counter, time) of caption and value rows, and the flat
// "Reset Statistics" button across the width. While the window is shown a 1 s timer refreshes the
// values: a copy of the statistics taken under their lock, formatted by ui/StatisticsModel, and
// only the labels whose text changed are set. The reset restarts the statistics and clears the
// monitor window's graph with them.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "sampling/MyThreads.h"
#include "ui/Form.h"
#include "ui/StatisticsModel.h"

#include <array>
#include <functional>

namespace quelmo::gui {

// Where the statistics window reaches the rest of the program.
struct StatisticsLinks {
    // Clears every series of the monitor window's graph (the reset).
    std::function<void()> clearGraph;
    // The running sampler, or null (no sampling thread).
    std::function<TResMonitor*()> resMonitor = [] { return ActiveResMonitor(); };
};

class TForm_Statistics final : public Form {
public:
    using Links = StatisticsLinks;

    TForm_Statistics() = default;
    ~TForm_Statistics() override;

    // Creates the window hidden, above `owner` (the monitor window).
    bool Create(HWND owner, Links links = {});

    // The refresh and the reset button's click (also for tests and benchmarks).
    void Refresh();
    void SpeedButton_ResetClick();

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;

    bool CreateControls() override;
    void FormDpiChanged() override;
    // Fonts and every control's place; both can run again (another display scale).
    void CreateFonts();
    void LayoutControls();
    int TextWidth(const wchar_t* text) const;
    void ReadLocale();
    void FormShow() override;
    void FormHide() override;
    void TimerTimer();
    void DrawResetButton(const DRAWITEMSTRUCT& item) const;
    // Follows the mouse over the reset button, which lights up while it is there.
    static LRESULT CALLBACK ResetButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR form);

    Links links_;
    ui::StatisticsModel model_;
    win32::UniqueFont boldFont_;
    std::array<HWND, 4> panels_{};
    std::array<HWND, ui::kStatisticsLabelCount> captions_{};
    std::array<HWND, ui::kStatisticsLabelCount> values_{};
    HWND reset_ = nullptr;
    bool resetHot_ = false;
    std::array<wchar_t, 128> wide_{}; // a value's text for SetWindowText
};

} // namespace quelmo::gui
