// A user-interface link for tests without windows. The thread that creates it plays the
// user-interface thread: calls synchronised from other threads wait in a queue until that
// thread serves them (Serve, ServeFor or JoinServing); posted messages are recorded.
#pragma once

#include "platform/UiLink.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quelmo::fakes {

class FakeUiLink final : public platform::UiLink {
public:
    struct Posted {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        friend bool operator==(const Posted&, const Posted&) = default;
    };

    FakeUiLink();

    void Synchronize(platform::FunctionRef<void()> call) override;
    void PostToWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void JoinServing(std::thread& thread) override;

    // User-interface thread: runs the calls waiting now; returns how many ran.
    std::size_t Serve();
    // Serves calls as they come for `duration`.
    void ServeFor(std::chrono::milliseconds duration);
    // Waits until a call is waiting to be served; false when none came within `timeout`.
    bool WaitForPending(std::chrono::milliseconds timeout);

    std::vector<Posted> PostedMessages() const;
    std::size_t CallsServed() const;

private:
    struct Pending {
        platform::FunctionRef<void()> call;
        std::exception_ptr error;
        bool done = false;
    };

    std::thread::id uiThread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Pending*> queue_;
    std::vector<Posted> posted_;
    std::size_t served_ = 0;
    bool joined_ = false;
};

} // namespace quelmo::fakes
