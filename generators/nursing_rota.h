// Nursing rotation roster (SpecialKind 1).
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

int32_t GenerateNursingRota(const ToolDef& tool, const double* values, wchar_t* report,
                            int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity);
