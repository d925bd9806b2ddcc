#include "ui/AboutForm.h"

#include "app/MyModules.h"
#include "res/Resource.h"
#include "ui/AboutFormTexts.h"
#include "ui/AboutModel.h"
#include "ui/ControlIds.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace quelmo::gui {

namespace {

namespace t = texts::about;

// Design units (pixels at 96 DPI) of the 337 x 200 client area.
constexpr int kDesignWidth = 337;
constexpr int kDesignHeight = 200;
constexpr int kHeaderHeight = 97;
constexpr int kIconLeft = 8;
constexpr int kIconSize = 81;
constexpr int kTextLeft = 104; // the header's texts and the rows' values
constexpr int kTitleTop = 9;
constexpr int kTitleHeight = 40;
constexpr int kTitleFontHeight = 32; // character height, without internal leading
constexpr int kVersionTop = 52;
constexpr int kDateTop = 69;
constexpr int kLineHeight = 15;
constexpr int kRowsTop = kHeaderHeight + 12;
constexpr int kRowPitch = 20;
constexpr int kCaptionLeft = 16;
constexpr int kRightMargin = 12;

constexpr wchar_t kHeaderClass[] = L"QuelmoAboutHeader";
constexpr const wchar_t* kCaptions[] = {t::kAuthorCaption, t::kEmailCaption, t::kWebsiteCaption,
                                        t::kTranslationCaption};

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent, int id) {
    return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
}

// Memory handed to the clipboard: freed here unless the clipboard took it.
struct GlobalMemoryTraits : win32::NullInvalid<HGLOBAL> {
    void Close(HGLOBAL handle) const noexcept { ::GlobalFree(handle); }
};
using UniqueGlobalMemory = win32::UniqueHandle<GlobalMemoryTraits>;

// The clipboard, open for the scope: closed again whatever fails in between.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        // Another program may hold it for a moment.
        for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_) {
                ::Sleep(10);
            }
        }
    }
    ~ClipboardSession() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

// `text` as the clipboard's only content (Unicode text). False when a step failed.
bool CopyToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) {
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.Get());
    const ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen() || ::EmptyClipboard() == FALSE ||
        ::SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
        return false;
    }
    memory.Release(); // the clipboard owns it now
    return true;
}

} // namespace

// The white header: paints its background and the line at its lower edge, gives its labels the
// same white, and reports mouse-ups to the form (its labels let the mouse through).
class TForm_About::HeaderPanel final : public WindowBase {
public:
    explicit HeaderPanel(TForm_About& form) : form_(form) {}
    ~HeaderPanel() override { DestroyHwnd(); }

    bool Create(HWND parent) {
        WindowClassSetup windowClass;
        windowClass.name = kHeaderClass;
        WindowCreateSetup create;
        create.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        create.parent = parent;
        create.idOrMenu = static_cast<UINT_PTR>(ids::kPanel_Header);
        return CreateHwnd(windowClass, create);
    }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND:
            return 1; // the paint covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = ::BeginPaint(Hwnd(), &ps);
            RECT client{};
            ::GetClientRect(Hwnd(), &client);
            // The window colour: white, unless the user's colour scheme says otherwise.
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
            ::DrawEdge(dc, &client, EDGE_ETCHED, BF_BOTTOM);
            ::EndPaint(Hwnd(), &ps);
            return 0;
        }
        case WM_SIZE:
            ::InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        case WM_LBUTTONUP:
        case WM_MBUTTONUP:
        case WM_RBUTTONUP:
            form_.Panel_HeaderMouseUp(message);
            return 0;
        default:
            return WindowBase::OnMessage(message, wParam, lParam);
        }
    }

    TForm_About& form_;
};

TForm_About::TForm_About() : header_(std::make_unique<HeaderPanel>(*this)) {}

TForm_About::~TForm_About() {
    // The window goes before the fonts and the icon its controls use.
    DestroyHwnd();
}

bool TForm_About::Create(HWND owner) {
    FormSetup setup;
    setup.className = ids::kFormAbout;
    setup.caption = t::kCaption;
    setup.exStyle |= WS_EX_TOPMOST;
    setup.clientWidth = kDesignWidth;
    setup.clientHeight = kDesignHeight;
    setup.owner = owner;
    return Form::Create(setup);
}

bool TForm_About::CreateControls() {
    if (!header_->Create(Hwnd())) {
        return false;
    }
    const HWND header = header_->Hwnd();
    image_ = CreateChild(WC_STATICW, L"", SS_ICON, header, ids::kImage_Icon);
    title_ = CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, header, ids::kLabel_Title);
    version_ = CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, header, ids::kLabel_AboutVersion);
    date_ = CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, header, ids::kLabel_Date);
    // Each caption just before its value: a caption's mnemonic moves to the control after it.
    const HWND self = Hwnd();
    captions_[0] = CreateChild(WC_STATICW, kCaptions[0], SS_LEFT, self, -1);
    author_ = CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, self, ids::kLabel_Author);
    captions_[1] = CreateChild(WC_STATICW, kCaptions[1], SS_LEFT, self, -1);
    const bool links = email_.Create(self, ids::kLabel_Email, t::kEmail, 0, 0);
    captions_[2] = CreateChild(WC_STATICW, kCaptions[2], SS_LEFT, self, -1);
    const bool site = links && website_.Create(self, ids::kLabel_Website, t::kWebsite, 0, 0);
    captions_[3] = CreateChild(WC_STATICW, kCaptions[3], SS_LEFT, self, -1);
    translator_ = CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, self, ids::kLabel_Translator);
    for (const HWND control : {image_, title_, version_, date_, author_, translator_, captions_[0],
                               captions_[1], captions_[2], captions_[3]}) {
        if (control == nullptr) {
            return false;
        }
    }
    if (!site) {
        return false;
    }
    CreateFonts();
    CreatePictures();
    return true;
}

