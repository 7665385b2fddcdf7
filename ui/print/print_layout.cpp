#include "ui/print/print_layout.h"

#include "engine/bounded_text.h"
#include "ui/rota_texts.h"
#include "ui/shell_text.h"

namespace {

// Sizes in tenths of a point.
constexpr int32_t kTitlePoints = 120;
constexpr int32_t kRotaTextPoints = 80;
constexpr int32_t kReportTextPoints = 100;
// A small rota's grid grows to fill its sheet up to this size, which a board
// is read at from a step away.
constexpr int32_t kLargestGridPoints = 140;

// Nothing comes nearer than this to a sheet's edge, whatever the device
// could print (a test bitmap or a preview has no margins of its own).
constexpr int32_t kSmallestMarginTenthsMm = 60;

// A line's pitch, and a grid row's, in hundredths of the em.
constexpr int32_t kLinePitch = 140;
constexpr int32_t kRowPitch = 140;
// The grid's columns in hundredths of its em: the names ("白班人数" is four
// characters), a day ("31日"), a count ("白班").
constexpr int32_t kNameWidth = 480;
constexpr int32_t kDayWidth = 240;
constexpr int32_t kCountWidth = 260;
// A Latin letter or digit is narrower than a Chinese character; the estimate
// errs wide, so that a line laid out to fit is never cut when drawn.
constexpr int32_t kNarrowWidth = 62;

// Cell fills by shift (D, N, R): three grey levels that a black-and-white
// printer keeps apart, each light enough for a black letter.
constexpr uint8_t kShiftGreys[kRotaShiftCount] = {255, 150, 215};
constexpr uint8_t kBlack = 0;

constexpr int32_t kTextCapacity = 160;

constexpr wchar_t kPrintedOnFormat[] = L"打印日期：%ls";
constexpr wchar_t kStaffFormat[] = L"人员：%d 人；周期：%d 天";
constexpr wchar_t kPageNumberFormat[] = L"第 %d 页，共 %d 页";
constexpr wchar_t kVerdictFormat[] = L"结论（级别：%ls）：%ls";
constexpr const wchar_t* kSignatureLabels[] = {L"排班人：", L"审核：", L"日期："};
// The level in words, so that a black-and-white page says what the window's
// colour says; any other value reads as level 0, as the colour does.
constexpr const wchar_t* kLevelWords[] = {L"正常", L"注意", L"警告", L"危急"};

int32_t Max(int32_t a, int32_t b) {
    return a > b ? a : b;
}
int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}
int32_t CeilDiv(int32_t a, int32_t b) {
    return (a + b - 1) / b;
}
int32_t Percent(int32_t value, int32_t percent) {
    return static_cast<int32_t>(static_cast<int64_t>(value) * percent / 100);
}
int32_t Right(Box box) {
    return box.x + box.width;
}
int32_t Bottom(Box box) {
    return box.y + box.height;
}

int32_t LineHeight(const PrintPlan& plan, PrintFontRole font) {
    return Percent(plan.fontHeights[font], kLinePitch);
}

int32_t RuleWidth(int32_t dpi) {
    return Max(1, dpi / 150);
}

// The rota prints as a grid; every other tool as a flow of lines.
bool IsRota(const ToolDef& tool) {
    return tool.special_kind == kNursingRotaKind;
}

// A character's width in hundredths of the em.
int32_t CharWidth(wchar_t c) {
    return c >= 0x2000 ? 100 : kNarrowWidth;
}

int32_t EstimatedWidth(const wchar_t* text, int32_t length, int32_t em) {
    int64_t hundredths = 0;
    for (int32_t i = 0; i < length; ++i)
        hundredths += CharWidth(text[i]);
    return static_cast<int32_t>((hundredths * em + 99) / 100);
}

// The end of the piece of text[start, length) that fits in width: at least one
// character, so that every text makes progress.
int32_t PieceEnd(const wchar_t* text, int32_t start, int32_t length, int32_t em, int32_t width) {
    int32_t end = start;
    int64_t used = 0;
    while (end < length) {
        const int64_t next = used + CharWidth(text[end]) * int64_t{em};
        if (next > int64_t{width} * 100 && end > start) break;
        used = next;
        ++end;
    }
    return end;
}

int32_t PieceCount(const wchar_t* text, int32_t length, int32_t em, int32_t width) {
    int32_t count = 1;
    for (int32_t at = PieceEnd(text, 0, length, em, width); at < length; ++count)
        at = PieceEnd(text, at, length, em, width);
    return count;
}

