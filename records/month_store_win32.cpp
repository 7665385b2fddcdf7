#include "records/month_store.h"

#include <windows.h>
#include <shlobj.h>

#include "engine/bounded_text.h"
#include "month/roster_text.h"
#include "platform/utf8.h"
#include "records/record_file.h"

namespace {

constexpr int32_t kPathCapacity = 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int32_t kByteOrderMarkSize = 3;
// The roster file's bytes: every character of its text in UTF-8 at most.
constexpr int32_t kRosterFileCapacity = kRosterTextCapacity * 3 + kByteOrderMarkSize;

// A file handle closed on every way out.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // What closing gives: a write that a network folder only refuses at the
    // close is a failed write.
    bool Close() {
        if (!Valid()) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// The temporary file of a save, removed unless it became the file.
class TemporaryFile {
public:
    explicit TemporaryFile(const wchar_t* path) : path_(path) {}
    ~TemporaryFile() {
        if (!kept_) DeleteFileW(path_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void Keep() { kept_ = true; }

private:
    const wchar_t* path_;
    bool kept_ = false;
};

uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

FileStamp StampOf(const FILETIME& written, DWORD size_high, DWORD size_low) {
    return FileStamp{true, Join(written.dwHighDateTime, written.dwLowDateTime),
                     Join(size_high, size_low)};
}

bool WriteAll(HANDLE file, const char* bytes, int32_t length) {
    DWORD written = 0;
    return length >= 0 &&
           WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) != FALSE &&
           written == static_cast<DWORD>(length);
}

bool ReadAll(HANDLE file, char* out, int32_t length) {
    DWORD read = 0;
    return ReadFile(file, out, static_cast<DWORD>(length), &read, nullptr) != FALSE &&
           read == static_cast<DWORD>(length);
}

bool IsReadOnlyFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A short name, so that a file whose path is near the system's limit still
// gets a temporary file beside it.
bool TemporaryPathBeside(const wchar_t* path, wchar_t* out, int32_t capacity) {
    int32_t folder_length = 0;
    for (int32_t i = 0; path[i] != L'\0'; ++i) {
        if (path[i] == L'\\' || path[i] == L'/') folder_length = i + 1;
    }
    return FormatText(out, capacity, L"%.*ls~tavomed%lu.tmp", folder_length, path,
                      GetCurrentProcessId()) >= 0;
}

// The temporary file goes in the file's own folder, so that the rename that
// replaces the file is one step on one volume, shared folders included.
bool WriteTemporary(const wchar_t* temporary, const char* bytes, int32_t length) {
    FileHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes, length) &&
           FlushFileBuffers(file.Get()) != FALSE && file.Close();
}

bool KnownFolder(int folder_id, wchar_t* out, int32_t capacity) {
    wchar_t base[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, folder_id, nullptr, SHGFP_TYPE_CURRENT, base))) {
        return false;
    }
    return base[0] != L'\0' && FormatText(out, capacity, L"%ls", base) >= 0;
}

// Beside the records folder ("<local application data>\TavoMedSuite\records").
bool SuiteFolder(wchar_t* out, int32_t capacity) {
    wchar_t base[MAX_PATH];
    return KnownFolder(CSIDL_LOCAL_APPDATA, base, MAX_PATH) &&
           FormatText(out, capacity, L"%ls\\TavoMedSuite", base) >= 0;
}

// The roster file's text from its bytes: UTF-8, with or without the mark.
bool DecodeRosterFile(const char* bytes, int32_t length, wchar_t* text, int32_t capacity) {
    if (length >= kByteOrderMarkSize && bytes[0] == kByteOrderMark[0] &&
        bytes[1] == kByteOrderMark[1] && bytes[2] == kByteOrderMark[2]) {
        bytes += kByteOrderMarkSize;
        length -= kByteOrderMarkSize;
    }
    if (length == 0) {
        text[0] = L'\0';
        return true;
    }
    const int written =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, length, text, capacity - 1);
    if (written <= 0) return false;
    text[written] = L'\0';
    return true;
}

}  // namespace

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && (!a.exists || (a.writeTime == b.writeTime && a.size == b.size));
}

