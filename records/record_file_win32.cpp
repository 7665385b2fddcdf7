#include "records/record_file.h"

#include <windows.h>

#include "engine/bounded_text.h"

namespace {

constexpr int32_t kFolderCapacity = 1024;

// A file being created is held unshared until its header is in, so an
// appending process waits for it (as it also waits, briefly, for a
// spreadsheet that holds the file open) instead of writing before the header.
// Such a file is tried again after this pause, until the save's deadline.
constexpr DWORD kOpenRetryMs = 10;

// The one deadline of everything a save waits for, and the caller's way of
// waiting.
struct SaveWait {
    RecordWaiter waiter;
    ULONGLONG deadline;
};

DWORD RemainingMs(const SaveWait& wait) {
    const ULONGLONG now = GetTickCount64();
    return now < wait.deadline ? static_cast<DWORD>(wait.deadline - now) : 0;
}

// Waits at most ms for object (null: a pause); true when it was signalled.
bool WaitAtMost(const SaveWait& wait, HANDLE object, DWORD ms) {
    if (wait.waiter.wait != nullptr) return wait.waiter.wait(wait.waiter.context, object, ms);
    if (object == nullptr) {
        Sleep(ms);
        return false;
    }
    const DWORD result = WaitForSingleObject(object, ms);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// Write access, not only append access: a failed save cuts the file back. Read
// access on the same handle: the last byte read is the one the record is then
// written after, under the same turn, with no second open to share or wait for.
HANDLE OpenExisting(const wchar_t* path) {
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE CreateExclusively(const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool WriteWhole(HANDLE file, const char* bytes, int64_t size) {
    if (size < 0 || size > static_cast<int64_t>(MAXDWORD)) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    return ok != FALSE && static_cast<int64_t>(written) == size;
}

// Only what is on the disk counts as saved, not what is in the system's cache.
bool WriteToDisk(HANDLE file, const char* bytes, int64_t size) {
    return WriteWhole(file, bytes, size) && FlushFileBuffers(file) != FALSE;
}

bool MoveTo(HANDLE file, LARGE_INTEGER offset) {
    return SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) != FALSE;
}

// Drops whatever part of the record reached the file; false when it may still
// be there.
bool CutBack(HANDLE file, LARGE_INTEGER size) {
    return MoveTo(file, size) && SetEndOfFile(file) != FALSE;
}

bool ReadLastByte(HANDLE file, LARGE_INTEGER size, char* last) {
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - 1;
    DWORD read = 0;
    return MoveTo(file, at) && ReadFile(file, last, 1, &read, nullptr) != FALSE && read == 1;
}

struct LineEnd {
    const char* bytes;
    int64_t size;
};

// What puts the record on a line of its own after the file's last byte: a last
// line edited by hand, or cut short by another program, may lack its line end
// or have only half of it.
LineEnd LineEndAfter(char last) {
    if (last == '\n') return LineEnd{"", 0};
    if (last == '\r') return LineEnd{"\n", 1};
    return LineEnd{"\r\n", 2};
}

// Windows refuses to open a read-only file for writing, but not every host
// that runs the program does (Wine run by root writes it anyway): the user's
// mark is honoured here either way.
bool IsReadOnly(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file, &info) == FALSE ||
           (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The size, taken under the turn, is where the record goes and what a failed
// save cuts the file back to, the line end it needed included. An empty file
// (emptied by another program, or a copy that failed) is started as a new one.
RecordWriteResult AppendAtEnd(HANDLE file, const RecordText& text) {
    LARGE_INTEGER size{};
    char last = '\n';  // an empty file has no last line to end
    if (IsReadOnly(file) || GetFileSizeEx(file, &size) == FALSE ||
        (size.QuadPart > 0 && !ReadLastByte(file, size, &last)) || !MoveTo(file, size)) {
        return kRecordWriteFailed;
    }
    const bool started = size.QuadPart == 0;
    const int64_t from = started ? 0 : text.dataOffset;
    const LineEnd end = LineEndAfter(last);
    if ((end.size == 0 || WriteWhole(file, end.bytes, end.size)) &&
        WriteToDisk(file, text.bytes + from, text.newFileSize - from)) {
        return started ? kRecordFileCreated : kRecordAppended;
    }
    return CutBack(file, size) ? kRecordWriteFailed : kRecordWriteFailedTorn;
}

// Once the record is on the disk, or a failed one is cut back, closing the
// handle changes nothing in the file: a close that fails then is not the
// save's failure, and calling it one would have the user save the record twice.
RecordWriteResult AppendRecord(HANDLE file, const RecordText& text) {
    const RecordWriteResult result = AppendAtEnd(file, text);
    CloseHandle(file);
    return result;
}

// A new file that did not receive its whole first record is removed again, so
// that the next save starts it over with its header. It goes when its handle
// closes: only both steps together remove it.
RecordWriteResult WriteNewFile(HANDLE file, const RecordText& text) {
    if (WriteToDisk(file, text.bytes, text.newFileSize)) {
        CloseHandle(file);  // as in AppendRecord
        return kRecordFileCreated;
    }
    FILE_DISPOSITION_INFO remove{};
    remove.DeleteFile = TRUE;
    const bool marked =
        SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove) != FALSE;
    const bool closed = CloseHandle(file) != FALSE;
    return marked && closed ? kRecordWriteFailed : kRecordWriteFailedTorn;
}

// An append-only handle writes at the end of the file, but only some file
// systems make finding the end and writing there one step (Wine, for one, does
// not); and a failed save must cut back to a size no one else moves meanwhile.
// Saves of one record file therefore take turns, across processes, under a
// mutex named after the file.
constexpr int32_t kMutexNameCapacity = 160;

class RecordFileTurn {
public:
    RecordFileTurn(const wchar_t* path, const SaveWait& wait) {
        wchar_t name[kMutexNameCapacity];
        FormatText(name, kMutexNameCapacity, L"Local\\TavoMedSuite.records.%ls", FileNameOf(path));
        mutex_ = CreateMutexW(nullptr, FALSE, name);
        if (mutex_ == nullptr) return;
        // An abandoned mutex is still handed over: its holder has ended.
        for (DWORD left = RemainingMs(wait); !held_ && left > 0; left = RemainingMs(wait)) {
            held_ = WaitAtMost(wait, mutex_, left);
        }
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

RecordWriteResult WriteRecordFile(const wchar_t* path, const RecordText& text,
                                  const RecordWaiter& waiter) {
    if (text.newFileSize <= text.dataOffset) return kRecordWriteFailed;
    const SaveWait wait{waiter, GetTickCount64() + kRecordWaitLimitMs};
    const RecordFileTurn turn(path, wait);
    if (!turn.Held()) return kRecordWriteFailed;
    do {
        HANDLE file = OpenExisting(path);
        if (file != INVALID_HANDLE_VALUE) return AppendRecord(file, text);
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            file = CreateExclusively(path);
            if (file != INVALID_HANDLE_VALUE) return WriteNewFile(file, text);
            error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        }
        if (error != ERROR_SHARING_VIOLATION) return kRecordWriteFailed;
        const DWORD left = RemainingMs(wait);
        WaitAtMost(wait, nullptr, left < kOpenRetryMs ? left : kOpenRetryMs);
    } while (RemainingMs(wait) > 0);
    return kRecordWriteFailed;
}
