// What the driver and quelmo_menu_probe.dll agree on: the request message, the shared memory that
// carries the answer, and the hook procedure's name.
#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace quelmo::driver::probe {

inline constexpr wchar_t kRequest[] = L"QuelmoDriverMenuProbe";
inline constexpr char kHookProcedure[] = "QuelmoMenuProbe";
inline constexpr wchar_t kLibrary[] = L"quelmo_menu_probe.dll";
inline constexpr DWORD kAnswerBytes = 256 * 1024;

// The shared memory of the driver process `driver`; the request's wParam names that process.
inline std::wstring MappingName(DWORD driver) {
    return L"Local\\" + std::wstring(kRequest) + std::to_wstring(driver);
}

// A view of a file mapping, unmapped with the object.
class MappedView {
public:
    MappedView(HANDLE mapping, DWORD access) : view_(::MapViewOfFile(mapping, access, 0, 0, kAnswerBytes)) {}
    ~MappedView() {
        if (view_ != nullptr) {
            ::UnmapViewOfFile(view_);
        }
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    wchar_t* Text() const { return static_cast<wchar_t*>(view_); }

private:
    void* view_;
};

} // namespace quelmo::driver::probe
