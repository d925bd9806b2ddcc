// The About window: program name, version, build date and credits. Non-modal, created hidden at
// start-up, on top of other windows.
//
// A white header (the program icon at 81 x 81, the title in Times New Roman, version and date)
// above four rows of bold caption and value. The e-mail address and the web site are links
// (widgets/LinkLabel) that open through OpenDocument; a right-click on the header copies the
// build's identification to the clipboard. After each show no control has the focus.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/Form.h"
#include "widgets/LinkLabel.h"

#include <memory>

namespace quelmo::gui {

class TForm_About final : public Form {
public:
    TForm_About();
    ~TForm_About() override;

    // Creates the window hidden, above `owner` (the monitor window).
    bool Create(HWND owner);

    // The header's mouse-up: a right button copies the identification text (tests call it too).
    void Panel_HeaderMouseUp(UINT button);
    void Label_EmailClick();
    void Label_WebsiteClick();

private:
    class HeaderPanel;

    void OnCommand(int id, int code, HWND control) override;
    bool CreateControls() override;
    void FormDpiChanged() override;
    // Fonts and the icon, then every control's place; each can run again (another display scale).
    void CreateFonts();
    void CreatePictures();
    void LayoutControls();
    void FormCreate() override;
    void AfterShow() override;

    std::unique_ptr<HeaderPanel> header_;
    LinkLabel email_;
    LinkLabel website_;
    win32::UniqueFont titleFont_;
    win32::UniqueFont boldFont_;
    win32::UniqueIcon icon_;
    HWND image_ = nullptr;
    HWND title_ = nullptr;
    HWND version_ = nullptr;
    HWND date_ = nullptr;
    HWND author_ = nullptr;
    HWND translator_ = nullptr;
    HWND captions_[4] = {};
};

} // namespace quelmo::gui
