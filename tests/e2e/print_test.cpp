// Printing and the print preview as a user reaches them. The printer test runs
// in a prefix with a printer (tests/e2e/run_with_printer.sh names it in
// TAVOMED_E2E_PRINTER and checks the printed page afterwards); the others in
// the test prefix, which has none.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr Rgb kNightGrey{150, 150, 150};

std::wstring Environment(const wchar_t* variable) {
    wchar_t name[128] = L"";
    const DWORD length = GetEnvironmentVariableW(variable, name, 128);
    return length > 0 && length < 128 ? name : L"";
}

std::wstring TestPrinter() {
    return Environment(L"TAVOMED_E2E_PRINTER");
}

// Names a paper in the test printer's own settings, by its size alone as picked
// from their list; true once set.
bool SetPrinterPaper(short paper) {
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(TestPrinter().data(), &printer, &access)) return false;
    DWORD size = 0;
    GetPrinterW(printer, 2, nullptr, 0, &size);
    std::string buffer(size, '\0');
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    bool set = GetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info), size, &size) &&
               info->pDevMode != nullptr;
    if (set) {
        info->pDevMode->dmPaperSize = paper;
        info->pDevMode->dmFields |= DM_PAPERSIZE;
        info->pDevMode->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        info->pSecurityDescriptor = nullptr;
        set = SetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info), 0);
    }
    ClosePrinter(printer);
    return set;
}

struct A4Again {
    ~A4Again() { SetPrinterPaper(DMPAPER_A4); }
};

class PrintTest : public AppWindowTest {
protected:
    void ComputeMonth() {
        TypeCounts(L"40", L"31");
        PressKey(Field(0), VK_F5);
        ASSERT_TRUE(WaitForReport(ExpectedRota(40, 31)));
        ASSERT_TRUE(BringToForeground(main_));
    }
    // Ctrl+P, then the dialog's OK or Cancel; the window answers meanwhile.
    void PrintThroughDialog(int button) {
        TypeWithControl('P');
        HWND dialog = FindOwnedWindow(main_, L"#32770");
        ASSERT_NE(dialog, nullptr) << "no print dialog";
        EXPECT_EQ(Utf8Of(ReadControlText(Report())), Utf8Of(ExpectedRota(40, 31)));
        ClickButton(GetDlgItem(dialog, button));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 20000));
    }
};

TEST_F(PrintTest, WithoutAPrinterTheProgramsOwnBoxSaysWhatToDo) {
    if (!TestPrinter().empty()) GTEST_SKIP() << "this prefix has a printer";
    ComputeMonth();
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
    TypeWithControl('P');
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Utf8Of(box.caption), Utf8Of(L"提示"));
    EXPECT_EQ(Utf8Of(box.text),
              Utf8Of(L"未找到打印机，无法打印。\r\n"
                     L"请先在 Windows 的“设置 → 打印机和扫描仪”（或控制面板的“设备和打印机”）"
                     L"中添加打印机，然后重试；也可以点击“复制结果”，"
                     L"把结果粘贴到 Excel 或 WPS 表格中打印。"));
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(WaitForStatus(L"未找到打印机，未打印"));
    EXPECT_EQ(FocusedWindowOf(main_), Field(0));
    EXPECT_EQ(Utf8Of(ReadControlText(Report())), Utf8Of(ExpectedRota(40, 31)));
}

// run_with_printer.sh reads the page back: A3, the printer's paper.
TEST_F(PrintTest, CancelSaysSoAndOkSendsTheMonthToTheDefaultPrinterOnItsPaper) {
    const std::wstring printer = TestPrinter();
    if (printer.empty()) GTEST_SKIP() << "no test printer: run by tests/e2e/run_with_printer.sh";
    ComputeMonth();
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(0); }));
    PrintThroughDialog(IDCANCEL);
    EXPECT_TRUE(WaitForStatus(L"已取消打印"));
    // Set now: Wine's dialog gives the printer its driver's settings back on closing.
    const A4Again a4_again;
    ASSERT_TRUE(SetPrinterPaper(DMPAPER_A3));
    PrintThroughDialog(IDOK);
    EXPECT_TRUE(WaitForStatus(L"已发送到打印机：" + printer));
    EXPECT_EQ(FocusedWindowOf(main_), Field(0));
}

