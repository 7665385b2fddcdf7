// Intravenous infusion card (SpecialKind 10).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

// The bed number, a whole number shown as it is.
constexpr IntParamRange kInfusionCardBedParam = {"bed", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kInfusionCardIntParams[] = {kInfusionCardBedParam};

int32_t GenerateInfusionCard(const ToolDef& tool, const double* values, wchar_t* report,
                             int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity);
