#include "engine/compute.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/bounded_text.h"
#include "tests/engine/guarded_buffer.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr ParamDef kXY[] = {
    {"x", L"甲", L"mg", 3.0},
    {"y", L"乙", nullptr, 4.0},
};

ToolDef FormulaTool(const OutputDef* outputs, int32_t output_count, const VerdictRule* rules,
                    int32_t rule_count) {
    return ToolDef{900, L"测试工具",  nullptr, L"测试",    L"无", nullptr, 2,
                   kXY, output_count, outputs, rule_count, rules, 0};
}

struct Result {
    std::wstring report;
    std::wstring verdict;
    std::wstring saved;
    int32_t level;
    int32_t returned;
};

Result Compute(const ToolDef& tool, const double* values, int32_t report_capacity = 4096,
               int32_t verdict_capacity = 512, int32_t saved_capacity = 8192) {
    GuardedBuffer report(report_capacity), verdict(verdict_capacity), saved(saved_capacity);
    int32_t level = -99;
    const int32_t returned =
        ComputeTool(tool, values, report.data(), report.capacity, verdict.data(), verdict.capacity,
                    &level, saved.data(), saved.capacity);
    EXPECT_TRUE(report.GuardsIntact());
    EXPECT_TRUE(verdict.GuardsIntact());
    EXPECT_TRUE(saved.GuardsIntact());
    return {report.Text(), verdict.Text(), saved.Text(), level, returned};
}

const double kValues[kMaxParams] = {3.0, 4.0};

TEST(ComputeTool, NoOutputsAndNoRulesGiveTheFallbackVerdict) {
    const ToolDef tool = FormulaTool(nullptr, 0, nullptr, 0);
    const Result r = Compute(tool, kValues);
    EXPECT_EQ(r.report, L"");
    EXPECT_EQ(r.verdict, L"请核对输入参数后重新计算");
    EXPECT_EQ(r.level, 0);
    EXPECT_EQ(r.returned, 0);
}

TEST(ComputeTool, RuleScanChoosesTheFirstRuleThatApplies) {
    struct Case {
        const char* trace;
        VerdictRule rules[3];
        int32_t rule_count;
        const wchar_t* verdict;
        int32_t level;
    };
    const Case cases[] = {
        {"empty condition always applies", {{"", 2, L"T"}}, 1, L"T", 2},
        {"true condition first", {{"x < y", 1, L"A"}, {"", 3, L"B"}}, 2, L"A", 1},
        {"false condition passed over", {{"x > y", 1, L"A"}, {"", 3, L"B"}}, 2, L"B", 3},
        {"failing condition passed over", {{"unknown", 1, L"A"}, {"", 3, L"B"}}, 2, L"B", 3},
        {"failing but nonzero value passed over",
         {{"1 < 2 < 3", 1, L"A"}, {"", 3, L"B"}},
         2,
         L"B",
         3},
        {"rules after an empty condition never reached",
         {{"", 1, L"A"}, {"1", 3, L"B"}},
         2,
         L"A",
         1},
        {"empty verdict text gives the fallback with the rule's level",
         {{"x", 2, L""}},
         1,
         L"请核对输入参数后重新计算",
         2},
        {"no rule applies",
         {{"0", 2, L"A"}, {"x == 5", 3, L"B"}},
         2,
         L"请核对输入参数后重新计算",
         0},
    };
    for (const Case& c : cases) {
        const ToolDef tool = FormulaTool(nullptr, 0, c.rules, c.rule_count);
        const Result r = Compute(tool, kValues);
        EXPECT_EQ(r.verdict, c.verdict) << c.trace;
        EXPECT_EQ(r.level, c.level) << c.trace;
        EXPECT_EQ(r.returned, c.level) << c.trace;
    }
}

TEST(ComputeTool, OutputsSeeEarlierOutputsAndReadZeroForLaterOnes) {
    const OutputDef outputs[] = {
        {"b", L"先", nullptr, "a + 1", "f1"},  // a stands after b: reads 0
        {"a", L"中", nullptr, "x * 10", "f0"},
        {"c", L"后", L"单位", "a + b", "f2"},
    };
    const ToolDef tool = FormulaTool(outputs, 3, nullptr, 0);
    const Result r = Compute(tool, kValues);
    EXPECT_EQ(r.report, L"先：1.0\r\n中：30\r\n后：31.00 单位\r\n");
    EXPECT_EQ(r.saved, r.report);
}

TEST(ComputeTool, ConditionsSeeEveryOutput) {
    const OutputDef outputs[] = {{"sum", L"和", nullptr, "x + y", "f0"}};
    const VerdictRule rules[] = {{"sum == 7", 1, L"七"}, {"", 0, L"其他"}};
    const ToolDef tool = FormulaTool(outputs, 1, rules, 2);
    EXPECT_EQ(Compute(tool, kValues).verdict, L"七");
}

