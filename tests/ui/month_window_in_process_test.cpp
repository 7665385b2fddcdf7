// The month window in this process: a new DPI (which Wine never sends) and
// high contrast (which it never reports), sent from a timer inside the month
// window's own loop, which then closes it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/screen.h"
#include "ui/main_window.h"
#include "ui/month/month_window_win32.h"

namespace {

LONG FontHeight(HWND control) {
    LOGFONTW face{};
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr && GetObjectW(font, sizeof face, &face) ? face.lfHeight : 0;
}

WindowState g_main;
bool g_probed = false;

// The controls above the grid keep their design places: at 144 DPI each box
// and font is half as large again.
void CheckDpiChange(HWND month) {
    RECT outer{};
    GetWindowRect(month, &outer);
    std::vector<std::pair<HWND, RECT>> fixed;
    for (HWND child : e2e::ChildWindows(month)) {
        const RECT box = e2e::RectInClient(child, month);
        if (box.bottom <= 116 && GetParent(child) == month) fixed.push_back({child, box});
    }
    std::vector<LONG> heights;
    for (const auto& [child, box] : fixed)
        heights.push_back(FontHeight(child));
    const RECT suggested = {outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                            outer.top + (outer.bottom - outer.top) * 3 / 2};
    SendMessageW(month, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_GT(fixed.size(), 15u);
    for (size_t i = 0; i < fixed.size(); ++i) {
        const RECT moved = e2e::RectInClient(fixed[i].first, month);
        EXPECT_NEAR(moved.left, std::lround(fixed[i].second.left * 1.5), 1) << i;
        EXPECT_NEAR(moved.top, std::lround(fixed[i].second.top * 1.5), 1) << i;
        EXPECT_NEAR(moved.right, std::lround(fixed[i].second.right * 1.5), 1) << i;
        // Owner-drawn buttons have no font of their own to start with.
        if (heights[i] != 0) {
            EXPECT_EQ(FontHeight(fixed[i].first), std::lround(heights[i] * 1.5)) << i;
        }
    }
}

// No system colour has green while this lives, nor a blend of two; every
// design colour has some.
struct GreenlessSystemColours {
    int indexes[COLOR_MENUBAR + 1];
    COLORREF saved[COLOR_MENUBAR + 1], contrast[COLOR_MENUBAR + 1];
    GreenlessSystemColours() {
        for (int i = 0; i <= COLOR_MENUBAR; ++i) {
            indexes[i] = i;
            saved[i] = GetSysColor(i);
            contrast[i] = RGB(40 + 7 * i, 0, 250 - 7 * i);
        }
        SetSysColors(COLOR_MENUBAR + 1, indexes, contrast);
    }
    ~GreenlessSystemColours() { SetSysColors(COLOR_MENUBAR + 1, indexes, saved); }
};

// The grid, every pixel of it drawn by the window, in the system's colours.
void CheckHighContrast(HWND month) {
    HWND grid = GetDlgItem(month, 300);
    GreenlessSystemColours colours;
    g_main.highContrastSource = HighContrastSource::kForcedOn;
    SendMessageW(month, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    e2e::Screenshot shot;
    ASSERT_TRUE(shot.Capture(grid, true));
    RECT client{};
    GetClientRect(grid, &client);
    int green = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            green += shot.At(x, y).g != 0;
    }
    EXPECT_EQ(green, 0) << "pixels of the grid in the design's colours";
    g_main.highContrastSource = HighContrastSource::kForcedOff;
    SendMessageW(month, WM_SYSCOLORCHANGE, 0, 0);
}

void CALLBACK ProbeMonthWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND month = FindWindowW(L"TavoMedMonthWindow", nullptr);
    g_probed = month != nullptr;
    if (month == nullptr) return;
    CheckDpiChange(month);
    CheckHighContrast(month);
    PostMessageW(month, WM_CLOSE, 0, 0);
}

TEST(MonthWindowInThisProcess, FollowsANewDpiAndPaintsTheGridInHighContrast) {
    HWND window = OpenMainWindow(g_main, GetModuleHandleW(nullptr), &GetBuiltinTool());
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_COMMAND, IDC_COMPUTE_BUTTON, 0);
    SetTimer(nullptr, 0, 50, ProbeMonthWindow);
    MonthWindowCommand(g_main);
    EXPECT_TRUE(g_probed) << "the month window never opened";
    EXPECT_TRUE(IsWindowEnabled(window)) << "the main window left disabled";
    DestroyWindow(window);
}

}  // namespace
