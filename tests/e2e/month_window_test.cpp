// The month window, driven by real key presses: opened from the main window,
// a cell typed over and the breach count falling, the month saved and its
// file left for Python's csv module (ctest e2e_month_file_check); the
// arrangement and its undo; a refused file named on the command line.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cwchar>
#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr int kGrid = 300;
constexpr int kStatusBar = 302;
constexpr wchar_t kMonthClass[] = L"TavoMedMonthWindow";

class MonthWindowTest : public AppWindowTest {
protected:
    void Compute(const wchar_t* nurses, const wchar_t* days) {
        TypeCounts(nurses, days);
        PressKey(Field(0), VK_F5);
        ASSERT_TRUE(WaitFor([&] { return ReadControlText(Report()).size() > 100; }));
    }

    // The 排班表 button, clicked or reached by Tab from the first field and
    // pressed with Enter, and the month window with its grid focused.
    void OpenMonth(bool by_keyboard = false) {
        if (by_keyboard) {
            ASSERT_TRUE(BringToForeground(main_));
            ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
            TypeKeys({VK_TAB, VK_TAB, VK_TAB, VK_TAB});
            ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kMonthButton); }));
            TypeKeys({VK_RETURN});
        } else {
            ClickButton(Button(kMonthButton));
        }
        month_ = FindOwnedWindow(main_, kMonthClass);
        ASSERT_NE(month_, nullptr) << "no month window";
        grid_ = ControlById(month_, kGrid);
        ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(month_) == grid_; }));
        ASSERT_TRUE(BringToForeground(month_));
    }

    std::wstring Status() const { return ReadControlText(ControlById(month_, kStatusBar)); }

    // The hard breaches the status bar counts, or -1.
    int HardCount() const {
        int count = -1;
        return swscanf(Status().c_str(), L"硬性违规 %d 处", &count) == 1 ? count : -1;
    }

    HWND month_ = nullptr;
    HWND grid_ = nullptr;
};

// The dialog's visible edit that the style marks (ES_MULTILINE or none).
HWND EditOf(HWND dialog, LONG_PTR style) {
    for (HWND child : ChildWindows(dialog)) {
        if (ClassOf(child) == L"Edit" && IsWindowVisible(child) &&
            (GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE) == style)
            return child;
    }
    return nullptr;
}

// The user's roster file, which the month's names come from: gone after the
// test, so that other runs start with 护士01 and on.
struct RosterFileRemoved {
    std::wstring path;
    RosterFileRemoved() {
        wchar_t folder[MAX_PATH] = L"";
        SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
        path = std::wstring(folder) + L"\\TavoMedSuite\\名单.txt";
        DeleteFileW(path.c_str());
    }
    ~RosterFileRemoved() { DeleteFileW(path.c_str()); }
};

