// How the background threads reach the user-interface thread: run a call there and wait for it,
// post a message to the monitor window, and (on the user-interface thread) wait for a thread to
// end while still running the calls it makes, so that shutdown cannot deadlock.
#pragma once

#include "platform/FunctionRef.h"

#include <cstdint>
#include <thread>

namespace quelmo::platform {

class UiLink {
public:
    virtual ~UiLink() = default;
    // Runs `call` on the user-interface thread and returns when it has; an exception it raises is
    // raised again here. Called on the user-interface thread itself, it runs `call` at once.
    virtual void Synchronize(FunctionRef<void()> call) = 0;
    // Posts a window message to the monitor window without waiting.
    virtual void PostToWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // User-interface thread: joins `thread`, running the calls it synchronises meanwhile.
    virtual void JoinServing(std::thread& thread) = 0;
};

} // namespace quelmo::platform
