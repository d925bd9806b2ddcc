// The user-interface link of the product: a message-only window owned by the user-interface
// thread. Synchronize sends it a private message, so the call runs wherever that thread
// dispatches sent messages (its message loop, a modal loop, or JoinServing's wait).
#pragma once

#include "platform/UiLink.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <atomic>

namespace quelmo::platform {

class Win32UiLink final : public UiLink {
public:
    // Creates the window on the calling thread, which becomes the user-interface thread. Messages
    // of PostToWindow go to `target` (the link's own window while there is none).
    explicit Win32UiLink(HWND target = nullptr);
    ~Win32UiLink() override;
    Win32UiLink(const Win32UiLink&) = delete;
    Win32UiLink& operator=(const Win32UiLink&) = delete;

    void SetTarget(HWND target) { target_.store(target); }
    HWND Window() const { return window_.Get(); }

    void Synchronize(FunctionRef<void()> call) override;
    void PostToWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void JoinServing(std::thread& thread) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueWindow window_;
    DWORD uiThread_ = 0;
    std::atomic<HWND> target_;
};

} // namespace quelmo::platform
