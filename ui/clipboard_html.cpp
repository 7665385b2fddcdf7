#include "ui/clipboard_html.h"

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "engine/result_texts.h"
#include "generators/nursing_rota.h"
#include "platform/utf8.h"
#include "ui/rota_texts.h"

namespace {

constexpr int32_t kSmallCellCapacity = 16;

// The offsets are written "%010d": ten decimal digits.
constexpr int32_t kOffsetDigits = 10;
constexpr int64_t kLargestOffset = 9999999999;

struct Entity {
    wchar_t character;
    const char* text;
};

// No markup here carries attributes, so quotes need no escaping.
constexpr Entity kEntities[] = {{L'&', "&amp;"}, {L'<', "&lt;"}, {L'>', "&gt;"}};

// Appends to a byte buffer that is never overrun: the first piece that does
// not fit marks the payload as failed, and nothing more is added after it.
struct PayloadWriter {
    char* out;
    int64_t capacity;
    int64_t size;
    bool overflow;
};

void AppendBytes(PayloadWriter& w, const char* bytes, int64_t count) {
    if (w.overflow) return;
    if (count > w.capacity - w.size) {
        w.overflow = true;
        return;
    }
    for (int64_t i = 0; i < count; ++i) {
        w.out[w.size + i] = bytes[i];
    }
    w.size += count;
}

int64_t AsciiLength(const char* text) {
    int64_t n = 0;
    while (text[n] != '\0')
        ++n;
    return n;
}

void AppendMarkup(PayloadWriter& w, const char* markup) {
    AppendBytes(w, markup, AsciiLength(markup));
}

void AppendUtf8(PayloadWriter& w, const wchar_t* text, int64_t length) {
    if (w.overflow || length <= 0) return;
    const int64_t written = WideToUtf8(text, length, w.out + w.size, w.capacity - w.size);
    if (written < 0) {
        w.overflow = true;
        return;
    }
    w.size += written;
}

const char* EntityFor(wchar_t c) {
    for (const Entity& entity : kEntities) {
        if (entity.character == c) return entity.text;
    }
    return nullptr;
}

// The escaped characters are ASCII, so the runs between them never split a
// surrogate pair.
void AppendEscaped(PayloadWriter& w, const wchar_t* text, int64_t length) {
    int64_t run_start = 0;
    for (int64_t i = 0; i < length; ++i) {
        const char* entity = EntityFor(text[i]);
        if (entity == nullptr) continue;
        AppendUtf8(w, text + run_start, i - run_start);
        AppendMarkup(w, entity);
        run_start = i + 1;
    }
    AppendUtf8(w, text + run_start, length - run_start);
}

void AppendEscaped(PayloadWriter& w, const wchar_t* text) {
    AppendEscaped(w, text, TextLength(text));
}

void AppendCell(PayloadWriter& w, const wchar_t* text, int64_t length) {
    AppendMarkup(w, "<td>");
    AppendEscaped(w, text, length);
    AppendMarkup(w, "</td>");
}

void AppendCell(PayloadWriter& w, const wchar_t* text) {
    AppendCell(w, text, TextLength(text));
}

void AppendHeadCell(PayloadWriter& w, const wchar_t* text) {
    AppendMarkup(w, "<th>");
    AppendEscaped(w, text);
    AppendMarkup(w, "</th>");
}

void AppendOneCellRow(PayloadWriter& w, const wchar_t* text, int64_t length) {
    AppendMarkup(w, "<tr>");
    AppendCell(w, text, length);
    AppendMarkup(w, "</tr>\r\n");
}

void AppendParagraph(PayloadWriter& w, const wchar_t* text) {
    AppendMarkup(w, "<p>");
    AppendEscaped(w, text);
    AppendMarkup(w, "</p>\r\n");
}

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

void AppendRotaNurseRow(PayloadWriter& w, const RotaTable& table, int32_t nurse_index) {
    wchar_t label[kRotaNurseLabelCapacity];
    FormatRotaNurseLabel(nurse_index, label, kRotaNurseLabelCapacity);
    OpenRotaRow(w, label);
    for (int32_t day_index = 0; day_index < table.size.days; ++day_index) {
        const wchar_t letter[2] = {kRotaShiftLetters[table.shift[nurse_index][day_index]], L'\0'};
        AppendCell(w, letter);
    }
    for (const int16_t count : table.nurseCounts[nurse_index])
        AppendCount(w, count);
    AppendMarkup(w, "</tr>\r\n");
}

// The day's staffing: how many nurses each shift has on each day.
void AppendRotaDayCountRow(PayloadWriter& w, const RotaTable& table, int32_t shift) {
    wchar_t head[kSmallCellCapacity];
    FormatRotaDayCountHead(shift, head, kSmallCellCapacity);
    OpenRotaRow(w, head);
    for (int32_t day_index = 0; day_index < table.size.days; ++day_index)
        AppendCount(w, table.dayCounts[day_index][shift]);
    AppendMarkup(w, "</tr>\r\n");
}

void AppendRotaFragment(PayloadWriter& w, const ToolDef& tool, const double* values) {
    RotaTable table;
    BuildRotaTable(tool, values, &table);
    AppendParagraph(w, kRotaRuleLine);
    AppendMarkup(w, "<table>\r\n");
    AppendRotaHeadRow(w, table.size.days);
    for (int32_t nurse_index = 0; nurse_index < table.size.nurses; ++nurse_index) {
        AppendRotaNurseRow(w, table, nurse_index);
    }
    for (int32_t shift = 0; shift < kRotaShiftCount; ++shift)
        AppendRotaDayCountRow(w, table, shift);
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

// --- Header ---

struct HeaderOffsets {
    int64_t startHtml;
    int64_t endHtml;
    int64_t startFragment;
    int64_t endFragment;
};

constexpr const char* kOffsetNames[] = {"StartHTML:", "EndHTML:", "StartFragment:", "EndFragment:"};
constexpr int32_t kOffsetCount = 4;

// Writes the header with zeros in the offset fields; returns where each field is.
void AppendHeader(PayloadWriter& w, int64_t* field_positions) {
    AppendMarkup(w, "Version:0.9\r\n");
    for (int32_t k = 0; k < kOffsetCount; ++k) {
        AppendMarkup(w, kOffsetNames[k]);
        field_positions[k] = w.size;
        AppendMarkup(w, "0000000000\r\n");
    }
}

void WriteOffset(char* field, int64_t value) {
    for (int32_t i = kOffsetDigits - 1; i >= 0; --i) {
        field[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

void FillHeader(PayloadWriter& w, const int64_t* field_positions, const HeaderOffsets& offsets) {
    const int64_t values[kOffsetCount] = {offsets.startHtml, offsets.endHtml, offsets.startFragment,
                                          offsets.endFragment};
    for (int32_t k = 0; k < kOffsetCount; ++k) {
        WriteOffset(w.out + field_positions[k], values[k]);
    }
}

constexpr double kNoValues[kMaxParams] = {};

}  // namespace

int64_t BuildClipboardHtml(const ToolDef& tool, const double* values, const wchar_t* report,
                           const wchar_t* verdict, char* out, int64_t capacity) {
    if (out == nullptr || capacity < 0) return -1;
    if (values == nullptr) values = kNoValues;
    PayloadWriter w{out, capacity, 0, false};
    int64_t field_positions[kOffsetCount] = {};
    AppendHeader(w, field_positions);
    HeaderOffsets offsets{};
    offsets.startHtml = w.size;
    AppendMarkup(w, "<html><body>\r\n<!--StartFragment-->");
    offsets.startFragment = w.size;
    AppendFragment(w, tool, values, report, verdict);
    offsets.endFragment = w.size;
    AppendMarkup(w, "<!--EndFragment-->\r\n</body></html>");
    offsets.endHtml = w.size;
    if (w.overflow || offsets.endHtml > kLargestOffset) return -1;
    FillHeader(w, field_positions, offsets);
    return w.size;
}
