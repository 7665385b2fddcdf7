#include "generators/nursing_rota.h"

#include "engine/bounded_text.h"
#include "engine/report_text.h"

const wchar_t kRotaRuleLine[] =
    L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。";
const wchar_t kRotaHintLine[] =
    L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。";
const wchar_t kRotaVerdict[] = L"已生成轮转排班表，可复制到排班本或表格";

namespace {

// "  ", then per day at most "31日D " (five characters), then CR LF.
constexpr int32_t kRowCapacity = 2 + kRotaMaxDays * 5 + 2 + 1;

// The cells of a row go into a row buffer and the report gets the row once:
// every append to the report measures the report first, so appending cell by
// cell would read a full rota some thousand times over.
void AppendNurseRow(wchar_t* report, int32_t capacity, int32_t nurse_index, int32_t days) {
    wchar_t label[kRotaNurseLabelCapacity];
    FormatRotaNurseLabel(nurse_index, label, kRotaNurseLabelCapacity);
    AppendReportLine(report, capacity, L"%ls：", label);
    wchar_t row[kRowCapacity];
    int32_t n = 0;
    row[n++] = L' ';
    row[n++] = L' ';
    for (int32_t day_index = 0; day_index < days; ++day_index) {
        const int32_t day = day_index + 1;  // 1..31: one or two digits
        if (day >= 10) row[n++] = static_cast<wchar_t>(L'0' + day / 10);
        row[n++] = static_cast<wchar_t>(L'0' + day % 10);
        row[n++] = L'日';
        row[n++] = RotaShiftLetter(nurse_index, day_index);
        row[n++] = L' ';
    }
    row[n++] = L'\r';
    row[n++] = L'\n';
    row[n] = L'\0';
    AppendText(report, capacity, row, n);
}

}  // namespace

RotaSize ReadRotaSize(const ToolDef& tool, const double* values) {
    return {FindClampedIntParam(tool, values, kRotaNursesParam),
            FindClampedIntParam(tool, values, kRotaDaysParam)};
}

void FormatRotaNurseLabel(int32_t nurse_index, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"护士%02d", nurse_index + 1);
}

void BuildRotaTable(const ToolDef& tool, const double* values, RotaTable* table) {
    *table = RotaTable{};
    table->size = ReadRotaSize(tool, values);
    for (int32_t nurse = 0; nurse < table->size.nurses; ++nurse) {
        for (int32_t day = 0; day < table->size.days; ++day) {
            const int32_t shift = RotaShift(nurse, day);
            table->shift[nurse][day] = static_cast<uint8_t>(shift);
            ++table->nurseCounts[nurse][shift];
            ++table->dayCounts[day][shift];
        }
    }
}

int32_t RotaShift(int32_t nurse_index, int32_t day_index) {
    // 64-bit and a non-negative remainder, so that any index pair has a shift.
    const int64_t sum = static_cast<int64_t>(nurse_index) + 2 * static_cast<int64_t>(day_index);
    return static_cast<int32_t>(((sum % kRotaShiftCount) + kRotaShiftCount) % kRotaShiftCount);
}

wchar_t RotaShiftLetter(int32_t nurse_index, int32_t day_index) {
    return kRotaShiftLetters[RotaShift(nurse_index, day_index)];
}

int32_t GenerateNursingRota(const ToolDef& tool, const double* values, wchar_t* report,
                            int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity) {
    const RotaSize size = ReadRotaSize(tool, values);
    AppendReportLine(report, report_capacity, L"%ls", kRotaRuleLine);
    AppendReportLine(report, report_capacity, L"人员：%d 人；周期：%d 天", size.nurses, size.days);
    AppendReportLine(report, report_capacity, L"");
    for (int32_t nurse_index = 0; nurse_index < size.nurses; ++nurse_index) {
        AppendNurseRow(report, report_capacity, nurse_index, size.days);
    }
    AppendReportLine(report, report_capacity, L"");
    AppendReportLine(report, report_capacity, L"%ls", kRotaHintLine);
    CopyText(verdict, verdict_capacity, kRotaVerdict);
    return 0;
}