TEST(ComputeTool, FailedOutputsKeepTheirLinesAndAddOneNote) {
    const OutputDef outputs[] = {
        {"p", L"一", nullptr, "", nullptr},         // empty formula: 0 and a failure
        {"q", L"二", L"", "1/0", "f1"},             // division by zero: 0
        {"r", L"三", nullptr, "exp(1000)", "pct"},  // infinite: "--"
        {"s", L"四", nullptr, "y", "int"},
    };
    const ToolDef tool = FormulaTool(outputs, 4, nullptr, 0);
    const Result r = Compute(tool, kValues);
    EXPECT_EQ(r.report,
              L"一：0.00\r\n二：0.0\r\n三：--\r\n四：4\r\n"
              L"（部分结果无法计算，请检查输入是否合理）\r\n");
    EXPECT_EQ(r.verdict, L"请核对输入参数后重新计算");
}

TEST(ComputeTool, OutputLinesAreCutAt255Characters) {
    std::wstring long_label(300, L'长');
    const OutputDef outputs[] = {{"v", long_label.c_str(), nullptr, "1", "f0"}};
    const ToolDef tool = FormulaTool(outputs, 1, nullptr, 0);
    EXPECT_EQ(Compute(tool, kValues).report, long_label.substr(0, 255));
}

TEST(ComputeTool, FullReportIsCutButVerdictLevelAndCopyAreStillProduced) {
    const OutputDef outputs[] = {{"v", L"数值", L"mg", "x", "f2"}};
    const VerdictRule rules[] = {{"", 3, L"结论"}};
    const ToolDef tool = FormulaTool(outputs, 1, rules, 1);
    for (int32_t capacity = 1; capacity <= 12; ++capacity) {
        const Result r = Compute(tool, kValues, capacity, 512, capacity);
        EXPECT_EQ(r.report, std::wstring(L"数值：3.00 mg\r\n").substr(0, capacity - 1));
        EXPECT_EQ(r.saved, r.report);
        EXPECT_EQ(r.verdict, L"结论");
        EXPECT_EQ(r.level, 3);
    }
}

TEST(ComputeTool, VerdictIsCutToItsCapacity) {
    const VerdictRule rules[] = {{"", 1, L"一二三四五"}};
    const ToolDef tool = FormulaTool(nullptr, 0, rules, 1);
    EXPECT_EQ(Compute(tool, kValues, 16, 3).verdict, L"一二");
    EXPECT_EQ(Compute(tool, kValues, 16, 1).verdict, L"");
}

TEST(ComputeTool, SavedReportShorterThanReportIsCut) {
    const OutputDef outputs[] = {{"v", L"数值", nullptr, "x", "f0"}};
    const ToolDef tool = FormulaTool(outputs, 1, nullptr, 0);
    EXPECT_EQ(Compute(tool, kValues, 64, 512, 4).saved, L"数值：");
}

TEST(ComputeTool, GeneratorToolsIgnoreTheirRules) {
    const VerdictRule rules[] = {{"", 3, L"规则结论"}};
    for (int32_t kind : {12, -1, 1000}) {
        const ToolDef tool{1,       L"n", nullptr, L"c", L"r",  nullptr, 0,
                           nullptr, 0,    nullptr, 1,    rules, kind};
        const Result r = Compute(tool, kValues);
        EXPECT_EQ(r.report, L"（该工具暂无自定义报告）") << kind;
        EXPECT_EQ(r.verdict, L"暂无报告内容") << kind;
        EXPECT_EQ(r.level, 0) << kind;
        EXPECT_EQ(r.saved, r.report) << kind;
    }
    EXPECT_NE(Compute(GetBuiltinTool(), kValues).verdict, L"已生成轮转排班表");
}

TEST(ComputeTool, WindowSizedReportHoldsAtMost4095Characters) {
    // 40 nurses over 31 days is far longer than 4,095 characters.
    const double values[kMaxParams] = {40.0, 31.0};
    const Result r = Compute(GetBuiltinTool(), values, 4096, 512, 8192);
    EXPECT_EQ(r.report.size(), 4095u);
    EXPECT_EQ(r.saved, r.report);
}

TEST(RunGenerator, PlaceholderForKindsWithoutGenerator) {
    for (int32_t kind : {0, 12, -1}) {
        GuardedBuffer report(64), verdict(16);
        const int32_t level = RunGenerator(kind, GetBuiltinTool(), kValues, report.data(),
                                           report.capacity, verdict.data(), verdict.capacity);
        EXPECT_EQ(level, 0);
        EXPECT_EQ(report.Text(), L"（该工具暂无自定义报告）");
        EXPECT_EQ(verdict.Text(), L"暂无报告内容");
    }
}

