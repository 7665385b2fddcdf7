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

// Cell fills by shift (D, N, R, leave): three grey levels that a
// black-and-white printer keeps apart, each light enough for a black letter;
// leave stays white, its word telling it from a day shift.
constexpr uint8_t kShiftGreys[kMonthShiftCount] = {255, 150, 215, 255};
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
    if (document.check != nullptr) {
        wchar_t title[kTextCapacity];
        FormatMonthTitle(document.month, title, kTextCapacity);
        EmitText(out, row, title, kPrintTitleFont, PrintAlign::kLeft);
    } else {
        EmitText(out, row, document.tool->name, kPrintTitleFont, PrintAlign::kLeft);
    }
    wchar_t date[kTextCapacity];
    FormatText(date, kTextCapacity, kPrintedOnFormat, document.printedOn);
    EmitText(out, row, date, kPrintTextFont, PrintAlign::kRight);
    return Bottom(row);
}

// ---- The rota ------------------------------------------------------------------

// A ward's month is the computed rota with names, dates and checks: two head
// rows (the dates, then the weekdays), a column and a staffing row for leave,
// names as long as the ward's. The computed rota prints as it always has.
struct GridShape {
    int32_t headRows;
    int32_t shifts;     // count columns at the end, staffing rows under the grid
    int32_t nameUnits;  // the names column in hundredths of the em
};

bool IsWardMonth(const PrintDocument& document) {
    return document.check != nullptr;
}

constexpr int32_t kNameLabelCapacity = kNurseNameCapacity + 4;

// "张三 N2": a ward's nurse with her grade.
void FormatNameLabel(const PrintDocument& document, int32_t nurse, wchar_t* out, int32_t capacity) {
    const MonthNurse& named = document.month.nurse[nurse];
    FormatText(out, capacity, named.grade == kNoGrade ? L"%ls" : L"%ls %ls", named.name,
               GradeName(named.grade));
}

GridShape ShapeOf(const PrintDocument& document) {
    if (!IsWardMonth(document)) return {1, kRotaShiftCount, kNameWidth};
    int32_t widest = kNameWidth;
    for (int32_t nurse = 0; nurse < document.month.nurses; ++nurse) {
        wchar_t label[kNameLabelCapacity];
        FormatNameLabel(document, nurse, label, kNameLabelCapacity);
        widest = Max(widest, EstimatedWidth(label, TextLength(label), 100) + 60);
    }
    return {2, kMonthShiftCount, widest};
}

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

// Under the grid: the rota's rule and hint, or the month's breach summary and
// what its marks mean.
constexpr wchar_t kMonthMarksLine[] =
    L"粗框加角标：违反排班规则的班次（详见排班表窗口的违规列表）；带 * 的班次为手动调整。";

struct FooterLines {
    wchar_t first[kTextCapacity];
    const wchar_t* second;
};

FooterLines FooterLinesOf(const PrintDocument& document) {
    FooterLines lines{};
    if (IsWardMonth(document)) {
        FormatBreachSummary(*document.check, lines.first, kTextCapacity);
        lines.second = kMonthMarksLine;
    } else {
        CopyText(lines.first, kTextCapacity, kRotaRuleLine);
        lines.second = kRotaHintLine;
    }
    return lines;
}

int32_t RotaFooterHeight(const PrintDocument& document, const PrintPlan& plan) {
    const int32_t em = plan.fontHeights[kPrintTextFont];
    const int32_t width = plan.content.width;
    const FooterLines footer = FooterLinesOf(document);
    const int32_t lines = PieceCount(footer.first, TextLength(footer.first), em, width) +
                          PieceCount(footer.second, TextLength(footer.second), em, width);
    const int32_t line = LineHeight(plan, kPrintTextFont);
    return line / 2 + line * lines + SignatureRowHeight(plan);
}

struct GridSpace {
    int32_t width;
    int32_t height;
};

GridSpace RotaGridSpace(const PrintDocument& document, const PrintPlan& plan) {
    return {plan.content.width,
            plan.content.height - RotaHeaderHeight(plan) - RotaFooterHeight(document, plan)};
}

