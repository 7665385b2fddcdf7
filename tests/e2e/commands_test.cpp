// The five commands as a user reaches them: keys in the fields and clicks on the
// buttons, with what the window, the message boxes and the clipboard then show.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr wchar_t kHintCaption[] = L"提示";
constexpr wchar_t kCopyHint[] = L"请先点击“计算”生成结果。";
constexpr wchar_t kSaveHint[] = L"请先点击“计算”生成结果，再保存记录。";
constexpr wchar_t kClipboardSentinel[] = L"clipboard before the test";

std::string Show(const std::wstring& text) {
    return Utf8Of(text);
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!ReadClipboard(&text)) return L"<clipboard unreadable>";
    return text;
}

class ComputeTest : public AppWindowTest {};

TEST_F(ComputeTest, F5InTheSecondFieldShowsTheRotaForTheValuesTyped) {
    TypeCounts(L"10", L"14");
    PressKey(Field(1), VK_F5);
    ASSERT_TRUE(WaitForReport(ExpectedRota(10, 14))) << Show(ReadControlText(Report()));
    EXPECT_EQ(Show(ReadControlText(Verdict())), Show(kRotaVerdict));
    EXPECT_TRUE(WaitForStatus(kComputedStatus));
    EXPECT_EQ(FocusedWindowOf(main_), Field(0)) << "the focus stays where it was";
    EXPECT_EQ(ReadControlText(Field(0)), L"10") << "the fields keep what was typed";
    EXPECT_EQ(ReadControlText(Field(1)), L"14");
}

TEST_F(ComputeTest, EnterInTheFirstFieldShowsAFullMonthForFortyNurses) {
    TypeCounts(L"40", L"31");
    PressKey(Field(0), VK_RETURN);
    std::wstring expected = ExpectedRota(40, 31);
    ASSERT_EQ(expected.size(), 6390u);
    ASSERT_TRUE(WaitForReport(expected))
        << "got " << ReadControlText(Report()).size() << " characters";
    EXPECT_EQ(Show(ReadControlText(Verdict())), Show(kRotaVerdict));
}

TEST_F(ComputeTest, ComputeButtonComputesTheDefaults) {
    ClickButton(Button(kComputeButton));
    EXPECT_TRUE(WaitForReport(ExpectedRota(8, 7))) << Show(ReadControlText(Report()));
    EXPECT_EQ(ExpectedRota(8, 7).size(), 420u);
    EXPECT_EQ(FocusedWindowOf(main_), Button(kComputeButton));
}

TEST_F(ComputeTest, F5OnTheReportBoxAndOnAButtonComputes) {
    TypeCounts(L"3", L"4");
    PressKey(Report(), VK_F5);
    ASSERT_TRUE(WaitForReport(ExpectedRota(3, 4)));
    TypeCounts(L"5", L"6");
    PressKey(Button(kAboutButton), VK_RETURN);
    EXPECT_TRUE(WaitForReport(ExpectedRota(5, 6)));
    EXPECT_TRUE(NoMessageBoxWithin(main_, 300)) << "Enter on a button computes, nothing else";
}

TEST_F(ComputeTest, F5AimedAtTheMainWindowDoesNothing) {
    ComputeTenByFourteen();
    TypeCounts(L"3", L"4");
    PressKey(main_, VK_F5);
    // A compute posted after the ignored key shows that the key was handled first.
    PressKey(Field(0), VK_F5);
    ASSERT_TRUE(WaitForReport(ExpectedRota(3, 4)));
    TypeCounts(L"5", L"5");
    PressKey(main_, VK_F5);
    PressKey(main_, VK_RETURN);
    ASSERT_TRUE(WaitUntilPostedHandled(Field(1)));
    EXPECT_EQ(Show(ReadControlText(Report())), Show(ExpectedRota(3, 4)));
}

class CopyTest : public AppWindowTest {};

TEST_F(CopyTest, PutsTheNameAndTheWholeReportOnTheClipboard) {
    ASSERT_TRUE(WriteClipboard(kClipboardSentinel));
    TypeCounts(L"40", L"31");
    PressKey(Field(1), VK_F5);
    ASSERT_TRUE(WaitForReport(ExpectedRota(40, 31)));
    ClickButton(Button(kCopyButton));
    std::wstring expected = std::wstring(kToolName) + L"\r\n" + ExpectedRota(40, 31);
    // Read once the copy is done: a read meanwhile would hold the clipboard against it.
    EXPECT_TRUE(WaitForStatus(kCopiedStatus));
    const std::wstring held = ClipboardText();
    EXPECT_TRUE(held == expected) << "clipboard holds " << held.size() << " characters, expected "
                                  << expected.size();
    EXPECT_TRUE(NoMessageBoxWithin(main_, 200));
}

