// The evaluator at the edges of its inputs: characters around the name
// ranges that start no operand, a parameter row without a name, and a caller
// that does not want the error flag.
#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
