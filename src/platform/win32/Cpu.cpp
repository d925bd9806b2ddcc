#include "platform/Cpu.h"
#include "platform/CpuInstructions.h"

#include <windows.h>

#include <string>

namespace quelmo::platform {
namespace {

using SetProcessAffinityMaskFn = BOOL(WINAPI*)(HANDLE, DWORD_PTR);

class Win32Cpu final : public Cpu {
public:
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) override {
        return ExecuteCpuid(leaf, subleaf);
    }
    std::uint64_t ReadTimeStampCounter() override { return ExecuteRdtsc(); }

    bool LookUpAffinitySetter(std::string_view module, std::string_view function) override {
        setter_ = nullptr;
        // The module stays loaded for the life of the process (kernel32 always is), so the
        // handle is deliberately never freed.
        const std::wstring moduleName(module.begin(), module.end());
        const HMODULE library = ::LoadLibraryW(moduleName.c_str());
        if (library != nullptr) {
            const std::string functionName(function);
            setter_ = reinterpret_cast<SetProcessAffinityMaskFn>(
                reinterpret_cast<void*>(::GetProcAddress(library, functionName.c_str())));
        }
        return setter_ != nullptr;
    }
    bool AffinitySetterFound() override { return setter_ != nullptr; }

    std::uint32_t ProcessAffinityMask() override {
        DWORD_PTR processMask = 0;
        DWORD_PTR systemMask = 0;
        ::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &systemMask);
        return static_cast<std::uint32_t>(processMask);
    }
    void SetProcessAffinityMask(std::uint32_t mask) override {
        if (setter_ != nullptr) {
            setter_(::GetCurrentProcess(), mask);
        }
    }

    std::uint32_t ProcessorCount() override {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        return info.dwNumberOfProcessors;
    }

private:
    SetProcessAffinityMaskFn setter_ = nullptr;
};

} // namespace

template <>
Cpu& Seam<Cpu>::Default() {
    static Win32Cpu instance;
    return instance;
}

} // namespace quelmo::platform
