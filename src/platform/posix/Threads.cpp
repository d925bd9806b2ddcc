// Native (Linux) scheduling controls: only affinity has a real counterpart; priorities are
// remembered so that save-and-restore sequences behave.
#include "platform/Threads.h"

#include <pthread.h>
#include <sched.h>

namespace quelmo::platform {
namespace {

class PosixThreads final : public Threads {
public:
    int ThreadPriority() override { return threadPriority_; }
    void SetThreadPriority(int priority) override { threadPriority_ = priority; }
    std::uint32_t ProcessPriorityClass() override { return priorityClass_; }
    void SetProcessPriorityClass(std::uint32_t priorityClass) override { priorityClass_ = priorityClass; }
    void SetThreadAffinity(std::uint32_t mask) override {
        cpu_set_t set;
        CPU_ZERO(&set);
        for (unsigned cpu = 0; cpu < 32; ++cpu) {
            if ((mask >> cpu) & 1U) {
                CPU_SET(cpu, &set);
            }
        }
        pthread_setaffinity_np(pthread_self(), sizeof(set), &set);
    }

private:
    static inline thread_local int threadPriority_ = kThreadPriorityNormal;
    std::uint32_t priorityClass_ = kNormalPriorityClass;
};

} // namespace

template <>
Threads& Seam<Threads>::Default() {
    static PosixThreads instance;
    return instance;
}

} // namespace quelmo::platform
