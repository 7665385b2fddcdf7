// Follow-up schedule from today's date (SpecialKind 7).
#pragma once

#include <cstdint>

#include "engine/tool_def.h"
#include "expr/day_number.h"

// Uses today's local date.
int32_t GenerateFollowUpSchedule(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity);

// The same for a given day.
int32_t GenerateFollowUpScheduleOn(DayNumber today, const ToolDef& tool, const double* values,
                                   wchar_t* report, int32_t report_capacity,
                                   wchar_t* verdict, int32_t verdict_capacity);