TEST_F(MonthWindowTest, TypedCellLowersTheCountAndTheSavedFileHoldsIt) {
    ClickButton(Button(kMonthButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "no 提示 box before a result";
    EXPECT_EQ(Utf8Of(box.caption), Utf8Of(L"提示"));
    ASSERT_TRUE(CloseMessageBox(box));

    Compute(L"3", L"4");
    OpenMonth();
    EXPECT_EQ(ReadControlText(month_).rfind(L"排班表", 0), 0u) << Utf8Of(ReadControlText(month_));
    // Three names pasted into the roster: the month's rows take them.
    const RosterFileRemoved roster_file;
    ClickButton(ControlById(month_, 200));
    HWND roster = FindOwnedWindow(month_, L"#32770");
    ASSERT_NE(roster, nullptr) << "no roster dialog";
    HWND nurses = EditOf(roster, ES_MULTILINE);
    ASSERT_NE(nurses, nullptr);
    ASSERT_TRUE(WriteClipboard(L"张三\r\n李四\r\n王五\r\n"));
    ASSERT_TRUE(BringToForeground(roster));
    TypeKeys({VK_TAB});  // from the ward's name to the nurses
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(roster) == nurses; }));
    TypeWithControl('V');
    ASSERT_TRUE(
        WaitFor([&] { return ReadControlText(nurses).find(L"王五") != std::wstring::npos; }));
    TypeKeys({VK_TAB, VK_RETURN});  // on to 确定
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(roster); }));
    ASSERT_TRUE(BringToForeground(month_));
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(month_) == grid_; }));
    const std::wstring nurse2 = L"李四";
    EXPECT_TRUE(WaitFor([&] { return AccessibleName(grid_).rfind(L"张三，", 0) == 0; }))
        << Utf8Of(AccessibleName(grid_));
    EXPECT_EQ(Utf8Of(AccessibleName(ControlById(month_, 301))), Utf8Of(L"违规与提醒"));
    const int before = HardCount();
    ASSERT_GT(before, 0) << Utf8Of(Status());

    // Three nurses have one day shift a day: without a day shift's minimum of
    // 0 (the third limit field, two Shift+Tabs back from the grid), the rest
    // typed below would leave its day short instead.
    TypeShifted(VK_TAB);
    TypeShifted(VK_TAB);
    TypeKeys({'0', VK_TAB, VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(month_) == grid_; }));
    EXPECT_EQ(HardCount(), before);
    TypeKeys({VK_DOWN, VK_RIGHT});
    ASSERT_TRUE(WaitFor([&] {
        const std::wstring said = AccessibleName(grid_);
        return said.rfind(nurse2 + L"，", 0) == 0 && said.find(L"白班") != std::wstring::npos &&
               said.find(L"夜班后") != std::wstring::npos;
    })) << Utf8Of(AccessibleName(grid_));
    TypeKeys({'R'});
    EXPECT_TRUE(WaitFor([&] { return HardCount() == before - 1; })) << Utf8Of(Status());
    EXPECT_TRUE(WaitFor([&] {
        return AccessibleName(grid_).find(L"休息，手工设置，无违规") != std::wstring::npos;
    })) << Utf8Of(AccessibleName(grid_));

    // Copied, the month pastes as its rows, the cell typed marked as hers.
    // The clipboard is read only once the window has written it, so that the
    // reading never holds it while the window wants it.
    const DWORD copies = GetClipboardSequenceNumber();
    TypeWithControl('C');
    ASSERT_TRUE(WaitFor([&] { return GetClipboardSequenceNumber() != copies; }));
    std::wstring pasted;
    EXPECT_TRUE(WaitFor([&] {
        return ReadClipboard(&pasted) && pasted.find(L"李四\t\tN\tR*\t") != std::wstring::npos;
    })) << Utf8Of(pasted);

    // Never saved: Ctrl+S asks for a name, offering the default one.
    const std::wstring path = FreshWorkDir(L"month-save") + L"\\month-3x4.csv";
    TypeWithControl('S');
    HWND save_as = FindOwnedWindow(month_, L"#32770");
    ASSERT_NE(save_as, nullptr) << "no save-as dialog";
    HWND name = EditOf(save_as, 0);
    ASSERT_NE(name, nullptr);
    EXPECT_NE(ReadControlText(name).find(L"排班表"), std::wstring::npos);
    SetControlText(name, path);
    PressKey(name, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return ReadControlText(month_) == L"排班表 - month-3x4.csv"; }))
        << Utf8Of(ReadControlText(month_));
    EXPECT_TRUE(CopyFileW(path.c_str(), (ArtifactDir() + L"\\month-3x4.csv").c_str(), FALSE));

    // Saved: Esc closes at once, and the main window has the keyboard again.
    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(month_); }));
    EXPECT_TRUE(NoMessageBoxWithin(main_, 300));
}

