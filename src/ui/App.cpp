#include "ui/App.h"

#include "ui/AboutForm.h"
#include "ui/InfoForm.h"
#include "ui/MainForm.h"
#include "ui/SettingsForm.h"
#include "ui/StatisticsForm.h"

namespace quelmo::gui {

App::App(MainFormOptions mainOptions) : mainOptions_(mainOptions) {}

App::~App() = default;

bool App::Create() {
    main_ = std::make_unique<TForm_Main>(mainOptions_);
    main_->SetActions({[this] { ShowAbout(); }, [this] { ShowSettings(); }, [this] { ShowStatistics(); },
                       [this] { ShowCpuInformation(); }});
    if (!main_->Create()) {
        return false;
    }
    const HWND owner = main_->Hwnd();
    settings_ = std::make_unique<TForm_Settings>(*main_);
    statistics_ = std::make_unique<TForm_Statistics>();
    about_ = std::make_unique<TForm_About>();
    StatisticsLinks statistics;
    statistics.clearGraph = [this] { main_->ClearGraph(); };
    return settings_->Create(owner) && statistics_->Create(owner, std::move(statistics)) &&
           about_->Create(owner);
}

int App::Run() {
    main_->ShowAtStartup();
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool App::PreTranslateMessage(MSG& message) {
    if (main_->PreTranslateMessage(message)) {
        return true;
    }
    for (Form* form : {static_cast<Form*>(settings_.get()), static_cast<Form*>(statistics_.get()),
                       static_cast<Form*>(about_.get()), static_cast<Form*>(info_.get())}) {
        // IsDialogMessage takes only messages for that window or its children.
        if (form != nullptr && form->Visible() &&
            (form->PreTranslateDialogKey(message) || ::IsDialogMessageW(form->Hwnd(), &message) != FALSE)) {
            return true;
        }
    }
    return false;
}

void App::ShowSettings() {
    settings_->Show();
}

void App::ShowStatistics() {
    statistics_->Show();
}

void App::ShowAbout() {
    about_->Show();
}

void App::ShowCpuInformation() {
    if (!info_) {
        auto info = std::make_unique<TForm_Info>();
        if (!info->Create(main_->Hwnd())) {
            return;
        }
        info_ = std::move(info);
    }
    info_->Show();
}

} // namespace quelmo::gui
