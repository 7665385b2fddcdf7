#include "records/record_log.h"

#include <shlobj.h>

#include "engine/bounded_text.h"
#include "records/csv_record.h"
#include "records/record_file.h"

namespace {

// Names the file for the user when the shell cannot say where it would be.
constexpr const wchar_t* kUnresolvedFileFormat =
    L"%%LOCALAPPDATA%%\\TavoMedSuite\\records\\T%03d.csv";

bool GetRecordFolder(wchar_t* folder, int32_t capacity) {
    wchar_t base[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        return false;
    if (base[0] == L'\0') return false;
    return FormatText(folder, capacity, L"%ls\\TavoMedSuite\\records", base) >= 0;
}

RecordTime GetRecordTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return RecordTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace

RecordSaveOutcome SaveRecord(const ToolDef& tool, const double* values, const wchar_t* report,
                             const RecordWaiter& waiter) {
    RecordSaveOutcome outcome{};
    wchar_t folder[kRecordPathCapacity];
    if (!GetRecordFolder(folder, kRecordPathCapacity)) {
        FormatText(outcome.path, kRecordPathCapacity, kUnresolvedFileFormat, tool.id);
        outcome.result = kRecordNoAppDataFolder;
        return outcome;
    }
    // A cut path would name some other file: such a path is not written to.
    if (FormatText(outcome.path, kRecordPathCapacity, L"%ls\\T%03d.csv", folder, tool.id) < 0 ||
        !CreateFolderChain(folder)) {
        outcome.result = kRecordNotWritten;
        return outcome;
    }

    RecordText text;
    if (!BuildRecordText(tool, values, report, GetRecordTime(), &text)) {
        outcome.result = kRecordTooLong;
        return outcome;
    }
    switch (WriteRecordFile(outcome.path, text, waiter)) {
        case kRecordWriteFailed:
            outcome.result = kRecordNotWritten;
            break;
        case kRecordWriteFailedTorn:
            outcome.result = kRecordNotWrittenTorn;
            break;
        case kRecordFileCreated:
        case kRecordAppended:
            outcome.result = kRecordSaved;
            break;
    }
    return outcome;
}
