// The evaluator at the edges of its inputs: characters around the name
// ranges that start no operand, a parameter row without a name, and a caller
// that does not want the error flag.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "expr/evaluator.h"

namespace {

constexpr ParamDef kParams[] = {
    {nullptr, L"无名", nullptr, 0.0},
    {"_a", L"a", nullptr, 0.0},
    {"Z9", L"z", nullptr, 0.0},
};
constexpr ToolDef kTool = {902,     L"边界", nullptr, L"测试", L"无",   nullptr, 3,
                           kParams, 0,       nullptr, 0,       nullptr, 0};
constexpr double kValues[] = {1.0, 2.0, 3.0};

struct Case {
    const char* text;
    double value;
    int32_t error;
};

TEST(EvaluatorEdges, CharactersNextToTheNameRangesStartNoOperand) {
    // '@' '[' '`' '{' '~' sit just outside A-Z, a-z and '_'.
    const Case cases[] = {
        {"_a + Z9", 5.0, 0}, {"@", 0.0, 1},  {"[", 0.0, 1},     {"`", 0.0, 1},
        {"{", 0.0, 1},       {"~1", 0.0, 1}, {"2 + |", 2.0, 1}, {"_a*[", 0.0, 1},
    };
    for (const Case& c : cases) {
        int32_t error = -1;
        EXPECT_EQ(EvaluateExpression(kTool, c.text, kValues, nullptr, &error), c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(EvaluatorEdges, AParameterRowWithoutANameMatchesNothing) {
    int32_t error = -1;
    EXPECT_EQ(EvaluateExpression(kTool, "Z9", kValues, nullptr, &error), 3.0);
    EXPECT_EQ(error, 0);
}

TEST(EvaluatorEdges, TheErrorFlagMayBeLeftOut) {
    EXPECT_EQ(EvaluateExpression(kTool, "_a * 4", kValues, nullptr, nullptr), 8.0);
    EXPECT_EQ(EvaluateExpression(kTool, "1/0", kValues, nullptr, nullptr), 0.0);
    EXPECT_EQ(EvaluateExpression(kTool, nullptr, kValues, nullptr, nullptr), 0.0);
}

// Exact squares are multiplied out rather than sent to pow: the result must be
// pow's own double, bit for bit, on both sides of every limit of that path.
TEST(EvaluatorEdges, SquaresAreExactlyWhatPowGives) {
    static constexpr ParamDef kBase[] = {{"b", L"b", nullptr, 0.0}};
    constexpr ToolDef kSquareTool = {903,   L"平方", nullptr, L"测试", L"无",   nullptr, 1,
                                     kBase, 0,       nullptr, 0,       nullptr, 0};
    const double bases[] = {3.0,
                            -3.0,
                            1.5,
                            0.1,
                            1.7,
                            94906265.0,
                            94906267.0,
                            0x1p-450,
                            0x1.8p-451,
                            0x1p450,
                            0x1p451,
                            1e-200,
                            0x1.9fe0c6cp+29,
                            0.0,
                            -0.0,
                            12.25,
                            168.0 / 100,
                            0x1.fffffffffffffp+0,
                            1e154};
    for (const double base : bases) {
        int32_t error = -1;
        const double value = EvaluateExpression(kSquareTool, "b^2", &base, nullptr, &error);
        const double expected = std::pow(base, 2.0);
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << base;
        EXPECT_EQ(error, std::isfinite(expected) ? 0 : 1) << base;
    }
}

// The pipeline keeps 16 values of each kind: a 17th row has no value to read
// (AddressSanitizer sees any read of one), so its name matches nothing.
TEST(EvaluatorEdges, RowsPastTheSixteenthHaveNoValue) {
    static constexpr const char* kNames[] = {"n0",  "n1",  "n2",  "n3",  "n4",  "n5",
                                             "n6",  "n7",  "n8",  "n9",  "n10", "n11",
                                             "n12", "n13", "n14", "n15", "n16"};
    ParamDef params[17] = {};
    OutputDef outputs[17] = {};
    for (int i = 0; i < 17; ++i) {
        params[i].var = outputs[i].key = kNames[i];
    }
    const ToolDef tool = {904,    L"超限", nullptr, L"测试", L"无",   nullptr, 17,
                          params, 17,      outputs, 0,       nullptr, 0};
    const double values[kMaxParams] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15.0};
    int32_t error = -1;
    EXPECT_EQ(EvaluateExpression(tool, "n15", values, values, &error), 15.0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(EvaluateExpression(tool, "n16", values, values, &error), 0.0);
    EXPECT_EQ(error, 1);
}

}  // namespace
