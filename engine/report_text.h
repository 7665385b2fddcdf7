// Report text: what every writer of a report uses, the compute pipeline and each
// generator alike. Lines are appended one at a time and cut at the capacity;
// pieces without a line break go through AppendText (engine/bounded_text.h),
// the same bounded append. Values are written by format code; parameters are
// found by name.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

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

// A parameter that a generator reads as a whole number, and the values it
// takes as they stand. Generators read their parameters through these records
// and the window checks typed values against the same records, so that what
// the window accepts is exactly what the generator uses unchanged.
struct IntParamRange {
    const char* var;
    int32_t low;
    int32_t high;
};

// Any whole number of 32 bits: the range of a parameter that is used as it is.
constexpr int32_t kAnyIntLow = INT32_MIN;
constexpr int32_t kAnyIntHigh = INT32_MAX;

// FindClampedIntParam for the range's variable and bounds.
int32_t FindClampedIntParam(const ToolDef& tool, const double* values, const IntParamRange& range);
