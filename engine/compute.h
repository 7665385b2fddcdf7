// Compute pipeline: a tool definition and its parameter values become the
// report, the verdict and the level. Formula tools are evaluated here; every
// other kind is handed to its generator.
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

int32_t ComputeTool(const ToolDef& tool, const double* values, wchar_t* report,
                    int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity,
                    int32_t* level, wchar_t* saved_report, int32_t saved_capacity);

int32_t RunGenerator(int32_t special_kind, const ToolDef& tool, const double* values,
                     wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                     int32_t verdict_capacity);

// Evaluates every output of a formula tool into results (kMaxOutputs entries,
// all set), exactly as ComputeTool does for its report; returns whether any
// output failed. For views of a result other than the report text.
bool EvaluateToolOutputs(const ToolDef& tool, const double* values, double* results);

// The whole-number range within which the tool's generator reads parameter
// param_index, or null where the value is used as it is: every parameter of a
// formula tool, a generator's other parameters, and a parameter whose name an
// earlier one already has (the generator reads the first).
const IntParamRange* FindIntParamRange(const ToolDef& tool, int32_t param_index);

// Generator signature shared by every SpecialKind 1 to 11.
using GeneratorFunction = int32_t (*)(const ToolDef& tool, const double* values, wchar_t* report,
                                      int32_t report_capacity, wchar_t* verdict,
                                      int32_t verdict_capacity);
