// The CPU information window on recorded processors: the tree carries the model's codes, each
// selection shows its page, the processor page's clock arrives later without holding the window,
// the set combo refills the feature list, the splitter shares the width, Close only hides.
#include "cpuid/RecordedClock.h"
#include "platform/Time.h"
#include "ui/ControlIds.h"
#include "ui/InfoForm.h"
#include "ui/InfoPages.h"
#include "unit/CpuidTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace quelmo::gui {
namespace {

using ui::PropertyRow;

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK FindId(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (::GetDlgCtrlID(child) == search.id) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

// Any control of the window, on whichever page it sits.
HWND Control(const Form& form, int id) {
    Search search{id, nullptr};
    ::EnumChildWindows(form.Hwnd(), &FindId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text != L'\0'; ++text) {
        narrow.push_back(static_cast<char>(*text)); // the window's texts are Latin-1
    }
    return narrow;
}

std::string TextOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return Narrow(text);
}

std::string Cell(HWND list, int item, int column) {
    wchar_t text[256] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return Narrow(text);
}

int RowCount(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<PropertyRow> PropertyRows(const Form& form) {
    const HWND list = Control(form, ids::klvInformation);
    std::vector<PropertyRow> rows;
    for (int item = 0; item < RowCount(list); ++item) {
        rows.push_back({Cell(list, item, 0), Cell(list, item, 1)});
    }
    return rows;
}

// Tree items in order with their depth, caption and code.
struct Item {
    int depth;
    std::string caption;
    int code;
    bool expanded;
    friend bool operator==(const Item&, const Item&) = default;
};

void ReadTree(HWND tree, HTREEITEM item, int depth, std::vector<Item>& out, std::vector<HTREEITEM>* handles) {
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[128] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = 128;
        data.stateMask = TVIS_EXPANDED;
        TreeView_GetItem(tree, &data);
        const HTREEITEM child = TreeView_GetChild(tree, item);
        out.push_back({depth, Narrow(text), static_cast<int>(data.lParam),
                       child == nullptr || (data.state & TVIS_EXPANDED) != 0});
        if (handles != nullptr) {
            handles->push_back(item);
        }
        ReadTree(tree, child, depth + 1, out, handles);
    }
}

void Flatten(const std::vector<ui::InfoNode>& nodes, int depth, std::vector<Item>& out) {
    for (const ui::InfoNode& node : nodes) {
        out.push_back({depth, node.caption, node.code, true});
        Flatten(node.children, depth + 1, out);
    }
}

// Runs the window's messages until `done` holds (a guard against a hang, not a timing).
template <class Done>
bool PumpUntil(Done done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > 20000) {
            return false;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::DispatchMessageW(&message);
        }
        ::Sleep(1);
    }
    return true;
}

// Two recorded processors (a Pentium III Katmai and an Athlon XP Barton) whose clock runs at
// 450 MHz, and the window on them.
class InfoFormTest : public ::testing::Test {
protected:
    InfoFormTest() : recorded_("intel-pentium-iii-katmai-psn.txt", 2) {
        recorded_.Cpu().SetProcessorDump(1, testing::RecordedDump("amd-athlon-xp-barton.txt"));
        recorded_.Cpu().SetClock(&clock_);
    }
    ~InfoFormTest() override { SetCpuNumberSeparators({}); }
    void SetUp() override { ASSERT_TRUE(form_.Create(nullptr)); }

    HWND Tree() const { return Control(form_, ids::ktvNavigation); }
    HWND Features() const { return Control(form_, ids::klvStandard); }
    // Selects the tree item of `code`, as a click does.
    void Select(int code) {
        std::vector<Item> items;
        std::vector<HTREEITEM> handles;
        ReadTree(Tree(), TreeView_GetRoot(Tree()), 0, items, &handles);
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].code == code) {
                TreeView_SelectItem(Tree(), handles[i]);
                return;
            }
        }
        ADD_FAILURE() << "no item with code " << code;
    }

    RecordedClock clock_{450000};
    platform::ScopedSeam<platform::Time> time_{clock_};
    testing::RecordedProcessor recorded_;
    TForm_Info form_;
};

