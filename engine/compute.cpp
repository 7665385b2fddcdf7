#include "engine/compute.h"

#include "engine/bounded_text.h"
#include "engine/result_texts.h"
#include "expr/evaluator.h"

namespace {

constexpr wchar_t kFallbackVerdict[] = L"请核对输入参数后重新计算";

constexpr int32_t kOutputLineCapacity = 256;

// Evaluates every output in table order; returns whether any failed.
bool EvaluateOutputs(const ToolDef& tool, const double* values, double* results) {
    bool any_error = false;
    for (int32_t j = 0; j < tool.output_count && j < kMaxOutputs; ++j) {
        int32_t error = 0;
        results[j] = EvaluateExpression(tool, tool.outputs[j].expr, values, results, &error);
        if (error != 0) any_error = true;
    }
    return any_error;
}

void AppendOutputLines(const ToolDef& tool, const double* results, wchar_t* report,
                       int32_t capacity) {
    for (int32_t j = 0; j < tool.output_count && j < kMaxOutputs; ++j) {
        const OutputDef& output = tool.outputs[j];
        wchar_t value_text[kValueTextCapacity];
        wchar_t line[kOutputLineCapacity];
        FormatValue(output.format_code, results[j], value_text, kValueTextCapacity);
        if (HasText(output.unit)) {
            FormatText(line, kOutputLineCapacity, L"%ls：%ls %ls\r\n", output.label, value_text,
                       output.unit);
        } else {
            FormatText(line, kOutputLineCapacity, L"%ls：%ls\r\n", output.label, value_text);
        }
        AppendText(report, capacity, line);
    }
}

// Scans the rules in order; the first that applies sets verdict and level.
void ChooseVerdict(const ToolDef& tool, const double* values, const double* results,
                   wchar_t* verdict, int32_t verdict_capacity, int32_t* level) {
    for (int32_t i = 0; i < tool.rule_count; ++i) {
        const VerdictRule& rule = tool.rules[i];
        bool applies = rule.condition == nullptr || rule.condition[0] == '\0';
        if (!applies) {
            int32_t error = 0;
            const double value = EvaluateExpression(tool, rule.condition, values, results, &error);
            applies = error == 0 && value != 0.0;
        }
        if (applies) {
            CopyText(verdict, verdict_capacity, rule.verdict_text);
            *level = rule.level;
            break;
        }
    }
    if (BoundedLength(verdict, verdict_capacity) == 0) {
        CopyText(verdict, verdict_capacity, kFallbackVerdict);
    }
}

}  // namespace

int32_t ComputeTool(const ToolDef& tool, const double* values, wchar_t* report,
                    int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity,
                    int32_t* level, wchar_t* saved_report, int32_t saved_capacity) {
    int32_t result_level = 0;
    ClearText(saved_report, saved_capacity);
    ClearText(verdict, verdict_capacity);
    ClearText(report, report_capacity);

    if (tool.special_kind != kFormulaKind) {
        result_level = RunGenerator(tool.special_kind, tool, values, report, report_capacity,
                                    verdict, verdict_capacity);
    } else {
        double results[kMaxOutputs] = {};
        const bool any_error = EvaluateOutputs(tool, values, results);
        AppendOutputLines(tool, results, report, report_capacity);
        if (any_error) AppendReportLine(report, report_capacity, L"%ls", kFailedOutputsNote);
        ChooseVerdict(tool, values, results, verdict, verdict_capacity, &result_level);
    }
    CopyText(saved_report, saved_capacity, report);
    if (level != nullptr) *level = result_level;
    return result_level;
}

bool EvaluateToolOutputs(const ToolDef& tool, const double* values, double* results) {
    for (int32_t j = 0; j < kMaxOutputs; ++j) {
        results[j] = 0.0;
    }
    return EvaluateOutputs(tool, values, results);
}
