// The running process as the start-up shell sees it: its executable, its command line, named
// mutexes, the message boxes it asks the user with (so that tests can answer them) and the shell
// that opens documents.
#pragma once

#include "platform/Seam.h"

#include <string>
#include <string_view>
#include <vector>

namespace quelmo::platform {

// The icon a message box shows.
enum class MessageKind { Information, Confirmation, Warning, Error };

enum class MessageButtons { Ok, YesNo, YesNoCancel };

// The button that closed the box; closing it with the title bar or Escape answers Cancel (or Ok for
// a box whose only button is Ok).
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Process {
public:
    virtual ~Process() = default;
    // The full path by which the process was started, as the system reports the module file name.
    virtual std::wstring ExecutablePath() = 0;
    // The command-line parameters after the program name, split as the C runtime splits them.
    virtual std::vector<std::wstring> CommandLineParameters() = 0;
    // Opens an existing named mutex with all access rights (not inheritable). True when it exists and
    // could be opened; the handle then stays open until the process ends.
    virtual bool OpenNamedMutex(std::wstring_view name) = 0;
    // Creates the named mutex (default security, not inheritable, not owned). True when this call
    // created it; false when that failed or another process created it first. A handle obtained
    // stays open until the process ends.
    virtual bool CreateNamedMutex(std::wstring_view name) = 0;
    // Shows a modal message box and waits for the answer. In `text`, a lone "\r" is a line break.
    virtual MessageAnswer ShowMessage(std::wstring_view caption, std::wstring_view text, MessageKind kind,
                                      MessageButtons buttons) = 0;
    // Asks the shell to open a file or web address with the verb "open" (no parameters, no working
    // folder, normal window). Answers the shell's code: above 32 when it succeeded.
    virtual int OpenWithShell(std::wstring_view target) = 0;
    // The system's message for an error code, without a trailing line break.
    virtual std::wstring ErrorText(int code) = 0;
};

// Defined by the platform's implementation file.
template <>
Process& Seam<Process>::Default();

inline Process& TheProcess() {
    return Seam<Process>::Get();
}

} // namespace quelmo::platform
