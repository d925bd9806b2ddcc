// A malformed performance-data answer as the user meets it: the real monitor window with its real
// sampling threads, while the registry behind the seam answers the performance-data query. Wine
// always answers that query with an empty block, so Quelmo.exe itself cannot be given a damaged one.
#include "app/MyConfig.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "fakes/PerfDataRegistry.h"
#include "sampling/CpuUsage.h"
#include "sampling/MyThreads.h"
#include "sampling/SamplingTexts.h"
#include "ui/ControlIds.h"
#include "ui/MainForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quelmo::gui {
namespace {

constexpr std::int64_t kSecond = 10'000'000; // 100-ns units

std::vector<std::byte> GoodBlock(std::uint16_t second) {
    fakes::PerfSystemTime time;
    time.second = second;
    return fakes::BuildPerfBlock({fakes::ProcessorObjectLayout({second * kSecond / 2, second * kSecond / 2})},
                                 time)
        .bytes;
}

std::vector<std::byte> TruncatedBlock() {
    std::vector<std::byte> bytes = GoodBlock(59);
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// Dispatches this thread's messages until `done` holds; false after `timeoutMs`.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 10000) {
    const DWORD started = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - started > timeoutMs) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

std::wstring TextOf(HWND window) {
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    return text;
}

// The window is there and its thread answers.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return ::IsWindow(window) &&
           ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

class PerfDataAnswerTest : public ::testing::Test {
protected:
    PerfDataAnswerTest() {
        system.SetMemoryStatusEx(platform::MemoryFigures{4LL << 30, 1LL << 30, 8LL << 30, 2LL << 30});
    }
    void SetUp() override {
        config::ResetConfig();
        config::AppModeHotkey = 0;          // never grab the real hot key from a test
        config::HideTrayWhenVisible = true; // no tray icon: removing it costs Wine's shell seconds
        config::Rate = 100;
    }
    void TearDown() override { config::ResetConfig(); }

    // The monitor window, sampling as Quelmo.exe does but without the settings file.
    std::unique_ptr<TForm_Main> Start() {
        TForm_Main::Options options;
        options.useSettingsFile = false;
        options.endApplicationOnDestroy = false;
        auto form = std::make_unique<TForm_Main>(options);
        EXPECT_TRUE(form->Create());
        return form;
    }

    fakes::FakeSystem system;
    fakes::PerfDataRegistry registry;
    fakes::FakeProcess process;
    platform::ScopedSeam<platform::System> systemSeam{system};
    platform::ScopedSeam<platform::Registry> registrySeam{registry};
    platform::ScopedSeam<platform::Process> processSeam{process};
    CpuUsageCounters counters; // after the seams: it reads the system's version
    platform::ScopedSeam<CpuUsageCounters> countersSeam{counters};
};

TEST_F(PerfDataAnswerTest, DamagedFirstAnswerIsShownAndTheWindowStaysWithoutSamples) {
    registry.SetBlock(TruncatedBlock());
    auto form = Start();
    ASSERT_EQ(process.shown.size(), 1u);
    EXPECT_EQ(process.shown[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(process.shown[0].text, L"Unable to locate the \"Processor\" performance object");
    PumpUntil([] { return false; }, 600);
    EXPECT_TRUE(Answers(form->Hwnd()));
    EXPECT_EQ(TextOf(::GetDlgItem(form->Hwnd(), ids::kLabel_MemoryUsed)), L"? MB") << "no sample was shown";
    form.reset(); // closes without waiting on a sampler that never ran
}

TEST_F(PerfDataAnswerTest, DamagedLaterAnswerEndsTheSamplerQuietlyAndClosingStillWorks) {
    registry.SetBlock(GoodBlock(1));
    auto form = Start();
    ASSERT_TRUE(process.shown.empty());
    TResMonitor* monitor = ActiveResMonitor();
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return monitor->CopyStatistics().Samples >= 3; }));
    const std::wstring memory = TextOf(::GetDlgItem(form->Hwnd(), ids::kLabel_MemoryUsed));
    EXPECT_NE(memory, L"? MB");
    registry.SetBlock(TruncatedBlock());
    EXPECT_TRUE(PumpUntil([&] { return monitor->Finished(); }));
    const auto samples = monitor->CopyStatistics().Samples;
    PumpUntil([] { return false; }, 400);
    EXPECT_EQ(monitor->CopyStatistics().Samples, samples) << "the window stops changing";
    EXPECT_TRUE(process.shown.empty()) << "nothing is shown";
    EXPECT_TRUE(Answers(form->Hwnd()));
    form.reset();
}

} // namespace
} // namespace quelmo::gui
