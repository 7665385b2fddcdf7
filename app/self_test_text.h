// The self-test report: a line-oriented text that a script can check.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

constexpr int32_t kSelfTestTextCapacity = 16384;
constexpr int32_t kSelfTestReportCapacity = 8192;
constexpr int32_t kDetailMaxCharacters = 8000;

// Appends "DETAIL|"'s body: the report on one line (CR dropped, LF as a
// space), at most max_characters characters; CRs do not count.
void AppendFlattenedReport(wchar_t* text, int32_t capacity, const wchar_t* report,
                           int32_t max_characters);

// Builds the six kinds of lines (TOOL, LEVEL, OUT, VERDICT, DETAIL, ERRORS) from
// a computation's results. A formula tool's outputs are evaluated here once
// more, each on its own. Returns the number of outputs that failed.
// A text that would not fit is shortened in its earlier lines: the DETAIL line
// always ends in CR LF and the ERRORS line always stands whole at the end.
int32_t BuildSelfTestText(const ToolDef& tool, const double* values, int32_t level,
                          const wchar_t* verdict, const wchar_t* report, wchar_t* text,
                          int32_t capacity);

// Computes the tool with its default values and builds the text above.
// Returns the number of outputs that failed.
int32_t ComposeSelfTestText(const ToolDef& tool, wchar_t* text, int32_t capacity);

// The exit code for a number of failed outputs and whether the file was
// written whole: 3 unwritten, else 2 with failures, else 0.
int32_t SelfTestExitCode(int32_t error_count, bool written);
