// Scheduling controls that only record what was asked, in order. Safe to use from several
// threads.
#pragma once

#include "platform/Threads.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace quelmo::fakes {

class RecordingThreads final : public platform::Threads {
public:
    enum class Call { SetThreadPriority, SetProcessPriorityClass, SetThreadAffinity };
    struct Event {
        Call call;
        std::int64_t value;
        friend bool operator==(const Event&, const Event&) = default;
    };

    int ThreadPriority() override {
        const std::lock_guard lock(mutex_);
        return threadPriority_;
    }
    void SetThreadPriority(int priority) override {
        const std::lock_guard lock(mutex_);
        threadPriority_ = priority;
        events_.push_back({Call::SetThreadPriority, priority});
    }
    std::uint32_t ProcessPriorityClass() override {
        const std::lock_guard lock(mutex_);
        return priorityClass_;
    }
    void SetProcessPriorityClass(std::uint32_t priorityClass) override {
        const std::lock_guard lock(mutex_);
        priorityClass_ = priorityClass;
        events_.push_back({Call::SetProcessPriorityClass, priorityClass});
    }
    void SetThreadAffinity(std::uint32_t mask) override {
        const std::lock_guard lock(mutex_);
        events_.push_back({Call::SetThreadAffinity, mask});
    }

    // The priorities reported before any change.
    void SetInitial(int threadPriority, std::uint32_t priorityClass) {
        const std::lock_guard lock(mutex_);
        threadPriority_ = threadPriority;
        priorityClass_ = priorityClass;
    }
    std::vector<Event> Events() const {
        const std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    int threadPriority_ = platform::kThreadPriorityNormal;
    std::uint32_t priorityClass_ = platform::kNormalPriorityClass;
    std::vector<Event> events_;
};

} // namespace quelmo::fakes
