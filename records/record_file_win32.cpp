#include "records/record_file.h"

#include <windows.h>

#include "engine/bounded_text.h"

namespace {

constexpr int32_t kFolderCapacity = 1024;

// A file being created is held unshared until its header is in, so an
// appending process waits for it (as it also waits, briefly, for a
// spreadsheet that holds the file open) instead of writing before the header.
constexpr int32_t kOpenAttempts = 100;
constexpr DWORD kOpenRetryMs = 10;

HANDLE OpenForAppend(const wchar_t* path) {
    return CreateFileW(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE CreateExclusively(const wchar_t* path) {
    return CreateFileW(path, FILE_APPEND_DATA | DELETE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteWhole(HANDLE file, const char* bytes, int64_t size) {
    if (size < 0 || size > static_cast<int64_t>(MAXDWORD)) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    return ok != FALSE && static_cast<int64_t>(written) == size;
}

// Windows refuses to open a read-only file for writing, but not every host
// that runs the program does (Wine run by root writes it anyway): the user's
// mark is honoured here either way.
bool IsReadOnly(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file, &info) == FALSE ||
           (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

RecordWriteResult AppendDataLine(HANDLE file, const RecordText& text) {
    const bool written = !IsReadOnly(file) && WriteWhole(file, text.bytes + text.dataOffset,
                                                         text.newFileSize - text.dataOffset);
    const bool closed = CloseHandle(file) != FALSE;
    return written && closed ? kRecordAppended : kRecordWriteFailed;
}

RecordWriteResult WriteNewFile(HANDLE file, const RecordText& text) {
    if (WriteWhole(file, text.bytes, text.newFileSize)) {
        return CloseHandle(file) != FALSE ? kRecordFileCreated : kRecordWriteFailed;
    }
    FILE_DISPOSITION_INFO remove{};
    remove.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
    CloseHandle(file);
    return kRecordWriteFailed;
}

// An append-only handle writes at the end of the file, but only some file
// systems make finding the end and writing there one step (Wine, for one, does
// not). Saves of one record file therefore take turns, across processes, under
// a mutex named after the file.
constexpr DWORD kTurnTimeoutMs = 10000;
constexpr int32_t kMutexNameCapacity = 160;

class RecordFileTurn {
public:
    explicit RecordFileTurn(const wchar_t* path) {
        wchar_t name[kMutexNameCapacity];
        FormatText(name, kMutexNameCapacity, L"Local\\TavoMedSuite.records.%ls", FileNameOf(path));
        mutex_ = CreateMutexW(nullptr, FALSE, name);
        if (mutex_ == nullptr) return;
        // An abandoned mutex is still handed over: its holder has ended.
        const DWORD wait = WaitForSingleObject(mutex_, kTurnTimeoutMs);
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~RecordFileTurn() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_ != nullptr) CloseHandle(mutex_);
    }
    RecordFileTurn(const RecordFileTurn&) = delete;
    RecordFileTurn& operator=(const RecordFileTurn&) = delete;
    bool Held() const { return held_; }

private:
    // A mutex name may not hold a backslash; files of one name share the turn.
    static const wchar_t* FileNameOf(const wchar_t* path) {
        const wchar_t* name = path;
        for (const wchar_t* p = path; *p != L'\0'; ++p) {
            if (*p == L'\\' || *p == L'/') name = p + 1;
        }
        return name;
    }
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

bool IsFolder(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool CreateFolderChain(const wchar_t* folder) {
    wchar_t path[kFolderCapacity];
    CopyText(path, kFolderCapacity, folder);
    const int32_t length = BoundedLength(path, kFolderCapacity);
    if (length == 0 || length == kFolderCapacity - 1) return false;
    // Index 3 skips the drive ("C:\"); every creation may fail because the
    // folder is already there, so only the end result counts.
    for (int32_t i = 3; i < length; ++i) {
        if (path[i] != L'\\') continue;
        path[i] = L'\0';
        CreateDirectoryW(path, nullptr);
        path[i] = L'\\';
    }
    CreateDirectoryW(path, nullptr);
    return IsFolder(path);
}

RecordWriteResult WriteRecordFile(const wchar_t* path, const RecordText& text) {
    if (text.newFileSize <= text.dataOffset) return kRecordWriteFailed;
    const RecordFileTurn turn(path);
    if (!turn.Held()) return kRecordWriteFailed;
    for (int32_t attempt = 0; attempt < kOpenAttempts; ++attempt) {
        HANDLE file = OpenForAppend(path);
        if (file != INVALID_HANDLE_VALUE) return AppendDataLine(file, text);
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            file = CreateExclusively(path);
            if (file != INVALID_HANDLE_VALUE) return WriteNewFile(file, text);
            error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        }
        if (error != ERROR_SHARING_VIOLATION) return kRecordWriteFailed;
        Sleep(kOpenRetryMs);
    }
    return kRecordWriteFailed;
}
