#include "generators/follow_up_schedule.h"

#include "engine/bounded_text.h"
#include "platform/local_date.h"

int32_t GenerateFollowUpScheduleOn(DayNumber, const ToolDef&, const double*, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity) {
    AppendText(report, report_capacity, L"（该工具暂无自定义报告）");
    CopyText(verdict, verdict_capacity, L"暂无报告内容");
    return 0;
}

int32_t GenerateFollowUpSchedule(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity) {
    const LocalCivilDate today = GetLocalCivilDate();
    return GenerateFollowUpScheduleOn(DaysFromCivil(today.year, today.month, today.day), tool,
                                      values, report, report_capacity, verdict,
                                      verdict_capacity);
}
