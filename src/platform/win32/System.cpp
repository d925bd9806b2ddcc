#include "platform/System.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>

namespace quelmo::platform {
namespace {

// A function that older systems lack, looked up by name once.
template <class Fn>
Fn LookUp(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (handle == nullptr) {
        return nullptr;
    }
    // Through void(*)() so the compiler accepts the change of function type.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name)));
}

using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
using NtQuerySystemInformationFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

constexpr ULONG kSystemProcessorPerformanceInformation = 8;

// The kernel's record per processor (SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION).
struct ProcessorPerformance {
    LARGE_INTEGER idleTime;
    LARGE_INTEGER kernelTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER dpcTime;
    LARGE_INTEGER interruptTime;
    ULONG interruptCount;
};
static_assert(sizeof(ProcessorPerformance) == 48);

class Win32System final : public System {
public:
    bool GetVersion(OsVersion& version) override {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (::GetVersionExW(&info) == 0) {
            return false;
        }
        version = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
        return true;
    }

    bool GlobalMemoryStatusEx(MemoryFigures& figures) override {
        static const auto fn = LookUp<GlobalMemoryStatusExFn>(L"kernel32.dll", "GlobalMemoryStatusEx");
        if (fn == nullptr) {
            return false;
        }
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        if (fn(&status) == 0) {
            return false;
        }
        figures.totalPhys = static_cast<std::int64_t>(status.ullTotalPhys);
        figures.availPhys = static_cast<std::int64_t>(status.ullAvailPhys);
        figures.totalPageFile = static_cast<std::int64_t>(status.ullTotalPageFile);
        figures.availPageFile = static_cast<std::int64_t>(status.ullAvailPageFile);
        return true;
    }

    void GlobalMemoryStatus(MemoryFigures& figures) override {
        MEMORYSTATUS status{};
        status.dwLength = sizeof(status);
        ::GlobalMemoryStatus(&status);
        figures.totalPhys = static_cast<std::uint32_t>(status.dwTotalPhys);
        figures.availPhys = static_cast<std::uint32_t>(status.dwAvailPhys);
        figures.totalPageFile = static_cast<std::uint32_t>(status.dwTotalPageFile);
        figures.availPageFile = static_cast<std::uint32_t>(status.dwAvailPageFile);
    }

    std::size_t ProcessorTimes(std::span<ProcessorTime> times) override {
        static const auto fn = LookUp<NtQuerySystemInformationFn>(L"ntdll.dll", "NtQuerySystemInformation");
        if (fn == nullptr) {
            return 0;
        }
        // 64 records cover every processor a 32-bit process can see; no allocation per call.
        std::array<ProcessorPerformance, 64> records{};
        ULONG returned = 0;
        if (fn(kSystemProcessorPerformanceInformation, records.data(), sizeof(records), &returned) < 0) {
            return 0;
        }
        const std::size_t count =
            std::min<std::size_t>(returned / sizeof(ProcessorPerformance), records.size());
        for (std::size_t i = 0; i < count && i < times.size(); ++i) {
            times[i] = {records[i].idleTime.QuadPart, records[i].kernelTime.QuadPart,
                        records[i].userTime.QuadPart};
        }
        return count;
    }
};

} // namespace

template <>
System& Seam<System>::Default() {
    static Win32System instance;
    return instance;
}

} // namespace quelmo::platform
