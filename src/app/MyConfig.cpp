#include "app/MyConfig.h"

#include "app/IniEncoding.h"
#include "app/IniFile.h"
#include "app/ShellState.h"
#include "app/ShellTexts.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/RegistryValues.h"

#include <algorithm>
#include <array>

namespace quelmo::config {
namespace {

using namespace platform;

// std::visit without its bad_variant_access path: a ValueRef always holds one of its pointers.
template <class Function>
decltype(auto) Visit(const SettingValue& value, Function&& function) {
    if (auto* const* flag = std::get_if<std::atomic<bool>*>(&value)) {
        return function(*flag);
    }
    if (auto* const* byte = std::get_if<std::atomic<std::uint8_t>*>(&value)) {
        return function(*byte);
    }
    if (auto* const* word = std::get_if<std::atomic<std::uint16_t>*>(&value)) {
        return function(*word);
    }
    return function(*std::get_if<std::atomic<std::int32_t>*>(&value));
}

std::int64_t ValueOf(const SettingValue& value) noexcept {
    return Visit(value, [](auto* atomic) noexcept { return static_cast<std::int64_t>(atomic->load()); });
}

// The compiled-in defaults, taken before anything can change a setting (the atomics are
// constant-initialised, so they hold their defaults when this runs).
std::array<std::int64_t, kSettings.size()> CurrentValues() noexcept {
    std::array<std::int64_t, kSettings.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = ValueOf(kSettings[i].value);
    }
    return values;
}
const std::array<std::int64_t, kSettings.size()> kDefaults = CurrentValues();

// Stores a value read from the file, keeping only the bits the setting holds.
void Store(const Setting& setting, const IniFile& ini) {
    Visit(setting.value, [&](auto* atomic) {
        using T = typename std::remove_pointer_t<decltype(atomic)>::value_type;
        if constexpr (std::is_same_v<T, bool>) {
            atomic->store(ini.ReadBool(setting.section, setting.key, atomic->load()));
        } else {
            const auto current = static_cast<std::int32_t>(atomic->load());
            atomic->store(static_cast<T>(ini.ReadInteger(setting.section, setting.key, current)));
        }
    });
}

void Put(const Setting& setting, IniFile& ini) {
    Visit(setting.value, [&](auto* atomic) {
        using T = typename std::remove_pointer_t<decltype(atomic)>::value_type;
        if constexpr (std::is_same_v<T, bool>) {
            ini.WriteBool(setting.section, setting.key, atomic->load());
        } else {
            ini.WriteInteger(setting.section, setting.key, atomic->load());
        }
    });
}

wchar_t AsciiLower(wchar_t ch) {
    return ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// The Run value's data: the path, in quotes when it holds a blank (the shell would otherwise run
// the part before the blank).
std::wstring AutoRunCommand(const std::wstring& path) {
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

bool NamesExecutable(std::wstring_view value, std::wstring_view path) {
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
        value = value.substr(1, value.size() - 2);
    }
    return !path.empty() && SameTextAscii(value, path);
}

MessageAnswer Ask(std::wstring_view text, MessageKind kind, MessageButtons buttons) {
    return TheProcess().ShowMessage(texts::kAppTitle, text, kind, buttons);
}

// Writes every setting into the settings file, keeping what else it holds.
void WriteSettingsFile() {
    const std::wstring& path = shell::IniFileName();
    std::string bytes;
    // A file that exists but cannot be read or decoded is left alone rather than overwritten.
    if (path.empty() || TheFiles().ReadWholeFile(path, bytes) == ReadResult::Failed) {
        return;
    }
    auto decoded = DecodeIniFile(bytes);
    if (!decoded) {
        return;
    }
    bytes.clear();
    IniFile ini(decoded->text);
    decoded->text.clear();
    for (const Setting& setting : kSettings) {
        Put(setting, ini);
    }
    // Saved in the encoding the file had, so a file from Notepad stays one.
    const std::string encoded = EncodeIniFile(ini.Text(), decoded->encoding);
    if (TheFiles().ReplaceFileContent(path, encoded) == WriteResult::FolderRefused) {
        // An installed copy: the user may not add files to its folder, but the installer made the
        // settings file itself writable, so it is written in place.
        TheFiles().RewriteFileContent(path, encoded);
    }
}

} // namespace

ERegistryError::ERegistryError(RegStatus status, std::wstring message)
    : std::runtime_error("registry error " + std::to_string(status)), status_(status),
      message_(std::move(message)) {}

std::wstring IniFileNameFor(std::wstring_view executablePath) {
    const std::size_t nameStart = executablePath.find_last_of(L"\\/:") + 1; // npos + 1 == 0
    const std::size_t dot = executablePath.rfind(L'.');
    std::wstring name(executablePath);
    if (dot != std::wstring_view::npos && dot >= nameStart) {
        name.resize(dot);
    }
    return name + L".ini";
}

void InitializeConfig() {
    shell::SetIniFileName(IniFileNameFor(TheProcess().ExecutablePath()));
}

void LoadSettings() {
    try {
        const std::wstring& path = shell::IniFileName();
        if (path.empty()) {
            return;
        }
        std::string bytes;
        if (TheFiles().ReadWholeFile(path, bytes) != ReadResult::Ok) {
            return;
        }
        const auto decoded = DecodeIniFile(bytes);
        if (!decoded) {
            return;
        }
        bytes.clear();
        const IniFile ini(decoded->text);
        for (const Setting& setting : kSettings) {
            Store(setting, ini);
        }
    } catch (const std::exception&) {
        // Out of memory on an absurd file: what was read so far stays, the rest keeps its value.
    }
}

void SaveSettings() {
    if (shell::SettingsSaved.load()) {
        return;
    }
    try {
        WriteSettingsFile();
    } catch (const std::exception&) {
        // Silent, as every settings-file error: the old file stays as it was.
    }
    shell::SettingsSaved.store(true);
}

void ResetConfig() {
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        Visit(kSettings[i].value,
              [&](auto* atomic) { atomic->store(static_cast<decltype(atomic->load())>(kDefaults[i])); });
    }
    shell::ResetShellState();
}

