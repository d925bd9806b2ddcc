// The CPU information window under Wine or on Windows, on this machine's processors: its first
// opening (creation with the tree and lists filled, then shown and painted), and the selection of
// a processor node, whose page measures the clock: how long the selection holds the window, and
// how long until the measured clock is in its row. Medians and extremes in milliseconds.
#include "ui/ControlIds.h"
#include "ui/InfoForm.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace quelmo;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Report(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("  %-52s median %8.2f ms  min %8.2f ms  max %8.2f ms\n", name, times[times.size() / 2],
                times.front(), times.back());
}

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK FindId(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (::GetDlgCtrlID(child) != search.id) {
        return TRUE;
    }
    search.found = child;
    return FALSE;
}

// A control of the window on whichever page it sits.
HWND FindControl(HWND form, int id) {
    Search search{id, nullptr};
    ::EnumChildWindows(form, &FindId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    constexpr int kOpenings = 10;
    constexpr int kSelections = 10;

    std::vector<double> created;
    std::vector<double> opened;
    std::unique_ptr<gui::TForm_Info> form;
    for (int i = 0; i < kOpenings; ++i) {
        form.reset();
        form = std::make_unique<gui::TForm_Info>();
        const LARGE_INTEGER t0 = Now();
        if (!form->Create(nullptr)) {
            std::fprintf(stderr, "cannot create the CPU information window\n");
            return 1;
        }
        const LARGE_INTEGER t1 = Now();
        form->Show();
        ::RedrawWindow(form->Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const LARGE_INTEGER t2 = Now();
        Pump();
        created.push_back(Milliseconds(t0, t1));
        opened.push_back(Milliseconds(t0, t2));
    }
    std::printf("CPU information window, %d first openings:\n", kOpenings);
    Report("created (tree, feature list, first page)", created);
    Report("created, shown and painted", opened);

    form->ActivatePage(1);
    const HWND tree = FindControl(form->Hwnd(), ids::ktvNavigation);
    const HTREEITEM processors = TreeView_GetNextSibling(tree, TreeView_GetRoot(tree));
    const HWND list = FindControl(form->Hwnd(), ids::klvInformation);
    const HTREEITEM processor0 = TreeView_GetChild(tree, processors);
    const HTREEITEM count = TreeView_GetRoot(tree);
    std::vector<double> held;
    std::vector<double> filled;
    for (int i = 0; i < kSelections; ++i) {
        TreeView_SelectItem(tree, count);
        Pump();
        const LARGE_INTEGER t0 = Now();
        TreeView_SelectItem(tree, processor0);
        ::RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
        const LARGE_INTEGER t1 = Now();
        while (form->MeasuringClock()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
            Pump();
        }
        ::RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
        const LARGE_INTEGER t2 = Now();
        held.push_back(Milliseconds(t0, t1));
        filled.push_back(Milliseconds(t0, t2));
    }
    std::printf("selecting processor 0's node, %d times:\n", kSelections);
    Report("window held (rows shown, clock measuring)", held);
    Report("until the measured clock is shown", filled);
    return 0;
}
