// The main window's part in the settings' life: loaded at creation, saved once when closed, before
// the window leaves the screen.
#include "app/IniFile.h"
#include "app/MyConfig.h"
#include "fakes/ShellFakes.h"
#include "sampling/MyPerfLib.h"
#include "ui/ControlIds.h"
#include "ui/MainForm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

const std::wstring kIni = L"C:\\Program Files\\Quelmo\\Quelmo.ini";

// Dispatches what is waiting, without blocking.
void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The main window without its sampling threads.
gui::TForm_Main::Options WithoutSampling() {
    gui::TForm_Main::Options options;
    options.startSampling = false;
    return options;
}

// Dispatches messages until the window has gone and its WM_QUIT has arrived.
void RunUntilQuit() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The fake files, noting at each write whether the window was still on the screen.
class WatchedFiles final : public platform::Files {
public:
    explicit WatchedFiles(platform::Files& files) : files_(files) {}
    platform::ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes) override {
        return files_.ReadWholeFile(path, bytes);
    }
    platform::WriteResult ReplaceFileContent(const std::wstring& path, std::string_view bytes) override {
        shownWhenWritten.push_back(::IsWindowVisible(window) != FALSE);
        return files_.ReplaceFileContent(path, bytes);
    }
    bool RewriteFileContent(const std::wstring& path, std::string_view bytes) override {
        shownWhenWritten.push_back(::IsWindowVisible(window) != FALSE);
        return files_.RewriteFileContent(path, bytes);
    }

    HWND window = nullptr;
    std::vector<bool> shownWhenWritten;

private:
    platform::Files& files_;
};

TEST(MainForm, CreationLoadsTheSettingsAndClosingSavesThemOnceBeforeTheWindowGoes) {
    const struct {
        const char* way;
        UINT message;
        WPARAM wParam;
    } ways[] = {{"close button", WM_CLOSE, 0}, {"Exit", WM_COMMAND, ids::kMI_Exit}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        fakes::ShellFakes fakes;
        fakes.files.SetContent(kIni, "[Location]\r\nPosWidth=300\r\nPosHeight=120\r\n[Extra]\r\nkeep=1\r\n");
        WatchedFiles files(fakes.files);
        const platform::ScopedSeam<platform::Files> seam(files);
        gui::TForm_Main form(WithoutSampling());
        ASSERT_TRUE(form.Create());
        files.window = form.Hwnd();
        wchar_t className[64] = {};
        ::GetClassNameW(form.Hwnd(), className, 64);
        EXPECT_STREQ(className, L"TForm_Main");
        wchar_t caption[64] = {};
        ::GetWindowTextW(form.Hwnd(), caption, 64);
        EXPECT_STREQ(caption, L"Quelmo");

        // The size comes from the settings when the window is shown.
        form.ShowAtStartup();
        Pump();
        RECT frame{};
        ::GetWindowRect(form.Hwnd(), &frame);
        EXPECT_EQ(frame.right - frame.left, 300);
        EXPECT_EQ(frame.bottom - frame.top, 120);
        EXPECT_FALSE(config::FirstLaunch); // centred on this first show
        ::PostMessageW(form.Hwnd(), way.message, way.wParam, 0);
        RunUntilQuit();
        EXPECT_EQ(form.Hwnd(), nullptr);
        // Written once, first: hiding the window may wait for the window manager.
        EXPECT_EQ(files.shownWhenWritten, std::vector<bool>{true});

        const IniFile saved(*fakes.files.Content(kIni));
        EXPECT_EQ(saved.ReadString("General", "FirstLaunch"), "0");
        EXPECT_EQ(saved.ReadInteger("Location", "PosWidth", 0), 300);
        EXPECT_EQ(saved.ReadString("Extra", "keep"), "1");
    }
}

TEST(MainForm, CreationAsksToEnableDisabledCounters) {
    fakes::ShellFakes fakes;
    fakes.registry.SetDword(platform::RegRoot::LocalMachine, kPerflibKey, kDisableCountersValue, 1);
    fakes.process.answers = {platform::MessageAnswer::Yes};
    {
        gui::TForm_Main form;
        ASSERT_TRUE(form.Create());
        ASSERT_EQ(fakes.process.shown.size(), 1U);
        EXPECT_EQ(
            fakes.registry.GetDword(platform::RegRoot::LocalMachine, kPerflibKey, kDisableCountersValue), 0U);
    } // destroying the form without closing it still saves
    RunUntilQuit();
    EXPECT_EQ(fakes.files.WriteCount(), 1);
}

} // namespace
} // namespace quelmo
