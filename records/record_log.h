// Saving one result to the per-tool CSV record file: finding the file, building
// the record and writing it. Says what happened; telling the user is the
// caller's part.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"
#include "records/record_wait.h"

enum RecordSaveResult : int32_t {
    kRecordSaved,
    kRecordNoAppDataFolder,  // the shell named no local application-data folder
    kRecordTooLong,          // the record does not fit its line buffers
    kRecordNotWritten,       // the folder or the file could not be written
    kRecordNotWrittenTorn,   // not saved, and the file's last line may be incomplete
};

constexpr int32_t kRecordPathCapacity = 520;

struct RecordSaveOutcome {
    RecordSaveResult result;
    // The record file's full path; when the folder is unknown, the path in its
    // %LOCALAPPDATA% form, so that the user is still told which file it is.
    wchar_t path[kRecordPathCapacity];
};

// Appends the record of one result (the values it was computed from and its
// report) to the record file of the tool, creating the folders and the file
// with its header as needed. The record is built before any wait, so what
// values and report hold afterwards does not change it; the waits for the
// file (at most kRecordWaitLimitMs in all) go through waiter. kRecordSaved
// means the record is on the disk, whole; kRecordNotWrittenTorn that part of
// it may have stayed in the file; any other result leaves the file as it was.
RecordSaveOutcome SaveRecord(const ToolDef& tool, const double* values, const wchar_t* report,
                             const RecordWaiter& waiter);
