// TEMPORARY stand-ins for the month store, the roster dialog and the file
// dialogs until their own units land; this file goes then.
#include <windows.h>

#include <cstdio>

#include "engine/bounded_text.h"
#include "records/month_store.h"
#include "ui/month/file_dialogs_win32.h"
#include "ui/month/roster_dialog_win32.h"

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && a.writeTime == b.writeTime && a.size == b.size;
}

FileStamp StampOfFile(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return {};
    return {
        true,
        (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
        (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

bool ReadWholeFile(const wchar_t* path, char* out, int32_t capacity, int32_t* length,
                   FileStamp* stamp) {
    FILE* file = _wfopen(path, L"rb");
    if (file == nullptr) return false;
    *length = static_cast<int32_t>(fread(out, 1, static_cast<size_t>(capacity), file));
    fclose(file);
    *stamp = StampOfFile(path);
    return true;
}

bool WriteWholeFile(const wchar_t* path, const char* bytes, int32_t length, FileStamp* stamp) {
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr) return false;
    const bool ok =
        fwrite(bytes, 1, static_cast<size_t>(length), file) == static_cast<size_t>(length);
    fclose(file);
    *stamp = StampOfFile(path);
    return ok;
}

bool RosterFilePath(wchar_t* out, int32_t capacity) {
    ClearText(out, capacity);
    return false;
}

bool DocumentsFolder(wchar_t* out, int32_t capacity) {
    return GetCurrentDirectoryW(static_cast<DWORD>(capacity), out) != 0;
}

bool LoadWardRoster(WardRoster* roster) {
    *roster = {};
    return false;
}

bool RunRosterDialog(HWND, WardRoster*) {
    return false;
}

bool AskMonthFileToOpen(HWND, wchar_t*, int32_t) {
    return false;
}

bool AskMonthFileToSave(HWND, const wchar_t* suggested, wchar_t* path, int32_t capacity) {
    CopyText(path, capacity, suggested);
    return true;
}
