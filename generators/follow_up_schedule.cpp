#include "generators/follow_up_schedule.h"

#include <cstdint>

#include "engine/bounded_text.h"
#include "engine/report_text.h"
#include "platform/local_date.h"

namespace {

constexpr wchar_t kContentLine[] =
    L"内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。";
constexpr wchar_t kVerdict[] = L"随访计划已生成，可按日期短信提醒患者";

constexpr int32_t kDefaultGapDays = 7;
constexpr int32_t kDateTextCapacity = 32;

struct FollowUpPlan {
    int32_t startOffset;  // any value: negative offsets lie in the past
    int32_t gapDays;
    int32_t contacts;
};

FollowUpPlan ReadFollowUpPlan(const ToolDef& tool, const double* values) {
    const int32_t start = FindClampedIntParam(tool, values, kFollowUpStartParam);
    const int32_t gap = FindIntParam(tool, values, kFollowUpGapParam.var);
    const int32_t contacts = FindClampedIntParam(tool, values, kFollowUpTimesParam);
    return {start, gap < kFollowUpGapParam.low ? kDefaultGapDays : gap, contacts};
}

// Offsets are at most 32-bit, but the day given may be any 64-bit day number:
// the sum stops at the ends of the range instead of wrapping.
DayNumber AddDays(DayNumber day, int64_t days) {
    if (days > 0 && day > INT64_MAX - days) return INT64_MAX;
    if (days < 0 && day < INT64_MIN - days) return INT64_MIN;
    return day + days;
}

}  // namespace

int32_t GenerateFollowUpScheduleOn(DayNumber today, const ToolDef& tool, const double* values,
                                   wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity) {
    const FollowUpPlan plan = ReadFollowUpPlan(tool, values);
    AppendReportLine(report, report_capacity,
                     L"随访节点（以今天为基准，起始第 %d 天，间隔 %d 天，共 %d 次）：",
                     plan.startOffset, plan.gapDays, plan.contacts);
    DayNumber contact_day = AddDays(today, plan.startOffset);
    for (int32_t k = 1; k <= plan.contacts; ++k) {
        wchar_t date_text[kDateTextCapacity];
        FormatDayNumber(contact_day, date_text, kDateTextCapacity);
        AppendReportLine(report, report_capacity, L"第 %d 次：%ls", k, date_text);
        contact_day = AddDays(contact_day, plan.gapDays);
    }
    AppendReportLine(report, report_capacity, L"%ls", kContentLine);
    CopyText(verdict, verdict_capacity, kVerdict);
    return 0;
}

int32_t GenerateFollowUpSchedule(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity) {
    const LocalCivilDate today = GetLocalCivilDate();
    return GenerateFollowUpScheduleOn(DaysFromCivil(today.year, today.month, today.day), tool,
                                      values, report, report_capacity, verdict, verdict_capacity);
}
