// The roster and save-as dialogs in this process, driven from a thread as a user would.
#include <gtest/gtest.h>

#include <thread>

#include "records/month_store.h"
#include "tests/e2e/driver.h"
#include "ui/month/file_dialogs_win32.h"
#include "ui/month/roster_dialog_win32.h"

namespace {

// The test's own roster file: none before, none left behind.
struct FreshRosterFile {
    wchar_t path[MAX_PATH] = L"";
    FreshRosterFile() { RosterFilePath(path, MAX_PATH) && DeleteFileW(path); }
    ~FreshRosterFile() { RemoveDirectoryW(path) || DeleteFileW(path); }
    // A folder where the file goes, so that no save can replace it.
    void Block() const {
        std::wstring folder = path;
        CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
        EXPECT_TRUE(CreateDirectoryW(path, nullptr));
    }
};

struct Owner {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 800,
                                  600, nullptr, nullptr, nullptr, nullptr);
    ~Owner() { DestroyWindow(window); }
};

// An edit of the dialog found by the name a screen reader gives it.
HWND FieldNamed(HWND dialog, const wchar_t* name) {
    for (HWND child : e2e::ChildWindows(dialog))
        if (e2e::ClassOf(child) == L"Edit" && e2e::AccessibleName(child) == name) return child;
    return nullptr;
}

bool FocusIs(HWND control) {
    return e2e::WaitFor([&] { return e2e::FocusedWindowOf(control) == control; });
}

// Shows a box owned by the window, closes it and gives what it said.
e2e::MessageBoxView CloseBoxOf(HWND window) {
    e2e::MessageBoxView box;
    EXPECT_TRUE(e2e::FindMessageBox(window, &box) && e2e::CloseMessageBox(box));
    return box;
}

