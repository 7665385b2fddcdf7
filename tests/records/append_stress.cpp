// Appends records to one record file through the program's own line building
// and file code, as fast as it can. Run twice at once on one new file, it shows
// whether two saving processes ever interleave, lose a record or write a second
// header.
//
//   records_append_stress <file> <count> <tag> <gate file>
//
// It creates "<gate file>.<tag>" to say it is up, then waits for the gate file to
// exist before its first record, so that two runs started separately begin
// their saves together. Each report names the tag and
// the record's number. Exit code 0 when every record was written.
#include <cstdio>
#include <memory>
#include <string>

#include "engine/bounded_text.h"
#include "records/csv_record.h"
#include "records/record_file.h"
#include "record_program_args.h"

namespace {

constexpr DWORD kGateTimeoutMs = 60000;

void SayReady(const std::wstring& gate, const std::wstring& tag) {
    HANDLE ready = CreateFileW((gate + L"." + tag).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
}

bool WaitForGate(const std::wstring& gate) {
    for (DWORD waited = 0; waited < kGateTimeoutMs; ++waited) {
        if (GetFileAttributesW(gate.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(1);
    }
    return false;
}

// Several lines with commas and quotes, long enough that a torn write would show.
void BuildStressReport(const std::wstring& tag, int index, wchar_t* report, int32_t capacity) {
    FormatText(report, capacity,
               L"进程 %ls 第 %03d 条\r\n规则：白班 D, 夜班 N, 休息 R，\"连续夜班\"不超过 2 "
               L"个\r\n%ls",
               tag.c_str(), index, std::wstring(150, L'班').c_str());
}

}  // namespace

int main() {
    const std::vector<std::wstring> args = ProgramArguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: records_append_stress <file> <count> <tag> <gate file>\n");
        return 2;
    }
    const std::wstring& path = args[1];
    const int count = _wtoi(args[2].c_str());
    const std::wstring& tag = args[3];
    SayReady(args[4], tag);
    if (!WaitForGate(args[4])) {
        std::fprintf(stderr, "gate file never appeared\n");
        return 3;
    }

    const double values[kMaxParams] = {8.0, 7.0};
    auto text = std::make_unique<RecordText>();
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        wchar_t report[1024];
        BuildStressReport(tag, i, report, 1024);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const RecordTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
        if (!BuildRecordText(GetBuiltinTool(), values, report, time, text.get()) ||
            WriteRecordFile(path.c_str(), *text) == kRecordWriteFailed) {
            ++failed;
        }
    }
    std::printf("%d of %d records failed\n", failed, count);
    return failed == 0 ? 0 : 1;
}
