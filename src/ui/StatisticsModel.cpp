#include "ui/StatisticsModel.h"

#include "app/MyConfig.h"
#include "app/MyModules.h"
#include "ui/StatisticsFormTexts.h"

#include <charconv>
#include <utility>

namespace quelmo::ui {

namespace t = texts::statistics;

namespace {

constexpr std::uint32_t kSecondsPerHour = 3600;
constexpr std::uint32_t kSecondsPerMinute = 60;

// `value` in decimal, at least `width` digits (zeros in front).
void AppendNumber(std::uint64_t value, StatisticsText& text, int width = 1) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const auto length = static_cast<int>(result.ptr - digits.data());
    for (int pad = length; pad < width; ++pad) {
        text.Append('0');
    }
    text.Append(std::string_view(digits.data(), static_cast<std::size_t>(length)));
}

} // namespace

StatisticsLocale::StatisticsLocale() {
    for (std::size_t month = 0; month < shortMonths.size(); ++month) {
        shortMonths[month] = t::kShortMonths[month];
    }
}

std::uint32_t ElapsedSeconds(std::uint32_t tickNow, std::uint32_t tickStarted) {
    // Unsigned 32-bit difference: right across the counter's wrap-around after 49.7 days.
    const std::uint32_t elapsed = tickNow - tickStarted;
    std::uint32_t seconds = elapsed / 1000;
    const std::uint32_t rest = elapsed % 1000;
    if (rest > 500 || (rest == 500 && seconds % 2 == 1)) {
        ++seconds;
    }
    return seconds;
}

void FormatRunningTime(std::uint32_t seconds, StatisticsText& text) {
    const std::uint32_t hours = seconds / kSecondsPerHour;
    const std::uint32_t minutes = (seconds - hours * kSecondsPerHour) / kSecondsPerMinute;
    const std::uint32_t rest = seconds - hours * kSecondsPerHour - minutes * kSecondsPerMinute;
    text.Clear();
    if (hours > 0) {
        AppendNumber(hours, text);
        text.Append(' ').Append(t::kHours).Append(' ');
    }
    if (minutes > 0) {
        AppendNumber(minutes, text);
        text.Append(' ').Append(t::kMins).Append(' ');
    }
    AppendNumber(rest, text);
    text.Append(' ').Append(t::kSecs);
}

void StatisticsModel::SetLocale(StatisticsLocale locale) {
    locale_ = std::move(locale);
    forceAll_ = true;
}

void StatisticsModel::SetText(StatisticsLabel label, const StatisticsText& text) {
    StatisticsText& current = texts_[Index(label)];
    const bool changed = forceAll_ || current.View() != text.View();
    changed_[Index(label)] = changed;
    if (changed) {
        current = text;
    }
}

// The patterns "0.00" and "0.0": fixed decimals with the user's decimal separator.
void StatisticsModel::AppendDecimals(double value, int decimals, StatisticsText& text) const {
    std::array<char, 48> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return;
    }
    for (const char* p = digits.data(); p != result.ptr; ++p) {
        if (*p == '.') {
            text.Append(locale_.decimalSeparator);
        } else {
            text.Append(*p);
        }
    }
}

// "42.3 %  (1,731 MB)": the share, then the megabytes it stands for.
void StatisticsModel::FormatMemory(double percent, double totalMB, StatisticsText& text) const {
    text.Clear();
    AppendDecimals(percent, 1, text);
    text.Append(t::kPercentSuffix).Append(t::kMemoryOpen);
    // Short enough for the string's own buffer: no allocation.
    text.Append(FormatThousands(totalMB * percent / 100, config::ThousandsSeparator));
    text.Append(' ').Append(t::kMB).Append(t::kMemoryClose);
}

// "dd mmm yyyy, hh:mm:ss" with the locale's short month name: "11 Feb 2014, 09:05:00".
void StatisticsModel::FormatStarted(const platform::DateTime& started, StatisticsText& text) const {
    text.Clear();
    const auto number = [&text](int value, int width) {
        AppendNumber(static_cast<std::uint64_t>(value < 0 ? 0 : value), text, width);
    };
    number(started.day, 2);
    text.Append(' ');
    if (started.month >= 1 && started.month <= 12) {
        text.Append(locale_.shortMonths[static_cast<std::size_t>(started.month - 1)]);
    } else {
        number(started.month, 2);
    }
    text.Append(' ');
    number(started.year, 4);
    text.Append(", ");
    number(started.hour, 2);
    text.Append(':');
    number(started.minute, 2);
    text.Append(':');
    number(started.second, 2);
}

void StatisticsModel::Format(const TResStatistics* copy, std::uint32_t tickNow) {
    StatisticsText text;
    if (copy == nullptr) {
        text.Append(t::kUnknown);
        for (int label = 0; label < kStatisticsLabelCount; ++label) {
            SetText(static_cast<StatisticsLabel>(label), text);
        }
        forceAll_ = false;
        return;
    }
    const TResStatistics& s = *copy;
    const struct {
        StatisticsLabel label;
        double value;
    } cpuRows[] = {{StatisticsLabel::CPUUsageMax, s.CPUUsageMax},
                   {StatisticsLabel::CPUUsageAverage, s.CPUUsageAverage},
                   {StatisticsLabel::CPUUsageMin, s.CPUUsageMin}},
      memoryRows[] = {{StatisticsLabel::MemoryUsageMax, s.MemoryUsageMax},
                      {StatisticsLabel::MemoryUsageAverage, s.MemoryUsageAverage},
                      {StatisticsLabel::MemoryUsageMin, s.MemoryUsageMin}};
    for (const auto& row : cpuRows) {
        text.Clear();
        AppendDecimals(row.value, 2, text);
        text.Append(t::kPercentSuffix);
        SetText(row.label, text);
    }
    for (const auto& row : memoryRows) {
        FormatMemory(row.value, s.MemoryTotalMB, text);
        SetText(row.label, text);
    }

    const std::uint32_t seconds = ElapsedSeconds(tickNow, s.TickStarted);
    FormatStarted(s.TimeStarted, text);
    SetText(StatisticsLabel::TimeStarted, text);
    FormatRunningTime(seconds, text);
    SetText(StatisticsLabel::TimeRuning, text);

    text.Clear();
    AppendNumber(s.Samples, text);
    SetText(StatisticsLabel::Samples, text);

    text.Clear();
    if (s.Samples > 0) {
        AppendDecimals(static_cast<double>(seconds) / s.Samples, 3, text);
        text.Append(' ').Append(t::kSecondUnit);
    } else {
        text.Append(t::kNoRate);
    }
    SetText(StatisticsLabel::Rate, text);
    forceAll_ = false;
}

void StatisticsModel::Refresh(const TResMonitor* monitor) {
    if (monitor == nullptr) {
        Format(nullptr, 0);
        return;
    }
    const TResStatistics copy = monitor->CopyStatistics();
    Format(&copy, platform::TheTime().TickCount());
}

bool StatisticsModel::Reset(TResMonitor* monitor) {
    if (monitor == nullptr) {
        return false;
    }
    monitor->ResetStatistics();
    return true;
}

} // namespace quelmo::ui
