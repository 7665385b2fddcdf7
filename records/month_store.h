// The month file and the roster file on disk (Win32): read whole, written
// whole or not at all (a temporary file in the same folder, flushed, renamed
// over the old one), and a stamp that tells whether another PC saved the file
// since it was read or written here.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

struct FileStamp {
    bool exists;
    uint64_t writeTime;  // FILETIME as one number
    uint64_t size;
};

bool SameStamp(const FileStamp& a, const FileStamp& b);
FileStamp StampOfFile(const wchar_t* path);

// Reads the whole file (at most capacity bytes; a larger file fails).
bool ReadWholeFile(const wchar_t* path, char* out, int32_t capacity, int32_t* length,
                   FileStamp* stamp);

// Writes bytes as the whole file, whole or not at all: on failure the file on
// disk is as it was. stamp receives the new file's stamp.
bool WriteWholeFile(const wchar_t* path, const char* bytes, int32_t length, FileStamp* stamp);

// The roster file, kept per user beside the records folder:
// "<local application data>\TavoMedSuite\名单.txt".
bool RosterFilePath(wchar_t* out, int32_t capacity);

// The user's Documents folder.
bool DocumentsFolder(wchar_t* out, int32_t capacity);

// The roster file's contents as the roster dialog reads them: the ward's name
// and its nurses. The file is UTF-8 text with a byte order mark (see
// ParseRosterFileText); a file that is absent is no fault, the first run has
// none.
enum RosterFileResult : int32_t {
    kRosterFileRead,
    kRosterFileAbsent,      // never saved: start with an empty roster
    kRosterFileUnreadable,  // there, but not readable or not a roster
};

// On anything but kRosterFileRead, ward and roster are untouched.
RosterFileResult ReadRosterFile(wchar_t* ward, int32_t ward_capacity, Roster* roster);

// Writes the ward and the roster as the whole roster file, whole or not at all
// (the old file stays as it was on failure), creating its folder as needed.
bool WriteRosterFile(const wchar_t* ward, const Roster& roster);
