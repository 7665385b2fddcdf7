// The month's files on disk, under Wine: whole or not at all, and no
// temporary file left behind either way.
#include "records/month_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

namespace {

// A folder of this run's own; its entries by name.
struct ScratchFolder {
    ScratchFolder() { CreateDirectoryW(path.c_str(), nullptr); }
    std::wstring Path(const wchar_t* name) const { return path + L"\\" + name; }
    std::set<std::wstring> Names() const {
        std::set<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW(Path(L"*").c_str(), &found);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
            if (found.cFileName[0] != L'.') names.insert(found.cFileName);
        }
        FindClose(find);
        return names;
    }
    std::wstring path = [] {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        return temp + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(GetTickCount64());
    }();
};

std::string ReadBack(const std::wstring& path, FileStamp* stamp = nullptr) {
    char bytes[16];
    int32_t length = -1;
    if (!ReadWholeFile(path.c_str(), bytes, 16, &length, stamp)) return "<unread>";
    return std::string(bytes, static_cast<size_t>(length));
}

TEST(MonthStore, WritesWholeAndStampsWhatItWrote) {
    const ScratchFolder folder;
    const std::wstring path = folder.Path(L"内科2027年1月排班表.csv");
    FileStamp written{};
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "first", 5, &written));
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "second,\r\n", 9, &written));
    FileStamp read{};
    EXPECT_EQ(ReadBack(path, &read), "second,\r\n");
    EXPECT_TRUE(SameStamp(read, written) && SameStamp(StampOfFile(path.c_str()), written));
    EXPECT_EQ(folder.Names(), std::set<std::wstring>{L"内科2027年1月排班表.csv"});
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "longer than 16 bytes", 20, nullptr));
    EXPECT_EQ(ReadBack(path), "<unread>");
    EXPECT_FALSE(StampOfFile(folder.Path(L"absent.csv").c_str()).exists);
}

TEST(MonthStore, AFailedSaveLeavesTheFileAndNoTemporary) {
    const ScratchFolder folder;
    const std::wstring locked = folder.Path(L"locked.csv");
    ASSERT_TRUE(WriteWholeFile(locked.c_str(), "kept", 4, nullptr));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteWholeFile(locked.c_str(), "lost", 4, nullptr));
    EXPECT_EQ(ReadBack(locked), "kept");
    // A folder where the file should be: the rename fails after the write.
    const std::wstring taken = folder.Path(L"taken.csv");
    CreateDirectoryW(taken.c_str(), nullptr);
    EXPECT_FALSE(WriteWholeFile(taken.c_str(), "lost", 4, nullptr));
    EXPECT_EQ(folder.Names(), (std::set<std::wstring>{L"locked.csv", L"taken.csv"}));
    EXPECT_FALSE(WriteWholeFile(folder.Path(L"no\\such.csv").c_str(), "x", 1, nullptr));
}

}  // namespace