TEST_F(PrintTest, AJobThatFailsIsAbortedAndNamedInABoxAndTheStatus) {
    const std::wstring failing = Environment(L"TAVOMED_E2E_FAILING_PRINTER");
    if (failing.empty()) GTEST_SKIP() << "no failing printer: run by tests/e2e/run_with_printer.sh";
    ASSERT_TRUE(SetDefaultPrinterW(failing.c_str()));
    struct Restore {
        ~Restore() { SetDefaultPrinterW(TestPrinter().c_str()); }
    } restore;
    ComputeMonth();
    PrintThroughDialog(IDOK);
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Utf8Of(box.caption), Utf8Of(L"打印失败"));
    EXPECT_EQ(Utf8Of(box.text), Utf8Of(L"无法打印到打印机“" + failing +
                                       L"”，本次打印已取消。\r\n"
                                       L"请检查打印机是否已连接、已开机并有纸，然后重试。"));
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(WaitForStatus(L"打印失败：" + failing));
    EXPECT_EQ(Utf8Of(ReadControlText(Report())), Utf8Of(ExpectedRota(40, 31)));
}

TEST_F(PrintTest, ThePreviewIsReachedByTabRedrawnAtItsSizeAndClosedByEsc) {
    ClickButton(Button(kPreviewButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "without a result: the hint";
    EXPECT_EQ(Utf8Of(box.text), Utf8Of(L"请先点击“计算”生成结果。"));
    ASSERT_TRUE(CloseMessageBox(box));

    ComputeMonth();
    // The box gave the focus back to the button; Tab reaches it from the report box.
    TypeShifted(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Report(); }));
    TypeKeys({VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kPreviewButton); }));
    TypeKeys({VK_RETURN});  // presses the button, as Space does, rather than computing
    HWND preview = FindOwnedWindow(main_, L"TavoMedPrintPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main_)) << "modal to the main window";
    int visible_buttons = 0;
    for (HWND child : ChildWindows(preview))
        visible_buttons += IsWindowVisible(child) ? 1 : 0;
    EXPECT_EQ(visible_buttons, 2) << "one page: no paging buttons";

    // The night shifts' grey covers more of the screen once the preview, made
    // small, is maximised: the page is drawn again at each size.
    SetWindowPos(preview, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(preview);  // painted at that size before it is measured
    auto night_pixels = [&] {
        Screenshot shot;
        RECT client{};
        GetClientRect(preview, &client);
        return shot.Capture(preview) ? shot.Count(client, kNightGrey) : 0;
    };
    int before = 0;
    ASSERT_TRUE(WaitFor([&] { return (before = night_pixels()) > 0; }));
    PostMessageW(preview, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return night_pixels() > before * 3 / 2; }));
    Screenshot shot;
    ASSERT_TRUE(shot.Capture(preview));
    EXPECT_TRUE(shot.SaveBmp(ArtifactDir() + L"\\preview.bmp"));

    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(preview); }));
    EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Button(kPreviewButton); }));
    EXPECT_TRUE(IsWindowEnabled(main_));
}

// A month on A5 takes several sheets: Page Down turns each, up to the last.
TEST_F(PrintTest, AnA5PreviewIsPagedThroughWithPageDown) {
    if (TestPrinter().empty()) GTEST_SKIP() << "no test printer: run by run_with_printer.sh";
    const A4Again a4_again;
    ASSERT_TRUE(SetPrinterPaper(DMPAPER_A5));
    ComputeMonth();
    ClickButton(Button(kPreviewButton));
    HWND preview = FindOwnedWindow(main_, L"TavoMedPrintPreview");
    ASSERT_TRUE(preview != nullptr && BringToForeground(preview));
    HWND next = FindWindowExW(preview, nullptr, L"Button", L"下一页");
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(next) && IsWindowEnabled(next); }));
    for (int turned = 1; IsWindowEnabled(next) && turned < 40; ++turned) {
        Screenshot before, after;
        ASSERT_TRUE(before.Capture(preview));
        TypeKeys({VK_NEXT});
        ASSERT_TRUE(WaitFor([&] { return after.Capture(preview) && !after.SamePixels(before); }));
        if (turned == 1) after.SaveBmp(ArtifactDir() + L"\\preview-a5.bmp");
    }
    EXPECT_FALSE(IsWindowEnabled(next)) << "the last page reached";
    TypeKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(preview); }));
}

}  // namespace
}  // namespace e2e
