// Draws a laid-out page (ui/print/print_layout.h) into any device context: the
// printer's, the preview's bitmap, a test's bitmap. The sheet's size and
// resolution come from the plan, never from the context (a memory bitmap
// reports 96 DPI whatever it holds).
#pragma once

#include <windows.h>

#include "ui/print/print_layout.h"

// Where the sheet lands on the context: a device pixel is offset plus sheet
// pixel times numerator / denominator.
struct PageTransform {
    int32_t numerator;
    int32_t denominator;
    int32_t x;
    int32_t y;
};

// The sheet of a printer's context: its paper, printable area and resolution.
PageGeometry PrinterPageGeometry(HDC printer);

// A printer's context has its origin at the printable area's corner.
PageTransform PrinterTransform(const PageGeometry& page);

// Draws page page_index in black and greys, its texts in face (the window's
// UI face, so that Chinese text finds a font on every device).
void DrawPrintPage(HDC context, const PrintDocument& document, const PrintPlan& plan,
                   int32_t page_index, PageTransform transform, const wchar_t* face);