TEST_F(InfoFormTest, CreationFillsTheTreeTheListsAndTheLabelsFromTheModel) {
    std::vector<Item> items;
    ReadTree(Tree(), TreeView_GetRoot(Tree()), 0, items, nullptr);
    std::vector<Item> expected;
    Flatten(ui::BuildInfoTree(), 0, expected);
    EXPECT_EQ(items, expected); // fully expanded, every item with its code
    ASSERT_EQ(items.size(), 2U + 2U * 21U);
    EXPECT_EQ(TreeView_GetSelection(Tree()), TreeView_GetRoot(Tree()));
    EXPECT_EQ(PropertyRows(form_), ui::BuildPropertyRows(ui::kCodeProcessorCount));

    const ui::FeatureList features = ui::BuildFeatureList(1);
    EXPECT_EQ(TextOf(Control(form_, ids::kLabel_AvailableFeatures)), features.label);
    ASSERT_EQ(RowCount(Features()), static_cast<int>(features.rows.size()));
    for (int row = 0; row < RowCount(Features()); ++row) {
        const ui::FeatureRow& feature = features.rows[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(Features(), row, 1), std::to_string(feature.bit));
        EXPECT_EQ(Cell(Features(), row, 2), feature.mnemonic);
        EXPECT_EQ(Cell(Features(), row, 3), feature.description);
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(Features(), &item);
        EXPECT_EQ(item.iImage, feature.available ? 1 : 0) << feature.mnemonic;
    }
    const auto images = ListView_GetImageList(Features(), LVSIL_SMALL);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, form_.Scale(16));

    EXPECT_EQ(TextOf(Control(form_, ids::kLabel_InfoVersion)), "Version: 4.3.01");
    EXPECT_EQ(TextOf(Control(form_, ids::kcbActiveSet)), "Standard Features");
    EXPECT_EQ(form_.ActivePage(), 0);
    EXPECT_NE(::GetWindowLongW(Control(form_, ids::kTS_Features), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(::GetWindowLongW(Control(form_, ids::kTS_Explorer), GWL_STYLE) & WS_VISIBLE, 0);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Tree(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_TRUE(std::wstring(font.lfFaceName) == L"Tahoma" || std::wstring(font.lfFaceName) == L"Arial");
}

TEST_F(InfoFormTest, EachSelectionShowsThePageOfItsCode) {
    for (const int code : {130, 100, 121, 141, 144, 153, 160, 170, 90}) {
        Select(code);
        EXPECT_EQ(PropertyRows(form_), ui::BuildPropertyRows(code)) << code;
        EXPECT_FALSE(form_.MeasuringClock()) << code;
    }
    EXPECT_EQ(PropertyRows(form_)[0], (PropertyRow{"Available processors", "2"}));
    Select(130); // processor 1 is the Barton
    EXPECT_EQ(PropertyRows(form_)[0], (PropertyRow{"Generic", "x86 Family 6 Model 10 Stepping 0"}));
}

TEST_F(InfoFormTest, TheProcessorPageShowsItsRowsAtOnceAndTheClockWhenMeasured) {
    Select(10);
    // Nothing has been dispatched yet: the measurement's answer cannot have arrived.
    const std::vector<PropertyRow> planned = ui::PlanPropertyPage(10).rows;
    EXPECT_EQ(PropertyRows(form_), planned);
    EXPECT_EQ(PropertyRows(form_)[1], (PropertyRow{"Speed", ""}));
    EXPECT_TRUE(form_.MeasuringClock());
    ASSERT_TRUE(PumpUntil([&] { return !form_.MeasuringClock(); }));
    EXPECT_EQ(PropertyRows(form_), ui::BuildPropertyRows(10));
    EXPECT_EQ(PropertyRows(form_)[1], (PropertyRow{"Speed", "450 Mhz"}));

    // An answer for a page no longer shown changes nothing.
    Select(110);
    Select(130);
    ASSERT_TRUE(PumpUntil([&] { return form_.ClockIdle(); }));
    EXPECT_EQ(PropertyRows(form_), ui::BuildPropertyRows(130));
}

TEST_F(InfoFormTest, TheSetComboRefillsTheFeatureList) {
    const HWND combo = Control(form_, ids::kcbActiveSet);
    const HWND label = Control(form_, ids::kLabel_AvailableFeatures);
    const auto choose = [&](int index) {
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(ids::kcbActiveSet, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    };
    choose(2); // the Katmai has no extended set
    EXPECT_EQ(TextOf(label), "Feature Set Unavailable.");
    EXPECT_EQ(RowCount(Features()), 0);
    choose(1);
    EXPECT_EQ(TextOf(label), "Available Features (3):");
    EXPECT_EQ(RowCount(Features()), 3);
    EXPECT_EQ(Cell(Features(), 0, 2), ui::BuildFeatureList(2).rows[0].mnemonic);
}

TEST_F(InfoFormTest, TheSplitterSharesTheWidthWithinLimits) {
    form_.ActivatePage(1);
    const HWND splitter = Control(form_, ids::kSplitter1);
    const HWND list = Control(form_, ids::klvInformation);
    const auto rectOf = [&](HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT page = rectOf(Control(form_, ids::kTS_Explorer));
    const auto drag = [&](int dx) {
        ::SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
        ::SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + dx, 10));
        ::SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(2, 10)); // the bar has moved with the pointer
    };
    EXPECT_EQ(rectOf(Tree()).right, form_.Scale(230));
    drag(form_.Scale(40));
    EXPECT_NEAR(form_.TreeWidth(), 270, 1);
    EXPECT_EQ(rectOf(Tree()).right, rectOf(splitter).left);
    EXPECT_EQ(rectOf(splitter).right, rectOf(list).left);
    drag(-2000);
    EXPECT_EQ(form_.TreeWidth(), 80);
    drag(4000);
    EXPECT_NEAR(rectOf(list).right - rectOf(list).left, form_.Scale(120), 2);
    EXPECT_EQ(rectOf(list).right, page.right - page.left);
}

TEST_F(InfoFormTest, CloseHidesAndShowingAgainKeepsTheTree) {
    form_.Show();
    Select(153);
    const HTREEITEM selected = TreeView_GetSelection(Tree());
    ::SendMessageW(Control(form_, ids::kButton_Close), BM_CLICK, 0, 0);
    EXPECT_FALSE(form_.Visible());
    form_.Show();
    EXPECT_TRUE(form_.Visible());
    EXPECT_EQ(TreeView_GetSelection(Tree()), selected);
    EXPECT_EQ(PropertyRows(form_), ui::BuildPropertyRows(153));
}

} // namespace
} // namespace quelmo::gui
