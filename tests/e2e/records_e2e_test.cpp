// The "保存记录" button as a user meets it: the record file it creates or extends
// under the local application-data folder, its message boxes and status line,
// and what it leaves alone when it must not write.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_layout.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr wchar_t kSavedCaption[] = L"已保存";
constexpr wchar_t kSavedText[] = L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。";
constexpr wchar_t kFailedCaption[] = L"保存失败";
constexpr wchar_t kFailedStatus[] = L"保存失败";
constexpr wchar_t kHintCaption[] = L"提示";
constexpr wchar_t kSaveHint[] = L"请先点击“计算”生成结果，再保存记录。";
constexpr wchar_t kHeader[] = L"时间,工具,护士人数,排班天数,结果\r\n";
constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr size_t kTimestampLength = 19;

std::wstring LocalAppData() {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::wstring NowStamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

// A cell as a CSV reader expects it: quoted, with inner quotes doubled, when it
// holds a comma, a quote or a line break.
std::wstring CsvCell(const std::wstring& text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
    std::wstring cell = L"\"";
    for (wchar_t c : text) {
        cell += c;
        if (c == L'"') cell += L'"';
    }
    return cell + L"\"";
}

// The record of one save after its timestamp.
std::wstring RecordAfterStamp(int nurses, int days) {
    return L"," + std::wstring(kToolName) + L",护士人数=" + std::to_wstring(nurses) +
           L",排班天数=" + std::to_wstring(days) + L"," + CsvCell(ExpectedRota(nurses, days)) +
           L"\r\n";
}

// Checks one record at the start of bytes: a timestamp between the two moments,
// then the rest as expected. Returns the bytes after it.
std::string CheckRecord(const std::string& bytes, const std::wstring& before,
                        const std::wstring& after, int nurses, int days) {
    const std::string rest = Utf8Of(RecordAfterStamp(nurses, days));
    EXPECT_GE(bytes.size(), kTimestampLength + rest.size());
    if (bytes.size() < kTimestampLength + rest.size()) return "";
    const std::string stamp = bytes.substr(0, kTimestampLength);
    EXPECT_GE(stamp, Utf8Of(before));
    EXPECT_LE(stamp, Utf8Of(after));
    EXPECT_EQ(bytes.substr(kTimestampLength, rest.size()), rest);
    return bytes.substr(kTimestampLength + rest.size());
}

// Every test starts without the records file and leaves the one it found.
class RecordLogTest : public AppWindowTest {
protected:
    void SetUp() override {
        folder_ = LocalAppData() + L"\\TavoMedSuite\\records";
        path_ = folder_ + L"\\T187.csv";
        ASSERT_FALSE(LocalAppData().empty()) << "no local application-data folder";
        hadFile_ = FileExists(path_);
        if (hadFile_) {
            SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
            kept_ = ReadBytes(path_);
            ASSERT_TRUE(DeleteFileW(path_.c_str()));
        }
        AppWindowTest::SetUp();
    }

    void TearDown() override {
        app_.reset();
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path_.c_str());
        if (hadFile_) {
            EXPECT_TRUE(WriteBytes(path_, kept_)) << "could not restore the records file";
        }
    }

    void ComputeWith(int nurses, int days) {
        TypeCounts(std::to_wstring(nurses), std::to_wstring(days));
        PressKey(Field(0), VK_F5);
        ASSERT_TRUE(WaitForReport(ExpectedRota(nurses, days)));
    }

    // The box of a failed save: it names the file and says the result was not saved.
    void ExpectFailureBox(const MessageBoxView& box) const {
        EXPECT_EQ(Utf8Of(box.caption), Utf8Of(kFailedCaption));
        EXPECT_EQ(Utf8Of(box.text),
                  Utf8Of(L"无法写入记录文件：" + path_ + L"\r\n本次结果未保存。"));
    }

    // Clicks the button and expects the box of a good save.
    void SaveAndConfirm() {
        ClickButton(Button(kSaveButton));
        MessageBoxView box;
        ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box after saving";
        EXPECT_EQ(Utf8Of(box.caption), Utf8Of(kSavedCaption));
        EXPECT_EQ(Utf8Of(box.text), Utf8Of(kSavedText));
        ASSERT_TRUE(CloseMessageBox(box));
    }

    void SaveExpectingHint() {
        ClickButton(Button(kSaveButton));
        MessageBoxView box;
        ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box after saving";
        EXPECT_EQ(Utf8Of(box.caption), Utf8Of(kHintCaption));
        EXPECT_EQ(Utf8Of(box.text), Utf8Of(kSaveHint));
        ASSERT_TRUE(CloseMessageBox(box));
    }

    std::wstring folder_;
    std::wstring path_;
    bool hadFile_ = false;
    std::string kept_;
};