TEST_F(MonthWindowTest, ArrangementKeepsEveryHardRuleAndUndoGivesThe400Back) {
    Compute(L"40", L"31");
    OpenMonth(true);
    EXPECT_EQ(HardCount(), 400) << Utf8Of(Status());
    TypeKeys({VK_F9});
    MessageBoxView refused;
    if (FindMessageBox(month_, &refused, 1000)) {
        ADD_FAILURE() << "arrangement refused: " << Utf8Of(refused.text);
        CloseMessageBox(refused);
    }
    EXPECT_TRUE(WaitFor([&] { return Status().rfind(L"硬性违规 0 处", 0) == 0; }))
        << Utf8Of(Status());
    // The arranged month previewed as printed (its picture kept), then Esc.
    ClickButton(ControlById(month_, 204));
    HWND preview = FindOwnedWindow(month_, L"TavoMedPrintPreview");
    ASSERT_NE(preview, nullptr) << "no preview of the month";
    EXPECT_NE(ReadControlText(preview).find(L"护理排班表"), std::wstring::npos)
        << Utf8Of(ReadControlText(preview));
    RECT sheet{};
    GetClientRect(preview, &sheet);
    Screenshot page;
    EXPECT_TRUE(WaitFor([&] {
        return page.Capture(preview) && page.Count(sheet, Rgb{255, 255, 255}) > sheet.right * 100;
    }));
    page.SaveBmp(ArtifactDir() + L"\\month-preview.bmp");
    ASSERT_TRUE(BringToForeground(preview));
    TypeKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(preview); }));
    ASSERT_TRUE(BringToForeground(month_));

    TypeWithControl('Z');
    EXPECT_TRUE(WaitFor([&] { return HardCount() == 400; })) << Utf8Of(Status());
    TypeWithControl('Y');
    EXPECT_TRUE(WaitFor([&] { return HardCount() == 0; })) << Utf8Of(Status());
    TypeWithControl('Z');
    EXPECT_TRUE(WaitFor([&] { return HardCount() == 400; })) << Utf8Of(Status());

    // Enter on the first breach of the list moves to its cell, the night
    // before a day shift; there Ctrl+H marks the day a holiday, and F2 renames
    // the nurse.
    // The focus came back to 打印预览; Shift+Tab goes back over 另存为, 保存,
    // 打开 and 名单 to the list.
    HWND list = ControlById(month_, 301);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(month_) == ControlById(month_, 204); }));
    for (int i = 0; i < 5; ++i)
        TypeShifted(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(month_) == list; }));
    TypeKeys({VK_HOME, VK_RETURN});
    EXPECT_TRUE(WaitFor([&] {
        const std::wstring said = AccessibleName(grid_);
        return FocusedWindowOf(month_) == grid_ && said.rfind(L"护士01，", 0) == 0 &&
               said.find(L"，夜班。违规：护士01：") != std::wstring::npos;
    })) << Utf8Of(AccessibleName(grid_));
    TypeWithControl('H');
    EXPECT_TRUE(WaitFor([&] {
        return AccessibleName(grid_).find(L"节假日") != std::wstring::npos;
    })) << Utf8Of(AccessibleName(grid_));
    TypeKeys({VK_F2, 'Z', 'H', 'A', 'O', VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return AccessibleName(grid_).rfind(L"zhao，", 0) == 0; }))
        << Utf8Of(AccessibleName(grid_));

    // Unsaved changes are asked about on closing; 取消 keeps the window.
    TypeKeys({VK_ESCAPE});
    MessageBoxView ask;
    ASSERT_TRUE(FindMessageBox(month_, &ask));
    EXPECT_NE(ask.text.find(L"尚未保存"), std::wstring::npos) << Utf8Of(ask.text);
    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(ask.box); }));
    EXPECT_TRUE(IsWindow(month_));
}

