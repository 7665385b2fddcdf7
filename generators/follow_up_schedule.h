// Follow-up schedule from today's date (SpecialKind 7).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"
#include "expr/day_number.h"

// Whole numbers: the first contact's offset from today in days (any, the past
// included), the days between contacts (from 1 on; below that the default gap
// is used) and the number of contacts.
constexpr IntParamRange kFollowUpStartParam = {"start", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kFollowUpGapParam = {"gap", 1, kAnyIntHigh};
constexpr IntParamRange kFollowUpTimesParam = {"times", 1, 20};
constexpr IntParamRange kFollowUpScheduleIntParams[] = {kFollowUpStartParam, kFollowUpGapParam,
                                                        kFollowUpTimesParam};

// Uses today's local date.
int32_t GenerateFollowUpSchedule(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity);

// The same for a given day.
int32_t GenerateFollowUpScheduleOn(DayNumber today, const ToolDef& tool, const double* values,
                                   wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity);
