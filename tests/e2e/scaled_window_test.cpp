// The window on another screen: run by tests/e2e/run_at_dpi.sh in a prefix set to
// another DPI, on an Xvfb screen of another size, with the scale the window must
// take there in TAVOMED_E2E_SCALE ("numerator/denominator"). Skipped without it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_layout.h"
#include "tests/e2e/expected_texts.h"
#include "tests/e2e/screen.h"

namespace e2e {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[128] = L"";
    DWORD length = GetEnvironmentVariableW(name, value, 128);
    return length > 0 && length < 128 ? value : L"";
}

class ScaledWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (swscanf(Environment(L"TAVOMED_E2E_SCALE").c_str(), L"%lf/%lf", &numerator_,
                    &denominator_) != 2) {
            GTEST_SKIP() << "no TAVOMED_E2E_SCALE: run by tests/e2e/run_at_dpi.sh";
        }
        app_ = std::make_unique<AppProcess>();
        main_ = FindMainWindow(app_->Id());
        ASSERT_NE(main_, nullptr) << "the program's window did not appear";
        ASSERT_TRUE(
            WaitFor([&] { return ReadControlText(ControlById(main_, kFirstField + 1)) == L"7"; }));
    }

    // A figure of today's window (at 100 %) at the expected scale.
    int AtScale(int pixels) const {
        return static_cast<int>(std::lround(pixels * numerator_ / denominator_));
    }

    double numerator_ = 0;
    double denominator_ = 1;
    std::unique_ptr<AppProcess> app_;
    HWND main_ = nullptr;
};

// The line pitch of a font as this process's text system gives it.
int LinePitch(const wchar_t* face, int emHeight) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-emHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

int LineTop(HWND edit, int line) {
    LRESULT first = SendMessageW(edit, EM_LINEINDEX, line, 0);
    return HIWORD(SendMessageW(edit, EM_POSFROMCHAR, first, 0));
}

TEST_F(ScaledWindow, LiesOnTheScreenWithEveryFigureScaledAndComputesAsBefore) {
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(main_, &outer));
    std::printf("scale %g: outer %ldx%ld at (%ld, %ld) on a %dx%d screen\n",
                numerator_ / denominator_, outer.right - outer.left, outer.bottom - outer.top,
                outer.left, outer.top, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(outer.left, 0);
    EXPECT_GE(outer.top, 0);
    EXPECT_LE(outer.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(outer.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NEAR(outer.right - outer.left, AtScale(kOuterWidth), 1);
    EXPECT_NEAR(outer.bottom - outer.top, AtScale(kOuterHeight), 1);

    std::vector<HWND> children = ChildWindows(main_);
    ASSERT_EQ(children.size(), std::size(kControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& expected = kControls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + Utf8Of(expected.text));
        RECT rect = RectInClient(children[i], main_);
        EXPECT_NEAR(rect.left, AtScale(expected.x), 1);
        EXPECT_NEAR(rect.top, AtScale(expected.y), 1);
        EXPECT_NEAR(rect.right, AtScale(expected.x + expected.width), 1);
        EXPECT_NEAR(rect.bottom, AtScale(expected.y + expected.height), 1);
    }

    HWND report = ControlById(main_, kReportBox);
    ASSERT_TRUE(SetControlText(ControlById(main_, kFirstField), L"10"));
    ASSERT_TRUE(SetControlText(ControlById(main_, kFirstField + 1), L"14"));
    PressKey(ControlById(main_, kFirstField + 1), VK_F5);
    EXPECT_TRUE(WaitFor([&] { return ReadControlText(report) == ExpectedRota(10, 14); }))
        << Utf8Of(ReadControlText(report));
    // The report font, 15 pixels at 100 %, measured by the pitch of its lines.
    const int pitch = LineTop(report, 1) - LineTop(report, 0);
    std::printf("report line pitch %d, of a %d-pixel font here %d\n", pitch, AtScale(15),
                LinePitch(L"Consolas", AtScale(15)));
    EXPECT_NEAR(pitch, LinePitch(L"Consolas", AtScale(15)), 1);

    // Once the controls have painted over the panels: the compute button's fill
    // and the verdict in its level-0 colour.
    const Rgb kComputeFill{0, 122, 168};
    const Rgb kLevel0Verdict{0, 128, 96};
    const RECT verdict{AtScale(kVerdictBox.left), AtScale(kVerdictBox.top),
                       AtScale(kVerdictBox.right), AtScale(kVerdictBox.bottom)};
    Screenshot shot;
    EXPECT_TRUE(WaitFor([&] {
        return shot.Capture(main_) && shot.At(AtScale(26), AtScale(673)) == kComputeFill &&
               shot.Count(verdict, kLevel0Verdict) > 50;
    }));

    // Tabbed to from the keyboard, the compute button shows its dotted focus mark
    // 4 pixels (scaled) inside its edges; the about button, unfocused, none.
    ASSERT_TRUE(BringToForeground(main_));
    // From the first field: the second, the report, 打印预览, 排班表, 计算.
    TypeKeys({VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == ControlById(main_, 1001); }));
    const Rgb kWhite{255, 255, 255};
    auto mark_row = [&](int left, int right) {
        return RECT{AtScale(left + 4) + 2, AtScale(668 + 4) - 1, AtScale(right - 4) - 2,
                    AtScale(668 + 4) + 2};
    };
    const RECT compute_mark = mark_row(20, 172);
    const RECT about_mark = mark_row(616, 726);
    const auto area = [](const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); };
    EXPECT_TRUE(WaitFor([&] {
        return shot.Capture(main_) && area(compute_mark) - shot.Count(compute_mark, kComputeFill) >
                                          (compute_mark.right - compute_mark.left) / 3;
    })) << "no focus mark on the focused button";
    EXPECT_EQ(shot.Count(about_mark, kWhite), area(about_mark)) << "a mark on an unfocused one";
    std::wstring name = Environment(L"TAVOMED_E2E_SETTING");
    EXPECT_TRUE(shot.SaveBmp(ArtifactDir() + L"\\window-" + name + L".bmp"));
}

}  // namespace
}  // namespace e2e
