// Dosing timetable (SpecialKind 2).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

// The number of doses: a whole number within this range.
constexpr IntParamRange kDosingTimesParam = {"times", 1, 30};
constexpr IntParamRange kDosingTimetableIntParams[] = {kDosingTimesParam};

int32_t GenerateDosingTimetable(const ToolDef& tool, const double* values, wchar_t* report,
                                int32_t report_capacity, wchar_t* verdict,
                                int32_t verdict_capacity);
