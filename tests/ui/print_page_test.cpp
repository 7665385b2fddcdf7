// The page drawing routine on a 300-DPI bitmap, as a printer would get it.
#include "ui/print/print_page_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

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

// The legend's boxes: the shift letters drawn in the bold text font.
void LegendBoxes(void* context, const PrintItem& item) {
    auto& boxes = *static_cast<std::vector<Box>*>(context);
    if (item.kind == PrintItemKind::kText && item.length == 1 && item.font == kPrintBoldTextFont)
        boxes.push_back(item.box);
}

// A 32-bit bitmap to draw a page into, white to begin with.
struct PageBitmap {
    HDC context;
    HBITMAP bitmap;
    HGDIOBJ previous;
    uint32_t* bits;
    int width;
    PageBitmap(int w, int h) : width(w) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pixels = nullptr;
        context = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        bits = static_cast<uint32_t*>(pixels);
        previous = SelectObject(context, bitmap);
        PatBlt(context, 0, 0, w, h, WHITENESS);
    }
    ~PageBitmap() {
        SelectObject(context, previous);
        DeleteObject(bitmap);
        DeleteDC(context);
    }
    bool Dark(int x, int y) const { return (bits[y * width + x] & 0xFF) < 64; }
};

// Shown small, as in the preview at any size and DPI, every side of every
// legend box keeps its outline: a side is a dark line in the row or column
// where the box's edge lands, or the one beside it.
TEST(PrintPage, TheLegendsOutlinesStayWholeAtEveryScale) {
    const double values[kMaxParams] = {40, 31};
    PrintDocument document;
    PreparePrintDocument(GetBuiltinTool(), values, L"", L"", 0, 2026, 12, 9, &document);
    const PageGeometry page = PaperPage(kA4Paper, true, 300);
    PrintPlan plan;
    ASSERT_TRUE(PlanPrint(document, page, &plan));
    std::vector<Box> boxes;
    EmitPrintPage(document, plan, 0, LegendBoxes, &boxes);
    ASSERT_EQ(boxes.size(), 3u);
    wchar_t face[LF_FACESIZE];
    ChooseUiFace(face);
    for (int shown = 500; shown <= 2200; shown += 37) {
        const PageTransform t = {shown, page.width, 0, 0};
        const auto at = [&](int sheet) {
            return static_cast<int>(int64_t{sheet} * shown / page.width);
        };
        PageBitmap bitmap(at(page.width) + 2, at(page.height) + 2);
        DrawPrintPage(bitmap.context, document, plan, 0, t, face);
        GdiFlush();
        for (const Box& box : boxes) {
            const int left = at(box.x), top = at(box.y);
            const int right = at(box.x + box.width), bottom = at(box.y + box.height);
            int gaps = 0;
            for (int x = left + 2; x < right - 2; ++x) {
                gaps += !bitmap.Dark(x, top);
                gaps += !bitmap.Dark(x, bottom - 1) && !bitmap.Dark(x, bottom);
            }
            for (int y = top + 2; y < bottom - 2; ++y) {
                gaps += !bitmap.Dark(left, y);
                gaps += !bitmap.Dark(right - 1, y) && !bitmap.Dark(right, y);
            }
            EXPECT_EQ(gaps, 0) << "box at " << box.x << " shown " << shown << " pixels wide";
        }
    }
}

}  // namespace