FileStamp StampOfFile(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path, GetFileExInfoStandard, &data) == FALSE) {
        return FileStamp{false, 0, 0};
    }
    return StampOf(data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
}

bool ReadWholeFile(const wchar_t* path, char* out, int32_t capacity, int32_t* length,
                   FileStamp* stamp) {
    // Shared for writing too: a spreadsheet that holds the file open does not
    // keep the program from reading it.
    FileHandle file(CreateFileW(path, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || GetFileInformationByHandle(file.Get(), &info) == FALSE) return false;
    const FileStamp read = StampOf(info.ftLastWriteTime, info.nFileSizeHigh, info.nFileSizeLow);
    if (read.size > static_cast<uint64_t>(capacity)) return false;
    const auto size = static_cast<int32_t>(read.size);
    if (!ReadAll(file.Get(), out, size)) return false;
    *length = size;
    if (stamp != nullptr) *stamp = read;
    return true;
}

bool WriteWholeFile(const wchar_t* path, const char* bytes, int32_t length, FileStamp* stamp) {
    // Windows refuses to replace a read-only file, but not every host that
    // runs the program does: the user's mark is honoured either way.
    if (IsReadOnlyFile(path)) return false;
    wchar_t temporary[kPathCapacity];
    if (!TemporaryPathBeside(path, temporary, kPathCapacity)) return false;
    TemporaryFile guard(temporary);
    if (!WriteTemporary(temporary, bytes, length) ||
        MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
        return false;
    }
    guard.Keep();
    if (stamp != nullptr) *stamp = StampOfFile(path);
    return true;
}

bool RosterFilePath(wchar_t* out, int32_t capacity) {
    wchar_t folder[kPathCapacity];
    return SuiteFolder(folder, kPathCapacity) &&
           FormatText(out, capacity, L"%ls\\名单.txt", folder) >= 0;
}

bool DocumentsFolder(wchar_t* out, int32_t capacity) {
    return KnownFolder(CSIDL_PERSONAL, out, capacity);
}

RosterFileResult ReadRosterFile(wchar_t* ward, int32_t ward_capacity, Roster* roster) {
    wchar_t path[kPathCapacity];
    if (!RosterFilePath(path, kPathCapacity)) return kRosterFileUnreadable;
    if (!StampOfFile(path).exists) return kRosterFileAbsent;
    char bytes[kRosterFileCapacity];
    wchar_t text[kRosterTextCapacity];
    int32_t length = 0;
    RosterError error{};
    if (!ReadWholeFile(path, bytes, kRosterFileCapacity, &length, nullptr) ||
        !DecodeRosterFile(bytes, length, text, kRosterTextCapacity) ||
        !ParseRosterFileText(text, ward, ward_capacity, roster, &error)) {
        return kRosterFileUnreadable;
    }
    return kRosterFileRead;
}

bool WriteRosterFile(const wchar_t* ward, const Roster& roster) {
    wchar_t path[kPathCapacity];
    wchar_t folder[kPathCapacity];
    wchar_t text[kRosterTextCapacity];
    char bytes[kRosterFileCapacity];
    const int32_t length = FormatRosterFileText(ward, roster, text, kRosterTextCapacity);
    if (length < 0 || !SuiteFolder(folder, kPathCapacity) || !CreateFolderChain(folder) ||
        !RosterFilePath(path, kPathCapacity)) {
        return false;
    }
    for (int32_t i = 0; i < kByteOrderMarkSize; ++i)
        bytes[i] = kByteOrderMark[i];
    const int64_t size = WideToUtf8(text, length, bytes + kByteOrderMarkSize,
                                    kRosterFileCapacity - kByteOrderMarkSize);
    return size >= 0 &&
           WriteWholeFile(path, bytes, static_cast<int32_t>(size) + kByteOrderMarkSize, nullptr);
}
