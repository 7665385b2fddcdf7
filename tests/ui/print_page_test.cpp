// The page drawing routine on a 300-DPI bitmap, as a printer would get it.
#include "ui/print/print_page_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ui/window_fonts.h"

namespace {

// The box of the first cell drawn with each shift letter.
void FirstCellOfEachLetter(void* context, const PrintItem& item) {
    auto& cells = *static_cast<std::map<wchar_t, Box>*>(context);
    if (item.kind == PrintItemKind::kText && item.length == 1 && item.font == kPrintBoldGridFont)
        cells.emplace(item.text[0], item.box);
}

TEST(PrintPage, OnA300DpiBitmapTheShiftsCellsDifferInGrey) {
    const double values[kMaxParams] = {40, 31};
    PrintDocument document;
    PreparePrintDocument(GetBuiltinTool(), values, L"", L"", 0, 2026, 12, 9, &document);
    const PageGeometry page = PaperPage(kA4Paper, true, 300);
    PrintPlan plan;
    ASSERT_TRUE(PlanPrint(document, page, &plan));

    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), page.width, -page.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ previous = SelectObject(context, bitmap);
    PatBlt(context, 0, 0, page.width, page.height, WHITENESS);
    wchar_t face[LF_FACESIZE];
    ChooseUiFace(face);
    DrawPrintPage(context, document, plan, 0, {1, 1, 0, 0}, face);
    GdiFlush();

    std::map<wchar_t, Box> cells;
    EmitPrintPage(document, plan, 0, FirstCellOfEachLetter, &cells);
    ASSERT_EQ(cells.size(), 3u) << "D, N and R on the sheet";
    std::set<uint32_t> greys;
    for (const auto& [letter, box] : cells) {
        // Beside the letter, clear of the rules.
        const uint32_t pixel =
            static_cast<const uint32_t*>(
                bits)[(box.y + box.height / 2) * page.width + box.x + box.width / 5] &
            0xFFFFFF;
        EXPECT_TRUE((pixel & 0xFF) == (pixel >> 8 & 0xFF) && (pixel & 0xFF) == (pixel >> 16))
            << "shift " << static_cast<char>(letter) << " is not grey: " << std::hex << pixel;
        greys.insert(pixel);
    }
    EXPECT_EQ(greys.size(), 3u) << "three grey levels, one per shift";
    SelectObject(context, previous);
    DeleteObject(bitmap);
    DeleteDC(context);
}

}  // namespace