// ---- Emitting items ----------------------------------------------------------

struct Emitter {
    PrintItemSink sink;
    void* context;
};

void EmitFill(const Emitter& out, Box box, uint8_t grey) {
    out.sink(out.context, PrintItem{PrintItemKind::kFill, box, grey, nullptr, 0, kPrintTextFont,
                                    PrintAlign::kLeft});
}

void EmitText(const Emitter& out, Box box, const wchar_t* text, int32_t length, PrintFontRole font,
              PrintAlign align) {
    out.sink(out.context, PrintItem{PrintItemKind::kText, box, kBlack, text, length, font, align});
}

void EmitText(const Emitter& out, Box box, const wchar_t* text, PrintFontRole font,
              PrintAlign align) {
    EmitText(out, box, text, TextLength(text), font, align);
}

// A text over as many lines of the content's width as it needs, from y on;
// returns the y below it.
int32_t EmitWrapped(const Emitter& out, const PrintPlan& plan, int32_t y, const wchar_t* text,
                    PrintFontRole font) {
    const int32_t length = TextLength(text);
    const int32_t em = plan.fontHeights[font];
    const int32_t line = LineHeight(plan, font);
    int32_t at = 0;
    do {
        const int32_t end = PieceEnd(text, at, length, em, plan.content.width);
        EmitText(out, {plan.content.x, y, plan.content.width, line}, text + at, end - at, font,
                 PrintAlign::kLeft);
        y += line;
        at = end;
    } while (at < length);
    return y;
}

void EmitPageNumber(const Emitter& out, const PrintPlan& plan, Box box, int32_t page_index,
                    PrintAlign align) {
    wchar_t text[kTextCapacity];
    FormatText(text, kTextCapacity, kPageNumberFormat, page_index + 1, plan.pageCount);
    EmitText(out, box, text, kPrintTextFont, align);
}

// The first line of every page: the tool's name, and on the right the date.
int32_t EmitTitleRow(const Emitter& out, const PrintDocument& document, const PrintPlan& plan) {
    const Box row = {plan.content.x, plan.content.y, plan.content.width,
                     LineHeight(plan, kPrintTitleFont)};
    EmitText(out, row, document.tool->name, kPrintTitleFont, PrintAlign::kLeft);
    wchar_t date[kTextCapacity];
    FormatText(date, kTextCapacity, kPrintedOnFormat, document.printedOn);
    EmitText(out, row, date, kPrintTextFont, PrintAlign::kRight);
    return Bottom(row);
}

// ---- The rota ------------------------------------------------------------------

void SetFontHeights(PrintPlan& plan, int32_t text_points, int32_t grid) {
    const int32_t dpi = plan.page.dpi;
    plan.fontHeights[kPrintTitleFont] = PointsToPixels(kTitlePoints, dpi);
    plan.fontHeights[kPrintTextFont] = PointsToPixels(text_points, dpi);
    plan.fontHeights[kPrintBoldTextFont] = PointsToPixels(text_points, dpi);
    plan.fontHeights[kPrintGridFont] = grid;
    plan.fontHeights[kPrintBoldGridFont] = grid;
}

int32_t RotaHeaderHeight(const PrintPlan& plan) {
    return LineHeight(plan, kPrintTitleFont) + LineHeight(plan, kPrintTextFont) * 3 / 2;
}

int32_t SignatureRowHeight(const PrintPlan& plan) {
    return LineHeight(plan, kPrintTextFont) * 3 / 2;
}

int32_t RotaFooterHeight(const PrintPlan& plan) {
    const int32_t em = plan.fontHeights[kPrintTextFont];
    const int32_t width = plan.content.width;
    const int32_t lines = PieceCount(kRotaRuleLine, TextLength(kRotaRuleLine), em, width) +
                          PieceCount(kRotaHintLine, TextLength(kRotaHintLine), em, width);
    const int32_t line = LineHeight(plan, kPrintTextFont);
    return line / 2 + line * lines + SignatureRowHeight(plan);
}

struct GridSpace {
    int32_t width;
    int32_t height;
};

GridSpace RotaGridSpace(const PrintPlan& plan) {
    return {plan.content.width,
            plan.content.height - RotaHeaderHeight(plan) - RotaFooterHeight(plan)};
}