// The 40 x 31 month as the user sees it, for the record of each display
// setting (run_at_dpi.sh names it): left in the artifact folder. Its own
// start, since the window's controls stand elsewhere at other settings.
TEST(MonthWindowShot, ShownAtThisDisplaySetting) {
    AppProcess app;
    HWND main = FindMainWindow(app.Id());
    ASSERT_NE(main, nullptr);
    SetControlText(ControlById(main, kFirstField), L"40");
    SetControlText(ControlById(main, kFirstField + 1), L"31");
    PressKey(ControlById(main, kFirstField), VK_F5);
    ASSERT_TRUE(
        WaitFor([&] { return ReadControlText(ControlById(main, kReportBox)).size() > 100; }));
    ClickButton(ControlById(main, kMonthButton));
    HWND month = FindOwnedWindow(main, kMonthClass);
    ASSERT_NE(month, nullptr);
    HWND grid = ControlById(month, kGrid);
    ASSERT_TRUE(BringToForeground(month));
    TypeKeys({VK_DOWN, VK_DOWN, VK_RIGHT});
    ASSERT_TRUE(WaitFor([&] { return AccessibleName(grid).find(L"月2日") != std::wstring::npos; }));
    wchar_t setting[64] = L"96";
    GetEnvironmentVariableW(L"TAVOMED_E2E_SETTING", setting, 64);
    // Captured once every control is painted: nothing black is left but the
    // letters.
    RECT client{};
    GetClientRect(month, &client);
    const int area = client.right * client.bottom;
    Screenshot shot;
    ASSERT_TRUE(WaitFor([&] {
        return shot.Capture(month) && shot.Count(client, Rgb{0, 0, 0}) < area / 20;
    }));
    EXPECT_TRUE(shot.SaveBmp(ArtifactDir() + L"\\month-window-" + setting + L".bmp"));
}

// "Open with": the month file saved above, named after the program's path,
// opens in the month window over the main window as it was saved.
TEST(MonthFileOnCommandLine, ASavedMonthOpensAsItWasSaved) {
    const std::wstring path = FreshWorkDir(L"month-open") + L"\\month-3x4.csv";
    if (!CopyFileW((ArtifactDir() + L"\\month-3x4.csv").c_str(), path.c_str(), FALSE))
        GTEST_SKIP() << "no month saved by the case above";
    AppProcess app(L" \"" + path + L"\"");
    HWND main = FindMainWindow(app.Id());
    ASSERT_NE(main, nullptr);
    HWND month = FindOwnedWindow(main, kMonthClass);
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(Utf8Of(ReadControlText(month)), Utf8Of(L"排班表 - month-3x4.csv"));
    EXPECT_TRUE(WaitFor([&] {
        return ReadControlText(ControlById(month, kStatusBar)) == L"硬性违规 2 处，提醒 0 处";
    })) << Utf8Of(ReadControlText(ControlById(month, kStatusBar)));
    EXPECT_EQ(AccessibleName(ControlById(month, kGrid)).rfind(L"张三，", 0), 0u);
    ASSERT_TRUE(BringToForeground(month));
    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(month); })) << "closed at once: nothing changed";
}

// "Open with": the month file after the program's path. A file that is no
// month is refused with a box that names its line, and no month window opens.
TEST(MonthFileOnCommandLine, ARefusedFileIsNamedByItsLine) {
    const std::wstring path = FreshWorkDir(L"month-refused") + L"\\not-a-month.csv";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char bytes[] = "name,shift\r\nA,X\r\n";
    DWORD written = 0;
    WriteFile(file, bytes, sizeof bytes - 1, &written, nullptr);
    CloseHandle(file);

    AppProcess app(L" \"" + path + L"\"");
    HWND main = FindMainWindow(app.Id());
    ASSERT_NE(main, nullptr);
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main, &box));
    EXPECT_NE(box.text.find(L"第 1 行"), std::wstring::npos) << Utf8Of(box.text);
    EXPECT_NE(box.text.find(L"not-a-month.csv"), std::wstring::npos) << Utf8Of(box.text);
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_EQ(FindOwnedWindow(main, kMonthClass, 500), nullptr);
}

}  // namespace
}  // namespace e2e
