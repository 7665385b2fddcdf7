// The record file itself (Win32): creating its folder and adding one record to
// it, safely beside other processes doing the same.
#pragma once

#include <cstdint>

#include "records/csv_record.h"
#include "records/record_wait.h"

enum RecordWriteResult : int32_t {
    kRecordFileCreated,  // a new file, or an empty one, now holds its header and the record
    kRecordAppended,
    kRecordWriteFailed,  // the file is as it was before
    // Failed, and what reached the file could not be taken back: its last line
    // may be incomplete.
    kRecordWriteFailedTorn,
};

// Creates the folder and every missing folder above it. True when the folder
// exists afterwards, whoever created it.
bool CreateFolderChain(const wchar_t* folder);

// Adds the record to the file at path, whole or not at all. An existing file
// gets the data line, appended at the size it had, on a line of its own: after
// a last line without its line end (edited by hand, or cut short), the line end
// goes in first, as part of the record. An existing empty file is treated as a
// new one. A missing file is created exclusively and gets the byte order mark,
// the header and the data line in one write; when another process creates it
// first, the record is appended to that file instead.
// The record counts as written once the file's buffers are flushed to the
// disk, whatever closing the file gives afterwards. A write or flush that fails
// or falls short (a full disk, a lost network folder) cuts an existing file
// back to its old size and removes a new one, so that a failed save leaves the
// file byte for byte as it was; when that cut or removal fails too, the result
// is kRecordWriteFailedTorn.
// Waits, through waiter, at most kRecordWaitLimitMs in all for the file's turn
// and for a file that another program holds open.
RecordWriteResult WriteRecordFile(const wchar_t* path, const RecordText& text,
                                  const RecordWaiter& waiter = RecordWaiter{});
