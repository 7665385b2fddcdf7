// The compute pipeline at the edges of its inputs: tables longer than the
// 16 entries the pipeline keeps, rules without a condition, absent out
// parameters and buffers, and lookups without a name or values.
#include <gtest/gtest.h>

#include <string>

#include "engine/compute.h"
#include "tests/engine/guarded_buffer.h"

namespace {

constexpr ParamDef kSeventeenParams[] = {
    {"p0", L"p", nullptr, 0},  {"p1", L"p", nullptr, 0},  {"p2", L"p", nullptr, 0},
    {"p3", L"p", nullptr, 0},  {"p4", L"p", nullptr, 0},  {"p5", L"p", nullptr, 0},
    {"p6", L"p", nullptr, 0},  {"p7", L"p", nullptr, 0},  {"p8", L"p", nullptr, 0},
    {"p9", L"p", nullptr, 0},  {"p10", L"p", nullptr, 0}, {"p11", L"p", nullptr, 0},
    {"p12", L"p", nullptr, 0}, {"p13", L"p", nullptr, 0}, {"p14", L"p", nullptr, 0},
    {"p15", L"p", nullptr, 0}, {"p16", L"p", nullptr, 0},
};

constexpr OutputDef Output(const char* key) {
    return {key, L"值", nullptr, "1", "f0"};
}

constexpr OutputDef kSeventeenOutputs[] = {
    Output("o0"),  Output("o1"),  Output("o2"),  Output("o3"),  Output("o4"),  Output("o5"),
    Output("o6"),  Output("o7"),  Output("o8"),  Output("o9"),  Output("o10"), Output("o11"),
    Output("o12"), Output("o13"), Output("o14"), Output("o15"), Output("o16"),
};

ToolDef Tool(int32_t param_count, int32_t output_count, const VerdictRule* rules,
             int32_t rule_count) {
    return ToolDef{901,
                   L"边界",
                   nullptr,
                   L"测试",
                   L"无",
                   nullptr,
                   param_count,
                   kSeventeenParams,
                   output_count,
                   kSeventeenOutputs,
                   rule_count,
                   rules,
                   0};
}

std::wstring Repeat(const std::wstring& line, int n) {
    std::wstring text;
    for (int i = 0; i < n; ++i)
        text += line;
    return text;
}

TEST(ComputeEdges, OnlyTheFirstSixteenOutputsAreComputed) {
    const ToolDef tool = Tool(0, 17, nullptr, 0);
    const double values[kMaxParams] = {};
    GuardedBuffer report(4096), verdict(512), saved(8192);
    int32_t level = -1;
    ComputeTool(tool, values, report.data(), 4096, verdict.data(), 512, &level, saved.data(), 8192);
    EXPECT_EQ(report.Text(), Repeat(L"值：1\r\n", kMaxOutputs));
    EXPECT_EQ(level, 0);
    double results[kMaxOutputs + 1];
    results[kMaxOutputs] = -7.0;
    EXPECT_FALSE(EvaluateToolOutputs(tool, values, results));
    EXPECT_EQ(results[kMaxOutputs - 1], 1.0);
    EXPECT_EQ(results[kMaxOutputs], -7.0);
}

TEST(ComputeEdges, ARuleWithoutConditionApplies) {
    const VerdictRule rules[] = {{nullptr, 2, L"无条件"}};
    const ToolDef tool = Tool(0, 0, rules, 1);
    const double values[kMaxParams] = {};
    GuardedBuffer report(16), verdict(512), saved(16);
    EXPECT_EQ(ComputeTool(tool, values, report.data(), 16, verdict.data(), 512, nullptr,
                          saved.data(), 16),
              2);
    EXPECT_EQ(verdict.Text(), L"无条件");
}

TEST(ComputeEdges, MissingBuffersAreLeftAlone) {
    const ToolDef tool = Tool(0, 1, nullptr, 0);
    const double values[kMaxParams] = {};
    GuardedBuffer verdict(512);
    EXPECT_EQ(ComputeTool(tool, values, nullptr, 0, verdict.data(), 512, nullptr, nullptr, 0), 0);
    EXPECT_EQ(verdict.Text(), L"请核对输入参数后重新计算");
    FormatValue("f2", 1.0, nullptr, 128);
    GuardedBuffer none(0);
    FormatValue("f2", 1.0, none.data(), 0);
    EXPECT_TRUE(none.GuardsIntact());
}

TEST(ComputeEdges, LookupsBeyondSixteenParametersOrWithoutNameOrValues) {
    const ToolDef tool = Tool(17, 0, nullptr, 0);
    double values[kMaxParams + 1] = {};
    values[15] = 15.5;
    values[16] = 16.5;
    EXPECT_EQ(FindParamValue(tool, values, "p15"), 15.5);
    EXPECT_EQ(FindParamValue(tool, values, "p16"), 0.0);  // the window keeps 16 values
    EXPECT_EQ(FindParamValue(tool, values, nullptr), 0.0);
    EXPECT_EQ(FindParamValue(tool, nullptr, "p0"), 0.0);
    EXPECT_EQ(FindIntParam(tool, values, "p15"), 15);
}

}  // namespace
