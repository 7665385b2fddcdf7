#include "records/record_log.h"

#include <shlobj.h>

#include "engine/bounded_text.h"
#include "records/csv_record.h"
#include "records/record_file.h"
#include "ui/main_window.h"

namespace {

constexpr int32_t kPathCapacity = 520;
constexpr int32_t kMessageCapacity = kPathCapacity + 128;

constexpr const wchar_t* kNoResultText = L"请先点击“计算”生成结果，再保存记录。";
constexpr const wchar_t* kSavedText = L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。";
constexpr const wchar_t* kSavedStatusFormat = L"记录已保存：%ls";
constexpr const wchar_t* kFailedCaption = L"保存失败";
constexpr const wchar_t* kFailedStatus = L"保存失败";
constexpr const wchar_t* kNotWrittenFormat = L"无法写入记录文件：%ls\r\n本次结果未保存。";
constexpr const wchar_t* kNoAppDataFormat =
    L"找不到本机的应用数据文件夹，无法写入记录文件：%ls\r\n本次结果未保存。";
constexpr const wchar_t* kTooLongFormat =
    L"记录内容超出长度上限，无法写入记录文件：%ls\r\n本次结果未保存。";
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

void ReportSaved(WindowState& state, const wchar_t* path) {
    FormatText(state.statusText, kStatusTextCapacity, kSavedStatusFormat, path);
    InvalidateRect(state.mainWindow, nullptr, TRUE);
    MessageBoxW(state.mainWindow, kSavedText, L"已保存", MB_OK | MB_ICONINFORMATION);
}

void ReportNotSaved(WindowState& state, const wchar_t* format, const wchar_t* path) {
    wchar_t message[kMessageCapacity];
    FormatText(message, kMessageCapacity, format, path);
    CopyText(state.statusText, kStatusTextCapacity, kFailedStatus);
    InvalidateRect(state.mainWindow, nullptr, TRUE);
    MessageBoxW(state.mainWindow, message, kFailedCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

void SaveRecord() {
    WindowState& state = GetWindowState();
    if (state.savedReport[0] == L'\0') {
        MessageBoxW(state.mainWindow, kNoResultText, L"提示", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const ToolDef& tool = *state.tool;

    wchar_t folder[kPathCapacity];
    wchar_t path[kPathCapacity];
    if (!GetRecordFolder(folder, kPathCapacity)) {
        FormatText(path, kPathCapacity, kUnresolvedFileFormat, tool.id);
        ReportNotSaved(state, kNoAppDataFormat, path);
        return;
    }
    // A cut path would name some other file: such a path is not written to.
    if (FormatText(path, kPathCapacity, L"%ls\\T%03d.csv", folder, tool.id) < 0 ||
        !CreateFolderChain(folder)) {
        ReportNotSaved(state, kNotWrittenFormat, path);
        return;
    }

    RecordText text;
    if (!BuildRecordText(tool, state.values, state.savedReport, GetRecordTime(), &text)) {
        ReportNotSaved(state, kTooLongFormat, path);
        return;
    }
    if (WriteRecordFile(path, text) == kRecordWriteFailed) {
        ReportNotSaved(state, kNotWrittenFormat, path);
        return;
    }
    ReportSaved(state, path);
}