// The largest grid em (pixels) with which a page of this many nurses and days
// fits, counting the staffing rows and the count columns in.
int32_t GridEmThatFits(GridSpace space, int32_t nurses, int32_t days) {
    const int32_t rows = 1 + nurses + kRotaShiftCount;
    const int64_t row_units = int64_t{rows} * kRowPitch;
    const int64_t column_units =
        kNameWidth + int64_t{days} * kDayWidth + int64_t{kRotaShiftCount} * kCountWidth;
    const int64_t by_height = int64_t{space.height} * 100 / row_units;
    const int64_t by_width = int64_t{space.width} * 100 / column_units;
    return static_cast<int32_t>(by_height < by_width ? by_height : by_width);
}

// The fewest pages whose grid text is at least the smallest size; of equal
// page counts, the one with the largest text.
void PlanRota(const PrintDocument& document, PrintPlan& plan) {
    const RotaSize size = document.rota.size;
    SetFontHeights(plan, kRotaTextPoints, 0);
    const GridSpace space = RotaGridSpace(plan);
    const int32_t smallest = CeilDiv(kSmallestPrintPoints * plan.page.dpi, 72);
    const int32_t largest = PointsToPixels(kLargestGridPoints, plan.page.dpi);
    int32_t best_pages = 0;
    int32_t best_em = 0;
    int32_t best_nurses = 1;
    int32_t best_days = 1;
    for (int32_t nurse_chunks = 1; nurse_chunks <= size.nurses; ++nurse_chunks) {
        for (int32_t day_chunks = 1; day_chunks <= size.days; ++day_chunks) {
            const int32_t nurses = CeilDiv(size.nurses, nurse_chunks);
            const int32_t days = CeilDiv(size.days, day_chunks);
            const int32_t pages = CeilDiv(size.nurses, nurses) * CeilDiv(size.days, days);
            const int32_t em = Min(largest, GridEmThatFits(space, nurses, days));
            if (em < smallest) continue;
            if (best_pages != 0 && (pages > best_pages || (pages == best_pages && em <= best_em)))
                continue;
            best_pages = pages;
            best_em = em;
            best_nurses = nurses;
            best_days = days;
        }
    }
    // A sheet too small for even one nurse and one day at the smallest size
    // still gets every cell, one to a page.
    if (best_pages == 0) best_em = smallest;
    SetFontHeights(plan, kRotaTextPoints, best_em);
    plan.rowHeight = Percent(best_em, kRowPitch);
    plan.nameWidth = Percent(best_em, kNameWidth);
    plan.dayWidth = Percent(best_em, kDayWidth);
    plan.countWidth = Percent(best_em, kCountWidth);
    plan.nursesPerPage = best_nurses;
    plan.daysPerPage = best_days;
    plan.nurseChunks = CeilDiv(size.nurses, best_nurses);
    plan.pageCount = plan.nurseChunks * CeilDiv(size.days, best_days);
}

// Which nurses and days a page of the rota holds, and where its grid lies.
struct RotaPage {
    int32_t firstNurse;
    int32_t endNurse;
    int32_t firstDay;
    int32_t endDay;
    bool countColumns;  // the page holds the last day: the nurses' counts
    bool staffingRows;  // the page holds the last nurse: the days' staffing
    Box grid;
};

RotaPage RotaPageOf(const PrintDocument& document, const PrintPlan& plan, int32_t page_index) {
    const RotaSize size = document.rota.size;
    RotaPage page{};
    page.firstNurse = (page_index % plan.nurseChunks) * plan.nursesPerPage;
    page.endNurse = Min(size.nurses, page.firstNurse + plan.nursesPerPage);
    page.firstDay = (page_index / plan.nurseChunks) * plan.daysPerPage;
    page.endDay = Min(size.days, page.firstDay + plan.daysPerPage);
    page.countColumns = page.endDay == size.days;
    page.staffingRows = page.endNurse == size.nurses;
    const int32_t rows =
        1 + page.endNurse - page.firstNurse + (page.staffingRows ? kRotaShiftCount : 0);
    const int32_t width = plan.nameWidth + (page.endDay - page.firstDay) * plan.dayWidth +
                          (page.countColumns ? kRotaShiftCount * plan.countWidth : 0);
    page.grid = {plan.content.x + (plan.content.width - width) / 2,
                 plan.content.y + RotaHeaderHeight(plan), width, rows * plan.rowHeight};
    return page;
}