bool CheckInstanceMutex(std::wstring_view name) {
    Process& process = TheProcess();
    if (process.OpenNamedMutex(name)) {
        return true;
    }
    return !process.CreateNamedMutex(name);
}

std::optional<int> HandleCommandLine() {
    const auto parameters = TheProcess().CommandLineParameters();
    if (parameters.empty()) {
        return std::nullopt;
    }
    // Exact, case-sensitive: "/INSTALL" is no switch and the program starts normally.
    if (parameters.front() == texts::kInstallSwitch) {
        return InstallAutoRun();
    }
    if (parameters.front() == texts::kUninstallSwitch) {
        UninstallAutoRun();
        return 0;
    }
    return std::nullopt;
}

int InstallAutoRun() {
    const std::wstring question = texts::FormatShellText(texts::kRunAtStartupPrompt, texts::kAppTitle);
    if (Ask(question, MessageKind::Confirmation, MessageButtons::YesNoCancel) != MessageAnswer::Yes) {
        return 0;
    }
    try {
        SetAutoRun(true);
    } catch (const ERegistryError& error) {
        Ask(error.Message(), MessageKind::Error, MessageButtons::Ok);
        return 1;
    }
    return 0;
}

void UninstallAutoRun() {
    SetAutoRun(false);
    if (shell::InstanceRunning.load()) {
        Ask(texts::FormatShellText(texts::kStillRunningWarning, texts::kAppTitle), MessageKind::Warning,
            MessageButtons::Ok);
    }
}

bool IsAutoRunEnabled() {
    try {
        Registry& registry = TheRegistry();
        ScopedRegKey key;
        // Reading needs no more than read rights, so accounts that may not write see the truth.
        if (registry.OpenKey(registry.RootKey(RegRoot::LocalMachine), texts::kRunKey, RegAccess::Read,
                             key.Out()) != kErrorSuccess) {
            return false;
        }
        std::wstring value;
        if (ReadString(key.Get(), texts::kRunValue, value) != kErrorSuccess) {
            return false;
        }
        return NamesExecutable(value, TheProcess().ExecutablePath());
    } catch (const std::exception&) {
        return false;
    }
}

void SetAutoRun(bool enable) {
    Registry& registry = TheRegistry();
    const RegKey machine = registry.RootKey(RegRoot::LocalMachine);
    ScopedRegKey key;
    if (!enable) {
        if (registry.OpenKey(machine, texts::kRunKey, RegAccess::AllAccess, key.Out()) == kErrorSuccess) {
            registry.DeleteValue(key.Get(), texts::kRunValue);
        }
        return;
    }
    RegStatus status = registry.CreateKey(machine, texts::kRunKey, RegAccess::AllAccess, key.Out());
    if (status == kErrorSuccess) {
        status = WriteString(key.Get(), texts::kRunValue, AutoRunCommand(TheProcess().ExecutablePath()));
    }
    if (status != kErrorSuccess) {
        throw ERegistryError(status, registry.ErrorText(status));
    }
}

std::wstring VersionText() {
    return std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
           std::to_wstring(kVersionRelease) + L" " + std::wstring(texts::kBeta);
}

std::chrono::year_month_day BuildDate() {
    using namespace std::chrono;
    return year_month_day{year{2014}, February, day{11}};
}

} // namespace quelmo::config
