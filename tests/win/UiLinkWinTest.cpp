// The product's user-interface link under Wine (or Windows), held to the same contract as the
// fake that the sampling tests use.
#include "contracts/UiLinkContract.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32UiLink.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace quelmo {
namespace {

// A message-only window that records the application messages posted to it.
class RecordingWindow {
public:
    RecordingWindow() {
        static const ATOM atom = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = &RecordingWindow::Proc;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"QuelmoTestRecordingWindow";
            return ::RegisterClassExW(&windowClass);
        }();
        (void)atom;
        window_.Reset(::CreateWindowExW(0, L"QuelmoTestRecordingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleW(nullptr), this));
    }
    HWND Handle() const { return window_.Get(); }
    std::vector<contracts::PostedMessage> received;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message >= WM_APP) {
            self->received.emplace_back(message, wParam, lParam);
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    win32::UniqueWindow window_;
};

TEST(Win32UiLink, BehavesLikeTheFake) {
    RecordingWindow target;
    platform::Win32UiLink link(target.Handle());
    contracts::CheckUiLink(
        link,
        [] {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&message);
            }
        },
        [&] { return target.received; });
}

} // namespace
} // namespace quelmo