// The columns of a page's grid, left to right, as x edges: the names, the
// days, the counts.
int32_t ColumnLeft(const RotaPage& page, const PrintPlan& plan, int32_t column) {
    const int32_t days = page.endDay - page.firstDay;
    if (column == 0) return page.grid.x;
    if (column <= days) return page.grid.x + plan.nameWidth + (column - 1) * plan.dayWidth;
    return page.grid.x + plan.nameWidth + days * plan.dayWidth +
           (column - days - 1) * plan.countWidth;
}

int32_t ColumnCount(const RotaPage& page) {
    return 1 + page.endDay - page.firstDay + (page.countColumns ? kRotaShiftCount : 0);
}

Box Cell(const RotaPage& page, const PrintPlan& plan, int32_t row, int32_t column) {
    const int32_t left = ColumnLeft(page, plan, column);
    const int32_t right =
        column + 1 < ColumnCount(page) ? ColumnLeft(page, plan, column + 1) : Right(page.grid);
    return {left, page.grid.y + row * plan.rowHeight, right - left, plan.rowHeight};
}

void EmitCount(const Emitter& out, Box cell, int32_t count) {
    wchar_t text[kTextCapacity];
    FormatText(text, kTextCapacity, L"%d", count);
    EmitText(out, cell, text, kPrintGridFont, PrintAlign::kCentre);
}

void EmitGridHeadRow(const Emitter& out, const RotaPage& page, const PrintPlan& plan) {
    EmitText(out, Cell(page, plan, 0, 0), kRotaNameHead, kPrintBoldGridFont, PrintAlign::kCentre);
    int32_t column = 1;
    for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column) {
        wchar_t head[kTextCapacity];
        FormatRotaDayHead(day, head, kTextCapacity);
        EmitText(out, Cell(page, plan, 0, column), head, kPrintBoldGridFont, PrintAlign::kCentre);
    }
    if (!page.countColumns) return;
    for (const wchar_t* name : kRotaShiftNames) {
        EmitText(out, Cell(page, plan, 0, column++), name, kPrintBoldGridFont, PrintAlign::kCentre);
    }
}

void EmitNurseRow(const Emitter& out, const RotaTable& rota, const RotaPage& page,
                  const PrintPlan& plan, int32_t nurse) {
    const int32_t row = 1 + nurse - page.firstNurse;
    wchar_t label[kRotaNurseLabelCapacity];
    FormatRotaNurseLabel(nurse, label, kRotaNurseLabelCapacity);
    EmitText(out, Cell(page, plan, row, 0), label, kPrintGridFont, PrintAlign::kCentre);
    int32_t column = 1;
    for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column) {
        const Box cell = Cell(page, plan, row, column);
        const int32_t shift = rota.shift[nurse][day];
        EmitFill(out, cell, kShiftGreys[shift]);
        EmitText(out, cell, &kRotaShiftLetters[shift], 1, kPrintBoldGridFont, PrintAlign::kCentre);
    }
    if (!page.countColumns) return;
    for (const int16_t count : rota.nurseCounts[nurse])
        EmitCount(out, Cell(page, plan, row, column++), count);
}

void EmitStaffingRows(const Emitter& out, const RotaTable& rota, const RotaPage& page,
                      const PrintPlan& plan) {
    const int32_t first_row = 1 + page.endNurse - page.firstNurse;
    for (int32_t shift = 0; shift < kRotaShiftCount; ++shift) {
        wchar_t head[kTextCapacity];
        FormatRotaDayCountHead(shift, head, kTextCapacity);
        EmitText(out, Cell(page, plan, first_row + shift, 0), head, kPrintGridFont,
                 PrintAlign::kCentre);
        int32_t column = 1;
        for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column)
            EmitCount(out, Cell(page, plan, first_row + shift, column), rota.dayCounts[day][shift]);
    }
}

