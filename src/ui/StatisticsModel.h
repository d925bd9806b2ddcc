// What the statistics window shows, as plain data: the ten value texts made from a copy of the
// sampling thread's running statistics, and the reset. TForm_Statistics puts the texts into its
// labels, and only those that changed since the last refresh.
#pragma once

#include "platform/Time.h"
#include "sampling/MyThreads.h"
#include "ui/FixedText.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace quelmo::ui {

// The value labels, in the window's order (top to bottom).
enum class StatisticsLabel : int {
    CPUUsageMax,
    CPUUsageAverage,
    CPUUsageMin,
    MemoryUsageMax,
    MemoryUsageAverage,
    MemoryUsageMin,
    Samples,
    Rate,
    TimeRuning,
    TimeStarted,
};
inline constexpr int kStatisticsLabelCount = 10;

// What the user's locale decides: the decimal separator and the short month names ("Feb").
struct StatisticsLocale {
    std::string decimalSeparator = ".";
    std::array<std::string, 12> shortMonths;

    // English month names and ".".
    StatisticsLocale();
};

using StatisticsText = FixedText<80>;

// Whole seconds from `tickStarted` to `tickNow`: the difference is taken in 32 bits, so the tick
// counter's wrap-around does no harm, and rounded half to even (59500 ms -> 60).
std::uint32_t ElapsedSeconds(std::uint32_t tickNow, std::uint32_t tickStarted);
// "1 hours 2 mins 5 secs"; a zero minute part between hours and seconds is left out.
void FormatRunningTime(std::uint32_t seconds, StatisticsText& text);

class StatisticsModel {
public:
    explicit StatisticsModel(StatisticsLocale locale = {}) : locale_(std::move(locale)) {}

    // A new locale (the user changed it); the next refresh writes every text again.
    void SetLocale(StatisticsLocale locale);

    // The texts for the statistics `copy` at tick `tickNow`, or "??" everywhere without one (no
    // sampling thread).
    void Format(const TResStatistics* copy, std::uint32_t tickNow);
    // The refresh: a copy of `monitor`'s statistics (taken under its lock) at the current tick.
    void Refresh(const TResMonitor* monitor);
    // Restarts `monitor`'s statistics; false without one (then nothing happens).
    static bool Reset(TResMonitor* monitor);

    std::string_view Text(StatisticsLabel label) const { return texts_[Index(label)].View(); }
    // The text differs from the one the previous Format made.
    bool Changed(StatisticsLabel label) const { return changed_[Index(label)]; }

private:
    static std::size_t Index(StatisticsLabel label) { return static_cast<std::size_t>(label); }
    void SetText(StatisticsLabel label, const StatisticsText& text);
    void AppendDecimals(double value, int decimals, StatisticsText& text) const;
    void FormatMemory(double percent, double totalMB, StatisticsText& text) const;
    void FormatStarted(const platform::DateTime& started, StatisticsText& text) const;

    StatisticsLocale locale_;
    std::array<StatisticsText, kStatisticsLabelCount> texts_{};
    std::bitset<kStatisticsLabelCount> changed_;
    bool forceAll_ = true;
};

} // namespace quelmo::ui
