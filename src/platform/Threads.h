// Scheduling controls for the calling thread and the process.
#pragma once

#include "platform/Seam.h"

#include <cstdint>

namespace quelmo::platform {

inline constexpr int kThreadPriorityNormal = 0;
inline constexpr int kThreadPriorityTimeCritical = 15;
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;

class Threads {
public:
    virtual ~Threads() = default;
    // Priority of the calling thread (THREAD_PRIORITY_* values).
    virtual int ThreadPriority() = 0;
    virtual void SetThreadPriority(int priority) = 0;
    // Priority class of the process (*_PRIORITY_CLASS values).
    virtual std::uint32_t ProcessPriorityClass() = 0;
    virtual void SetProcessPriorityClass(std::uint32_t priorityClass) = 0;
    // Restricts the calling thread to the processors in `mask`.
    virtual void SetThreadAffinity(std::uint32_t mask) = 0;
};

// Defined by the platform's implementation file.
template <>
Threads& Seam<Threads>::Default();

inline Threads& TheThreads() {
    return Seam<Threads>::Get();
}

} // namespace quelmo::platform
