#include "engine/report_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/bounded_text.h"
#include "expr/day_number.h"

namespace {

constexpr wchar_t kNotFinite[] = L"--";

constexpr int32_t kReportLineScratch = 512;
constexpr int32_t kNumberScratch = 80;

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

}  // namespace

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

int32_t FindClampedIntParam(const ToolDef& tool, const double* values, const IntParamRange& range) {
    return FindClampedIntParam(tool, values, range.var, range.low, range.high);
}
