// A text and the buffer sizes that the compute pipeline shares with the other
// views of a result (the window, the clipboard table, the self-test). Kept out
// of the pipeline's public headers, whose includers may use these names for
// buffers of their own.
#pragma once

#include <cstdint>

// FormatValue's output, in characters with the terminator.
constexpr int32_t kValueTextCapacity = 128;

// The window's copy of the last report, in characters with the terminator: the
// whole result that is copied, printed and saved.
constexpr int32_t kSavedReportCapacity = 8192;

// ComputeTool's verdict buffer, in characters with the terminator.
constexpr int32_t kVerdictCapacity = 512;

// The line after a formula tool's outputs when any of them failed; the report
// ends it with CR LF like every line.
constexpr wchar_t kFailedOutputsNote[] = L"（部分结果无法计算，请检查输入是否合理）";