// A failure midway leaves no box or dialog open to hold the test up.
struct CloseAtEnd {
    HWND dialog;
    ~CloseAtEnd() {
        if (e2e::WaitFor([this] { return !IsWindow(dialog); }, 2000)) return;
        for (e2e::MessageBoxView box; e2e::FindMessageBox(dialog, &box, 500);)
            CloseMessageBox(box);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

TEST(MonthDialogs, RosterRefusesABadLineAndAFailedSaveThenSavesItWhole) {
    FreshRosterFile file;
    Owner owner;
    std::thread user([&] {
        HWND dialog = e2e::FindOwnedWindow(owner.window, L"#32770");
        const CloseAtEnd closing{dialog};
        HWND ward = FieldNamed(dialog, L"科室");
        HWND nurses = FieldNamed(dialog, L"护士（每行一人）");
        e2e::SetControlText(ward, L"心内科");
        e2e::WriteClipboard(L"张三\tN2\r\n李四\tN7\t不排夜班\r\n王五\t\t不排夜班\r\n");
        SendMessageW(nurses, WM_PASTE, 0, 0);
        e2e::PressKey(ward, VK_RETURN);
        const e2e::MessageBoxView bad_line = CloseBoxOf(dialog);
        EXPECT_EQ(bad_line.caption, L"输入有误");
        EXPECT_EQ(bad_line.text,
                  L"名单第 2 行：“N7”既不是能级（N0～N4）也不是“不排夜班”。\r\n\r\n"
                  L"请改正该行后再按“确定”。");
        EXPECT_TRUE(FocusIs(nurses));
        const std::wstring text = e2e::ReadControlText(nurses);
        DWORD start = 0, end = 0;
        SendMessageW(nurses, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(text.substr(start, end - start), L"李四\tN7\t不排夜班") << "the line selected";
        EXPECT_EQ(GetFileAttributesW(file.path), INVALID_FILE_ATTRIBUTES) << "nothing saved";
        SendMessageW(nurses, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"李四\tN1"));

        file.Block();  // the save fails, the dialog stays
        HWND ok = GetDlgItem(dialog, IDOK);
        e2e::PressKey(nurses, VK_TAB);  // leaves the box, on to 确定
        EXPECT_TRUE(FocusIs(ok));
        e2e::PressKey(ok, VK_RETURN);
        const e2e::MessageBoxView failed = CloseBoxOf(dialog);
        EXPECT_EQ(failed.caption, L"保存失败");
        EXPECT_NE(failed.text.find(file.path), std::wstring::npos) << failed.text;
        RemoveDirectoryW(file.path);
        e2e::ClickButton(ok);
    });
    WardRoster shown{};
    EXPECT_TRUE(RunRosterDialog(owner.window, &shown));
    user.join();
    WardRoster read{};
    ASSERT_TRUE(LoadWardRoster(&read));
    const MonthNurse expected[] = {{L"张三", 2, false}, {L"李四", 1, false}, {L"王五", -1, true}};
    for (const WardRoster& roster : {shown, read}) {
        EXPECT_STREQ(roster.ward, L"心内科");
        ASSERT_EQ(roster.roster.count, 3);
        for (int i = 0; i < 3; ++i) {
            const MonthNurse& got = roster.roster.nurse[i];
            EXPECT_TRUE(!wcscmp(got.name, expected[i].name) && got.grade == expected[i].grade &&
                        got.noNights == expected[i].noNights)
                << "nurse " << i;
        }
    }

    // Shown again and typed into from the keyboard, then left with Esc: the
    // roster and its file stay.
    std::thread leaving([&] {
        HWND dialog = e2e::FindOwnedWindow(owner.window, L"#32770");
        const CloseAtEnd closing{dialog};
        HWND nurses = FieldNamed(dialog, L"护士（每行一人）");
        EXPECT_EQ(e2e::ReadControlText(nurses), L"张三\tN2\r\n李四\tN1\r\n王五\t\t不排夜班\r\n");
        e2e::BringToForeground(dialog);
        e2e::TypeKeys({'X', VK_TAB});
        EXPECT_TRUE(FocusIs(nurses));
        e2e::TypeKeys({'Y'});
        e2e::TypeWithControl(VK_TAB);
        e2e::TypeKeys({'Z', VK_TAB});
        EXPECT_TRUE(FocusIs(GetDlgItem(dialog, IDOK)));
        EXPECT_TRUE(e2e::ReadControlText(nurses).ends_with(L"不排夜班\r\ny\tz"))
            << "kept, added to";
        e2e::TypeKeys({VK_ESCAPE});
    });
    EXPECT_FALSE(RunRosterDialog(owner.window, &shown));
    leaving.join();
    EXPECT_TRUE(LoadWardRoster(&read) && !wcscmp(read.ward, L"心内科") &&
                !wcscmp(shown.ward, L"心内科"));
}

TEST(MonthDialogs, SaveAsOpensInTheSuggestedFolderAndAsksBeforeReplacing) {
    Owner owner;
    const std::wstring folder = e2e::FreshWorkDir(L"save_as");
    const std::wstring chosen = folder + L"\\心内科2027年1月排班表.csv";
    CloseHandle(CreateFileW(chosen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    std::thread user([&] {
        HWND dialog = e2e::FindOwnedWindow(owner.window, L"#32770");
        HWND name = nullptr;
        for (HWND child : e2e::ChildWindows(dialog))
            if (e2e::ClassOf(child) == L"Edit" && IsWindowVisible(child)) name = child;
        EXPECT_EQ(e2e::ReadControlText(name), L"心内科2027年1月排班表");
        e2e::PressKey(name, VK_RETURN);
        e2e::MessageBoxView replace;
        ASSERT_TRUE(e2e::FindMessageBox(dialog, &replace));
        e2e::ClickButton(GetDlgItem(replace.box, IDYES));
    });
    wchar_t path[MAX_PATH] = L"";
    EXPECT_TRUE(AskMonthFileToSave(owner.window, (folder + L"\\心内科2027年1月排班表").c_str(),
                                   path, MAX_PATH));
    user.join();
    EXPECT_EQ(path, chosen) << "the folder kept, the extension added";
}

}  // namespace
