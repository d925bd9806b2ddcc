// Shared set-up of the sampling tests: fakes for every seam the threads use, installed for the
// test's lifetime, and settings restored afterwards.
#pragma once

#include "app/MyConfig.h"
#include "cpuid/RecordedCpu.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeUiLink.h"
#include "fakes/PerfDataBuilder.h"
#include "fakes/PerfDataRegistry.h"
#include "fakes/RecordingThreads.h"
#include "fakes/ScriptedTime.h"
#include "platform/Seam.h"

#include <gtest/gtest.h>

#include <atomic>

namespace quelmo::testing {

// Sets a setting for the scope and puts the old value back.
template <class T>
class ScopedSetting {
public:
    ScopedSetting(std::atomic<T>& setting, T value) : setting_(setting), old_(setting.load()) {
        setting.store(value);
    }
    ~ScopedSetting() { setting_.store(old_); }
    ScopedSetting(const ScopedSetting&) = delete;
    ScopedSetting& operator=(const ScopedSetting&) = delete;

private:
    std::atomic<T>& setting_;
    T old_;
};

class SamplingFixture : public ::testing::Test {
protected:
    static constexpr std::int64_t kSecond = 10'000'000;

    // The kernel's times for `processors` processors and an empty performance-data block, so the
    // counters take the Wine route.
    void UseKernelTimes(std::size_t processors) {
        registry.SetBlock(fakes::BuildPerfBlock({}).bytes);
        system.SetProcessorTimes(std::vector<platform::ProcessorTime>(processors));
    }

    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    fakes::ScriptedTime time;
    fakes::RecordingThreads threads;
    // Its time-stamp counter moves 1.5e9 ticks per reading: a 3000 MHz clock.
    RecordedCpu cpu = [] {
        RecordedCpu recorded{CpuDump{}};
        recorded.SetTimeStampCounter(0, 1'500'000'000);
        return recorded;
    }();
    platform::ScopedSeam<platform::System> systemSeam{system};
    platform::ScopedSeam<platform::Registry> registrySeam{registry};
    platform::ScopedSeam<platform::Time> timeSeam{time};
    platform::ScopedSeam<platform::Threads> threadsSeam{threads};
    platform::ScopedSeam<platform::Cpu> cpuSeam{cpu};
    ScopedSetting<std::uint16_t> rate{config::Rate, 500};
    ScopedSetting<bool> displayMemory{config::DisplayMemory, true};
    ScopedSetting<bool> physical{config::UsePhysicalMemory, true};
    ScopedSetting<bool> updateSpeed{config::UpdateSpeed, true};
    ScopedSetting<bool> trayMode{config::AppTrayMode, false};
};

} // namespace quelmo::testing
