#include "platform/win32/Dib.h"
#include "ui/MyTrayIcon.h"

#include "ui/MainFormTexts.h"
#include "ui/Scaling.h"
#include "ui/TrayPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>

namespace quelmo::gui {

namespace {

constexpr int kDesignSize = ui::kTrayImageSize; // the pictures' own grid
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kFrameGrey = RGB(128, 128, 128);

// A position on the pictures' 16-pixel grid at `size` pixels, to the nearest pixel.
int OnGrid(int design, int size) {
    return ui::MulDivRound(design, size, kDesignSize);
}

// One square picture drawn with GDI and added to an image list. 32 bits with an opaque alpha
// channel: Wine's shell sends a tray icon's mask with rows that are not padded as Windows pads
// them, so at sizes that are no multiple of 16 (20, 24 pixels) the icon would take the end of its
// mask from its colours and show streaks; with alpha the mask is not used.
class ImageCanvas {
public:
    explicit ImageCanvas(int size) : size_(size) {
        std::uint32_t* bits = nullptr;
        dc_.Reset(::CreateCompatibleDC(nullptr));
        bitmap_ = win32::CreateTopDownDib(size, size, &bits);
        bits_ = bits;
    }
    // GDI leaves the alpha byte at 0: every pixel is made opaque.
    void MakeOpaque() const {
        ::GdiFlush();
        for (int i = 0; i < size_ * size_; ++i) {
            bits_[i] |= 0xFF000000U;
        }
    }
    bool IsValid() const { return dc_ && bitmap_ && bits_ != nullptr; }
    int Size() const { return size_; }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    void Fill(const RECT& area, COLORREF color) const {
        ::SetDCBrushColor(dc_.Get(), color);
        ::FillRect(dc_.Get(), &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }

private:
    int size_;
    std::uint32_t* bits_ = nullptr;
    win32::UniqueMemoryDc dc_;
    win32::UniqueBitmap bitmap_;
};

COLORREF Blend(COLORREF from, COLORREF to, double t) {
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// Green at t = 0 (bottom), yellow, orange, red at t = 1 (top).
COLORREF GradientAt(double t) {
    constexpr COLORREF kStops[] = {RGB(0, 192, 0), RGB(255, 255, 0), RGB(255, 128, 0), RGB(255, 0, 0)};
    const double scaled = std::clamp(t, 0.0, 1.0) * 3.0;
    const int stop = std::min(static_cast<int>(scaled), 2);
    return Blend(kStops[stop], kStops[stop + 1], scaled - stop);
}

template <class Draw>
TrayImageList CreateImages(int count, int size, Draw draw) {
    win32::UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, count, 0));
    ImageCanvas canvas(size);
    if (!list || !canvas.IsValid()) {
        return {};
    }
    for (int index = 0; index < count; ++index) {
        {
            const win32::ScopedSelectObject select(canvas.Dc(), canvas.Bitmap());
            canvas.Fill(RECT{0, 0, size, size}, kLightGrey);
            draw(canvas, index);
        }
        canvas.MakeOpaque();
        // The bitmap must not be selected while the list copies it.
        ::ImageList_Add(list.Get(), canvas.Bitmap(), nullptr);
    }
    return TrayImageList(std::move(list));
}

} // namespace

TrayImageList::TrayImageList(win32::UniqueImageList list) : list_(std::move(list)) {
    icons_.resize(static_cast<std::size_t>(std::max(::ImageList_GetImageCount(list_.Get()), 0)));
}

HICON TrayImageList::Icon(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    auto& icon = icons_[static_cast<std::size_t>(index)];
    if (!icon) {
        icon.Reset(::ImageList_GetIcon(list_.Get(), index, ILD_NORMAL));
    }
    return icon.Get();
}

TrayImageList CreateTrayGradientImages(int size) {
    return CreateImages(ui::kTrayGradientImages, size, [](const ImageCanvas& canvas, int index) {
        // A one-pixel grey frame round the rows inside; image i fills i fourteenths of them (at 16
        // pixels one row each), so the last image is full.
        const int size = canvas.Size();
        const RECT frame{0, 0, size, size};
        ::SetDCBrushColor(canvas.Dc(), kFrameGrey);
        ::FrameRect(canvas.Dc(), &frame, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        constexpr int kLevels = ui::kTrayGradientImages - 1;
        const int rows = size - 2;
        const int filled = ui::MulDivRound(index, rows, kLevels);
        for (int row = 0; row < filled; ++row) {
            const int y = frame.bottom - 2 - row;
            canvas.Fill(RECT{1, y, size - 1, y + 1}, GradientAt(static_cast<double>(row) / (rows - 1)));
        }
    });
}

TrayImageList CreateTrayNumericImages(int size) {
    return CreateImages(ui::kTrayNumericImages, size, [](const ImageCanvas& canvas, int index) {
        // Each pixel of the font becomes a block of whole pixels: the edges of neighbouring blocks
        // meet, so the digits stay sharp at any size.
        const ui::TrayMask mask = ui::TrayNumberMask(index);
        const int size = canvas.Size();
        for (int y = 0; y < kDesignSize; ++y) {
            for (int x = 0; x < kDesignSize; ++x) {
                if ((mask[static_cast<std::size_t>(y)] >> x & 1) != 0) {
                    canvas.Fill(
                        RECT{OnGrid(x, size), OnGrid(y, size), OnGrid(x + 1, size), OnGrid(y + 1, size)},
                        RGB(0, 0, 0));
                }
            }
        }
    });
}

TTrayIcon::~TTrayIcon() {
    RemoveIcon();
}

void TTrayIcon::Initialize(HWND window, UINT callbackMessage, HICON appIcon) {
    if (initialized_) {
        return;
    }
    iconData_ = {};
    // The first form of the record: message, icon and a tip of up to 63 characters.
    iconData_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    iconData_.hWnd = window;
    iconData_.uID = 0;
    iconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    iconData_.uCallbackMessage = callbackMessage;
    iconData_.hIcon = appIcon;
    wcsncpy_s(iconData_.szTip, texts::kAppTitle, ui::kTrayTipMax);
    initialized_ = true;
}

bool TTrayIcon::Notify(DWORD message) {
    const bool accepted = notify_(message, &iconData_) != FALSE;
    shellKnows_ = accepted && message != NIM_DELETE;
    if (shellKnows_) {
        shellIcon_ = iconData_.hIcon;
        std::copy_n(iconData_.szTip, shellTip_.size(), shellTip_.begin());
    }
    return accepted;
}

void TTrayIcon::AddIcon() {
    if (!added_) {
        Notify(NIM_ADD);
        added_ = true;
    }
}

void TTrayIcon::RemoveIcon() {
    if (added_) {
        Notify(NIM_DELETE);
        added_ = false;
    }
}

void TTrayIcon::RefreshIcon() {
    if (!Notify(NIM_MODIFY)) {
        Notify(NIM_DELETE);
        Notify(NIM_ADD);
    }
}

void TTrayIcon::Update(bool tipSeen) {
    if (!added_) {
        return; // a repair would show an icon that is meant to be hidden
    }
    // A record the shell refused is sent again: RefreshIcon then repairs the icon.
    const bool pictureChanged = !shellKnows_ || iconData_.hIcon != shellIcon_;
    const bool tipChanged = std::wcsncmp(iconData_.szTip, shellTip_.data(), shellTip_.size()) != 0;
    if (pictureChanged || (tipChanged && tipSeen)) {
        RefreshIcon();
    }
}

void TTrayIcon::Restore() {
    // The broadcast may come while the shell still has the icon: then it is brought up to date.
    if (added_ && !Notify(NIM_ADD)) {
        RefreshIcon();
    }
}

void TTrayIcon::SetTip(std::string_view text) {
    // A UTF-8 text has at least as many bytes as UTF-16 units, so cutting the bytes is enough.
    // Converted straight into the record: no allocation per sample.
    const int bytes = static_cast<int>(std::min(text.size(), ui::kTrayTipMax));
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, iconData_.szTip,
                                             static_cast<int>(ui::kTrayTipMax));
    iconData_.szTip[std::clamp(length, 0, static_cast<int>(ui::kTrayTipMax))] = L'\0';
}

void TTrayIcon::SetIconFromList(TrayImageList& list, int index) {
    if (const HICON icon = list.Icon(index); icon != nullptr) {
        iconData_.hIcon = icon;
    }
}

} // namespace quelmo::gui
