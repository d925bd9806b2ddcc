// A scripted process for tests: its path and parameters are set by the test, named mutexes live
// in a set (a name in `existingMutexes` is held by "another process"), message boxes are
// recorded and answered from a queue, and the shell records what it was asked to open and answers
// `shellResult`.
#pragma once

#include "platform/Process.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace quelmo::fakes {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageKind;

struct ShownMessage {
    std::wstring caption;
    std::wstring text;
    MessageKind kind;
    MessageButtons buttons;
};

class FakeProcess final : public platform::Process {
public:
    std::wstring executablePath = L"C:\\Program Files\\Quelmo\\Quelmo.exe";
    std::vector<std::wstring> parameters;
    std::set<std::wstring> existingMutexes;
    bool refuseOpenMutex = false; // opening fails even when the mutex exists
    bool failCreateMutex = false; // creating fails
    std::vector<std::wstring> createdMutexes;
    // Answers for the next message boxes, in order; when empty a box is closed (Cancel, or Ok
    // when Ok is its only button).
    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    int shellResult = 42; // above 32: opened
    std::vector<std::wstring> opened;

    std::wstring ExecutablePath() override { return executablePath; }
    std::vector<std::wstring> CommandLineParameters() override { return parameters; }
    bool OpenNamedMutex(std::wstring_view name) override {
        return !refuseOpenMutex && existingMutexes.contains(std::wstring(name));
    }
    bool CreateNamedMutex(std::wstring_view name) override {
        if (failCreateMutex || !existingMutexes.insert(std::wstring(name)).second) {
            return false;
        }
        createdMutexes.emplace_back(name);
        return true;
    }
    MessageAnswer ShowMessage(std::wstring_view caption, std::wstring_view text, MessageKind kind,
                              MessageButtons buttons) override {
        shown.push_back({std::wstring(caption), std::wstring(text), kind, buttons});
        if (answers.empty()) {
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    int OpenWithShell(std::wstring_view target) override {
        opened.emplace_back(target);
        return shellResult;
    }
    std::wstring ErrorText(int code) override { return L"Reason " + std::to_wstring(code); }
};

} // namespace quelmo::fakes
