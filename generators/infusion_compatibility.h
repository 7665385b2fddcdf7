// Infusion compatibility check of two drugs (SpecialKind 6).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

// The two drugs by their number in the list (any other number is an unknown
// drug, and shown as such).
constexpr IntParamRange kDrugAParam = {"drugA", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kDrugBParam = {"drugB", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kInfusionCompatibilityIntParams[] = {kDrugAParam, kDrugBParam};

int32_t CheckInfusionCompatibility(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity);
