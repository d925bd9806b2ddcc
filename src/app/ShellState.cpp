#include "app/ShellState.h"

namespace quelmo::shell {
namespace {

std::wstring& IniFileNameStorage() {
    static std::wstring name;
    return name;
}

} // namespace

const std::wstring& IniFileName() {
    return IniFileNameStorage();
}

void SetIniFileName(std::wstring path) {
    IniFileNameStorage() = std::move(path);
}

void ResetShellState() {
    InstanceRunning.store(false);
    HotkeyRegistered.store(false);
    SettingsSaved.store(false);
    IniFileNameStorage().clear();
}

} // namespace quelmo::shell
