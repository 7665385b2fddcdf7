// Compute pipeline, report text and value formatting.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

int32_t ComputeTool(const ToolDef& tool, const double* values, wchar_t* report,
                    int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity,
                    int32_t* level, wchar_t* saved_report, int32_t saved_capacity);

int32_t RunGenerator(int32_t special_kind, const ToolDef& tool, const double* values,
                     wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                     int32_t verdict_capacity);

void AppendReportLine(wchar_t* report, int32_t capacity, const wchar_t* format, ...);

void FormatValue(const char* format_code, double value, wchar_t* out, int32_t capacity);

double FindParamValue(const ToolDef& tool, const double* values, const char* var);

// A parameter used as an integer: truncated toward zero; outside the 32-bit range,
// or not a number, it becomes INT32_MIN so that it falls to the caller's lower clamp.
int32_t TruncateToInt32(double value);

// FindParamValue followed by TruncateToInt32.
int32_t FindIntParam(const ToolDef& tool, const double* values, const char* var);

// FindIntParam clamped to low..high: below low gives low, above high gives high
// (an absent, huge or NaN parameter therefore gives low).
int32_t FindClampedIntParam(const ToolDef& tool, const double* values, const char* var, int32_t low,
                            int32_t high);

// Evaluates every output of a formula tool into results (kMaxOutputs entries,
// all set), exactly as ComputeTool does for its report; returns whether any
// output failed. For views of a result other than the report text.
bool EvaluateToolOutputs(const ToolDef& tool, const double* values, double* results);

// Generator signature shared by every SpecialKind 1 to 11.
using GeneratorFunction = int32_t (*)(const ToolDef& tool, const double* values, wchar_t* report,
                                      int32_t report_capacity, wchar_t* verdict,
                                      int32_t verdict_capacity);
