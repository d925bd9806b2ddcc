// Ownership of Win32 handles: one move-only wrapper, parameterised by how a handle is released.
// Only Win32 code (platform/win32, ui, widgets, app/Main.cpp) includes this.
//
// Each Traits type names the handle type, its "no handle" value and how to release it. Traits may
// carry state (the window a GetDC handle belongs to); stateless traits cost nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace quelmo::win32 {

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle, Traits traits = Traits{}) noexcept
        : handle_(handle), traits_(std::move(traits)) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(other.Release()), traits_(std::move(other.traits_)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            traits_ = std::move(other.traits_);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

    // Gives up ownership without releasing.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Releases what is held and takes `handle`.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) {
            traits_.Close(old);
        }
    }
    // For Win32 out-parameters; closes what was held first.
    Handle* Out() noexcept {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
    [[no_unique_address]] Traits traits_{};
};

// Traits for handles whose only invalid value is null.
template <class H>
struct NullInvalid {
    using Handle = H;
    static constexpr Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle handle) noexcept { return handle != nullptr; }
};

struct WindowTraits : NullInvalid<HWND> {
    void Close(HWND handle) const noexcept { ::DestroyWindow(handle); }
};
struct RegKeyTraits : NullInvalid<HKEY> {
    void Close(HKEY handle) const noexcept { ::RegCloseKey(handle); }
};
struct IconTraits : NullInvalid<HICON> {
    void Close(HICON handle) const noexcept { ::DestroyIcon(handle); }
};
struct MenuTraits : NullInvalid<HMENU> {
    void Close(HMENU handle) const noexcept { ::DestroyMenu(handle); }
};
struct AccelTraits : NullInvalid<HACCEL> {
    void Close(HACCEL handle) const noexcept { ::DestroyAcceleratorTable(handle); }
};
struct HookTraits : NullInvalid<HHOOK> {
    void Close(HHOOK handle) const noexcept { ::UnhookWindowsHookEx(handle); }
};
struct ImageListTraits : NullInvalid<HIMAGELIST> {
    void Close(HIMAGELIST handle) const noexcept { ::ImageList_Destroy(handle); }
};

// Pens, brushes, fonts, bitmaps and regions; never delete one while it is selected into a DC.
template <class H>
struct GdiObjectTraits : NullInvalid<H> {
    void Close(H handle) const noexcept { ::DeleteObject(handle); }
};

// A DC from GetDC/GetWindowDC goes back to its window with ReleaseDC.
struct WindowDcTraits : NullInvalid<HDC> {
    HWND window = nullptr;
    void Close(HDC handle) const noexcept { ::ReleaseDC(window, handle); }
};
// A DC from CreateCompatibleDC/CreateDC is deleted.
struct MemoryDcTraits : NullInvalid<HDC> {
    void Close(HDC handle) const noexcept { ::DeleteDC(handle); }
};

// Kernel objects whose "no handle" is null (mutexes, events, processes, threads).
struct KernelHandleTraits : NullInvalid<HANDLE> {
    void Close(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
// Files, whose "no handle" is INVALID_HANDLE_VALUE (null is never a valid file either).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) noexcept {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    void Close(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
struct LocalMemoryTraits : NullInvalid<HLOCAL> {
    void Close(HLOCAL handle) const noexcept { ::LocalFree(handle); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueAccel = UniqueHandle<AccelTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueWindowDc = UniqueHandle<WindowDcTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueDc = UniqueMemoryDc;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

// GetDC with the matching ReleaseDC.
inline UniqueWindowDc GetWindowDc(HWND window) {
    return UniqueWindowDc(::GetDC(window), WindowDcTraits{{}, window});
}

// Selects an object into a DC for the scope and puts back what was selected before.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC/RestoreDC for the scope (clip region, colours, modes).
class ScopedSaveDc {
public:
    explicit ScopedSaveDc(HDC dc) noexcept : dc_(dc), state_(::SaveDC(dc)) {}
    ~ScopedSaveDc() {
        if (state_ != 0) {
            ::RestoreDC(dc_, state_);
        }
    }
    ScopedSaveDc(const ScopedSaveDc&) = delete;
    ScopedSaveDc& operator=(const ScopedSaveDc&) = delete;

private:
    HDC dc_;
    int state_;
};

} // namespace quelmo::win32
