#include "platform/win32/Win32UiLink.h"

#include <pthread.h>

#include <exception>
#include <stdexcept>

namespace quelmo::platform {
namespace {

constexpr wchar_t kClassName[] = L"QuelmoUiLink";

// Sent to the link's own window to run a background thread's call (Synchronize); LParam points to
// the call. No other window sees it.
constexpr UINT WM_SYNCHRONIZE = WM_USER + 131;

// A call on its way to the user-interface thread, and what it raised there.
struct PendingCall {
    FunctionRef<void()> call;
    std::exception_ptr error;
};

// The answer of the window procedure when it ran a call.
constexpr LRESULT kCallRan = 1;

ATOM RegisterLinkClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    return atom;
}

} // namespace

Win32UiLink::Win32UiLink(HWND target) : uiThread_(::GetCurrentThreadId()), target_(target) {
    RegisterLinkClass(&Win32UiLink::WindowProc);
    window_.Reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        throw std::runtime_error("Cannot create the user-interface link window");
    }
}

Win32UiLink::~Win32UiLink() = default;

void Win32UiLink::Synchronize(FunctionRef<void()> call) {
    if (::GetCurrentThreadId() == uiThread_) {
        call();
        return;
    }
    PendingCall pending{call, nullptr};
    if (::SendMessageW(window_.Get(), WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&pending)) != kCallRan) {
        // The window is gone: the user-interface side no longer takes calls.
        throw std::runtime_error("The user interface has closed");
    }
    if (pending.error) {
        std::rethrow_exception(pending.error);
    }
}

void Win32UiLink::PostToWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    HWND target = target_.load();
    ::PostMessageW(target != nullptr ? target : window_.Get(), message, wParam, lParam);
}

void Win32UiLink::JoinServing(std::thread& thread) {
    if (!thread.joinable()) {
        return;
    }
    // The thread's own handle, so the wait ends exactly when the thread does.
    HANDLE handle = ::pthread_gethandle(thread.native_handle());
    while (handle != nullptr) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) {
            break; // the thread ended (or the wait failed: join below)
        }
        // Dispatches the messages sent to this thread (a pending Synchronize among them) and
        // nothing else.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread.join();
}

LRESULT CALLBACK Win32UiLink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYNCHRONIZE && lParam != 0) {
        auto* pending = reinterpret_cast<PendingCall*>(lParam);
        try {
            pending->call();
        } catch (...) {
            pending->error = std::current_exception();
        }
        return kCallRan;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace quelmo::platform
