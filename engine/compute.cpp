#include "engine/compute.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/bounded_text.h"
#include "expr/day_number.h"
#include "expr/evaluator.h"
#include "generators/dosing_timetable.h"
#include "generators/follow_up_schedule.h"
#include "generators/infusion_card.h"
#include "generators/infusion_compatibility.h"
#include "generators/nursing_rota.h"
#include "generators/reference_sheets.h"

namespace {

constexpr wchar_t kFailedOutputsNote[] = L"（部分结果无法计算，请检查输入是否合理）\r\n";
constexpr wchar_t kFallbackVerdict[] = L"请核对输入参数后重新计算";
constexpr wchar_t kPlaceholderReport[] = L"（该工具暂无自定义报告）";
constexpr wchar_t kPlaceholderVerdict[] = L"暂无报告内容";
constexpr wchar_t kNotFinite[] = L"--";

constexpr int32_t kValueTextCapacity = 128;
constexpr int32_t kOutputLineCapacity = 256;
constexpr int32_t kReportLineScratch = 512;
constexpr int32_t kNumberScratch = 80;

// Indexed by SpecialKind; kind 0 is the formula path and has no generator.
constexpr GeneratorFunction kGenerators[] = {
    nullptr,
    GenerateNursingRota,
    GenerateDosingTimetable,
    GenerateSpecimenTubeOrder,
    GenerateCriticalValueSheet,
    GenerateHighAlertDrugSheet,
    CheckInfusionCompatibility,
    GenerateFollowUpSchedule,
    GenerateSurgicalSafetyChecklist,
    GenerateHandoverTemplate,
    GenerateInfusionCard,
    GenerateLabPanelSheet,
};
constexpr int32_t kGeneratorCount =
    static_cast<int32_t>(sizeof kGenerators / sizeof kGenerators[0]);

struct NumberFormat {
    const char* code;
    const char* pattern;
};

// "date" is handled apart; any code not listed here writes like "f2".
constexpr NumberFormat kNumberFormats[] = {
    {"f0", "%.0f"}, {"f1", "%.1f"},  {"f2", "%.2f"},
    {"f3", "%.3f"}, {"int", "%.0f"}, {"pct", "%.1f%%"},
};

const char* NumberPatternFor(const char* code) {
    for (const NumberFormat& format : kNumberFormats) {
        if (std::strcmp(code, format.code) == 0) return format.pattern;
    }
    return "%.2f";
}

// Day counts are exact and overflow-free below 2^62 days.
constexpr double kDayNumberLimit = 4611686018427387904.0;

void FormatDateValue(double value, wchar_t* out, int32_t capacity) {
    const double days = std::trunc(value);
    if (!(days > -kDayNumberLimit && days < kDayNumberLimit)) {
        // Far outside any calendar: no date can be shown for it.
        CopyText(out, capacity, kNotFinite);
        return;
    }
    FormatDayNumber(static_cast<DayNumber>(days), out, capacity);
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
void FormatNumberValue(const char* pattern, double value, wchar_t* out, int32_t capacity) {
    char scratch[kNumberScratch];
    const int n = std::snprintf(scratch, sizeof scratch, pattern, value);
    if (n < 0 || n >= kNumberScratch) {
        // Fixed-point text of a huge magnitude does not fit the scratch: show the
        // value in exponent form with 15 significant digits instead of a cut number.
        std::snprintf(scratch, sizeof scratch, "%.15g", value);
    }
    WidenAscii(out, capacity, scratch);
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

bool HasText(const wchar_t* text) {
    return text != nullptr && text[0] != L'\0';
}

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

    if (tool.special_kind != 0) {
        result_level = RunGenerator(tool.special_kind, tool, values, report, report_capacity,
                                    verdict, verdict_capacity);
    } else {
        double results[kMaxOutputs] = {};
        const bool any_error = EvaluateOutputs(tool, values, results);
        AppendOutputLines(tool, results, report, report_capacity);
        if (any_error) AppendText(report, report_capacity, kFailedOutputsNote);
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

int32_t RunGenerator(int32_t special_kind, const ToolDef& tool, const double* values,
                     wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                     int32_t verdict_capacity) {
    ClearText(report, report_capacity);
    ClearText(verdict, verdict_capacity);
    if (special_kind > 0 && special_kind < kGeneratorCount) {
        return kGenerators[special_kind](tool, values, report, report_capacity, verdict,
                                         verdict_capacity);
    }
    AppendText(report, report_capacity, kPlaceholderReport);
    CopyText(verdict, verdict_capacity, kPlaceholderVerdict);
    return 0;
}

void AppendReportLine(wchar_t* report, int32_t capacity, const wchar_t* format, ...) {
    wchar_t line[kReportLineScratch];
    va_list args;
    va_start(args, format);
    FormatTextV(line, kReportLineScratch, format, args);
    va_end(args);
    AppendText(report, capacity, line);
    AppendText(report, capacity, L"\r\n");
}

void FormatValue(const char* format_code, double value, wchar_t* out, int32_t capacity) {
    if (out == nullptr || capacity < 1) return;
    if (!std::isfinite(value)) {
        CopyText(out, capacity, kNotFinite);
        return;
    }
    const char* code = format_code != nullptr ? format_code : "f2";
    if (std::strcmp(code, "date") == 0) {
        FormatDateValue(value, out, capacity);
    } else {
        FormatNumberValue(NumberPatternFor(code), value, out, capacity);
    }
    out[capacity - 1] = L'\0';
}

double FindParamValue(const ToolDef& tool, const double* values, const char* var) {
    if (var == nullptr || values == nullptr) return 0.0;
    for (int32_t i = 0; i < tool.param_count && i < kMaxParams; ++i) {
        if (std::strcmp(tool.params[i].var, var) == 0) return values[i];
    }
    return 0.0;
}

int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t FindIntParam(const ToolDef& tool, const double* values, const char* var) {
    return TruncateToInt32(FindParamValue(tool, values, var));
}

int32_t FindClampedIntParam(const ToolDef& tool, const double* values, const char* var, int32_t low,
                            int32_t high) {
    const int32_t value = FindIntParam(tool, values, var);
    if (value < low) return low;
    if (value > high) return high;
    return value;
}
