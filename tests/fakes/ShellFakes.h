// The fakes the start-up shell meets, installed together for one test, with the settings store
// reset to its defaults, the settings file name taken from the fake executable and its folder there.
#pragma once

#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeRegistry.h"

namespace quelmo::fakes {

class ShellFakes {
public:
    explicit ShellFakes(std::wstring executable = L"C:\\Program Files\\Quelmo\\Quelmo.exe") {
        process.executablePath = std::move(executable);
        config::ResetConfig();
        config::InitializeConfig();
        files.AddFolder(FakeFiles::FolderOf(shell::IniFileName()));
    }
    ~ShellFakes() { config::ResetConfig(); }
    ShellFakes(const ShellFakes&) = delete;
    ShellFakes& operator=(const ShellFakes&) = delete;

    FakeRegistry registry;
    FakeProcess process;
    FakeFiles files;

private:
    platform::ScopedSeam<platform::Registry> registrySeam_{registry};
    platform::ScopedSeam<platform::Process> processSeam_{process};
    platform::ScopedSeam<platform::Files> filesSeam_{files};
};

} // namespace quelmo::fakes
