// The printed pages of a result: where every box, rule and text goes, for a
// given sheet size, resolution and printable area. Portable, so that the pages
// are checked without a printer; the printer, the preview and a test bitmap
// all draw what this unit lays out (ui/print/print_page_win32.h).
// - The nursing rota: a grid of one row per nurse and one column per day, the
//   shift in every cell on a fill that tells the shifts apart in grey, each
//   nurse's counts at the row's end and each day's staffing under the grid. The
//   grid's text takes the largest size up to 14 pt at which the grid fits the
//   sheet, whatever its paper: a small rota fills the sheet, a whole month
//   fits one A4 landscape sheet; where the grid would need text below 7 pt it
//   runs over further pages, each repeating the header row and the names
//   column.
// - Every other tool: its name, inputs, report lines and verdict with its level
//   in words, over as many pages as they need, a line never split by a page.
// Every page is numbered "第 N 页，共 M 页".
#pragma once

#include <cstdint>

#include "engine/tool_def.h"
#include "generators/nursing_rota.h"
#include "month/month_rules.h"
#include "month/rota_month.h"
#include "ui/layout.h"

// The smallest text on a page, in points.
constexpr int32_t kSmallestPrintPoints = 7;

constexpr int32_t kPrintDateCapacity = 16;

// What is printed: the window's last result, or a ward's month.
struct PrintDocument {
    const ToolDef* tool;
    const double* values;   // the parameter values the result was computed from
    const wchar_t* report;  // the saved report
    const wchar_t* verdict;
    int32_t level;
    wchar_t printedOn[kPrintDateCapacity];  // "2026-12-09"
    // The rota as a month: the one made from the computed rota (its nurses'
    // labels, no dates), or the ward's own.
    RotaMonth month;
    // A ward's month only: its breaches, marked on the page. It prints with
    // its title, names and grades, dates and weekdays, leave and the summary.
    const MonthCheck* check;
};

void PreparePrintDocument(const ToolDef& tool, const double* values, const wchar_t* report,
                          const wchar_t* verdict, int32_t level, int32_t year, int32_t month,
                          int32_t day, PrintDocument* document);

// A ward's month, checked, to print; tool is the rota's (its name and kind).
// The check must outlive the document.
void PrepareMonthPrintDocument(const ToolDef& tool, const RotaMonth& month, const MonthCheck& check,
                               int32_t year, int32_t month_of_year, int32_t day,
                               PrintDocument* document);

// The rota prints across the sheet, everything else along it.
bool PrefersLandscape(const ToolDef& tool);

// A sheet in device pixels (square ones) and where on it the device can print.
struct PageGeometry {
    int32_t width;
    int32_t height;
    Box printable;
    int32_t dpi;
};

// A paper's sides in tenths of a millimetre, the short one first.
struct PaperSize {
    int32_t shortSide;
    int32_t longSide;
};

constexpr PaperSize kA4Paper = {2100, 2970};

// A sheet of a paper at a resolution, with a quarter inch the device cannot
// print on along every edge: the page when no printer tells its own (A4).
PageGeometry PaperPage(PaperSize paper, bool landscape, int32_t dpi);

enum PrintFontRole : int32_t {
    kPrintTitleFont,
    kPrintTextFont,
    kPrintBoldTextFont,
    kPrintGridFont,
    kPrintBoldGridFont,
    kPrintFontRoleCount,
};

enum class PrintItemKind : int32_t { kFill, kText };
enum class PrintAlign : int32_t { kLeft, kCentre, kRight };

// One thing to draw, in sheet pixels: a box filled in a grey (0 black, 255
// white), or a line of text vertically centred in its box.
struct PrintItem {
    PrintItemKind kind;
    Box box;
    uint8_t grey;
    const wchar_t* text;  // kText: length characters, not terminated
    int32_t length;
    PrintFontRole font;
    PrintAlign align;
};

// Receives the items of a page in drawing order; the text lives for the call.
using PrintItemSink = void (*)(void* context, const PrintItem& item);

// How a document lies on a sheet: worked out once, then each page is emitted.
struct PrintPlan {
    PageGeometry page;
    Box content;
    int32_t fontHeights[kPrintFontRoleCount];  // em heights in sheet pixels
    int32_t pageCount;
    bool rota;
    // The rota's grid: cell sizes and how the grid is cut into pages, rows
    // first (nurse chunks down, then day chunks across).
    int32_t rowHeight;
    int32_t nameWidth;
    int32_t dayWidth;
    int32_t countWidth;
    int32_t nursesPerPage;
    int32_t daysPerPage;
    int32_t nurseChunks;
};

// Lays the document out on the sheet. False when the sheet leaves no room for
// even one line (nothing can be printed on it).
bool PlanPrint(const PrintDocument& document, const PageGeometry& page, PrintPlan* plan);

// Hands the items of page page_index (from 0) to the sink.
void EmitPrintPage(const PrintDocument& document, const PrintPlan& plan, int32_t page_index,
                   PrintItemSink sink, void* context);

// A length in points (tenths) at a resolution, in pixels, rounded.
int32_t PointsToPixels(int32_t tenths_of_points, int32_t dpi);
