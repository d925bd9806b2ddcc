#include "platform/Threads.h"

#include <windows.h>

namespace quelmo::platform {
namespace {

class Win32Threads final : public Threads {
public:
    int ThreadPriority() override { return ::GetThreadPriority(::GetCurrentThread()); }
    void SetThreadPriority(int priority) override { ::SetThreadPriority(::GetCurrentThread(), priority); }
    std::uint32_t ProcessPriorityClass() override { return ::GetPriorityClass(::GetCurrentProcess()); }
    void SetProcessPriorityClass(std::uint32_t priorityClass) override {
        ::SetPriorityClass(::GetCurrentProcess(), priorityClass);
    }
    void SetThreadAffinity(std::uint32_t mask) override {
        ::SetThreadAffinityMask(::GetCurrentThread(), mask);
    }
};

} // namespace

template <>
Threads& Seam<Threads>::Default() {
    static Win32Threads instance;
    return instance;
}

} // namespace quelmo::platform
