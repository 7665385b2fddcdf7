#include "app/self_test_text.h"

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "engine/result_texts.h"
#include "expr/evaluator.h"

namespace {

constexpr int32_t kOutLineCapacity = 512;
constexpr int32_t kErrorsLineCapacity = 128;
constexpr int32_t kLineBreakLength = 2;

// Each output on its own: outputs that name another output's key read 0.
int32_t AppendOutLines(const ToolDef& tool, const double* values, wchar_t* text, int32_t capacity) {
    int32_t errors = 0;
    for (int32_t j = 0; j < tool.output_count && j < kMaxOutputs; ++j) {
        const OutputDef& output = tool.outputs[j];
        const double no_results[kMaxOutputs] = {};
        int32_t error = 0;
        const double value = EvaluateExpression(tool, output.expr, values, no_results, &error);
        if (error != 0) ++errors;
        wchar_t value_text[kValueTextCapacity];
        FormatValue(output.format_code, value, value_text, kValueTextCapacity);
        wchar_t line[kOutLineCapacity];
        FormatText(line, kOutLineCapacity, L"OUT|%ls|%ls|%ls\r\n", OrEmpty(output.label),
                   value_text, OrEmpty(output.unit));
        AppendText(text, capacity, line);
    }
    return errors;
}

}  // namespace

// Written in place from the text's end, measured once, so that the pass stays
// linear in the report's length.
void AppendFlattenedReport(wchar_t* text, int32_t capacity, const wchar_t* report,
                           int32_t max_characters) {
    if (report == nullptr || text == nullptr || capacity < 1) return;
    const int32_t start = BoundedLength(text, capacity - 1);
    const int32_t room = capacity - 1 - start;
    const int32_t limit = max_characters < room ? max_characters : room;
    int32_t added = 0;
    const wchar_t* p = report;
    for (; *p != L'\0' && added < limit; ++p) {
        if (*p == L'\r') continue;
        text[start + added++] = (*p == L'\n') ? L' ' : *p;
    }
    if (added > 0 && IsSurrogatePair(text[start + added - 1], *p)) --added;
    text[start + added] = L'\0';
}

int32_t BuildSelfTestText(const ToolDef& tool, const double* values, int32_t level,
                          const wchar_t* verdict, const wchar_t* report, wchar_t* text,
                          int32_t capacity) {
    ClearText(text, capacity);
    if (capacity < 1) return 0;

    int32_t errors = 0;
    // The ERRORS line is formed last but its room is kept from the start.
    wchar_t errors_line[kErrorsLineCapacity];
    FormatText(errors_line, kErrorsLineCapacity, L"ERRORS|%d\r\n", 0);
    const int32_t reserve = BoundedLength(errors_line, kErrorsLineCapacity) + 4;
    const int32_t body_capacity = capacity > reserve ? capacity - reserve : 1;
    const int32_t detail_capacity =
        body_capacity > kLineBreakLength ? body_capacity - kLineBreakLength : 1;

    FormatText(text, body_capacity, L"TOOL|%d|%ls|%ls\r\n", tool.id, OrEmpty(tool.name),
               OrEmpty(tool.category));
    wchar_t level_line[256];
    FormatText(level_line, 256, L"LEVEL|%d\r\n", level);
    AppendText(text, body_capacity, level_line);

    if (tool.special_kind != kFormulaKind) {
        AppendText(text, body_capacity, L"OUT|报告文本|见 DETAIL|\r\n");
    } else {
        errors = AppendOutLines(tool, values, text, body_capacity);
    }

    AppendText(text, body_capacity, L"VERDICT|");
    AppendText(text, body_capacity, OrEmpty(verdict));
    AppendText(text, body_capacity, L"\r\n");

    AppendText(text, detail_capacity, L"DETAIL|");
    AppendFlattenedReport(text, detail_capacity, report, kDetailMaxCharacters);
    AppendText(text, body_capacity, L"\r\n");

    FormatText(errors_line, kErrorsLineCapacity, L"ERRORS|%d\r\n", errors);
    AppendText(text, capacity, errors_line);
    return errors;
}

int32_t ComposeSelfTestText(const ToolDef& tool, wchar_t* text, int32_t capacity) {
    double values[kMaxParams] = {};
    for (int32_t i = 0; i < tool.param_count && i < kMaxParams; ++i) {
        values[i] = tool.params[i].default_value;
    }
    wchar_t report[kSelfTestReportCapacity];
    wchar_t verdict[kVerdictCapacity];
    wchar_t saved_report[kSelfTestReportCapacity];
    int32_t level = 0;
    ComputeTool(tool, values, report, kSelfTestReportCapacity, verdict, kVerdictCapacity, &level,
                saved_report, kSelfTestReportCapacity);
    return BuildSelfTestText(tool, values, level, verdict, report, text, capacity);
}

int32_t SelfTestExitCode(int32_t error_count, bool written) {
    if (!written) return 3;
    return error_count > 0 ? 2 : 0;
}
