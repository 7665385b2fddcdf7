// The window as it opens: class, size, place, every control and the first focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_layout.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

std::string Narrow(const std::wstring& text) {
    return Utf8Of(text);
}

using MainWindowTest = AppWindowTest;

TEST_F(MainWindowTest, HasItsClassTitleStyleAndFixedOuterSize) {
    EXPECT_EQ(ClassOf(main_), L"TavoMedToolWnd");
    EXPECT_EQ(Narrow(ReadControlText(main_)), Narrow(kToolName));
    LONG style = GetWindowLongW(main_, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(main_, GW_OWNER), nullptr);

    RECT outer{};
    RECT client{};
    ASSERT_TRUE(GetWindowRect(main_, &outer));
    ASSERT_TRUE(GetClientRect(main_, &client));
    EXPECT_EQ(outer.right - outer.left, kOuterWidth);
    EXPECT_EQ(outer.bottom - outer.top, kOuterHeight);
    // The frame is the platform's; under Wine it is not the one of Windows.
    RecordProperty("client_size",
                   std::to_string(client.right) + "x" + std::to_string(client.bottom));
    printf("outer %ldx%ld at (%ld, %ld), client %ldx%ld\n", outer.right - outer.left,
           outer.bottom - outer.top, outer.left, outer.top, client.right, client.bottom);
    EXPECT_GE(client.right, 1000);
    EXPECT_GE(client.bottom, 720);
}

TEST_F(MainWindowTest, IsCentredOnTheScreen) {
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(main_, &outer));
    // The place is worked out from the frame around a 1020 x 720 client area; the
    // size limits then widen the window to 1036 x 780 without moving its corner.
    RECT framed{0, 0, 1020, 720};
    AdjustWindowRect(&framed, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
    LONG width = framed.right - framed.left;
    LONG height = framed.bottom - framed.top;
    EXPECT_EQ(outer.left, std::max(0L, (GetSystemMetrics(SM_CXSCREEN) - width) / 2));
    EXPECT_EQ(outer.top, std::max(0L, (GetSystemMetrics(SM_CYSCREEN) - height) / 2));
}

TEST_F(MainWindowTest, HoldsEveryControlOfTheBuiltInTool) {
    std::vector<HWND> children = ChildWindows(main_);
    ASSERT_EQ(children.size(), std::size(kControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& expected = kControls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + Narrow(expected.text));
        EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), expected.className), 0)
            << Narrow(ClassOf(child));
        EXPECT_EQ(Narrow(ReadControlText(child)), Narrow(expected.text));
        RECT rect = RectInClient(child, main_);
        EXPECT_EQ(rect.left, expected.x);
        EXPECT_EQ(rect.top, expected.y);
        EXPECT_EQ(rect.right - rect.left, expected.width);
        EXPECT_EQ(rect.bottom - rect.top, expected.height);
        EXPECT_EQ(GetDlgCtrlID(child), expected.id);
        DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
        EXPECT_EQ(style & WS_CHILD, DWORD{WS_CHILD});
        EXPECT_EQ((style & WS_VISIBLE) != 0, expected.shown);
        if (expected.style == BS_OWNERDRAW) {
            EXPECT_EQ(style & BS_TYPEMASK, DWORD{BS_OWNERDRAW});
        } else if (expected.className == std::wstring(L"STATIC")) {
            EXPECT_EQ(style & SS_TYPEMASK, expected.style) << "alignment";
        } else {
            EXPECT_EQ(style & expected.style, expected.style);
        }
        EXPECT_EQ(exStyle & expected.exStyle, expected.exStyle);
        EXPECT_EQ((style & WS_TABSTOP) != 0, expected.className != std::wstring(L"STATIC"))
            << "Tab visits the fields, the report box and the buttons";
    }
}

TEST_F(MainWindowTest, GivesTheFocusToTheFirstField) {
    EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }))
        << "focus on " << FocusedWindowOf(main_);
}

TEST_F(MainWindowTest, StartsWithoutResultAndReadyStatus) {
    EXPECT_EQ(ReadControlText(Report()), L"");
    EXPECT_TRUE(WaitForStatus(kReadyStatus));
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProcessWithZero) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(app_->WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace e2e
