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

    TypeKeys({VK_TAB});
    // Entered by Tab, the report shows its first line, the caret at its start.
    EXPECT_TRUE(WaitFor([&] {
        return FocusedWindowOf(main_) == Report() && SendMessageW(Report(), EM_GETSEL, 0, 0) == 0 &&
               SendMessageW(Report(), EM_GETFIRSTVISIBLELINE, 0, 0) == 0;
    })) << "selection "
        << std::hex << SendMessageW(Report(), EM_GETSEL, 0, 0) << ", first line " << std::dec
        << SendMessageW(Report(), EM_GETFIRSTVISIBLELINE, 0, 0);
    const HWND order[] = {Button(kPreviewButton),
                          Button(kMonthButton),
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

// Only counts that the rota uses as they stand are taken. A refused one is named
// in its box and keeps the last result; the field then has its text selected, so
// that the next number typed replaces it.
TEST_F(RealInputTest, TheRotaTakesOnlyTheCountsItUsesAsTyped) {
    struct Step {
        int field;  // entered by Tab or Shift+Tab when it is not the last step's
        std::vector<UINT> keys;
        const wchar_t* text;
        bool refused;
    };
    const Step kSteps[] = {
        {0, {VK_DELETE}, L"", true},
        {0, {'0'}, L"0", true},
        {0, {VK_OEM_MINUS, '5'}, L"-5", true},
        {0, {'4', '1'}, L"41", true},
        {0, {'3', VK_OEM_PERIOD, '5'}, L"3.5", true},
        {0, {'1', 'E', '1', '0'}, L"1e10", true},
        {0, {'1'}, L"1", false},
        {1, {'3', '2'}, L"32", true},
        {1, {'3', '1'}, L"31", false},
        {0, {'4', '0'}, L"40", false},
    };
    int counts[2] = {8, 7};
    ASSERT_TRUE(BringToForeground(main_));
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
    TypeKeys({VK_RETURN});
    ASSERT_TRUE(WaitForReport(ExpectedRota(8, 7)));
    int field = 0;
    for (const Step& step : kSteps) {
        SCOPED_TRACE(Utf8Of(step.text));
        if (step.field > field) TypeKeys({VK_TAB});
        if (step.field < field) TypeShifted(VK_TAB);
        field = step.field;
        ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(field); }));
        TypeKeys(step.keys);
        ASSERT_TRUE(WaitFor([&] { return ReadControlText(Field(field)) == step.text; }))
            << "typed over the selection: " << Utf8Of(ReadControlText(Field(field)));
        TypeKeys({VK_RETURN});
        MessageBoxView box;
        if (step.refused) {
            ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box";
            EXPECT_EQ(Utf8Of(box.text), Utf8Of(BadInputText(field)));
            TypeKeys({VK_RETURN});
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box.box); }));
        } else {
            counts[field] = std::stoi(step.text);
        }
        EXPECT_TRUE(WaitForReport(ExpectedRota(counts[0], counts[1])));
    }
    EXPECT_TRUE(NoMessageBoxWithin(main_, 100));
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
