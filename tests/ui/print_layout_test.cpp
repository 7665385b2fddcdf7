#include "ui/print/print_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/bounded_text.h"

namespace {

struct DrawnItem {
    PrintItem item;
    std::wstring text;
};

using Page = std::vector<DrawnItem>;

void Collect(void* context, const PrintItem& item) {
    auto& page = *static_cast<Page*>(context);
    page.push_back({item, item.text != nullptr ? std::wstring(item.text, item.length) : L""});
}

bool Inside(Box inner, Box outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// Plans the document and collects every page; checks what holds on every
// sheet: each item inside the printable area, text of at least 7 pt.
std::vector<Page> PrintPages(const PrintDocument& document, const PageGeometry& geometry,
                             PrintPlan* plan_out = nullptr) {
    PrintPlan plan;
    EXPECT_TRUE(PlanPrint(document, geometry, &plan));
    if (plan_out != nullptr) *plan_out = plan;
    for (int32_t height : plan.fontHeights)
        EXPECT_GE(height * 72.0, kSmallestPrintPoints * geometry.dpi) << "text below 7 pt";
    std::vector<Page> pages(plan.pageCount);
    for (int32_t p = 0; p < plan.pageCount; ++p) {
        EmitPrintPage(document, plan, p, Collect, &pages[p]);
        for (const DrawnItem& drawn : pages[p]) {
            EXPECT_TRUE(Inside(drawn.item.box, geometry.printable))
                << "page " << p << " item at " << drawn.item.box.x << "," << drawn.item.box.y;
        }
        const std::wstring number =
            L"第 " + std::to_wstring(p + 1) + L" 页，共 " + std::to_wstring(pages.size()) + L" 页";
        EXPECT_EQ(std::count_if(pages[p].begin(), pages[p].end(),
                                [&](const DrawnItem& d) { return d.text == number; }),
                  1);
    }
    return pages;
}

PrintDocument RotaDocument(double nurses, double days) {
    static double values[kMaxParams];
    values[0] = nurses;
    values[1] = days;
    PrintDocument document;
    PreparePrintDocument(GetBuiltinTool(), values, L"", L"", 0, 2026, 12, 9, &document);
    return document;
}

// Sheets at 300 DPI with the quarter-inch margins of a generic PostScript
// printer, across as the rota prints (A5 along for the text).
const PageGeometry kA4Landscape = PaperPage(kA4Paper, true, 300);
const PageGeometry kA3Landscape = PaperPage({2970, 4200}, true, 300);
const PageGeometry kA5Landscape = PaperPage({1480, 2100}, true, 300);
const PageGeometry kA5Portrait = PaperPage({1480, 2100}, false, 300);

double GridPoints(const PrintPlan& plan) {
    return plan.fontHeights[kPrintGridFont] * 72.0 / plan.page.dpi;
}

// The letters drawn per nurse label and day head. (That each shift has a grey
// of its own is seen in the drawn pixels, tests/ui/print_page_test.cpp.)
struct GridSeen {
    std::map<std::pair<std::wstring, std::wstring>, int> cells;  // (nurse, day) -> times
    int nameHeads = 0;
};

// Reads a page's grid back from its boxes: a letter cell lies in the row of a
// nurse label and in the column of a day head.
void ReadGrid(const Page& page, GridSeen& seen) {
    std::map<int, std::wstring> nurse_of_row;
    std::map<int, std::wstring> day_of_column;
    for (const DrawnItem& d : page) {
        if (d.text.rfind(L"护士", 0) == 0) nurse_of_row[d.item.box.y] = d.text;
        if (d.text.size() >= 2 && d.text.back() == L'日') day_of_column[d.item.box.x] = d.text;
        if (d.text == L"姓名") ++seen.nameHeads;
    }
    for (const DrawnItem& d : page) {
        if (d.text != L"D" && d.text != L"N" && d.text != L"R") continue;
        if (!nurse_of_row.count(d.item.box.y) || !day_of_column.count(d.item.box.x)) continue;
        ++seen.cells[{nurse_of_row[d.item.box.y], day_of_column[d.item.box.x]}];
    }
}

TEST(PrintLayoutRota, AWholeMonthOfFortyNursesFitsOneA4LandscapeSheet) {
    const std::vector<Page> pages = PrintPages(RotaDocument(40, 31), kA4Landscape);
    ASSERT_EQ(pages.size(), 1u);
    GridSeen seen;
    ReadGrid(pages[0], seen);
    EXPECT_EQ(seen.cells.size(), 40u * 31u) << "every nurse on every day, once";
    std::set<std::wstring> texts;
    for (const DrawnItem& d : pages[0])
        texts.insert(d.text);
    for (const wchar_t* expected :
         {L"护理排班表生成", L"打印日期：2026-12-09", L"人员：40 人；周期：31 天", L"白班人数",
          L"夜班人数", L"休息人数", L"排班人：", L"审核：", L"日期："}) {
        EXPECT_TRUE(texts.count(expected)) << "missing a text of length " << wcslen(expected);
    }
}

// A cell counts only under a day head and beside a nurse label of its own page.
TEST(PrintLayoutRota, OnA5TheGridRunsOverPagesRepeatingItsHeadsAndNames) {
    const std::vector<Page> pages = PrintPages(RotaDocument(40, 31), kA5Landscape);
    ASSERT_GT(pages.size(), 1u);
    GridSeen seen;
    for (const Page& page : pages) {
        const int heads_before = seen.nameHeads;
        ReadGrid(page, seen);
        EXPECT_EQ(seen.nameHeads, heads_before + 1) << "the header row on every page";
    }
    EXPECT_EQ(seen.cells.size(), 40u * 31u);
    for (const auto& [cell, times] : seen.cells)
        EXPECT_EQ(times, 1) << "a cell printed twice";
}

// The largest text up to 14 pt with which the grid fits: a month on A3 larger
// than on A4, a week of eight nurses at 14 pt on any sheet.
TEST(PrintLayoutRota, TheGridsTextGrowsWithTheSheetUpToFourteenPoints) {
    PrintPlan on_a4, on_a3, small;
    PrintPages(RotaDocument(40, 31), kA4Landscape, &on_a4);
    EXPECT_EQ(PrintPages(RotaDocument(40, 31), kA3Landscape, &on_a3).size(), 1u);
    EXPECT_GT(GridPoints(on_a3), GridPoints(on_a4) * 1.3);
    for (const PageGeometry& sheet : {kA3Landscape, kA4Landscape, kA5Landscape}) {
        EXPECT_EQ(PrintPages(RotaDocument(8, 7), sheet, &small).size(), 1u);
        EXPECT_NEAR(GridPoints(small), 14.0, 0.15) << "on a sheet " << sheet.width << " wide";
    }
}

// A ward's month on one A4 sheet: its title, names with grades, weekdays and
// summary, and a heavy-outlined, corner-marked cell for every cell a breach
// takes part in (the corner a black box of its own, a breach's mark survives
// black and white).
TEST(PrintLayoutRota, AWardsMonthPrintsItsNamesDatesAndBreachesOnOneSheet) {
    double values[kMaxParams] = {40, 31};
    RotaTable table;
    BuildRotaTable(GetBuiltinTool(), values, &table);
    Roster roster{};
    roster.count = 1;
    CopyText(roster.nurse[0].name, kNurseNameCapacity, L"欧阳晓芳张三李四王五赵六");
    roster.nurse[0].grade = 3;
    auto month = std::make_unique<RotaMonth>();
    MakeMonthFromRota(table, &roster, L"心内科", {2027, 1, 1}, month.get());
    auto check = std::make_unique<MonthCheck>();
    CheckMonth(*month, check.get());
    auto document = std::make_unique<PrintDocument>();
    PrepareMonthPrintDocument(GetBuiltinTool(), *month, *check, 2026, 12, 9, document.get());
    const std::vector<Page> pages = PrintPages(*document, kA4Landscape);
    ASSERT_EQ(pages.size(), 1u);
    std::set<std::wstring> texts;
    for (const DrawnItem& d : pages[0])
        texts.insert(d.text);
    const std::wstring summary =
        L"硬性违规 400 处，提醒 " + std::to_wstring(check->softCount) + L" 处";
    for (const std::wstring& expected :
         {std::wstring(L"心内科 2027年1月护理排班表"), std::wstring(L"欧阳晓芳张三李四王五赵六 N3"),
          std::wstring(L"护士40"), std::wstring(L"五"), std::wstring(L"请假人数"), summary})
        EXPECT_TRUE(texts.count(expected)) << "missing a text of length " << expected.size();
    int32_t marked = 0;
    for (const auto& row : check->cellRules)
        for (RuleBits bits : row)
            marked += bits != 0 ? 1 : 0;
    for (RuleBits bits : check->dayRules)  // the staffing rows: a short day, an unled night
        marked += ((bits & RuleBit(kRuleDayShort)) != 0) +
                  ((bits & (RuleBit(kRuleNightShort) | RuleBit(kRuleNightGrade))) != 0);
    // A corner: a square black fill a quarter of a row high, drawn after its cell.
    PrintPlan plan;
    PlanPrint(*document, kA4Landscape, &plan);
    const int32_t corner = plan.rowHeight / 4;
    int32_t corners = 0;
    for (const DrawnItem& d : pages[0])
        corners += d.item.kind == PrintItemKind::kFill && d.item.grey == 0 &&
                   d.item.box.width == corner && d.item.box.height == corner;
    EXPECT_EQ(corners, marked) << "one per marked cell";
}

constexpr OutputDef kOutput = {"x", L"结果", nullptr, "1", "f0"};
constexpr ToolDef kFormula = {1,       L"公式工具", nullptr,  L"类", L"据",   nullptr,     0,
                              nullptr, 1,           &kOutput, 0,     nullptr, kFormulaKind};

TEST(PrintLayoutText, ALongReportRunsOverPagesWithoutACutLine) {
    // Lines of every length, a few wider than the sheet.
    std::wstring report;
    std::vector<std::wstring> lines;
    for (int i = 0; i < 160; ++i) {
        std::wstring line = L"第" + std::to_wstring(i) + L"行" + std::wstring(i % 37 * 3, L'检');
        lines.push_back(line);
        report += line + L"\r\n";
    }
    PrintDocument document;
    const double values[kMaxParams] = {};
    PreparePrintDocument(kFormula, values, report.c_str(), L"请核对", 2, 2026, 12, 9, &document);
    const std::vector<Page> pages = PrintPages(document, kA5Portrait);
    ASSERT_GT(pages.size(), 2u);
    // Glue each page's pieces back into its lines; every line must be whole on
    // one page, in order.
    std::vector<std::wstring> found;
    for (const Page& page : pages) {
        int last_bottom = -1;
        for (const DrawnItem& d : page) {
            if (d.text.rfind(L"第", 0) == 0 && d.text.find(L"页") == std::wstring::npos) {
                found.push_back(d.text);
            } else if (!found.empty() && d.item.box.y == last_bottom && d.text[0] == L'检') {
                found.back() += d.text;
            }
            last_bottom = d.item.box.y + d.item.box.height;
        }
    }
    EXPECT_EQ(found, lines);
    bool verdict_seen = false;
    for (const DrawnItem& d : pages.back())
        verdict_seen |= d.text == L"结论（级别：警告）：请核对";
    EXPECT_TRUE(verdict_seen) << "the verdict and its level in words on the last page";
}

}  // namespace
