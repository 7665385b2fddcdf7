// The record file itself (Win32): creating its folder and adding one record to
// it, safely beside other processes doing the same.
#pragma once

#include <cstdint>

#include "records/csv_record.h"

enum RecordWriteResult : int32_t {
    kRecordFileCreated,
    kRecordAppended,
    kRecordWriteFailed,
};

// Creates the folder and every missing folder above it. True when the folder
// exists afterwards, whoever created it.
bool CreateFolderChain(const wchar_t* folder);

// Adds the record to the file at path. An existing file gets the data line in
// one append. A missing file is created exclusively and gets the byte order
// mark, the header and the data line in one write; when another process creates
// it first, the record is appended to that file instead. A new file whose write
// fails is removed again, so that the next save starts it over with its header.
RecordWriteResult WriteRecordFile(const wchar_t* path, const RecordText& text);
