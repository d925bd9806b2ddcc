#include "platform/Time.h"

#include <windows.h>

namespace quelmo::platform {
namespace {

class Win32Time final : public Time {
public:
    std::uint32_t TickCount() override { return ::GetTickCount(); }
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
    std::int64_t PerformanceCounter() override {
        LARGE_INTEGER value{};
        ::QueryPerformanceCounter(&value);
        return value.QuadPart;
    }
    std::int64_t PerformanceFrequency() override {
        LARGE_INTEGER value{};
        ::QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }
    DateTime LocalNow() override {
        SYSTEMTIME st{};
        ::GetLocalTime(&st);
        return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    }
};

} // namespace

template <>
Time& Seam<Time>::Default() {
    static Win32Time instance;
    return instance;
}

} // namespace quelmo::platform
