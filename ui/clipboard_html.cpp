#include "ui/clipboard_html.h"

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "engine/result_texts.h"
#include "generators/nursing_rota.h"
#include "month/rota_month.h"
#include "ui/html_payload.h"
#include "ui/rota_texts.h"

namespace {

constexpr int32_t kSmallCellCapacity = 16;

// --- Nursing rota ---

void AppendCount(PayloadWriter& w, int32_t count) {
    wchar_t count_text[kSmallCellCapacity];
    FormatText(count_text, kSmallCellCapacity, L"%d", count);
    AppendCell(w, count_text);
}

void AppendRotaHeadRow(PayloadWriter& w, int32_t days) {
    AppendMarkup(w, "<tr>");
    AppendHeadCell(w, kRotaNameHead);
    for (int32_t day_index = 0; day_index < days; ++day_index) {
        wchar_t head[kSmallCellCapacity];
        FormatRotaDayHead(day_index, head, kSmallCellCapacity);
        AppendHeadCell(w, head);
    }
    for (const wchar_t* shift_name : kRotaShiftNames) {
        AppendHeadCell(w, shift_name);
    }
    AppendMarkup(w, "</tr>\r\n");
}

// A row of the grid opens with its head in the names column.
void OpenRotaRow(PayloadWriter& w, const wchar_t* head) {
    AppendMarkup(w, "<tr>");
    AppendCell(w, head);
}

void AppendRotaNurseRow(PayloadWriter& w, const RotaMonth& month, const MonthCounts& counts,
                        int32_t nurse_index) {
    OpenRotaRow(w, month.nurse[nurse_index].name);
    for (int32_t day_index = 0; day_index < month.days; ++day_index) {
        const wchar_t letter[2] = {kMonthShiftLetters[month.cell[nurse_index][day_index].shift],
                                   L'\0'};
        AppendCell(w, letter);
    }
    for (int32_t shift = 0; shift < kRotaShiftCount; ++shift)
        AppendCount(w, counts.nurse[nurse_index][shift]);
    AppendMarkup(w, "</tr>\r\n");
}

// The day's staffing: how many nurses each shift has on each day.
void AppendRotaDayCountRow(PayloadWriter& w, const RotaMonth& month, const MonthCounts& counts,
                           int32_t shift) {
    wchar_t head[kSmallCellCapacity];
    FormatRotaDayCountHead(shift, head, kSmallCellCapacity);
    OpenRotaRow(w, head);
    for (int32_t day_index = 0; day_index < month.days; ++day_index)
        AppendCount(w, counts.day[day_index][shift]);
    AppendMarkup(w, "</tr>\r\n");
}

// The computed rota pastes as the month made from it, as it stands: its
// nurses' labels, its shifts, no dates.
void AppendRotaFragment(PayloadWriter& w, const ToolDef& tool, const double* values) {
    RotaTable table;
    BuildRotaTable(tool, values, &table);
    RotaMonth month;
    MakeMonthFromRota(table, nullptr, L"", kComputedRotaFirstDate, &month);
    MonthCounts counts;
    CountMonth(month, &counts);
    AppendParagraph(w, kRotaRuleLine);
    AppendMarkup(w, "<table>\r\n");
    AppendRotaHeadRow(w, month.days);
    for (int32_t nurse_index = 0; nurse_index < month.nurses; ++nurse_index) {
        AppendRotaNurseRow(w, month, counts, nurse_index);
    }
    for (int32_t shift = 0; shift < kRotaShiftCount; ++shift)
        AppendRotaDayCountRow(w, month, counts, shift);
    AppendMarkup(w, "</table>\r\n");
    AppendParagraph(w, kRotaHintLine);
}

// --- Formula tool ---

void AppendOutputRow(PayloadWriter& w, const OutputDef& output, double result) {
    wchar_t value_text[kValueTextCapacity];
    FormatValue(output.format_code, result, value_text, kValueTextCapacity);
    AppendMarkup(w, "<tr>");
    AppendCell(w, output.label);
    AppendCell(w, value_text);
    AppendCell(w, output.unit);
    AppendMarkup(w, "</tr>\r\n");
}

void AppendFormulaFragment(PayloadWriter& w, const ToolDef& tool, const double* values,
                           const wchar_t* verdict) {
    // Same evaluation as the report's, so the table never disagrees with it.
    double results[kMaxOutputs];
    const bool any_error = EvaluateToolOutputs(tool, values, results);
    AppendMarkup(w, "<table>\r\n");
    for (int32_t j = 0; j < tool.output_count && j < kMaxOutputs; ++j) {
        AppendOutputRow(w, tool.outputs[j], results[j]);
    }
    // A failed output may still show a plausible number: keep the warning.
    if (any_error) AppendOneCellRow(w, kFailedOutputsNote, TextLength(kFailedOutputsNote));
    AppendOneCellRow(w, verdict, TextLength(verdict));
    AppendMarkup(w, "</table>\r\n");
}

// --- Any other report: its lines ---

bool IsLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// A line ends at CR LF; a lone CR or LF (a report cut after its CR, say) ends
// one too, so no cell ever holds a line break.
void AppendReportLinesFragment(PayloadWriter& w, const wchar_t* report) {
    const int64_t length = TextLength(report);
    AppendMarkup(w, "<table>\r\n");
    int64_t line_start = 0;
    for (int64_t i = 0; i < length; ++i) {
        if (!IsLineBreak(report[i])) continue;
        AppendOneCellRow(w, report + line_start, i - line_start);
        if (report[i] == L'\r' && i + 1 < length && report[i + 1] == L'\n') ++i;
        line_start = i + 1;
    }
    if (line_start < length) AppendOneCellRow(w, report + line_start, length - line_start);
    AppendMarkup(w, "</table>\r\n");
}

void AppendFragment(PayloadWriter& w, const ToolDef& tool, const double* values,
                    const wchar_t* report, const wchar_t* verdict) {
    if (tool.special_kind == kFormulaKind) {
        AppendFormulaFragment(w, tool, values, verdict);
    } else if (tool.special_kind == kNursingRotaKind) {
        AppendRotaFragment(w, tool, values);
    } else {
        AppendReportLinesFragment(w, report);
    }
}

constexpr double kNoValues[kMaxParams] = {};

}  // namespace

int64_t BuildClipboardHtml(const ToolDef& tool, const double* values, const wchar_t* report,
                           const wchar_t* verdict, char* out, int64_t capacity) {
    if (out == nullptr || capacity < 0) return -1;
    if (values == nullptr) values = kNoValues;
    PayloadWriter w{out, capacity, 0, false};
    HtmlFrame frame{};
    BeginHtmlPayload(w, &frame);
    AppendFragment(w, tool, values, report, verdict);
    return EndHtmlPayload(w, frame);
}
