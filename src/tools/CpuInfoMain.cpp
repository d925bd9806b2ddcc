// quelmo-cpuinfo: the CPU information window's pages on the console. The same portable code
// runs natively and as a Windows console program; only the entry point, the locale's number
// separators and the console output differ.
#include "cpuid/CpuValues.h"
#include "tools/CpuInfoTool.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/win32/LocaleText.h"

#include <windows.h>

namespace {

std::string Utf8Of(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size - 1));
    return utf8;
}

void Write(FILE* stream, DWORD handleId, const std::string& latin1) {
    if (latin1.empty()) {
        return;
    }
    const HANDLE handle = ::GetStdHandle(handleId);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode)) {
        // A console shows the Latin-1 texts through UTF-16.
        std::wstring wide(latin1.begin(), latin1.end());
        for (auto& c : wide) {
            c = static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = quelmo::tools::Latin1ToUtf8(latin1);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    quelmo::SetCpuNumberSeparators({quelmo::win32::LocaleLatin1(LOCALE_SDECIMAL, "."),
                                    quelmo::win32::LocaleLatin1(LOCALE_STHOUSAND, " ")});
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(Utf8Of(argv[i]));
    }
    std::string out;
    std::string err;
    const int code = quelmo::tools::RunCpuInfo(arguments, out, err);
    Write(stdout, STD_OUTPUT_HANDLE, out);
    Write(stderr, STD_ERROR_HANDLE, err);
    return code;
}

#else

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int code = quelmo::tools::RunCpuInfo(arguments, out, err);
    const std::string utf8Out = quelmo::tools::Latin1ToUtf8(out);
    const std::string utf8Err = quelmo::tools::Latin1ToUtf8(err);
    std::fwrite(utf8Out.data(), 1, utf8Out.size(), stdout);
    std::fwrite(utf8Err.data(), 1, utf8Err.size(), stderr);
    return code;
}

#endif
