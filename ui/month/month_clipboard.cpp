#include "ui/month/month_clipboard.h"

#include "engine/bounded_text.h"
#include "ui/html_payload.h"

namespace {

constexpr int32_t kCellCapacity = 48;
constexpr int32_t kLineCapacity = 160;

constexpr wchar_t kSignatureLine[] = L"排班人：__________    审核：__________    日期：__________";

// How a cell stands out: its column shaded (a weekend or a holiday), its
// outline heavy (a breach takes part in it), or a head.
enum CellLook : uint8_t {
    kPlainCell = 0,
    kShadedCell = 1,
    kBreachCell = 2,
    kHeadCell = 4,
};

// Where the rows go: the HTML table or the text's lines.
struct TableSink {
    PayloadWriter* html;
    wchar_t* text;
    int32_t textCapacity;
    int32_t textLength;
    bool firstInRow;
};

void AppendToText(TableSink& sink, const wchar_t* piece) {
    sink.textLength = AppendText(sink.text, sink.textCapacity, piece);
}

// The payload has no stylesheet: spreadsheets keep inline styles on paste.
constexpr const char* kCellOpenings[] = {
    "<td>",
    "<td style=\"background:#d9d9d9\">",
    "<td style=\"border:2px solid #000\">",
    "<td style=\"background:#d9d9d9;border:2px solid #000\">",
    "<th>",
    "<th style=\"background:#d9d9d9\">",
    "<th style=\"border:2px solid #000\">",
    "<th style=\"background:#d9d9d9;border:2px solid #000\">",
};

void PutCell(TableSink& sink, const wchar_t* text, uint8_t look = kPlainCell) {
    if (sink.html != nullptr) {
        AppendMarkup(*sink.html, kCellOpenings[look & 7]);
        AppendEscaped(*sink.html, text);
        AppendMarkup(*sink.html, (look & kHeadCell) != 0 ? "</th>" : "</td>");
        return;
    }
    if (!sink.firstInRow) AppendToText(sink, L"\t");
    AppendToText(sink, text);
    sink.firstInRow = false;
}

void OpenRow(TableSink& sink) {
    if (sink.html != nullptr) AppendMarkup(*sink.html, "<tr>");
    sink.firstInRow = true;
}

void CloseRow(TableSink& sink) {
    if (sink.html != nullptr)
        AppendMarkup(*sink.html, "</tr>\r\n");
    else
        AppendToText(sink, L"\r\n");
}

void PutLine(TableSink& sink, const wchar_t* line) {
    if (sink.html != nullptr) {
        AppendParagraph(*sink.html, line);
        return;
    }
    AppendToText(sink, line);
    AppendToText(sink, L"\r\n");
}

void PutCount(TableSink& sink, int32_t count, uint8_t look = kPlainCell) {
    wchar_t text[kCellCapacity];
    FormatText(text, kCellCapacity, L"%d", count);
    PutCell(sink, text, look);
}

uint8_t DayLook(const RotaMonth& month, int32_t day) {
    return month.holiday[day] || IsWeekendDay(month, day) ? kShadedCell : kPlainCell;
}

void PutHeadRows(TableSink& sink, const RotaMonth& month) {
    OpenRow(sink);
    PutCell(sink, L"姓名", kHeadCell);
    PutCell(sink, L"能级", kHeadCell);
    for (int32_t day = 0; day < month.days; ++day) {
        wchar_t head[kCellCapacity];
        FormatText(head, kCellCapacity, L"%d日", DateOfDay(month, day).day);
        PutCell(sink, head, kHeadCell | DayLook(month, day));
    }
    for (const wchar_t* head : kMonthShiftNames)
        PutCell(sink, head, kHeadCell);
    CloseRow(sink);

    OpenRow(sink);
    PutCell(sink, L"星期", kHeadCell);
    PutCell(sink, L"", kHeadCell);
    for (int32_t day = 0; day < month.days; ++day) {
        const wchar_t* weekday = WeekdayName(WeekdayOfDay(month, day));
        PutCell(sink, month.holiday[day] ? L"假日" : weekday, kHeadCell | DayLook(month, day));
    }
    for (int32_t k = 0; k < kMonthShiftCount; ++k)
        PutCell(sink, L"", kHeadCell);
    CloseRow(sink);
}

void PutNurseRow(TableSink& sink, const RotaMonth& month, const MonthCheck& check,
                 const MonthCounts& counts, int32_t nurse) {
    OpenRow(sink);
    PutCell(sink, month.nurse[nurse].name);
    PutCell(sink, GradeName(month.nurse[nurse].grade));
    for (int32_t day = 0; day < month.days; ++day) {
        const MonthCell cell = month.cell[nurse][day];
        const wchar_t text[3] = {kMonthShiftLetters[cell.shift], cell.byHand ? L'*' : L'\0', L'\0'};
        const uint8_t look =
            DayLook(month, day) | (check.cellRules[nurse][day] != 0 ? kBreachCell : kPlainCell);
        PutCell(sink, text, look);
    }
    for (int32_t shift = 0; shift < kMonthShiftCount; ++shift)
        PutCount(sink, counts.nurse[nurse][shift]);
    CloseRow(sink);
}

void PutStaffingRows(TableSink& sink, const RotaMonth& month, const MonthCheck& check,
                     const MonthCounts& counts) {
    for (int32_t shift = 0; shift < kMonthShiftCount; ++shift) {
        OpenRow(sink);
        PutCell(sink, kMonthStaffingNames[shift]);
        PutCell(sink, L"");
        for (int32_t day = 0; day < month.days; ++day) {
            const bool short_of = StaffingRowRules(check, day, shift) != 0;
            PutCount(sink, counts.day[day][shift],
                     DayLook(month, day) | (short_of ? kBreachCell : kPlainCell));
        }
        CloseRow(sink);
    }
}

void PutMonth(TableSink& sink, const RotaMonth& month, const MonthCheck& check) {
    wchar_t line[kLineCapacity];
    FormatMonthTitle(month, line, kLineCapacity);
    PutLine(sink, line);
    if (sink.html != nullptr) AppendMarkup(*sink.html, "<table border=\"1\">\r\n");
    PutHeadRows(sink, month);
    MonthCounts counts;
    CountMonth(month, &counts);
    for (int32_t nurse = 0; nurse < month.nurses; ++nurse)
        PutNurseRow(sink, month, check, counts, nurse);
    PutStaffingRows(sink, month, check, counts);
    if (sink.html != nullptr) AppendMarkup(*sink.html, "</table>\r\n");
    FormatBreachSummary(check, line, kLineCapacity);
    PutLine(sink, line);
    PutLine(sink, kSignatureLine);
}

}  // namespace

int64_t BuildMonthClipboardHtml(const RotaMonth& month, const MonthCheck& check, char* out,
                                int64_t capacity) {
    if (out == nullptr || capacity < 0) return -1;
    PayloadWriter w{out, capacity, 0, false};
    HtmlFrame frame{};
    BeginHtmlPayload(w, &frame);
    TableSink sink{&w, nullptr, 0, 0, true};
    PutMonth(sink, month, check);
    return EndHtmlPayload(w, frame);
}

int32_t BuildMonthClipboardText(const RotaMonth& month, const MonthCheck& check, wchar_t* out,
                                int32_t capacity) {
    if (out == nullptr || capacity < 1) return -1;
    out[0] = L'\0';
    TableSink sink{nullptr, out, capacity, 0, true};
    PutMonth(sink, month, check);
    return sink.textLength < capacity - 1 ? sink.textLength : -1;
}
