#include "ui/month/month_view.h"

#include "engine/bounded_text.h"
#include "month/month_file.h"

namespace {

int32_t ScaledColumnWidth(const RotaMonth& month, int32_t column, Scale scale) {
    return Scaled(column < month.days ? kGridMetrics.dayWidth : kGridMetrics.countWidth, scale);
}

int32_t ScaledRowHeight(Scale scale) {
    return ScaledLine(kGridMetrics.rowHeight, scale);
}

// Body columns from first on that fit whole in width pixels.
int32_t ColumnsFitting(const RotaMonth& month, int32_t first, int32_t width, Scale scale) {
    int32_t used = 0;
    int32_t count = 0;
    for (int32_t c = first; c < BodyColumnCount(month); ++c) {
        used += ScaledColumnWidth(month, c, scale);
        if (used > width) break;
        ++count;
    }
    return count;
}

// The smallest first column from which the last column still fits.
int32_t LastFirstColumn(const RotaMonth& month, int32_t width, Scale scale) {
    int32_t first = BodyColumnCount(month) - 1;
    int32_t used = ScaledColumnWidth(month, first, scale);
    while (first > 0 && used + ScaledColumnWidth(month, first - 1, scale) <= width) {
        --first;
        used += ScaledColumnWidth(month, first, scale);
    }
    return first;
}

int32_t Clamped(int32_t value, int32_t low, int32_t high) {
    if (value > high) value = high;
    return value < low ? low : value;
}

void AppendBreaches(const RotaMonth& month, const MonthCheck& check, int32_t nurse, int32_t day,
                    wchar_t* out, int32_t capacity) {
    bool any = false;
    for (int32_t i = 0; i < check.breachCount; ++i) {
        const MonthBreach& breach = check.breach[i];
        if (!BreachTouchesCell(breach, nurse, day)) continue;
        wchar_t text[kBreachTextCapacity];
        FormatBreach(month, breach, text, kBreachTextCapacity);
        AppendText(out, capacity, any ? L"；" : L"。");
        // A reminder's words begin with 提醒 already.
        if (IsHardRule(breach.rule)) AppendText(out, capacity, L"违规：");
        AppendText(out, capacity, text);
        any = true;
    }
    AppendText(out, capacity, any ? L"。" : L"，无违规。");
}

}  // namespace

int32_t BodyRowCount(const RotaMonth& month) {
    return month.nurses + kMonthShiftCount;
}

int32_t BodyColumnCount(const RotaMonth& month) {
    return month.days + kMonthShiftCount;
}

GridView ViewOfGrid(const RotaMonth& month, GridScroll scroll, int32_t width, int32_t height,
                    Scale scale) {
    GridView view{};
    view.frozenWidth = Scaled(kGridMetrics.nameWidth, scale);
    view.frozenHeight = 2 * ScaledLine(kGridMetrics.headerRowHeight, scale);
    const int32_t rows = (height - view.frozenHeight) / ScaledRowHeight(scale);
    view.rows = rows < 1 ? 1 : rows;
    view.bodyWidth = width - view.frozenWidth;
    view.scale = scale;
    const int32_t columns = ColumnsFitting(month, scroll.firstColumn, view.bodyWidth, scale);
    view.columns = columns < 1 ? 1 : columns;
    return view;
}

Box BodyColumnBox(const RotaMonth& month, GridScroll scroll, int32_t column, Scale scale) {
    int32_t x = Scaled(kGridMetrics.nameWidth, scale);
    for (int32_t c = scroll.firstColumn; c < column; ++c)
        x += ScaledColumnWidth(month, c, scale);
    for (int32_t c = column; c < scroll.firstColumn; ++c)
        x -= ScaledColumnWidth(month, c, scale);
    return {x, 0, ScaledColumnWidth(month, column, scale), 0};
}

Box BodyRowBox(GridScroll scroll, int32_t row, Scale scale) {
    const int32_t top = 2 * ScaledLine(kGridMetrics.headerRowHeight, scale);
    const int32_t height = ScaledRowHeight(scale);
    return {0, top + (row - scroll.firstRow) * height, 0, height};
}

GridScroll ClampScroll(const RotaMonth& month, GridScroll scroll, const GridView& view) {
    const int32_t last_row = BodyRowCount(month) - view.rows;
    scroll.firstRow = Clamped(scroll.firstRow, 0, last_row < 0 ? 0 : last_row);
    // The columns' widths differ: the last first column is the one from which
    // the rest fit in the body's width.
    scroll.firstColumn =
        Clamped(scroll.firstColumn, 0, LastFirstColumn(month, view.bodyWidth, view.scale));
    return scroll;
}

GridScroll ScrollToShow(const RotaMonth& month, GridScroll scroll, const GridView& view,
                        int32_t row, int32_t column) {
    if (row < scroll.firstRow) scroll.firstRow = row;
    if (row >= scroll.firstRow + view.rows) scroll.firstRow = row - view.rows + 1;
    if (column == kNameColumn) return scroll;
    if (column < scroll.firstColumn) scroll.firstColumn = column;
    while (scroll.firstColumn < column && ColumnsFitting(month, scroll.firstColumn, view.bodyWidth,
                                                         view.scale) <= column - scroll.firstColumn)
        ++scroll.firstColumn;
    return scroll;
}