TEST_F(RecordLogTest, FirstSaveCreatesTheFoldersAndAFileWithBomHeaderAndOneRecord) {
    // Gone entirely when nothing else is kept there, as on a machine never saved on.
    RemoveDirectoryW(folder_.c_str());
    RemoveDirectoryW((LocalAppData() + L"\\TavoMedSuite").c_str());

    ComputeWith(8, 7);
    const std::wstring before = NowStamp();
    SaveAndConfirm();
    const std::wstring after = NowStamp();
    EXPECT_TRUE(WaitForStatus(L"记录已保存：" + path_));

    const std::string bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.substr(0, 3), kBom);
    const std::string header = Utf8Of(kHeader);
    ASSERT_EQ(bytes.substr(3, header.size()), header);
    EXPECT_EQ(CheckRecord(bytes.substr(3 + header.size()), before, after, 8, 7), "")
        << "more than one record";
}

TEST_F(RecordLogTest, SecondSaveAppendsOneRecordOnly) {
    ComputeWith(8, 7);
    SaveAndConfirm();
    const std::string first = ReadBytes(path_);
    ASSERT_FALSE(first.empty());

    ComputeWith(40, 31);  // the whole month's rota, the longest there is
    const std::wstring before = NowStamp();
    SaveAndConfirm();
    const std::wstring after = NowStamp();
    const std::string bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.substr(0, first.size()), first) << "what was there is kept as it was";
    EXPECT_EQ(CheckRecord(bytes.substr(first.size()), before, after, 40, 31), "");
    EXPECT_EQ(bytes.find(kBom, 1), std::string::npos) << "a second byte order mark";
}

TEST_F(RecordLogTest, SaveBeforeAnyResultOrAfterAResetShowsTheHintAndWritesNothing) {
    SaveExpectingHint();
    EXPECT_FALSE(FileExists(path_)) << "a file was created without a result";

    ComputeWith(8, 7);
    SaveAndConfirm();
    const std::string saved = ReadBytes(path_);
    ClickButton(Button(kResetButton));
    ASSERT_TRUE(WaitFor([&] { return ReadControlText(Report()).empty(); }));
    SaveExpectingHint();
    EXPECT_EQ(ReadBytes(path_), saved);
}

