// Writes a few records with multi-line reports, commas, quotes and a whole
// month's rota of 40 nurses into a new record file, through the program's own
// line building and file code; and into a second file, for an outside reader to
// compare with, each save's values ("%.17g") and full report (UTF-8; fields
// separated by U+001F, saves by U+001E).
//
//   records_write_sample <record file> <expected file>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "platform/utf8.h"
#include "records/csv_record.h"
#include "records/record_file.h"
#include "record_program_args.h"

namespace {

struct SampleSave {
    double nurses;
    double days;
    std::wstring report;
};

std::wstring RotaReport(double nurses, double days) {
    static wchar_t report[kSavedReportCapacity];
    static wchar_t saved[kSavedReportCapacity];
    wchar_t verdict[kVerdictCapacity];
    const double values[kMaxParams] = {nurses, days};
    int32_t level = 0;
    ComputeTool(GetBuiltinTool(), values, report, kSavedReportCapacity, verdict, kVerdictCapacity,
                &level, saved, kSavedReportCapacity);
    return saved;
}

std::vector<SampleSave> SampleSaves() {
    return {
        {8.0, 7.0,
         L"轮转规则：白班 D → 夜班 N → 休息 R\r\n人员：8 人，7 天\r\n护士 1  D N R D N R D\r\n"},
        {10.0, 14.0, L"含逗号,和\"引号\"的一行"},
        {0.25, 1e-05, L"没有需要加引号的内容"},
        {12.0, 30.0, std::wstring(250, L'班') + L"\r\n" + std::wstring(100, L'休')},
        {40.0, 31.0, RotaReport(40.0, 31.0)},
    };
}

bool WriteExpectedSaves(const std::wstring& path, const std::vector<SampleSave>& saves) {
    std::wstring all;
    for (const SampleSave& save : saves) {
        wchar_t values[64];
        FormatText(values, 64, L"%.17g\x1F%.17g\x1F", save.nurses, save.days);
        all += values + save.report + L"\x1E";
    }
    std::string bytes(all.size() * 3, '\0');
    const int64_t n = WideToUtf8(all.c_str(), static_cast<int64_t>(all.size()), bytes.data(),
                                 static_cast<int64_t>(bytes.size()));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || n < 0) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(n), &written, nullptr) &&
                    written == static_cast<DWORD>(n);
    CloseHandle(file);
    return ok;
}

}  // namespace

int main() {
    const std::vector<std::wstring> args = ProgramArguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: records_write_sample <record file> <expected file>\n");
        return 2;
    }
    const std::vector<SampleSave> saves = SampleSaves();
    auto text = std::make_unique<RecordText>();
    int failed = 0;
    for (const SampleSave& save : saves) {
        const double values[kMaxParams] = {save.nurses, save.days};
        const RecordTime time{2026, 12, 8, 9, 30, 0};
        if (!BuildRecordText(GetBuiltinTool(), values, save.report.c_str(), time, text.get()) ||
            WriteRecordFile(args[1].c_str(), *text) == kRecordWriteFailed) {
            ++failed;
        }
    }
    if (!WriteExpectedSaves(args[2], saves)) ++failed;
    return failed == 0 ? 0 : 1;
}
