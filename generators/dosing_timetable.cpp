#include "generators/dosing_timetable.h"

#include <cmath>

#include "engine/bounded_text.h"
#include "engine/report_text.h"

namespace {

constexpr wchar_t kExplanationLine[] = L"说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。";
constexpr wchar_t kVerdict[] = L"给药时间表已生成，注意首剂与夜间给药时间";
constexpr wchar_t kDoseSeparator[] = L"  |  ";

constexpr double kDefaultIntervalHours = 8.0;
// Start and interval are held to this many hours (about 114,000 years) so that
// even the last of 30 doses has a day number well inside 32 bits.
constexpr double kMaxHours = 1e9;
constexpr double kHoursPerDay = 24.0;
constexpr int32_t kDoseCellCapacity = 64;

struct DosingPlan {
    double startHours;
    double intervalHours;
    int32_t doses;
};

double AtMostMaxHours(double hours) {
    return hours > kMaxHours ? kMaxHours : hours;
}

// NaN and negative starts count as midnight; NaN and non-positive intervals as the default.
DosingPlan ReadDosingPlan(const ToolDef& tool, const double* values) {
    const double start = FindParamValue(tool, values, "start");
    const double interval = FindParamValue(tool, values, "interval");
    const int32_t doses = FindClampedIntParam(tool, values, kDosingTimesParam);
    return {start > 0.0 ? AtMostMaxHours(start) : 0.0,
            interval > 0.0 ? AtMostMaxHours(interval) : kDefaultIntervalHours, doses};
}

// Whole minutes of an hour fraction, truncated the same way for header and cells.
int32_t MinutesOf(double hours) {
    return static_cast<int32_t>((hours - std::trunc(hours)) * 60.0);
}

void AppendHeader(wchar_t* report, int32_t capacity, const DosingPlan& plan) {
    AppendReportLine(report, capacity, L"首剂时间 %.0f:%02d，间隔 %g 小时，共 %d 次：",
                     std::trunc(plan.startHours), MinutesOf(plan.startHours), plan.intervalHours,
                     plan.doses);
}

void AppendDoseCell(wchar_t* report, int32_t capacity, double hours_from_day1) {
    const double clock = std::fmod(hours_from_day1, kHoursPerDay);
    const int32_t hour = static_cast<int32_t>(clock);
    const int32_t minute = MinutesOf(clock);
    const int32_t day = 1 - static_cast<int32_t>(hours_from_day1 / -kHoursPerDay);
    wchar_t cell[kDoseCellCapacity];
    FormatText(cell, kDoseCellCapacity, L"第%d天 %02d:%02d", day, hour, minute);
    AppendText(report, capacity, cell);
}

}  // namespace

int32_t GenerateDosingTimetable(const ToolDef& tool, const double* values, wchar_t* report,
                                int32_t report_capacity, wchar_t* verdict,
                                int32_t verdict_capacity) {
    const DosingPlan plan = ReadDosingPlan(tool, values);
    AppendHeader(report, report_capacity, plan);
    for (int32_t k = 0; k < plan.doses; ++k) {
        AppendDoseCell(report, report_capacity, plan.startHours + k * plan.intervalHours);
        if (k + 1 < plan.doses) AppendText(report, report_capacity, kDoseSeparator);
    }
    AppendText(report, report_capacity, L"\r\n");
    AppendReportLine(report, report_capacity, L"%ls", kExplanationLine);
    CopyText(verdict, verdict_capacity, kVerdict);
    return 0;
}