int64_t RowUnits(const GridShape& shape, int32_t nurses) {
    return int64_t{shape.headRows + nurses + shape.shifts} * kRowPitch;
}

int64_t ColumnUnits(const GridShape& shape, int32_t days) {
    return shape.nameUnits + int64_t{days} * kDayWidth + int64_t{shape.shifts} * kCountWidth;
}

// The largest grid em (pixels) with which a page of this many nurses and days
// fits, counting the staffing rows and the count columns in.
int32_t GridEmThatFits(GridSpace space, const GridShape& shape, int32_t nurses, int32_t days) {
    const int64_t by_height = int64_t{space.height} * 100 / RowUnits(shape, nurses);
    const int64_t by_width = int64_t{space.width} * 100 / ColumnUnits(shape, days);
    return static_cast<int32_t>(by_height < by_width ? by_height : by_width);
}

// Once the text has its size, the cells grow (the text does not) to fill the
// sheet, up to half as large again, so that a small rota spans the board's
// sheet rather than sitting in its top corner.
constexpr int32_t kMostCellStretch = 150;

int32_t StretchToFill(int32_t space, int64_t units, int32_t em) {
    const int64_t natural = units * em / 100;
    if (natural <= 0) return 100;
    return static_cast<int32_t>(Min(kMostCellStretch, static_cast<int32_t>(space * 100 / natural)));
}