// The title in Times New Roman, the row captions in the dialog font made bold. The other controls
// take the dialog font (Form does that after this).
void TForm_About::CreateFonts() {
    LOGFONTW font{};
    ::GetObjectW(DialogFont(), sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectW(&font));
    for (const HWND caption : captions_) {
        ::SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
    }
    LOGFONTW title{};
    title.lfHeight = -Scale(kTitleFontHeight);
    title.lfWeight = FW_NORMAL;
    title.lfCharSet = DEFAULT_CHARSET;
    title.lfQuality = CLEARTYPE_QUALITY;
    // Where Times New Roman is missing, another serif face.
    title.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    wcscpy_s(title.lfFaceName, L"Times New Roman");
    titleFont_.Reset(::CreateFontIndirectW(&title));
    ::SendMessageW(title_, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), TRUE);
}

// The program's icon drawn at the picture's size from the largest image that fits it.
void TForm_About::CreatePictures() {
    const int size = Scale(kIconSize);
    icon_.Reset(static_cast<HICON>(
        ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDI_QUELMO), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon_) {
        // A program without our resources (the tests): the system's application icon.
        icon_.Reset(static_cast<HICON>(
            ::CopyImage(::LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0)));
    }
    ::SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
}

// Another monitor scale: fonts, the picture and the places again.
void TForm_About::FormDpiChanged() {
    CreateFonts();
    CreatePictures();
    LayoutControls();
}

void TForm_About::LayoutControls() {
    const auto place = [this](HWND control, int left, int top, int width, int height) {
        ::SetWindowPos(control, nullptr, Scale(left), Scale(top), Scale(width), Scale(height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const int textWidth = kDesignWidth - kTextLeft - kRightMargin;
    place(header_->Hwnd(), 0, 0, kDesignWidth, kHeaderHeight);
    place(image_, kIconLeft, (kHeaderHeight - kIconSize) / 2, kIconSize, kIconSize);
    place(title_, kTextLeft, kTitleTop, textWidth, kTitleHeight);
    place(version_, kTextLeft, kVersionTop, textWidth, kLineHeight);
    place(date_, kTextLeft, kDateTop, textWidth, kLineHeight);
    for (int row = 0; row < 4; ++row) {
        const int top = kRowsTop + row * kRowPitch;
        place(captions_[row], kCaptionLeft, top, kTextLeft - kCaptionLeft, kLineHeight);
    }
    place(author_, kTextLeft, kRowsTop, textWidth, kLineHeight);
    place(translator_, kTextLeft, kRowsTop + 3 * kRowPitch, textWidth, kLineHeight);
    // A link keeps a pixel around its text for the focus rectangle: its text lines up with the rest.
    email_.MoveTo(Scale(kTextLeft) - 1, Scale(kRowsTop + kRowPitch) - 1);
    website_.MoveTo(Scale(kTextLeft) - 1, Scale(kRowsTop + 2 * kRowPitch) - 1);
}

// The texts, once. The links have their fonts now, so their sizes are right.
void TForm_About::FormCreate() {
    ::SetWindowTextW(title_, std::wstring(t::kTitle).c_str());
    ::SetWindowTextW(version_, ui::VersionLabel().c_str());
    ::SetWindowTextW(date_, ui::DateLabel().c_str());
    ::SetWindowTextW(author_, std::wstring(t::kAuthor).c_str());
    ::SetWindowTextW(translator_, ui::TranslatorText(t::kTranslatorDesign).c_str());
    LayoutControls();
}

// Once on screen, no control keeps the focus, so none shows a focus rectangle.
void TForm_About::AfterShow() {
    ::SetFocus(Hwnd());
}

void TForm_About::Panel_HeaderMouseUp(UINT button) {
    if (button == WM_RBUTTONUP) {
        CopyToClipboard(Hwnd(), ui::IdentificationText());
    }
}

void TForm_About::Label_EmailClick() {
    OpenDocument(ui::MailtoLink(t::kEmail));
}

void TForm_About::Label_WebsiteClick() {
    OpenDocument(t::kWebsiteUrl);
}

void TForm_About::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == ids::kLabel_Email) {
        Label_EmailClick();
        return;
    }
    if (code == BN_CLICKED && id == ids::kLabel_Website) {
        Label_WebsiteClick();
        return;
    }
    if (id == IDOK) {
        return; // Enter with no link focused does nothing
    }
    Form::OnCommand(id, code, control);
}

} // namespace quelmo::gui