TEST_F(CopyTest, AClipboardHeldByAnotherProgramGivesTheFailureStatus) {
    ASSERT_TRUE(WriteClipboard(kClipboardSentinel));
    ComputeTenByFourteen();
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    ClickButton(Button(kCopyButton));
    bool failureShown = WaitForStatus(L"复制失败，请重试");
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_TRUE(failureShown);
    EXPECT_EQ(ClipboardText(), kClipboardSentinel);
    EXPECT_TRUE(NoMessageBoxWithin(main_, 100));

    ClickButton(Button(kCopyButton));
    std::wstring expected = std::wstring(kToolName) + L"\r\n" + ExpectedRota(10, 14);
    EXPECT_TRUE(WaitForStatus(kCopiedStatus));
    EXPECT_TRUE(ClipboardText() == expected) << "a retry works";
}

TEST_F(CopyTest, BeforeAnyResultShowsItsHintAndLeavesTheClipboard) {
    ASSERT_TRUE(WriteClipboard(kClipboardSentinel));
    ClickButton(Button(kCopyButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Show(box.caption), Show(kHintCaption));
    EXPECT_EQ(Show(box.text), Show(kCopyHint));
    EXPECT_EQ(box.buttonCount, 1);
    EXPECT_TRUE(ShowsIcon(box, IDI_INFORMATION, IDI_WARNING)) << "the information icon";
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_EQ(ClipboardText(), kClipboardSentinel);
    EXPECT_TRUE(WaitForStatus(kReadyStatus));
}

TEST_F(CopyTest, SaveBeforeAnyResultShowsItsHint) {
    ClickButton(Button(kSaveButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Show(box.caption), Show(kHintCaption));
    EXPECT_EQ(Show(box.text), Show(kSaveHint));
    EXPECT_TRUE(ShowsIcon(box, IDI_INFORMATION, IDI_WARNING)) << "the information icon";
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(WaitForStatus(kReadyStatus));
}

class ResetTest : public AppWindowTest {};

TEST_F(ResetTest, RestoresDefaultsAndPromptAndCopyRefusesAgain) {
    ComputeTenByFourteen();
    ClickButton(Button(kResetButton));
    EXPECT_TRUE(WaitFor([&] { return ReadControlText(Field(0)) == L"8"; }));
    EXPECT_EQ(ReadControlText(Field(1)), L"7");
    EXPECT_EQ(ReadControlText(Report()), L"");
    EXPECT_EQ(Show(ReadControlText(Verdict())), Show(kVerdictPrompt));
    EXPECT_TRUE(WaitForStatus(kResetStatus));

    ASSERT_TRUE(WriteClipboard(kClipboardSentinel));
    ClickButton(Button(kCopyButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Show(box.text), Show(kCopyHint));
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_EQ(ClipboardText(), kClipboardSentinel);
}

TEST_F(ResetTest, TheNoteStaysAfterAReset) {
    ComputeTenByFourteen();
    ClickButton(Button(kResetButton));
    ASSERT_TRUE(WaitFor([&] { return ReadControlText(Report()).empty(); }));
    bool noteFound = false;
    for (HWND child : ChildWindows(main_))
        noteFound |= ReadControlText(child) == kNote;
    EXPECT_TRUE(noteFound);
}

class AboutBoxTest : public AppWindowTest {};

TEST_F(AboutBoxTest, ShowsItsCaptionAndNineLines) {
    HWND main = main_;
    ClickButton(Button(kAboutButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main, &box));
    EXPECT_TRUE(ShowsIcon(box, IDI_INFORMATION, IDI_WARNING)) << "the information icon";
    EXPECT_EQ(Show(box.caption), Show(L"关于本工具"));
    std::wstring expected = std::wstring(kToolName) +
                            L"\r\n"
                            L"\r\n"
                            L"分类：护理管理\r\n"
                            L"参考依据：科室排班常规：白班 D、夜班 N、休息 R 轮转\r\n"
                            L"\r\n"
                            L"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
                            L"具体用药与处置请结合患者实际情况及本院规范执行。\r\n"
                            L"\r\n"
                            L"版本 V1.0    官网：www.tavomed.example";
    EXPECT_EQ(Show(box.text), Show(expected));
    EXPECT_EQ(box.buttonCount, 1);
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(IsWindow(main));
}

}  // namespace
}  // namespace e2e
