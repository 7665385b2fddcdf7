// What the month window shows of a month, apart from the window itself: the
// grid's geometry (which cell lies where, what scrolling shows), the sentence a
// screen reader speaks for the current cell, the window's texts and the
// limits as the window's fields read them. Portable, so that it is checked
// without a display.
#pragma once

#include <cstdint>

#include "month/month_rules.h"
#include "month/rota_month.h"
#include "ui/layout.h"

// ---- The grid's geometry, at 96 DPI -------------------------------------------
// Frozen: the two header rows (dates, weekdays) and the name column. Scrolled:
// the body, whose rows are the nurses and then the day's staffing (one row per
// shift), and whose columns are the days and then the nurse's counts (one
// column per shift).

struct GridMetrics {
    int32_t nameWidth;
    int32_t dayWidth;
    int32_t countWidth;
    int32_t headerRowHeight;  // each of the two
    int32_t rowHeight;
};
constexpr GridMetrics kGridMetrics = {120, 30, 36, 20, 22};

// The name column, as the current cell's column.
constexpr int32_t kNameColumn = -1;

int32_t BodyRowCount(const RotaMonth& month);
int32_t BodyColumnCount(const RotaMonth& month);

// Where the body's scrolled view begins: its first row and first column.
struct GridScroll {
    int32_t firstRow;
    int32_t firstColumn;
};

// The part of the grid a client area of width × height device pixels shows
// at a scale: the frozen part's size and how many whole body rows and columns
// fit after it (at least one of each, so that the current cell is always
// somewhere).
struct GridView {
    int32_t frozenWidth;
    int32_t frozenHeight;
    int32_t bodyWidth;  // what the client area leaves the body columns
    int32_t rows;
    int32_t columns;
    Scale scale;
};
GridView ViewOfGrid(const RotaMonth& month, GridScroll scroll, int32_t width, int32_t height,
                    Scale scale);

// The box of body column c's cells (x and width) and of body row r's (y and
// height), as seen from the scroll; both may lie outside the client area.
Box BodyColumnBox(const RotaMonth& month, GridScroll scroll, int32_t column, Scale scale);
Box BodyRowBox(GridScroll scroll, int32_t row, Scale scale);

// The scroll that shows the row and column (a body column, or the name column
// which is always shown), moving as little as it can; and one that stays in
// range after the month or the view changed.
GridScroll ScrollToShow(const RotaMonth& month, GridScroll scroll, const GridView& view,
                        int32_t row, int32_t column);
GridScroll ClampScroll(const RotaMonth& month, GridScroll scroll, const GridView& view);

// A point in the client area: the body row or -1 (a header row), and the body
// column or kNameColumn or -2 (nothing).
struct GridHit {
    int32_t row;
    int32_t column;
};
GridHit HitTestGrid(const RotaMonth& month, GridScroll scroll, int32_t x, int32_t y, Scale scale);

// ---- Texts -------------------------------------------------------------------

constexpr wchar_t kMonthWindowTitlePrefix[] = L"排班表";
constexpr wchar_t kCountColumnNames[kMonthShiftCount][2] = {L"白", L"夜", L"休", L"假"};
constexpr wchar_t kNameHeader[] = L"姓名";

// "排班表 - <file name>" for a month read or saved, else "排班表 - <title>".
constexpr int32_t kMonthWindowTitleCapacity = 300;
void BuildMonthWindowTitle(const RotaMonth& month, const wchar_t* path, wchar_t* out,
                           int32_t capacity);

// The cell's text: its shift's letter, with "*" when she set it by hand.
void FormatCellText(const MonthCell& cell, wchar_t* out, int32_t capacity);

// The name cell's text: the name and, where given, the 能级.
void FormatNameCell(const MonthNurse& nurse, wchar_t* out, int32_t capacity);

// What a screen reader speaks for the current cell, in one sentence: the
// nurse, the date and weekday, the shift (and whether she set it), a holiday,
// and every breach the cell takes part in. On the name column: the name, its
// 能级 and mark, and how to edit it.
constexpr int32_t kCellSentenceCapacity = 640;
void BuildCellSentence(const RotaMonth& month, const MonthCheck& check, int32_t nurse,
                       int32_t column, wchar_t* out, int32_t capacity);

// Whether a breach concerns a cell: its nurse's run covers the day, or the
// spread names her. A day's staffing (nurse -1) concerns the staffing cells.
bool BreachTouchesCell(const MonthBreach& breach, int32_t nurse, int32_t day);

// The month's names follow the roster: nurse i takes roster entry i (its
// 能级 and mark too), or 护士NN where the roster is shorter; the ward's name
// is the roster's where it has one.
void ApplyRoster(const Roster& roster, const wchar_t* ward, RotaMonth* month);

// ---- Limits --------------------------------------------------------------------

enum MonthLimitField : int32_t {
    kMaxNightRunField,
    kMaxWorkRunField,
    kMinDayField,
    kMinNightField,
    kMonthLimitFieldCount,
};

struct MonthLimitDef {
    const wchar_t* label;
    MonthLimitRange range;
};
constexpr MonthLimitDef kMonthLimitDefs[kMonthLimitFieldCount] = {
    {L"连续夜班上限", kMaxNightRunRange},
    {L"连续上班上限", kMaxWorkRunRange},
    {L"白班每日最少", kMinStaffRange},
    {L"夜班每日最少", kMinStaffRange},
};

int32_t LimitValue(const MonthLimits& limits, MonthLimitField field);
void SetLimitValue(MonthLimits* limits, MonthLimitField field, int32_t value);

// A whole number within the field's range, or false.
bool ParseLimitText(const wchar_t* text, MonthLimitField field, int32_t* value);

// "连续夜班上限须为 1 至 31 之间的整数。"
constexpr int32_t kLimitErrorCapacity = 96;
void BuildLimitErrorText(MonthLimitField field, wchar_t* out, int32_t capacity);
