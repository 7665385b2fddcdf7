// The real window in this process: a new DPI (which Wine never sends, with its
// rectangle in the window's own process) and high contrast, sent and forced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/screen.h"
#include "ui/main_window.h"

namespace {

LONG FontHeight(HWND control) {
    LOGFONTW face{};
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr && GetObjectW(font, sizeof face, &face) ? face.lfHeight : 0;
}

// The client area once the window has painted all it was asked to.
e2e::Screenshot PaintedShot(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    e2e::Screenshot shot;
    EXPECT_TRUE(shot.Capture(window, true));
    return shot;
}

// From 96 DPI. Where the window fits at 192 DPI (ctest ui_window_dpi_3840x2160)
// it takes the suggested rectangle, elsewhere a fitted one.
TEST(WindowInThisProcess, FollowsDpiChangesWithoutDriftOrFontsLeftBehind) {
    static WindowState state;  // as the program's, it outlives the window
    HWND window = OpenMainWindow(state, GetModuleHandleW(nullptr), &GetBuiltinTool());
    const std::vector<HWND> children = e2e::ChildWindows(window);
    std::vector<std::pair<RECT, LONG>> at96;  // each control's box and font height
    for (HWND child : children)
        at96.push_back({e2e::RectInClient(child, window), FontHeight(child)});
    RECT outer96{}, work{}, now{}, inside{};
    GetWindowRect(window, &outer96);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (int round = 0; round < 20; ++round) {
        for (const int dpi : {144, 192, 96}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", " << dpi << " DPI");
            const RECT suggested = {work.left + 8, work.top + 8,
                                    work.left + 8 + MulDiv(outer96.right - outer96.left, dpi, 96),
                                    work.top + 8 + MulDiv(outer96.bottom - outer96.top, dpi, 96)};
            const std::vector<HFONT> old(std::begin(state.fonts), std::end(state.fonts));
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            for (HFONT font : old)
                EXPECT_TRUE(std::ranges::count(state.fonts, font) || !GetObjectType(font));
            GetWindowRect(window, &now);
            const bool fits =
                IntersectRect(&inside, &suggested, &work) && EqualRect(&inside, &suggested);
            EXPECT_TRUE(fits ? EqualRect(&now, &suggested)
                             : IntersectRect(&inside, &now, &work) && EqualRect(&inside, &now));
            const Scale s = state.scale;
            EXPECT_EQ(s.numerator * 96 == dpi * s.denominator, fits) << "the DPI's own scale";
            const double k = 1.0 * s.numerator / s.denominator;
            auto at_scale = [&](LONG pixels) { return std::lround(pixels * k); };
            for (size_t i = 0; i < children.size(); ++i) {
                const auto& [box, height] = at96[i];
                const RECT moved = e2e::RectInClient(children[i], window);
                EXPECT_NEAR(moved.left, at_scale(box.left), 1) << "control " << i;
                EXPECT_NEAR(moved.top, at_scale(box.top), 1) << "control " << i;
                EXPECT_NEAR(moved.right, at_scale(box.right), 1) << "control " << i;
                EXPECT_NEAR(moved.bottom, at_scale(box.bottom), 1) << "control " << i;
                EXPECT_EQ(FontHeight(children[i]), at_scale(height)) << "control " << i;
            }
        }
    }
    DestroyWindow(window);
}

// While it lives, no system colour has green (none is black): nor has a blend of
// two, while every design colour and every inverted colour has some.
struct HighContrastColours {
    int indexes[COLOR_MENUBAR + 1];
    COLORREF saved[COLOR_MENUBAR + 1], contrast[COLOR_MENUBAR + 1];
    HighContrastColours() {
        for (int i = 0; i <= COLOR_MENUBAR; ++i) {
            indexes[i] = i;
            saved[i] = GetSysColor(i);
            contrast[i] = RGB(40 + 7 * i, 0, 250 - 7 * i);
        }
        SetSysColors(COLOR_MENUBAR + 1, indexes, contrast);
    }
    ~HighContrastColours() { SetSysColors(COLOR_MENUBAR + 1, indexes, saved); }
};

TEST(WindowInThisProcess, PaintsInTheSystemColoursWhileHighContrastIsOn) {
    for (const Rgb design : kDesignPalette.colours)
        ASSERT_NE(design.g, 0) << "told apart by green";
    static WindowState state;  // as the program's, it outlives the window
    HWND window = OpenMainWindow(state, GetModuleHandleW(nullptr), &GetBuiltinTool());
    // A result, and the compute button's focus mark shown as after a Tab.
    SendMessageW(window, WM_COMMAND, IDC_COMPUTE_BUTTON, 0);
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(GetDlgItem(window, IDC_COMPUTE_BUTTON));
    const e2e::Screenshot normal = PaintedShot(window);
    // The report box's scroll bar is the theme's, which Wine keeps while high
    // contrast is forced; Windows draws it in these colours.
    SCROLLBARINFO bar{sizeof bar, {}, 0, 0, 0, 0, {}};
    GetScrollBarInfo(GetDlgItem(window, IDC_REPORT_BOX), OBJID_VSCROLL, &bar);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar.rcScrollBar), 2);
    RECT client{};
    GetClientRect(window, &client);
    int green = 0, in_window_colour = 0;
    {
        HighContrastColours colours;
        state.highContrastSource = HighContrastSource::kForcedOn;
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        const e2e::Screenshot contrast = PaintedShot(window);
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) {
                const e2e::Rgb pixel = contrast.At(x, y);
                if (PtInRect(&bar.rcScrollBar, {x, y})) continue;
                green += pixel.g != 0;
                in_window_colour += RGB(pixel.r, pixel.g, pixel.b) == GetSysColor(COLOR_WINDOW);
            }
        }
    }
    EXPECT_EQ(green, 0) << "pixels in the design's colours or inverted ones";
    EXPECT_GT(in_window_colour, client.right * client.bottom / 2) << "the page and panels";
    state.highContrastSource = HighContrastSource::kForcedOff;
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_TRUE(PaintedShot(window).SamePixels(normal)) << "the design's colours again, as before";
    DestroyWindow(window);
}

}  // namespace