GridHit HitTestGrid(const RotaMonth& month, GridScroll scroll, int32_t x, int32_t y, Scale scale) {
    GridHit hit = {-1, -2};
    const int32_t top = 2 * ScaledLine(kGridMetrics.headerRowHeight, scale);
    if (y >= top) {
        const int32_t row = scroll.firstRow + (y - top) / ScaledRowHeight(scale);
        hit.row = row < BodyRowCount(month) ? row : -1;
    }
    int32_t left = Scaled(kGridMetrics.nameWidth, scale);
    if (x >= 0 && x < left) {
        hit.column = kNameColumn;
        return hit;
    }
    for (int32_t c = scroll.firstColumn; c < BodyColumnCount(month); ++c) {
        const int32_t right = left + ScaledColumnWidth(month, c, scale);
        if (x >= left && x < right) {
            hit.column = c;
            break;
        }
        left = right;
    }
    return hit;
}

void BuildMonthWindowTitle(const RotaMonth& month, const wchar_t* path, wchar_t* out,
                           int32_t capacity) {
    const wchar_t* name = path;
    for (const wchar_t* p = path; p != nullptr && *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    wchar_t title[kMonthWindowTitleCapacity];
    if (HasText(name)) {
        CopyText(title, kMonthWindowTitleCapacity, name);
    } else {
        FormatMonthTitle(month, title, kMonthWindowTitleCapacity);
    }
    FormatText(out, capacity, L"%ls - %ls", kMonthWindowTitlePrefix, title);
}

void FormatCellText(const MonthCell& cell, wchar_t* out, int32_t capacity) {
    const wchar_t letter = cell.shift < kMonthShiftCount ? kMonthShiftLetters[cell.shift] : L'?';
    FormatText(out, capacity, cell.byHand ? L"%c*" : L"%c", letter);
}

void FormatNameCell(const MonthNurse& nurse, wchar_t* out, int32_t capacity) {
    CopyText(out, capacity, nurse.name);
    if (nurse.grade != kNoGrade) {
        AppendText(out, capacity, L" ");
        AppendText(out, capacity, GradeName(nurse.grade));
    }
}

bool BreachTouchesCell(const MonthBreach& breach, int32_t nurse, int32_t day) {
    if (breach.rule == kRuleNightSpread) return breach.nurse == nurse || breach.other == nurse;
    if (breach.nurse != nurse) return false;
    return day >= breach.first && day <= breach.last;
}

void BuildCellSentence(const RotaMonth& month, const MonthCheck& check, int32_t nurse,
                       int32_t column, wchar_t* out, int32_t capacity) {
    ClearText(out, capacity);
    if (nurse < 0 || nurse >= month.nurses) return;
    const MonthNurse& who = month.nurse[nurse];
    AppendText(out, capacity, who.name);
    if (column == kNameColumn || column >= month.days) {
        if (who.grade != kNoGrade) {
            AppendText(out, capacity, L"，能级 ");
            AppendText(out, capacity, GradeName(who.grade));
        }
        if (who.noNights) AppendText(out, capacity, L"，不排夜班");
        AppendText(out, capacity, L"，姓名，按 F2 修改。");
        return;
    }
    wchar_t date[24];
    FormatMonthDay(month, column, date, 24);
    const MonthCell& cell = month.cell[nurse][column];
    AppendText(out, capacity, L"，");
    AppendText(out, capacity, date);
    AppendText(out, capacity, L" 星期");
    AppendText(out, capacity, WeekdayName(WeekdayOfDay(month, column)));
    if (month.holiday[column]) AppendText(out, capacity, L"，节假日");
    AppendText(out, capacity, L"，");
    AppendText(out, capacity, kMonthShiftNames[cell.shift < kMonthShiftCount ? cell.shift : 0]);
    if (cell.byHand) AppendText(out, capacity, L"，手工设置");
    AppendBreaches(month, check, nurse, column, out, capacity);
}

void ApplyRoster(const Roster& roster, const wchar_t* ward, RotaMonth* month) {
    for (int32_t n = 0; n < month->nurses; ++n) {
        MonthNurse& nurse = month->nurse[n];
        if (n < roster.count) {
            nurse = roster.nurse[n];
            continue;
        }
        FormatRotaNurseLabel(n, nurse.name, kNurseNameCapacity);
        nurse.grade = kNoGrade;
        nurse.noNights = false;
    }
    if (HasText(ward)) CopyText(month->ward, kWardNameCapacity, ward);
}

int32_t LimitValue(const MonthLimits& limits, MonthLimitField field) {
    switch (field) {
        case kMaxNightRunField:
            return limits.maxNightRun;
        case kMaxWorkRunField:
            return limits.maxWorkRun;
        case kMinDayField:
            return limits.minDay;
        default:
            return limits.minNight;
    }
}

void SetLimitValue(MonthLimits* limits, MonthLimitField field, int32_t value) {
    switch (field) {
        case kMaxNightRunField:
            limits->maxNightRun = value;
            break;
        case kMaxWorkRunField:
            limits->maxWorkRun = value;
            break;
        case kMinDayField:
            limits->minDay = value;
            break;
        default:
            limits->minNight = value;
            break;
    }
}

bool ParseLimitText(const wchar_t* text, MonthLimitField field, int32_t* value) {
    while (*text == L' ')
        ++text;
    int32_t number = 0;
    int32_t digits = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        if (++digits > 4) return false;
        number = number * 10 + (*text - L'0');
    }
    while (*text == L' ')
        ++text;
    const MonthLimitRange range = kMonthLimitDefs[field].range;
    if (digits == 0 || *text != L'\0' || number < range.low || number > range.high) return false;
    *value = number;
    return true;
}

void BuildLimitErrorText(MonthLimitField field, wchar_t* out, int32_t capacity) {
    const MonthLimitDef& def = kMonthLimitDefs[field];
    FormatText(out, capacity, L"%ls须为 %d 至 %d 之间的整数。", def.label, def.range.low,
               def.range.high);
}
