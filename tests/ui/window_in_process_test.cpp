// The real window, opened in this process: the message that Wine never sends
// (a new DPI, whose rectangle must lie in the window's own process) and the
// answer it never gives (high contrast on) are sent and forced here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/screen.h"
#include "ui/main_window.h"

namespace {

using e2e::Screenshot;

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

LONG HeightOf(HFONT font) {
    LOGFONTW face{};
    return font != nullptr && GetObjectW(font, sizeof face, &face) ? face.lfHeight : 0;
}

RECT WorkAreaAround(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The client area once the window has painted all it was asked to.
Screenshot PaintedShot(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Screenshot shot;
    EXPECT_TRUE(shot.CaptureClient(window));
    return shot;
}

class WindowInThisProcess : public ::testing::Test {
protected:
    void SetUp() override {
        state_ = {};
        window_ = OpenMainWindow(state_, GetModuleHandleW(nullptr), &GetBuiltinTool());
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(state_.dpi, 96) << "run at 96 DPI: the changes start from there";
    }
    void TearDown() override { DestroyWindow(window_); }

    // The fonts the window draws with and hands to its controls.
    std::set<HFONT> FontsInUse() const {
        std::set<HFONT> fonts(std::begin(state_.fonts), std::end(state_.fonts));
        for (HWND child : e2e::ChildWindows(window_))
            fonts.insert(FontOf(child));
        fonts.erase(nullptr);
        return fonts;
    }

    static WindowState state_;  // as the program's, it outlives its window
    HWND window_ = nullptr;
};

WindowState WindowInThisProcess::state_;

TEST_F(WindowInThisProcess, FollowsDpiChangesWithoutDriftOrFontsLeftBehind) {
    struct Control {
        HWND window;
        RECT at96;
        LONG fontHeightAt96;
    };
    std::vector<Control> controls;
    for (HWND child : e2e::ChildWindows(window_))
        controls.push_back({child, e2e::RectInClient(child, window_), HeightOf(FontOf(child))});
    RECT outer96{};
    GetWindowRect(window_, &outer96);
    const RECT work = WorkAreaAround(outer96);
    for (int round = 0; round < 20; ++round) {
        for (const int dpi : {144, 192, 96}) {
            SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(dpi) + " DPI");
            // As a drag suggests it: the window's size scaled by the DPI, near the corner.
            const RECT suggested = {work.left + 8, work.top + 8,
                                    work.left + 8 + MulDiv(outer96.right - outer96.left, dpi, 96),
                                    work.top + 8 + MulDiv(outer96.bottom - outer96.top, dpi, 96)};
            const std::set<HFONT> before = FontsInUse();
            SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            const std::set<HFONT> after = FontsInUse();
            for (HFONT font : before)
                EXPECT_TRUE(after.count(font) != 0 || GetObjectType(font) == 0) << "left behind";

            RECT now{};
            GetWindowRect(window_, &now);
            const Scale scale = state_.scale;
            const bool fits = Inside(suggested, WorkAreaAround(suggested));
            if (fits) {
                EXPECT_TRUE(EqualRect(&now, &suggested))
                    << now.left << "," << now.top << " " << now.right << "," << now.bottom;
                EXPECT_EQ(scale.numerator * 96, dpi * scale.denominator) << "the DPI's own scale";
            } else {
                EXPECT_TRUE(Inside(now, WorkAreaAround(suggested))) << "fitted to the work area";
                EXPECT_LT(scale.numerator * 96, dpi * scale.denominator);
            }
            auto at_scale = [&](LONG pixels) {
                return std::lround(static_cast<double>(pixels) * scale.numerator /
                                   scale.denominator);
            };
            for (const Control& control : controls) {
                const RECT rect = e2e::RectInClient(control.window, window_);
                EXPECT_NEAR(rect.left, at_scale(control.at96.left), 1);
                EXPECT_NEAR(rect.top, at_scale(control.at96.top), 1);
                EXPECT_NEAR(rect.right, at_scale(control.at96.right), 1);
                EXPECT_NEAR(rect.bottom, at_scale(control.at96.bottom), 1);
                EXPECT_EQ(HeightOf(FontOf(control.window)), at_scale(control.fontHeightAt96));
            }
            if (fits && dpi == 144 && round == 0) {
                EXPECT_TRUE(PaintedShot(window_).SaveBmp(e2e::ArtifactDir() +
                                                         L"\\window-after-dpi-change-to-144.bmp"));
            }
        }
    }

    // Half off its monitor when the resolution changes: it is fitted back on.
    SetWindowPos(window_, nullptr, work.right - 100, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
    RECT fitted{};
    GetWindowRect(window_, &fitted);
    EXPECT_TRUE(Inside(fitted, work));
}

// Every system colour set to one without green (and none black): every blend
// of two has none either, while every colour of the design's palette and every
// inverted colour has some.
class HighContrastColours {
public:
    HighContrastColours() {
        for (int index = 0; index <= COLOR_MENUBAR; ++index) {
            indexes_.push_back(index);
            saved_.push_back(GetSysColor(index));
            contrast_.push_back(RGB(40 + 7 * index, 0, 250 - 7 * index));
        }
    }
    ~HighContrastColours() { Restore(); }
    void Set() { SetSysColors(Count(), indexes_.data(), contrast_.data()); }
    void Restore() { SetSysColors(Count(), indexes_.data(), saved_.data()); }

private:
    int Count() const { return static_cast<int>(indexes_.size()); }

    std::vector<int> indexes_;
    std::vector<COLORREF> saved_;
    std::vector<COLORREF> contrast_;
};

TEST_F(WindowInThisProcess, PaintsInTheSystemColoursWhileHighContrastIsOn) {
    // A result, and the compute button's focus mark shown as after a Tab.
    SendMessageW(window_, WM_COMMAND, IDC_COMPUTE_BUTTON, 0);
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(GetDlgItem(window_, IDC_COMPUTE_BUTTON));
    const Screenshot normal = PaintedShot(window_);
    RECT client{};
    GetClientRect(window_, &client);

    HighContrastColours colours;
    colours.Set();
    state_.highContrastSource = HighContrastSource::kForcedOn;
    SendMessageW(window_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const Screenshot contrast = PaintedShot(window_);
    EXPECT_TRUE(contrast.SaveBmp(e2e::ArtifactDir() + L"\\window-high-contrast.bmp"));
    // The report box's scroll bar is the system theme's, which Wine keeps
    // while the test forces high contrast; Windows draws it in these colours.
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(GetDlgItem(window_, IDC_REPORT_BOX), OBJID_VSCROLL, &bar));
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bar.rcScrollBar), 2);
    std::map<COLORREF, int> counts;
    int green = 0;  // pixels neither a system colour nor a blend of two
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const e2e::Rgb pixel = contrast.At(x, y);
            if (PtInRect(&bar.rcScrollBar, {x, y})) continue;
            ++counts[RGB(pixel.r, pixel.g, pixel.b)];
            green += pixel.g != 0 ? 1 : 0;
        }
    }
    for (const Rgb design : kDesignPalette.colours)
        ASSERT_NE(design.g, 0) << "told apart by green";
    EXPECT_EQ(green, 0) << "pixels in the design's colours or inverted ones";
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](auto a, auto b) { return a.second < b.second; });
    EXPECT_EQ(most->first, GetSysColor(COLOR_WINDOW)) << "the page and the panels";

    colours.Restore();
    state_.highContrastSource = HighContrastSource::kForcedOff;
    SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
    const Screenshot back = PaintedShot(window_);
    int differences = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            differences += normal.At(x, y) == back.At(x, y) ? 0 : 1;
    }
    EXPECT_EQ(differences, 0) << "the design's colours, as before";
}

}  // namespace
