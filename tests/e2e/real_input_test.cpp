// The same work done with the system's keyboard and mouse input rather than
// messages aimed at the controls: what a user at the screen would do.
#include <gtest/gtest.h>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr Rgb kComputeFill{0, 122, 168};
constexpr Rgb kComputePressed{0, 100, 138};
constexpr Rgb kButtonFill{255, 255, 255};
constexpr Rgb kButtonPressed{226, 234, 240};

class RealInputTest : public AppWindowTest {
protected:
    // The pointer stays out of the window while it opens and after each test.
    void SetUp() override {
        ParkMouse();
        AppWindowTest::SetUp();
    }
    void TearDown() override { ParkMouse(); }

    void ClickInto(HWND control) {
        MoveMouseTo(control);
        MouseButton(true);
        MouseButton(false);
    }
    // Replaces a short field text as a user would: to the end, rub out, type.
    void Retype(HWND field, const std::vector<UINT>& keys) {
        ClickInto(field);
        ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == field; }));
        TypeKeys({VK_END, VK_BACK, VK_BACK, VK_BACK, VK_BACK});
        TypeKeys(keys);
    }
    bool WaitForPixel(int x, int y, Rgb colour) {
        Screenshot shot;
        return WaitFor([&] { return shot.Capture(main_) && shot.At(x, y) == colour; });
    }
};

TEST_F(RealInputTest, TypingAndEnterInAFieldComputes) {
    ASSERT_TRUE(BringToForeground(main_));
    Retype(Field(0), {'1', '0'});
    Retype(Field(1), {'1', '4'});
    ASSERT_TRUE(WaitFor([&] { return ReadControlText(Field(1)) == L"14"; }))
        << Utf8Of(ReadControlText(Field(1)));
    EXPECT_EQ(ReadControlText(Field(0)), L"10");
    TypeKeys({VK_RETURN});
    EXPECT_TRUE(WaitForReport(ExpectedRota(10, 14))) << Utf8Of(ReadControlText(Report()));
    EXPECT_EQ(ReadControlText(Field(1)), L"14") << "Enter added nothing to the field";
}

// The window as a keyboard user drives it: Tab and Shift+Tab through the fields,
// the report box and the buttons, around; a field entered so is replaced by what
// is typed; the focus stays on its control after a compute and after a box.
TEST_F(RealInputTest, TheKeyboardAloneMovesComputesAndComesBack) {
    ASSERT_TRUE(BringToForeground(main_));
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
    TypeKeys({'4', '0', VK_TAB, '3', '1', VK_RETURN});
    EXPECT_TRUE(WaitForReport(ExpectedRota(40, 31)))
        << Utf8Of(ReadControlText(Field(0))) << " x " << Utf8Of(ReadControlText(Field(1)));
    EXPECT_EQ(FocusedWindowOf(main_), Field(1));

    const HWND order[] = {Report(),
                          Button(kPreviewButton),
                          Button(kComputeButton),
                          Button(kSaveButton),
                          Button(kCopyButton),
                          Button(kResetButton),
                          Button(kAboutButton),
                          Field(0),
                          Field(1)};
    for (HWND next : order) {
        TypeKeys({VK_TAB});
        EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == next; }))
            << "Tab to " << Utf8Of(ClassOf(next)) << " " << GetDlgCtrlID(next) << ", focus on "
            << GetDlgCtrlID(FocusedWindowOf(main_));
    }

    TypeShifted(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
    TypeKeys({'1', '2', VK_F5});
    EXPECT_TRUE(WaitForReport(ExpectedRota(12, 31)));

    TypeShifted(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kAboutButton); }));
    TypeKeys({VK_SPACE});
    MessageBoxView about;
    ASSERT_TRUE(FindMessageBox(main_, &about));
    EXPECT_EQ(Utf8Of(about.caption), Utf8Of(L"关于本工具"));
    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kAboutButton); }))
        << "focus on " << GetDlgCtrlID(FocusedWindowOf(main_));
    SetControlText(Field(0), L"5");
    TypeKeys({VK_F5});
    EXPECT_TRUE(WaitForReport(ExpectedRota(5, 31)));
}

TEST_F(RealInputTest, AHeldButtonShowsItsPressedFill) {
    ASSERT_TRUE(BringToForeground(main_));
    ASSERT_TRUE(WaitForPixel(26, 673, kComputeFill));
    MoveMouseTo(Button(kComputeButton));
    MouseButton(true);
    EXPECT_TRUE(WaitForPixel(26, 673, kComputePressed)) << "compute button while held";
    MouseButton(false);
    EXPECT_TRUE(WaitForReport(ExpectedRota(8, 7)));
    EXPECT_TRUE(WaitForPixel(26, 673, kComputeFill)) << "compute button after release";

    MoveMouseTo(Button(kResetButton));
    MouseButton(true);
    EXPECT_TRUE(WaitForPixel(478, 673, kButtonPressed)) << "reset button while held";
    MouseButton(false);
    EXPECT_TRUE(WaitFor([&] { return ReadControlText(Report()).empty(); }));
    EXPECT_TRUE(WaitForPixel(478, 673, kButtonFill)) << "reset button after release";
}

TEST_F(RealInputTest, AClickedButtonKeepsTheFocusAndF5ThenComputes) {
    ASSERT_TRUE(BringToForeground(main_));
    SetControlText(Field(0), L"9");
    ClickInto(Button(kResetButton));
    // The focus moves on the press, the reset runs on the release: wait for both, or the
    // reset could land after the text below and put the default back.
    ASSERT_TRUE(WaitFor([&] { return ReadControlText(Field(0)) == L"8"; }));
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kResetButton); }));
    SetControlText(Field(0), L"5");
    TypeKeys({VK_F5});
    EXPECT_TRUE(WaitForReport(ExpectedRota(5, 7)));
}

}  // namespace
}  // namespace e2e
