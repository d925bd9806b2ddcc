#include "fakes/FakeUiLink.h"

namespace quelmo::fakes {

FakeUiLink::FakeUiLink() : uiThread_(std::this_thread::get_id()) {
    queue_.reserve(16);
}

void FakeUiLink::Synchronize(platform::FunctionRef<void()> call) {
    if (std::this_thread::get_id() == uiThread_) {
        call();
        const std::lock_guard lock(mutex_);
        ++served_;
        return;
    }
    Pending pending{call, nullptr};
    std::unique_lock lock(mutex_);
    queue_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(lock, [&] { return pending.done; });
    if (pending.error) {
        std::rethrow_exception(pending.error);
    }
}

void FakeUiLink::PostToWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::lock_guard lock(mutex_);
    posted_.push_back({message, wParam, lParam});
}

std::size_t FakeUiLink::Serve() {
    std::vector<Pending*> batch;
    {
        const std::lock_guard lock(mutex_);
        batch.swap(queue_);
        queue_.reserve(16);
    }
    for (Pending* pending : batch) {
        try {
            pending->call();
        } catch (...) {
            pending->error = std::current_exception();
        }
    }
    const std::lock_guard lock(mutex_);
    for (Pending* pending : batch) {
        pending->done = true;
    }
    served_ += batch.size();
    changed_.notify_all();
    return batch.size();
}

void FakeUiLink::ServeFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait_until(lock, end, [&] { return !queue_.empty(); });
        }
        Serve();
    }
}

bool FakeUiLink::WaitForPending(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
}

void FakeUiLink::JoinServing(std::thread& thread) {
    if (!thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        joined_ = false;
    }
    // A helper joins, so that this thread can keep serving until the join is done.
    std::thread joiner([&] {
        thread.join();
        const std::lock_guard lock(mutex_);
        joined_ = true;
        changed_.notify_all();
    });
    for (;;) {
        bool joined = false;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return joined_ || !queue_.empty(); });
            joined = joined_ && queue_.empty();
        }
        if (joined) {
            break;
        }
        Serve();
    }
    joiner.join();
}

std::vector<FakeUiLink::Posted> FakeUiLink::PostedMessages() const {
    const std::lock_guard lock(mutex_);
    return posted_;
}

std::size_t FakeUiLink::CallsServed() const {
    const std::lock_guard lock(mutex_);
    return served_;
}

} // namespace quelmo::fakes
