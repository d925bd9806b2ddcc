#include "ui/MyTrayIcon.h"

#include "ui/MainFormTexts.h"
#include "ui/TrayPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <optional>

namespace quelmo::gui {

namespace {

constexpr int kImageSize = 16;
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kFrameGrey = RGB(128, 128, 128);

// One 16 x 16 picture drawn with GDI and added to an image list.
class ImageCanvas {
public:
    ImageCanvas() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kImageSize;
        info.bmiHeader.biHeight = -kImageSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc_.Reset(::CreateCompatibleDC(nullptr));
        bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    bool IsValid() const { return dc_ && bitmap_; }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    void Fill(const RECT& area, COLORREF color) const {
        ::SetDCBrushColor(dc_.Get(), color);
        ::FillRect(dc_.Get(), &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }

private:
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
TrayImageList CreateImages(int count, Draw draw) {
    win32::UniqueImageList list(::ImageList_Create(kImageSize, kImageSize, ILC_COLOR24, count, 0));
    ImageCanvas canvas;
    if (!list || !canvas.IsValid()) {
        return {};
    }
    for (int index = 0; index < count; ++index) {
        {
            const win32::ScopedSelectObject select(canvas.Dc(), canvas.Bitmap());
            canvas.Fill(RECT{0, 0, kImageSize, kImageSize}, kLightGrey);
            draw(canvas, index);
        }
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

TrayImageList CreateTrayGradientImages() {
    return CreateImages(ui::kTrayGradientImages, [](const ImageCanvas& canvas, int index) {
        // A square frame with 12 rows inside; the last image is full.
        const RECT frame{1, 1, 15, 15};
        ::SetDCBrushColor(canvas.Dc(), kFrameGrey);
        ::FrameRect(canvas.Dc(), &frame, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        constexpr int kRows = 12;
        const int filled =
            (index * kRows + (ui::kTrayGradientImages - 1) / 2) / (ui::kTrayGradientImages - 1);
        for (int row = 0; row < filled; ++row) {
            const int y = frame.bottom - 2 - row;
            canvas.Fill(RECT{2, y, 14, y + 1}, GradientAt(static_cast<double>(row) / (kRows - 1)));
        }
    });
}

TrayImageList CreateTrayNumericImages() {
    LOGFONTW logFont{};
    logFont.lfHeight = -10;
    logFont.lfWidth = 4; // "100" has to fit in 16 pixels
    logFont.lfWeight = FW_NORMAL;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy_s(logFont.lfFaceName, L"Arial");
    const win32::UniqueFont font(::CreateFontIndirectW(&logFont));
    return CreateImages(ui::kTrayNumericImages, [&font](const ImageCanvas& canvas, int index) {
        wchar_t text[8];
        const int length = std::swprintf(text, 8, L"%d", index);
        const win32::ScopedSelectObject select(canvas.Dc(), font.Get());
        ::SetBkMode(canvas.Dc(), TRANSPARENT);
        ::SetTextColor(canvas.Dc(), RGB(0, 0, 0));
        RECT area{0, 0, kImageSize, kImageSize};
        ::DrawTextW(canvas.Dc(), text, length, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
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

void TTrayIcon::AddIcon() {
    if (!added_) {
        ::Shell_NotifyIconW(NIM_ADD, &iconData_);
        added_ = true;
    }
}

void TTrayIcon::RemoveIcon() {
    if (added_) {
        ::Shell_NotifyIconW(NIM_DELETE, &iconData_);
        added_ = false;
    }
}

void TTrayIcon::RefreshIcon() {
    if (::Shell_NotifyIconW(NIM_MODIFY, &iconData_) == FALSE) {
        ::Shell_NotifyIconW(NIM_DELETE, &iconData_);
        ::Shell_NotifyIconW(NIM_ADD, &iconData_);
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