TEST_F(RecordLogTest, ReadOnlyRecordsFileGivesTheFailureBoxAndStaysAsItWas) {
    ComputeWith(8, 7);
    SaveAndConfirm();
    const std::string saved = ReadBytes(path_);
    ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));

    ComputeWith(10, 14);
    ClickButton(Button(kSaveButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box after a failed save";
    ExpectFailureBox(box);
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(NoMessageBoxWithin(main_, 500)) << "a second box after the failure";
    EXPECT_TRUE(WaitForStatus(kFailedStatus));
    EXPECT_EQ(ReadBytes(path_), saved);
}

TEST_F(RecordLogTest, RecordsFolderThatCannotBeCreatedGivesTheFailureBox) {
    // A file where the records folder belongs: the folder cannot be made.
    ASSERT_TRUE(RemoveDirectoryW(folder_.c_str()) || !FileExists(folder_))
        << "the records folder holds other files";
    ASSERT_TRUE(WriteBytes(folder_, "not a folder"));
    ComputeWith(8, 7);
    ClickButton(Button(kSaveButton));
    MessageBoxView box;
    const bool shown = FindMessageBox(main_, &box);
    if (shown) {
        ExpectFailureBox(box);
        EXPECT_TRUE(CloseMessageBox(box));
        EXPECT_TRUE(WaitForStatus(kFailedStatus));
    }
    EXPECT_TRUE(DeleteFileW(folder_.c_str()));
    EXPECT_TRUE(shown) << "no box after a failed save";
}

// Another process holds the record file: its turn (the mutex every save of it
// takes) or the file itself, opened unshared as a spreadsheet may hold it. The
// save gives up after about 2 s with the failure box and the file as it was;
// the window answers all the while, and a second click meanwhile starts no
// second save (it would show a second box).
TEST_F(RecordLogTest, FileHeldElsewhereFailsWithinAboutTwoSecondsWhileTheWindowAnswers) {
    ComputeWith(8, 7);
    SaveAndConfirm();
    const std::string saved = ReadBytes(path_);
    for (const bool holdTurn : {true, false}) {
        HANDLE hold = holdTurn
                          ? CreateMutexW(nullptr, FALSE, L"Local\\TavoMedSuite.records.T187.csv")
                          : CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_TRUE(hold != nullptr && hold != INVALID_HANDLE_VALUE) << holdTurn;
        ASSERT_TRUE(!holdTurn || WaitForSingleObject(hold, kActionTimeoutMs) == WAIT_OBJECT_0);
        const DWORD start = GetTickCount();
        ClickButton(Button(kSaveButton));
        ClickButton(Button(kSaveButton));
        MessageBoxView box;
        int answers = 0;
        int silences = 0;
        while (!FindMessageBox(main_, &box, 50) && GetTickCount() - start < 8000) {
            DWORD_PTR ignored = 0;
            const bool answered =
                SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored) != 0;
            (answered && !IsHungAppWindow(main_) ? answers : silences) += 1;
        }
        const DWORD waited = GetTickCount() - start;
        if (holdTurn) ReleaseMutex(hold);
        CloseHandle(hold);
        ASSERT_NE(box.box, nullptr) << "no box after a save that could not get the file";
        EXPECT_GE(waited, 1800u) << holdTurn;
        EXPECT_LE(waited, 3000u) << holdTurn;
        printf("held %s: failure box after %lu ms, %d answers, %d silences\n",
               holdTurn ? "turn" : "file", waited, answers, silences);
        EXPECT_GT(answers, 10) << holdTurn;
        EXPECT_EQ(silences, 0) << holdTurn;
        ExpectFailureBox(box);
        ASSERT_TRUE(CloseMessageBox(box));
        EXPECT_TRUE(NoMessageBoxWithin(main_, 500)) << "a second save after the second click";
        EXPECT_EQ(ReadBytes(path_), saved);
    }
}

// While a save waits for a held file, compute (button and F5), reset, about,
// the preview and the print command do nothing: the first box is the save's
// outcome, shown beside the report that was saved, and once it is closed every
// command works again.
TEST_F(RecordLogTest, CommandsWaitForTheSaveThatIsWaiting) {
    ComputeWith(8, 7);
    SaveAndConfirm();
    const size_t savedSize = ReadBytes(path_).size();
    HANDLE hold = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    ClickButton(Button(kSaveButton));
    const bool savingShown = WaitForStatus(L"正在保存记录…");
    TypeCounts(L"12", L"7");
    ClickButton(Button(kComputeButton));
    PressKey(Field(0), VK_F5);
    ClickButton(Button(kResetButton));
    ClickButton(Button(kAboutButton));
    ClickButton(Button(kPreviewButton));
    PostMessageW(main_, WM_COMMAND, 1007, 0);  // the print command, as Ctrl+P runs it
    const bool handled = WaitUntilPostedHandled(Field(1));
    CloseHandle(hold);
    EXPECT_TRUE(savingShown);
    ASSERT_TRUE(handled);

    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Utf8Of(box.caption), Utf8Of(kSavedCaption)) << Utf8Of(box.text);
    EXPECT_EQ(Utf8Of(ReadControlText(Report())), Utf8Of(ExpectedRota(8, 7)));
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_TRUE(NoMessageBoxWithin(main_, 300)) << "a command from the wait ran afterwards";
    EXPECT_EQ(FindOwnedWindow(main_, L"TavoMedPrintPreview", 0), nullptr);
    EXPECT_GT(ReadBytes(path_).size(), savedSize);

    PressKey(Field(0), VK_F5);
    EXPECT_TRUE(WaitForReport(ExpectedRota(12, 7)));
}

