// The month's files on disk, under Wine: whole or not at all, and no
// temporary file left behind either way.
#include "records/month_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A folder of its own for each run, removed with what is in it.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"month_store_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        const std::wstring names = Names();
        for (size_t at = 0, end = 0; (end = names.find(L';', at)) != std::wstring::npos;
             at = end + 1) {
            const std::wstring file = path_ + L"\\" + names.substr(at, end - at);
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(file.c_str())) RemoveDirectoryW(file.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring Path(const wchar_t* name) const { return path_ + L"\\" + name; }
    // The folder's entries, sorted, each followed by ";".
    std::wstring Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        std::sort(names.begin(), names.end());
        std::wstring joined;
        for (const std::wstring& name : names)
            joined += name + L";";
        return joined;
    }

private:
    std::wstring path_;
};

std::string ReadBack(const std::wstring& path, FileStamp* stamp = nullptr) {
    char bytes[256];
    int32_t length = -1;
    if (!ReadWholeFile(path.c_str(), bytes, 256, &length, stamp)) return "<unread>";
    return std::string(bytes, static_cast<size_t>(length));
}

TEST(MonthStore, WritesWholeReadsBackAndStampsWhatItWrote) {
    ScratchFolder folder;
    const std::wstring path = folder.Path(L"内科2027年1月排班表.csv");
    FileStamp written{};
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "first", 5, &written));
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "second,\r\n", 9, &written));
    FileStamp read{};
    EXPECT_EQ(ReadBack(path, &read), "second,\r\n");
    EXPECT_TRUE(SameStamp(read, written));
    EXPECT_TRUE(SameStamp(StampOfFile(path.c_str()), written));
    EXPECT_EQ(folder.Names(), L"内科2027年1月排班表.csv;");
    char small[4];
    int32_t length = 0;
    EXPECT_FALSE(ReadWholeFile(path.c_str(), small, 4, &length, nullptr));
    EXPECT_FALSE(StampOfFile(folder.Path(L"absent.csv").c_str()).exists);
}

TEST(MonthStore, AFailedSaveLeavesTheFileAndNoTemporary) {
    ScratchFolder folder;
    const std::wstring locked = folder.Path(L"locked.csv");
    ASSERT_TRUE(WriteWholeFile(locked.c_str(), "kept", 4, nullptr));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteWholeFile(locked.c_str(), "lost", 4, nullptr));
    EXPECT_EQ(ReadBack(locked), "kept");
    // A folder where the file should be: the rename fails after the write.
    const std::wstring taken = folder.Path(L"taken.csv");
    CreateDirectoryW(taken.c_str(), nullptr);
    EXPECT_FALSE(WriteWholeFile(taken.c_str(), "lost", 4, nullptr));
    EXPECT_EQ(folder.Names(), L"locked.csv;taken.csv;");
    EXPECT_FALSE(WriteWholeFile(folder.Path(L"no\\such\\folder.csv").c_str(), "x", 1, nullptr));
}

TEST(MonthStore, RosterFileLivesBesideTheRecordsFolder) {
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(RosterFilePath(path, MAX_PATH));
    EXPECT_NE(std::wstring(path).find(L"\\TavoMedSuite\\名单.txt"), std::wstring::npos);
    wchar_t small[8];
    EXPECT_FALSE(RosterFilePath(small, 8));
    EXPECT_TRUE(DocumentsFolder(path, MAX_PATH));
}

}  // namespace
