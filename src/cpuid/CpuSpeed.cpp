#include "cpuid/CpuSpeed.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"
#include "platform/Cpu.h"
#include "platform/Threads.h"
#include "platform/Time.h"

#include <array>
#include <cmath>
#include <limits>

namespace quelmo {
namespace {

constexpr std::array<std::uint32_t, 12> kNormalizationPoints = {0,  17, 20, 33, 50, 60,
                                                                66, 67, 80, 83, 90, 100};

struct RatingRow {
    std::uint32_t mhz;
    std::string_view rating;
};

constexpr RatingRow kRatings256Kb[] = {
    {950, texts::kRating1100},  {1000, texts::kRating1200}, {1100, texts::kRating1300},
    {1200, texts::kRating1400}, {1300, texts::kRating1500}, {1333, texts::kRating1500},
    {1400, texts::kRating1600}, {1467, texts::kRating1700}, {1500, texts::kRating1800},
    {1533, texts::kRating1800}, {1600, texts::kRating1900}, {1667, texts::kRating2000},
    {1733, texts::kRating2100}, {1800, texts::kRating2200}, {2000, texts::kRating2400},
    {2083, texts::kRating2600}, {2167, texts::kRating2700}, {2250, texts::kRating2800},
};

constexpr RatingRow kRatings512Kb[] = {
    {1300, texts::kRating1700}, {1400, texts::kRating1800}, {1467, texts::kRating1900},
    {1533, texts::kRating2000}, {1600, texts::kRating2100}, {1667, texts::kRating2200},
    {1800, texts::kRating2400}, {1833, texts::kRating2500}, {1867, texts::kRating2500},
    {1917, texts::kRating2600}, {2000, texts::kRating2600}, {2083, texts::kRating2800},
    {2100, texts::kRating3000}, {2133, texts::kRating2800}, {2167, texts::kRating3000},
    {2200, texts::kRating3200},
};

template <std::size_t N>
std::string_view FindRating(const RatingRow (&table)[N], std::uint32_t mhz) {
    for (const RatingRow& row : table) {
        if (row.mhz == mhz) {
            return row.rating;
        }
    }
    return {};
}

} // namespace

double MeasureClockMhz() {
    platform::Cpu& cpu = platform::TheCpu();
    platform::Time& time = platform::TheTime();
    const std::uint64_t t0 = cpu.ReadTimeStampCounter();
    const std::int64_t c0 = time.PerformanceCounter();
    const std::uint32_t k0 = time.TickCount();
    time.Sleep(kClockSleepMs);
    // The tick count is unsigned and wraps; the difference does not care.
    while (time.TickCount() - k0 < kClockSpinTicks) {
    }
    const std::uint64_t t1 = cpu.ReadTimeStampCounter();
    const std::int64_t c1 = time.PerformanceCounter();
    const std::int64_t frequency = time.PerformanceFrequency();

    const auto cycles = static_cast<std::int64_t>(t1 - t0);
    const std::int64_t counts = c1 - c0;
    if (frequency <= 0 || counts <= 0 || cycles <= 0) {
        return 0;
    }
    // cycles / (counts / frequency) / 10^6, multiplied first so that whole figures stay exact.
    const long double mhz = static_cast<long double>(cycles) * static_cast<long double>(frequency) /
                            static_cast<long double>(counts) / 1e6L;
    return std::isfinite(mhz) ? static_cast<double>(mhz) : 0.0;
}

TCpuSpeedThread::TCpuSpeedThread() {
    try {
        thread_ = std::thread([this] {
            try {
                platform::TheThreads().SetThreadPriority(platform::kThreadPriorityTimeCritical);
                speed_ = MeasureClockMhz();
            } catch (...) {
                speed_ = 0; // the library raises nothing: a failed measurement reads 0
            }
        });
    } catch (...) {
        speed_ = 0; // no thread: nothing measured
    }
}

TCpuSpeedThread::~TCpuSpeedThread() {
    WaitFor();
}

void TCpuSpeedThread::WaitFor() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::uint32_t TCpuSpeedThread::Speed() const {
    constexpr auto kMax = static_cast<double>(std::numeric_limits<std::uint32_t>::max());
    if (!(speed_ > 0)) {
        return 0;
    }
    return speed_ >= kMax ? std::numeric_limits<std::uint32_t>::max() : static_cast<std::uint32_t>(speed_);
}

std::uint32_t NormalizeSpeed(std::uint32_t mhz) {
    const std::uint32_t r = mhz % 100;
    for (std::size_t i = 1; i < kNormalizationPoints.size(); ++i) {
        if (r < kNormalizationPoints[i]) {
            const std::uint32_t below = kNormalizationPoints[i - 1];
            const std::uint32_t above = kNormalizationPoints[i];
            const std::uint64_t base = mhz - r;
            const std::uint64_t snapped = (r - below) < (above - r) ? base + below : base + above;
            // Only the last few MHz below 2^32 could round past it.
            return snapped > std::numeric_limits<std::uint32_t>::max() ? mhz
                                                                       : static_cast<std::uint32_t>(snapped);
        }
    }
    return mhz;
}

std::string_view ModelRating(std::uint32_t normalizedMhz, std::uint32_t level2Kb) {
    if (level2Kb == 256) {
        return FindRating(kRatings256Kb, normalizedMhz);
    }
    if (level2Kb == 512) {
        return FindRating(kRatings512Kb, normalizedMhz);
    }
    return {};
}

TProcessorSpeedInformation::TProcessorSpeedInformation(std::uint8_t processor) : processor_(processor) {
    TCpuSpeedThread thread;
    thread.WaitFor();
    raw_ = thread.Speed();
    normalized_ = NormalizeSpeed(raw_);
}

std::string TProcessorSpeedInformation::Rating() const {
    const auto cpu = CpuRoot().Processors(processor_);
    if (cpu->Vendor()->Vendor() != TCpuVendor::AMD) {
        return {};
    }
    const std::uint32_t level2Kb = cpu->Cache()->Level2()->Size()->Value() / 1024;
    return std::string(ModelRating(normalized_, level2Kb));
}

} // namespace quelmo