// A screen reader names an edit by the static before it, others by their text.
TEST_F(RecordLogTest, EveryControlIsNamedForAScreenReaderAfterComputeSaveAndBadInput) {
    auto expect_names = [&](const std::wstring& status) {
        EXPECT_TRUE(WaitForStatus(status)) << Utf8Of(status);
        std::wstring label;
        for (size_t i = 0; i < std::size(kControls); ++i) {
            const std::wstring kind = kControls[i].className;
            std::wstring name = kind == L"EDIT" ? label : kControls[i].text;
            if (kind == L"STATIC") label = name;
            if (kControls[i].id == kStatusLine) name = status;
            if (name == kVerdictPrompt) name = kRotaVerdict;
            EXPECT_EQ(Utf8Of(AccessibleName(ChildWindows(main_)[i])), Utf8Of(name)) << i;
        }
    };
    ComputeWith(10, 14);
    expect_names(kComputedStatus);
    SaveAndConfirm();
    expect_names(L"记录已保存：" + path_);
    TypeCounts(L"10", L"abc");
    PressKey(Field(1), VK_F5);
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box) && CloseMessageBox(box));
    expect_names(L"记录已保存：" + path_);
}

// tmpfs counts whole pages: once the rest of the file system is filled, the
// record file's last page is all the room left.
constexpr size_t kSmallDiskPage = 4096;
constexpr ULONGLONG kSmallDiskMostBytes = 1 << 20;

// Writes a file until the file system refuses even a single byte more.
void FillTheDisk(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string chunk(512, 'x');
    for (const DWORD size : {512u, 1u}) {
        DWORD written = size;
        while (written == size && WriteFile(file, chunk.data(), size, &written, nullptr)) {
        }
    }
    CloseHandle(file);
}

// On a file system of a few dozen kilobytes mounted on the records folder by
// tests/records/check_record_file.py small-disk (as root); skipped anywhere
// else, where filling the disk would do harm.
TEST_F(RecordLogTest, FullDiskLeavesTheFileAsItWasAndTheNextSaveAppendsWhole) {
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExW(folder_.c_str(), nullptr, &total, nullptr) ||
        total.QuadPart > kSmallDiskMostBytes) {
        GTEST_SKIP() << "the records folder is not on a small file system";
    }
    ComputeWith(8, 7);
    SaveAndConfirm();
    // Whole copies of the first record bring the file's end to within less than
    // one record of its page's end: only part of the next record would fit.
    std::string file = ReadBytes(path_);
    const std::string record = file.substr(3 + Utf8Of(kHeader).size());
    while (file.size() % kSmallDiskPage + record.size() <= kSmallDiskPage)
        file += record;
    ASSERT_TRUE(WriteBytes(path_, file));
    const std::wstring filler = folder_ + L"\\filler";
    FillTheDisk(filler);

    ClickButton(Button(kSaveButton));
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box after a save on a full disk";
    ExpectFailureBox(box);
    ASSERT_TRUE(CloseMessageBox(box));
    const std::string left = ReadBytes(path_);
    EXPECT_TRUE(left == file) << "the failed save left " << left.size() << " bytes, not "
                              << file.size();

    ASSERT_TRUE(DeleteFileW(filler.c_str()));
    ComputeWith(10, 14);
    const std::wstring before = NowStamp();
    SaveAndConfirm();
    const std::wstring after = NowStamp();
    const std::string bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.substr(0, file.size()), file);
    EXPECT_EQ(CheckRecord(bytes.substr(file.size()), before, after, 10, 14), "");
    // For the csv module's reading, by the script that mounted the file system.
    EXPECT_TRUE(WriteBytes(ArtifactDir() + L"\\records-small-disk.csv", bytes));
}

}  // namespace
}  // namespace e2e