TEST(AppendReportLine, AppendsTheLineAndCrLf) {
    GuardedBuffer b(64);
    AppendReportLine(b.data(), b.capacity, L"人员：%d 人；周期：%d 天", 3, 4);
    AppendReportLine(b.data(), b.capacity, L"");
    AppendReportLine(b.data(), b.capacity, L"%ls", L"10% 氯化钾");
    EXPECT_EQ(b.Text(), L"人员：3 人；周期：4 天\r\n\r\n10% 氯化钾\r\n");
}

TEST(AppendReportLine, OneFreeCharacterTakesALoneCr) {
    GuardedBuffer b(5);
    CopyText(b.data(), b.capacity, L"ab");
    AppendReportLine(b.data(), b.capacity, L"c");
    EXPECT_EQ(b.Text(), L"abc\r");
    AppendReportLine(b.data(), b.capacity, L"d");
    EXPECT_EQ(b.Text(), L"abc\r");
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(AppendReportLine, ExpansionIsCutTo511Characters) {
    GuardedBuffer b(2000);
    const std::wstring piece(600, L'x');
    AppendReportLine(b.data(), b.capacity, L"%ls", piece.c_str());
    EXPECT_EQ(b.Text(), piece.substr(0, 511) + L"\r\n");
}

TEST(FindParamValue, FirstExactMatchOrZero) {
    const ParamDef params[] = {
        {"a", L"A", nullptr, 9.0}, {"b", L"B", nullptr, 9.0}, {"a", L"A2", nullptr, 9.0}};
    const ToolDef tool{1, L"n", nullptr, L"c", L"r", nullptr, 3, params, 0, nullptr, 0, nullptr, 0};
    const double values[kMaxParams] = {1.0, 2.0, 3.0};
    EXPECT_EQ(FindParamValue(tool, values, "a"), 1.0);
    EXPECT_EQ(FindParamValue(tool, values, "b"), 2.0);
    EXPECT_EQ(FindParamValue(tool, values, "A"), 0.0);
    EXPECT_EQ(FindParamValue(tool, values, "ab"), 0.0);
    const ToolDef empty{1,       L"n", nullptr, L"c", L"r",    nullptr, 0,
                        nullptr, 0,    nullptr, 0,    nullptr, 0};
    EXPECT_EQ(FindParamValue(empty, values, "a"), 0.0);
}

TEST(TruncateToInt32, TruncatesTowardZeroAndSendsTheRestToTheLowerClamp) {
    struct Case {
        double value;
        int32_t expected;
    };
    const Case cases[] = {
        {8.9, 8},
        {-0.5, 0},
        {-8.9, -8},
        {2147483647.9, 2147483647},
        {-2147483648.9, INT32_MIN},
        {2147483648.0, INT32_MIN},
        {1e10, INT32_MIN},
        {-1e10, INT32_MIN},
        {kNaN, INT32_MIN},
        {std::numeric_limits<double>::infinity(), INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncateToInt32(c.value), c.expected) << c.value;
}

TEST(BuiltinTool, IsTheNursingRota) {
    const ToolDef& tool = GetBuiltinTool();
    EXPECT_EQ(&tool, &GetBuiltinTool());
    EXPECT_EQ(tool.id, 187);
    EXPECT_STREQ(tool.name, L"护理排班表生成");
    EXPECT_STREQ(tool.subtitle, L"按人数与天数生成三班轮转表");
    EXPECT_STREQ(tool.category, L"护理管理");
    EXPECT_STREQ(tool.reference, L"科室排班常规：白班 D、夜班 N、休息 R 轮转");
    EXPECT_STREQ(tool.note, L"需按护士能级、连续夜班上限与休息要求人工调整后执行。");
    ASSERT_EQ(tool.param_count, 2);
    EXPECT_STREQ(tool.params[0].var, "nurses");
    EXPECT_STREQ(tool.params[0].label, L"护士人数");
    EXPECT_STREQ(tool.params[0].unit, L"人");
    EXPECT_EQ(tool.params[0].default_value, 8.0);
    EXPECT_STREQ(tool.params[1].var, "days");
    EXPECT_STREQ(tool.params[1].label, L"排班天数");
    EXPECT_STREQ(tool.params[1].unit, L"天");
    EXPECT_EQ(tool.params[1].default_value, 7.0);
    EXPECT_EQ(tool.output_count, 0);
    EXPECT_EQ(tool.rule_count, 1);
    EXPECT_STREQ(tool.rules[0].condition, "");
    EXPECT_EQ(tool.special_kind, 1);
}

}  // namespace