// The fewest pages whose grid text is at least the smallest size; of equal
// page counts, the one with the largest text.
void PlanRota(const PrintDocument& document, PrintPlan& plan) {
    const int32_t all_nurses = document.month.nurses;
    const int32_t all_days = document.month.days;
    const GridShape shape = ShapeOf(document);
    SetFontHeights(plan, kRotaTextPoints, 0);
    const GridSpace space = RotaGridSpace(document, plan);
    const int32_t smallest = CeilDiv(kSmallestPrintPoints * plan.page.dpi, 72);
    const int32_t largest = PointsToPixels(kLargestGridPoints, plan.page.dpi);
    int32_t best_pages = 0;
    int32_t best_em = 0;
    int32_t best_nurses = 1;
    int32_t best_days = 1;
    for (int32_t nurse_chunks = 1; nurse_chunks <= all_nurses; ++nurse_chunks) {
        for (int32_t day_chunks = 1; day_chunks <= all_days; ++day_chunks) {
            const int32_t nurses = CeilDiv(all_nurses, nurse_chunks);
            const int32_t days = CeilDiv(all_days, day_chunks);
            const int32_t pages = CeilDiv(all_nurses, nurses) * CeilDiv(all_days, days);
            const int32_t em = Min(largest, GridEmThatFits(space, shape, nurses, days));
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
    const bool fits = best_pages != 0;
    if (!fits) best_em = smallest;
    SetFontHeights(plan, kRotaTextPoints, best_em);
    const int32_t wide =
        fits ? StretchToFill(space.width, ColumnUnits(shape, best_days), best_em) : 100;
    const int32_t tall =
        fits ? StretchToFill(space.height, RowUnits(shape, best_nurses), best_em) : 100;
    plan.rowHeight = Percent(Percent(best_em, kRowPitch), tall);
    plan.nameWidth = Percent(Percent(best_em, shape.nameUnits), wide);
    plan.dayWidth = Percent(Percent(best_em, kDayWidth), wide);
    plan.countWidth = Percent(Percent(best_em, kCountWidth), wide);
    plan.nursesPerPage = best_nurses;
    plan.daysPerPage = best_days;
    plan.nurseChunks = CeilDiv(all_nurses, best_nurses);
    plan.pageCount = plan.nurseChunks * CeilDiv(all_days, best_days);
}

// Which nurses and days a page of the rota holds, and where its grid lies.
struct RotaPage {
    GridShape shape;
    int32_t firstNurse;
    int32_t endNurse;
    int32_t firstDay;
    int32_t endDay;
    bool countColumns;  // the page holds the last day: the nurses' counts
    bool staffingRows;  // the page holds the last nurse: the days' staffing
    Box grid;
};

RotaPage RotaPageOf(const PrintDocument& document, const PrintPlan& plan, int32_t page_index) {
    RotaPage page{};
    page.shape = ShapeOf(document);
    page.firstNurse = (page_index % plan.nurseChunks) * plan.nursesPerPage;
    page.endNurse = Min(document.month.nurses, page.firstNurse + plan.nursesPerPage);
    page.firstDay = (page_index / plan.nurseChunks) * plan.daysPerPage;
    page.endDay = Min(document.month.days, page.firstDay + plan.daysPerPage);
    page.countColumns = page.endDay == document.month.days;
    page.staffingRows = page.endNurse == document.month.nurses;
    const int32_t rows = page.shape.headRows + page.endNurse - page.firstNurse +
                         (page.staffingRows ? page.shape.shifts : 0);
    const int32_t width = plan.nameWidth + (page.endDay - page.firstDay) * plan.dayWidth +
                          (page.countColumns ? page.shape.shifts * plan.countWidth : 0);
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
    return 1 + page.endDay - page.firstDay + (page.countColumns ? page.shape.shifts : 0);
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

// A box's outline as four rules: each rule is drawn at least a device pixel
// wide, so the outline stays whole however small the sheet is shown (a black
// box under a grey one loses a side wherever the two round alike).
void EmitOutline(const Emitter& out, Box box, int32_t rule) {
    EmitFill(out, {box.x, box.y, box.width, rule}, kBlack);
    EmitFill(out, {box.x, Bottom(box) - rule, box.width, rule}, kBlack);
    EmitFill(out, {box.x, box.y, rule, box.height}, kBlack);
    EmitFill(out, {Right(box) - rule, box.y, rule, box.height}, kBlack);
}

// A breach's cell: a heavy outline inside the cell's rules and a black corner,
// which survive a black-and-white printer and a photocopy alike.
void EmitBreachMark(const Emitter& out, Box cell, int32_t dpi) {
    const int32_t rule = RuleWidth(dpi);
    EmitOutline(out, {cell.x + rule, cell.y + rule, cell.width - 2 * rule, cell.height - 2 * rule},
                2 * rule);
    const int32_t corner = Max(3 * rule, cell.height / 4);
    EmitFill(out, {Right(cell) - corner - rule, cell.y + rule, corner, corner}, kBlack);
}

// Weekends and holidays: their head cells and staffing cells shaded.
constexpr uint8_t kFreeDayGrey = 200;

bool IsFreeDay(const PrintDocument& document, int32_t day) {
    return IsWardMonth(document) &&
           (document.month.holiday[day] || IsWeekendDay(document.month, day));
}

void EmitDayHead(const Emitter& out, const PrintDocument& document, const RotaPage& page,
                 const PrintPlan& plan, int32_t day, int32_t column) {
    wchar_t head[kTextCapacity];
    if (!IsWardMonth(document)) {
        FormatRotaDayHead(day, head, kTextCapacity);
        EmitText(out, Cell(page, plan, 0, column), head, kPrintBoldGridFont, PrintAlign::kCentre);
        return;
    }
    const Box date = Cell(page, plan, 0, column);
    const Box weekday = Cell(page, plan, 1, column);
    if (IsFreeDay(document, day)) {
        EmitFill(out, date, kFreeDayGrey);
        EmitFill(out, weekday, kFreeDayGrey);
    }
    FormatText(head, kTextCapacity, L"%d日", DateOfDay(document.month, day).day);
    EmitText(out, date, head, kPrintBoldGridFont, PrintAlign::kCentre);
    EmitText(out, weekday,
             document.month.holiday[day] ? L"节" : WeekdayName(WeekdayOfDay(document.month, day)),
             kPrintBoldGridFont, PrintAlign::kCentre);
}

void EmitGridHeadRows(const Emitter& out, const PrintDocument& document, const RotaPage& page,
                      const PrintPlan& plan) {
    const int32_t last = page.shape.headRows - 1;
    Box name_head = Cell(page, plan, 0, 0);
    name_head.height = plan.rowHeight * page.shape.headRows;
    EmitText(out, name_head, kRotaNameHead, kPrintBoldGridFont, PrintAlign::kCentre);
    int32_t column = 1;
    for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column)
        EmitDayHead(out, document, page, plan, day, column);
    if (!page.countColumns) return;
    for (int32_t shift = 0; shift < page.shape.shifts; ++shift, ++column) {
        Box head = Cell(page, plan, 0, column);
        head.height = plan.rowHeight * (last + 1);
        EmitText(out, head, kMonthShiftNames[shift], kPrintBoldGridFont, PrintAlign::kCentre);
    }
}

void EmitNurseRow(const Emitter& out, const PrintDocument& document, const MonthCounts& counts,
                  const RotaPage& page, const PrintPlan& plan, int32_t nurse) {
    const RotaMonth& month = document.month;
    const int32_t row = page.shape.headRows + nurse - page.firstNurse;
    wchar_t label[kNameLabelCapacity];
    FormatNameLabel(document, nurse, label, kNameLabelCapacity);
    EmitText(out, Cell(page, plan, row, 0), label, kPrintGridFont, PrintAlign::kCentre);
    int32_t column = 1;
    for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column) {
        const Box cell = Cell(page, plan, row, column);
        const MonthCell shift = month.cell[nurse][day];
        EmitFill(out, cell, kShiftGreys[shift.shift]);
        const wchar_t text[2] = {kMonthShiftLetters[shift.shift], L'*'};
        EmitText(out, cell, text, shift.byHand ? 2 : 1, kPrintBoldGridFont, PrintAlign::kCentre);
        if (IsWardMonth(document) && document.check->cellRules[nurse][day] != 0)
            EmitBreachMark(out, cell, plan.page.dpi);
    }
    if (!page.countColumns) return;
    for (int32_t shift = 0; shift < page.shape.shifts; ++shift)
        EmitCount(out, Cell(page, plan, row, column++), counts.nurse[nurse][shift]);
}

void EmitStaffingRows(const Emitter& out, const PrintDocument& document, const MonthCounts& counts,
                      const RotaPage& page, const PrintPlan& plan) {
    const int32_t first_row = page.shape.headRows + page.endNurse - page.firstNurse;
    for (int32_t shift = 0; shift < page.shape.shifts; ++shift) {
        EmitText(out, Cell(page, plan, first_row + shift, 0), kMonthStaffingNames[shift],
                 kPrintGridFont, PrintAlign::kCentre);
        int32_t column = 1;
        for (int32_t day = page.firstDay; day < page.endDay; ++day, ++column) {
            const Box cell = Cell(page, plan, first_row + shift, column);
            if (IsFreeDay(document, day)) EmitFill(out, cell, kFreeDayGrey);
            EmitCount(out, cell, counts.day[day][shift]);
            if (IsWardMonth(document) && StaffingRowRules(*document.check, day, shift) != 0)
                EmitBreachMark(out, cell, plan.page.dpi);
        }
    }
}

// Rules between every row and every column, doubled under the head rows and
// above the staffing rows; an outline around the whole grid. Within the head
// the names and counts columns span both rows.
void EmitGridRules(const Emitter& out, const RotaPage& page, const PrintPlan& plan) {
    const int32_t rule = RuleWidth(plan.page.dpi);
    const Box grid = page.grid;
    const int32_t rows = grid.height / plan.rowHeight;
    const int32_t head = page.shape.headRows;
    const int32_t nurse_rows = page.endNurse - page.firstNurse;
    const int32_t days = page.endDay - page.firstDay;
    for (int32_t row = 0; row <= rows; ++row) {
        const bool heavy = row == 0 || row == head || row == rows ||
                           (page.staffingRows && row == head + nurse_rows);
        const int32_t width = heavy ? 2 * rule : rule;
        const bool within_head = row > 0 && row < head;
        const int32_t left = within_head ? ColumnLeft(page, plan, 1) : grid.x;
        const int32_t right =
            within_head ? ColumnLeft(page, plan, 1) + days * plan.dayWidth : Right(grid);
        EmitFill(out, {left, grid.y + row * plan.rowHeight - width / 2, right - left, width},
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

constexpr wchar_t kMonthSpanFormat[] = L"日期：%04d-%02d-%02d 至 %04d-%02d-%02d；人员：%d 人";

void FormatStaffLine(const PrintDocument& document, wchar_t* out, int32_t capacity) {
    const RotaMonth& month = document.month;
    if (!IsWardMonth(document)) {
        FormatText(out, capacity, kStaffFormat, month.nurses, month.days);
        return;
    }
    const MonthDate last = DateOfDay(month, month.days - 1);
    FormatText(out, capacity, kMonthSpanFormat, month.first.year, month.first.month,
               month.first.day, last.year, last.month, last.day, month.nurses);
}

// "人员：… 人；周期：… 天" (a ward's month: its dates and staff) on the left, the
// legend of the cell fills on the right; a ward's month adds leave and the
// breach mark.
void EmitStaffAndLegendRow(const Emitter& out, const PrintDocument& document, const PrintPlan& plan,
                           int32_t y) {
    const int32_t line = LineHeight(plan, kPrintTextFont);
    const int32_t em = plan.fontHeights[kPrintTextFont];
    const Box row = {plan.content.x, y, plan.content.width, line};
    wchar_t staff[kTextCapacity];
    FormatStaffLine(document, staff, kTextCapacity);
    EmitText(out, row, staff, kPrintTextFont, PrintAlign::kLeft);

    const bool ward = IsWardMonth(document);
    const int32_t entries = ward ? kMonthShiftCount + 1 : kRotaShiftCount;
    const int32_t swatch = line;
    const int32_t name_width = EstimatedWidth(kRotaShiftNames[0], 2, em);
    const int32_t entry = swatch + em / 2 + name_width + em * 2;
    int32_t x = Right(row) - entries * entry + em * 2;
    const int32_t rule = RuleWidth(plan.page.dpi);
    for (int32_t shift = 0; shift < entries; ++shift, x += entry) {
        const Box box = {x, y, swatch, swatch};
        const Box name = {x + swatch + em / 2, y, name_width, line};
        if (shift == kMonthShiftCount) {
            EmitOutline(out, box, rule);
            EmitBreachMark(out, box, plan.page.dpi);
            EmitText(out, name, L"违规", kPrintTextFont, PrintAlign::kLeft);
            continue;
        }
        EmitFill(out, box, kShiftGreys[shift]);
        EmitOutline(out, box, rule);
        EmitText(out, box, &kMonthShiftLetters[shift], 1, kPrintBoldTextFont, PrintAlign::kCentre);
        EmitText(out, name, kMonthShiftNames[shift], kPrintTextFont, PrintAlign::kLeft);
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
    const RotaPage page = RotaPageOf(document, plan, page_index);
    MonthCounts counts;
    CountMonth(document.month, &counts);
    EmitStaffAndLegendRow(out, document, plan, EmitTitleRow(out, document, plan));
    EmitGridHeadRows(out, document, page, plan);
    for (int32_t nurse = page.firstNurse; nurse < page.endNurse; ++nurse)
        EmitNurseRow(out, document, counts, page, plan, nurse);
    if (page.staffingRows) EmitStaffingRows(out, document, counts, page, plan);
    EmitGridRules(out, page, plan);
    const int32_t below = Bottom(plan.content) - RotaFooterHeight(document, plan) +
                          LineHeight(plan, kPrintTextFont) / 2;
    const FooterLines footer = FooterLinesOf(document);
    EmitWrapped(out, plan, EmitWrapped(out, plan, below, footer.first, kPrintTextFont),
                footer.second, kPrintTextFont);
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
    if (!IsRota(tool)) return;
    RotaTable table;
    BuildRotaTable(tool, values, &table);
    MakeMonthFromRota(table, nullptr, L"", kComputedRotaFirstDate, &document->month);
}

void PrepareMonthPrintDocument(const ToolDef& tool, const RotaMonth& month, const MonthCheck& check,
                               int32_t year, int32_t month_of_year, int32_t day,
                               PrintDocument* document) {
    *document = PrintDocument{};
    document->tool = &tool;
    document->report = L"";
    document->verdict = L"";
    FormatText(document->printedOn, kPrintDateCapacity, L"%04d-%02d-%02d", year, month_of_year,
               day);
    document->month = month;
    document->check = &check;
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
        return RotaGridSpace(document, *plan).height > plan->rowHeight * 2;
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
