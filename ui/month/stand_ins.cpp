// TEMPORARY stand-ins for the month file and the arrangement until their own
// units land; this file goes then.
#include "engine/bounded_text.h"
#include "month/arrange.h"
#include "month/month_file.h"

namespace {

int32_t Put(char* out, int32_t capacity, int32_t at, const wchar_t* text) {
    for (; *text != 0 && at + 3 < capacity; ++text) {
        const uint32_t c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out[at++] = static_cast<char>(c);
        } else if (c < 0x800) {
            out[at++] = static_cast<char>(0xC0 | (c >> 6));
            out[at++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out[at++] = static_cast<char>(0xE0 | (c >> 12));
            out[at++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out[at++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return at;
}

}  // namespace

int32_t WriteMonthFile(const RotaMonth& month, char* out, int32_t capacity) {
    wchar_t line[512];
    int32_t at = Put(out, capacity, 0, L"\xFEFF");
    FormatText(line, 512,
               L"排班表,%ls\r\n起始日期,%04d-%02d-%02d\r\n天数,%d\r\n\r\n姓名,能级,不排夜班",
               month.ward, month.first.year, month.first.month, month.first.day, month.days);
    at = Put(out, capacity, at, line);
    for (int32_t d = 0; d < month.days; ++d) {
        FormatText(line, 512, L",%d", d + 1);
        at = Put(out, capacity, at, line);
    }
    at = Put(out, capacity, at, L"\r\n");
    for (int32_t n = 0; n < month.nurses; ++n) {
        FormatText(line, 512, L"%ls,%ls,%ls", month.nurse[n].name, GradeName(month.nurse[n].grade),
                   month.nurse[n].noNights ? L"是" : L"");
        at = Put(out, capacity, at, line);
        for (int32_t d = 0; d < month.days; ++d) {
            const MonthCell& c = month.cell[n][d];
            FormatText(line, 512, c.byHand ? L",%c*" : L",%c", kMonthShiftLetters[c.shift]);
            at = Put(out, capacity, at, line);
        }
        at = Put(out, capacity, at, L"\r\n");
    }
    return at < capacity ? at : -1;
}

bool ReadMonthFile(const char*, int32_t, RotaMonth*, MonthFileError* error) {
    error->line = 1;
    CopyText(error->text, kMonthFileErrorCapacity, L"第 1 行：不是排班表文件");
    return false;
}

ArrangeOutcome ArrangeMonth(RotaMonth*) {
    ArrangeOutcome outcome{};
    CopyText(outcome.reason, kArrangeReasonCapacity, L"按规则排班尚未提供。");
    return outcome;
}
