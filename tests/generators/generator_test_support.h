// Runs a generator on guarded buffers and hands back what it wrote.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/compute.h"
#include "engine/tool_def.h"

using ParamValues = std::array<double, kMaxParams>;

// A tool of the given kind over the given parameters (count 0: no parameters at all).
ToolDef MakeTool(int32_t special_kind, const ParamDef* params, int32_t param_count);

struct GeneratorRun {
    std::wstring report;
    std::wstring verdict;
    int32_t level = -1;
    bool report_terminated = false;  // a terminator within the capacity
    bool verdict_terminated = false;
    bool guards_intact = false;  // nothing written past either capacity
};

constexpr int32_t kRoomyReport = 8192;
constexpr int32_t kWindowReport = 4096;
constexpr int32_t kVerdictCapacity = 512;

// Calls write(report, verdict) on buffers of the given capacities, emptied first and
// followed by guard characters; write returns the level.
GeneratorRun RunOnGuardedBuffers(int32_t report_capacity, int32_t verdict_capacity,
                                 const std::function<int32_t(wchar_t*, wchar_t*)>& write);

// Buffers are emptied first, as the dispatch does, and followed by guard characters.
GeneratorRun RunOnGuardedBuffers(GeneratorFunction generator, const ToolDef& tool,
                                 const double* values, int32_t report_capacity = kRoomyReport,
                                 int32_t verdict_capacity = kVerdictCapacity);

// The same through RunGenerator with the tool's own SpecialKind.
GeneratorRun RunDispatchOnGuardedBuffers(const ToolDef& tool, const double* values,
                                         int32_t report_capacity = kRoomyReport,
                                         int32_t verdict_capacity = kVerdictCapacity);

// Lines of a report, each without its CR LF; text after the last CR LF is dropped.
std::vector<std::wstring> ReportLines(const std::wstring& report);

// Number of CR LF pairs in a report.
int32_t CountLines(const std::wstring& report);