// Rules between every row and every column, doubled under the head row and
// above the staffing rows; an outline around the whole grid.
void EmitGridRules(const Emitter& out, const RotaPage& page, const PrintPlan& plan) {
    const int32_t rule = RuleWidth(plan.page.dpi);
    const Box grid = page.grid;
    const int32_t rows = grid.height / plan.rowHeight;
    const int32_t nurse_rows = page.endNurse - page.firstNurse;
    for (int32_t row = 0; row <= rows; ++row) {
        const bool heavy =
            row == 0 || row == 1 || row == rows || (page.staffingRows && row == 1 + nurse_rows);
        const int32_t width = heavy ? 2 * rule : rule;
        EmitFill(out, {grid.x, grid.y + row * plan.rowHeight - width / 2, grid.width, width},
                 kBlack);
    }
    const int32_t columns = ColumnCount(page);
    for (int32_t column = 0; column <= columns; ++column) {
        const int32_t x = column < columns ? ColumnLeft(page, plan, column) : Right(grid);
        const bool heavy = column == 0 || column == 1 || column == columns;
        const int32_t width = heavy ? 2 * rule : rule;
        EmitFill(out, {x - width / 2, grid.y, width, grid.height}, kBlack);
    }
}

// A box's outline as four rules: each rule is drawn at least a device pixel
// wide, so the outline stays whole however small the sheet is shown (a black
// box under a grey one loses a side wherever the two round alike).
void EmitOutline(const Emitter& out, Box box, int32_t rule) {
    EmitFill(out, {box.x, box.y, box.width, rule}, kBlack);
    EmitFill(out, {box.x, Bottom(box) - rule, box.width, rule}, kBlack);
    EmitFill(out, {box.x, box.y, rule, box.height}, kBlack);
    EmitFill(out, {Right(box) - rule, box.y, rule, box.height}, kBlack);
}

// "人员：… 人；周期：… 天" on the left, the legend of the cell fills on the right.
void EmitStaffAndLegendRow(const Emitter& out, const PrintDocument& document, const PrintPlan& plan,
                           int32_t y) {
    const int32_t line = LineHeight(plan, kPrintTextFont);
    const int32_t em = plan.fontHeights[kPrintTextFont];
    const Box row = {plan.content.x, y, plan.content.width, line};
    wchar_t staff[kTextCapacity];
    FormatText(staff, kTextCapacity, kStaffFormat, document.rota.size.nurses,
               document.rota.size.days);
    EmitText(out, row, staff, kPrintTextFont, PrintAlign::kLeft);

    const int32_t swatch = line;
    const int32_t name_width = EstimatedWidth(kRotaShiftNames[0], 2, em);
    const int32_t entry = swatch + em / 2 + name_width + em * 2;
    int32_t x = Right(row) - kRotaShiftCount * entry + em * 2;
    const int32_t rule = RuleWidth(plan.page.dpi);
    for (int32_t shift = 0; shift < kRotaShiftCount; ++shift, x += entry) {
        const Box box = {x, y, swatch, swatch};
        EmitFill(out, box, kShiftGreys[shift]);
        EmitOutline(out, box, rule);
        EmitText(out, box, &kRotaShiftLetters[shift], 1, kPrintBoldTextFont, PrintAlign::kCentre);
        EmitText(out, {x + swatch + em / 2, y, name_width, line}, kRotaShiftNames[shift],
                 kPrintTextFont, PrintAlign::kLeft);
    }
}

// 排班人, 审核, 日期, each with a line to sign on, and the page number.
void EmitSignatureRow(const Emitter& out, const PrintPlan& plan, int32_t page_index) {
    const int32_t height = SignatureRowHeight(plan);
    const int32_t y = Bottom(plan.content) - height;
    const int32_t slot = plan.content.width / 4;
    const int32_t em = plan.fontHeights[kPrintTextFont];
    const int32_t rule = RuleWidth(plan.page.dpi);
    int32_t x = plan.content.x;
    for (const wchar_t* label : kSignatureLabels) {
        const int32_t label_width = EstimatedWidth(label, TextLength(label), em);
        EmitText(out, {x, y, slot, height}, label, kPrintTextFont, PrintAlign::kLeft);
        EmitFill(out, {x + label_width, y + height - height / 4, slot - label_width - em * 2, rule},
                 kBlack);
        x += slot;
    }
    EmitPageNumber(out, plan, {x, y, Right(plan.content) - x, height}, page_index,
                   PrintAlign::kRight);
}

void EmitRotaPage(const Emitter& out, const PrintDocument& document, const PrintPlan& plan,
                  int32_t page_index) {
    const RotaTable& rota = document.rota;
    const RotaPage page = RotaPageOf(document, plan, page_index);
    EmitStaffAndLegendRow(out, document, plan, EmitTitleRow(out, document, plan));
    EmitGridHeadRow(out, page, plan);
    for (int32_t nurse = page.firstNurse; nurse < page.endNurse; ++nurse)
        EmitNurseRow(out, rota, page, plan, nurse);
    if (page.staffingRows) EmitStaffingRows(out, rota, page, plan);
    EmitGridRules(out, page, plan);
    const int32_t below =
        Bottom(plan.content) - RotaFooterHeight(plan) + LineHeight(plan, kPrintTextFont) / 2;
    EmitWrapped(out, plan, EmitWrapped(out, plan, below, kRotaRuleLine, kPrintTextFont),
                kRotaHintLine, kPrintTextFont);
    EmitSignatureRow(out, plan, page_index);
}

