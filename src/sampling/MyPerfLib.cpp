#include "sampling/MyPerfLib.h"

#include "app/ShellTexts.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"
#include "sampling/SamplingTexts.h"

namespace quelmo {
namespace {

using namespace platform;

bool SwitchIsOn(std::wstring_view keyPath) {
    const RegKey machine = TheRegistry().RootKey(RegRoot::LocalMachine);
    if (!KeyExists(machine, keyPath)) {
        return false;
    }
    ScopedRegKey key;
    if (TheRegistry().OpenKey(machine, keyPath, RegAccess::Read, key.Out()) != kErrorSuccess) {
        return false;
    }
    std::uint32_t value = 0;
    // A value of another type than DWORD is not a switch the system honours either.
    return ReadDword(key.Get(), kDisableCountersValue, value) == kErrorSuccess && value == 1;
}

void ClearSwitch(std::wstring_view keyPath) {
    ScopedRegKey key;
    if (TheRegistry().OpenKey(TheRegistry().RootKey(RegRoot::LocalMachine), keyPath, RegAccess::Write,
                              key.Out()) == kErrorSuccess) {
        WriteDword(key.Get(), kDisableCountersValue, 0);
    }
}

} // namespace

std::wstring ServicePerformanceKey(std::wstring_view service) {
    std::wstring path(kServicesKey);
    path += L'\\';
    path += service;
    path += L"\\Performance";
    return path;
}

bool CountersDisabled() {
    if (SwitchIsOn(kPerflibKey)) {
        return true;
    }
    for (const auto service : CounterServices) {
        if (SwitchIsOn(ServicePerformanceKey(service))) {
            return true;
        }
    }
    return false;
}

void EnableCounters() {
    for (const auto service : CounterServices) {
        ClearSwitch(ServicePerformanceKey(service));
    }
    ClearSwitch(kPerflibKey);
}

void CheckPerformanceCounters() {
    if (CountersDisabled() &&
        TheProcess().ShowMessage(texts::kAppTitle, texts::kCountersDisabledPrompt, MessageKind::Warning,
                                 MessageButtons::YesNoCancel) == MessageAnswer::Yes) {
        EnableCounters();
    }
}

} // namespace quelmo
