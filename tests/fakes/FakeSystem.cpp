#include "fakes/FakeSystem.h"

#include <algorithm>

namespace quelmo::fakes {

FakeSystem::FakeSystem()
    : version_(platform::OsVersion{platform::kPlatformWin32Nt, 6, 1, 7601}),
      memoryEx_(platform::MemoryFigures{}) {}

bool FakeSystem::GetVersion(platform::OsVersion& version) {
    const std::lock_guard lock(mutex_);
    if (!version_) {
        return false;
    }
    version = *version_;
    return true;
}

bool FakeSystem::GlobalMemoryStatusEx(platform::MemoryFigures& figures) {
    ++memoryExCalls_;
    const std::lock_guard lock(mutex_);
    if (!memoryEx_) {
        return false;
    }
    figures = *memoryEx_;
    return true;
}

void FakeSystem::GlobalMemoryStatus(platform::MemoryFigures& figures) {
    ++memoryCalls_;
    const std::lock_guard lock(mutex_);
    figures = memory_;
}

std::size_t FakeSystem::ProcessorTimes(std::span<platform::ProcessorTime> times) {
    ++processorTimesCalls_;
    const std::lock_guard lock(mutex_);
    std::copy_n(processorTimes_.begin(), std::min(times.size(), processorTimes_.size()), times.begin());
    return processorTimes_.size();
}

void FakeSystem::SetVersion(std::optional<platform::OsVersion> version) {
    const std::lock_guard lock(mutex_);
    version_ = version;
}

void FakeSystem::SetMemoryStatusEx(std::optional<platform::MemoryFigures> figures) {
    const std::lock_guard lock(mutex_);
    memoryEx_ = figures;
}

void FakeSystem::SetMemoryStatus(platform::MemoryFigures figures) {
    const std::lock_guard lock(mutex_);
    memory_ = figures;
}

void FakeSystem::SetProcessorTimes(std::vector<platform::ProcessorTime> times) {
    const std::lock_guard lock(mutex_);
    processorTimes_ = std::move(times);
}

void FakeSystem::AddProcessorTime(std::size_t index, std::int64_t idle, std::int64_t busy) {
    const std::lock_guard lock(mutex_);
    platform::ProcessorTime& t = processorTimes_.at(index);
    t.idle += idle;
    t.kernel += idle + busy / 2;
    t.user += busy - busy / 2;
}

} // namespace quelmo::fakes