// ---- Every other tool: a flow of lines -----------------------------------------

struct FlowLine {
    const wchar_t* text;
    int32_t length;
    PrintFontRole font;
};

using FlowLineVisitor = void (*)(void* context, const FlowLine& line);

void VisitText(FlowLineVisitor visit, void* context, const wchar_t* text, PrintFontRole font) {
    visit(context, {text, TextLength(text), font});
}

bool IsLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// The report's lines: CR LF ends a line, as does a lone CR or LF.
void VisitReportLines(FlowLineVisitor visit, void* context, const wchar_t* report) {
    const int32_t length = TextLength(report);
    int32_t start = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (!IsLineBreak(report[i])) continue;
        visit(context, {report + start, i - start, kPrintTextFont});
        if (report[i] == L'\r' && i + 1 < length && report[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    if (start < length) visit(context, {report + start, length - start, kPrintTextFont});
}

void VisitFlowLines(const PrintDocument& document, FlowLineVisitor visit, void* context) {
    const ToolDef& tool = *document.tool;
    VisitText(visit, context, kParamPanelTitle, kPrintBoldTextFont);
    for (int32_t i = 0; i < tool.param_count && i < kMaxParams; ++i) {
        const ParamDef& param = tool.params[i];
        wchar_t value[kDefaultValueTextCapacity];
        FormatDefaultValue(document.values[i], value, kDefaultValueTextCapacity);
        wchar_t line[kTextCapacity];
        FormatText(line, kTextCapacity, L"%ls：%ls %ls", OrEmpty(param.label), value,
                   OrEmpty(param.unit));
        VisitText(visit, context, line, kPrintTextFont);
    }
    VisitText(visit, context, L"", kPrintTextFont);
    VisitText(visit, context, kResultPanelTitle, kPrintBoldTextFont);
    VisitReportLines(visit, context, document.report);
    VisitText(visit, context, L"", kPrintTextFont);
    const int32_t level = document.level >= 0 && document.level <= 3 ? document.level : 0;
    wchar_t verdict[kTextCapacity * 4];
    FormatText(verdict, kTextCapacity * 4, kVerdictFormat, kLevelWords[level],
               OrEmpty(document.verdict));
    VisitText(visit, context, verdict, kPrintBoldTextFont);
}

// Walks the flow over the pages: a line whose pieces fit on the page is kept
// whole on it; only a line taller than a whole page is split by one. Emits the
// pieces of one page when an emitter is given; counts the pages.
struct FlowWalk {
    const PrintPlan* plan;
    int32_t top;
    int32_t bottom;
    int32_t y;
    int32_t page;
    int32_t target;  // the page to emit, or -1
    Emitter out;
};

void WalkFlowLine(void* context, const FlowLine& line) {
    FlowWalk& walk = *static_cast<FlowWalk*>(context);
    const PrintPlan& plan = *walk.plan;
    const int32_t em = plan.fontHeights[line.font];
    const int32_t pitch = LineHeight(plan, line.font);
    const int32_t pieces = PieceCount(line.text, line.length, em, plan.content.width);
    if (walk.y + pieces * pitch > walk.bottom && walk.y > walk.top) {
        ++walk.page;
        walk.y = walk.top;
    }
    int32_t at = 0;
    do {
        if (walk.y + pitch > walk.bottom && walk.y > walk.top) {
            ++walk.page;
            walk.y = walk.top;
        }
        const int32_t end = PieceEnd(line.text, at, line.length, em, plan.content.width);
        if (walk.page == walk.target) {
            EmitText(walk.out, {plan.content.x, walk.y, plan.content.width, pitch}, line.text + at,
                     end - at, line.font, PrintAlign::kLeft);
        }
        walk.y += pitch;
        at = end;
    } while (at < line.length);
}

FlowWalk StartFlow(const PrintPlan& plan, int32_t target, Emitter out) {
    const int32_t top =
        plan.content.y + LineHeight(plan, kPrintTitleFont) + LineHeight(plan, kPrintTextFont) / 2;
    const int32_t bottom = Bottom(plan.content) - LineHeight(plan, kPrintTextFont) * 3 / 2;
    return {&plan, top, bottom, top, 0, target, out};
}

void IgnoreItem(void*, const PrintItem&) {}

void PlanTextPages(const PrintDocument& document, PrintPlan& plan) {
    SetFontHeights(plan, kReportTextPoints, PointsToPixels(kReportTextPoints, plan.page.dpi));
    FlowWalk walk = StartFlow(plan, -1, {IgnoreItem, nullptr});
    VisitFlowLines(document, WalkFlowLine, &walk);
    plan.pageCount = walk.page + 1;
}

void EmitTextPage(const Emitter& out, const PrintDocument& document, const PrintPlan& plan,
                  int32_t page_index) {
    EmitTitleRow(out, document, plan);
    FlowWalk walk = StartFlow(plan, page_index, out);
    VisitFlowLines(document, WalkFlowLine, &walk);
    const int32_t line = LineHeight(plan, kPrintTextFont);
    EmitPageNumber(out, plan,
                   {plan.content.x, Bottom(plan.content) - line, plan.content.width, line},
                   page_index, PrintAlign::kCentre);
}

Box ContentBox(const PageGeometry& page) {
    const int32_t margin = static_cast<int32_t>(
        (static_cast<int64_t>(kSmallestMarginTenthsMm) * page.dpi + 127) / 254);
    const int32_t left = Max(page.printable.x, margin);
    const int32_t top = Max(page.printable.y, margin);
    const int32_t right = Min(Right(page.printable), page.width - margin);
    const int32_t bottom = Min(Bottom(page.printable), page.height - margin);
    return {left, top, Max(0, right - left), Max(0, bottom - top)};
}

}  // namespace

int32_t PointsToPixels(int32_t tenths_of_points, int32_t dpi) {
    return static_cast<int32_t>((int64_t{tenths_of_points} * dpi + 360) / 720);
}

void PreparePrintDocument(const ToolDef& tool, const double* values, const wchar_t* report,
                          const wchar_t* verdict, int32_t level, int32_t year, int32_t month,
                          int32_t day, PrintDocument* document) {
    *document = PrintDocument{};
    document->tool = &tool;
    document->values = values;
    document->report = OrEmpty(report);
    document->verdict = OrEmpty(verdict);
    document->level = level;
    FormatText(document->printedOn, kPrintDateCapacity, L"%04d-%02d-%02d", year, month, day);
    if (IsRota(tool)) BuildRotaTable(tool, values, &document->rota);
}

bool PrefersLandscape(const ToolDef& tool) {
    return IsRota(tool);
}

PageGeometry PaperPage(PaperSize paper, bool landscape, int32_t dpi) {
    // A quarter inch is dpi / 4.
    const int32_t short_side = static_cast<int32_t>((int64_t{paper.shortSide} * dpi + 127) / 254);
    const int32_t long_side = static_cast<int32_t>((int64_t{paper.longSide} * dpi + 127) / 254);
    const int32_t width = landscape ? long_side : short_side;
    const int32_t height = landscape ? short_side : long_side;
    const int32_t margin = dpi / 4;
    return {width, height, {margin, margin, width - 2 * margin, height - 2 * margin}, dpi};
}

bool PlanPrint(const PrintDocument& document, const PageGeometry& page, PrintPlan* plan) {
    *plan = PrintPlan{};
    plan->page = page;
    plan->content = ContentBox(page);
    plan->rota = IsRota(*document.tool);
    if (page.dpi <= 0) return false;
    if (plan->rota) {
        PlanRota(document, *plan);
        return RotaGridSpace(*plan).height > plan->rowHeight * 2;
    }
    PlanTextPages(document, *plan);
    const FlowWalk walk = StartFlow(*plan, -1, {IgnoreItem, nullptr});
    return walk.bottom - walk.top >= LineHeight(*plan, kPrintBoldTextFont);
}

void EmitPrintPage(const PrintDocument& document, const PrintPlan& plan, int32_t page_index,
                   PrintItemSink sink, void* context) {
    const Emitter out = {sink, context};
    if (plan.rota) {
        EmitRotaPage(out, document, plan, page_index);
    } else {
        EmitTextPage(out, document, plan, page_index);
    }
}
