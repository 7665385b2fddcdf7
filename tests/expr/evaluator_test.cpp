#include "expr/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Exactly 63 characters: the longest name the evaluator reads whole.
constexpr const char* kLongName = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
static_assert(std::char_traits<char>::length(kLongName) == 63);

constexpr ParamDef kParams[] = {
    {"x", L"x", nullptr, 0.0},          {"y", L"y", nullptr, 0.0},
    {"z", L"z", nullptr, 0.0},          {"dup", L"dup", nullptr, 0.0},
    {"x_1", L"x_1", nullptr, 0.0},      {"_u", L"_u", nullptr, 0.0},
    {kLongName, L"long", nullptr, 0.0}, {"zero", L"zero", nullptr, 0.0},
    {"nzero", L"nzero", nullptr, 0.0},  {"qnan", L"qnan", nullptr, 0.0},
    {"inf", L"inf", nullptr, 0.0},      {"x", L"second x", nullptr, 0.0},
};
const double kParamValues[] = {3.0, 4.0, 5.0, 7.0, 6.0, 8.0, 63.0, 0.0, -0.0, kNaN, kInf, 99.0};

constexpr OutputDef kOutputs[] = {
    {"out1", L"out1", nullptr, "x + 7", "f0"},
    {"dup", L"dup", nullptr, "100", "f0"},
    {"late", L"late", nullptr, "1", "f0"},
};
// "late" has not been computed yet, as for an output read before its turn.
const double kOutputValues[] = {10.0, 100.0, 0.0};

constexpr ToolDef kTool = {
    900, L"测试", nullptr, L"测试", L"测试", nullptr, 12, kParams, 3, kOutputs, 0, nullptr, 0,
};

struct Row {
    const char* text;
    double value;
    int32_t error;
};

// Equal doubles including the sign of zero; any NaN equals any NaN.
bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

double Evaluate(const char* text, int32_t* error) {
    return EvaluateExpression(kTool, text, kParamValues, kOutputValues, error);
}

template <size_t N>
void ExpectRows(const Row (&rows)[N]) {
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("text: \"") + row.text + "\"");
        int32_t error = 42;  // must always be overwritten
        const double value = Evaluate(row.text, &error);
        EXPECT_EQ(error, row.error);
        EXPECT_TRUE(SameDouble(value, row.value)) << "value " << value << " expected " << row.value;
    }
}

TEST(Evaluator, PrecedenceAndAssociativity) {
    const Row rows[] = {
        {"2^3^2", 512, 0},
        {"(2^3)^2", 64, 0},
        {"-2^2", 4, 0},
        {"2^-1", 0.5, 0},
        {"-2^-2", 0.25, 0},
        {"2*3^2", 18, 0},
        {"2^3*2", 16, 0},
        {"-7 % 3", -1, 0},
        {"7 % -3", 1, 0},
        {"1+2*3", 7, 0},
        {"(1+2)*3", 9, 0},
        {"10-4-3", 3, 0},
        {"64/4/2", 8, 0},
        {"7%4%2", 1, 0},
        {"2*3%4", 2, 0},
        {"-(2+3)", -5, 0},
        {"--3", 3, 0},
        {"!1+1", 1, 0},
        {"1 + 2 < 4", 1, 0},
        {"1 || 0 && 0", 1, 0},
        {"0 && 0 || 1", 1, 0},
        {"1 ? 0 : 1 || 1", 0, 0},
        {"2 < 3 && 3 < 2", 0, 0},
    };
    ExpectRows(rows);
}

TEST(Evaluator, ConditionalAndLogic) {
    const Row rows[] = {
        {"1 ? 2 : 3 ? 4 : 5", 2, 0},
        {"0 ? 2 : 0 ? 4 : 5", 5, 0},
        {"0 ? 2 : 3 ? 4 : 5", 4, 0},
        {"1 ? 0 ? 6 : 7 : 8", 7, 0},
        {"-0 ? 1 : 2", 2, 0},
        {"x > y ? x : y", 4, 0},
        {"!0", 1, 0},
        {"!5", 0, 0},
        {"!!5", 1, 0},
        {"2 && 3", 1, 0},
        {"2 && 0", 0, 0},
        {"0 || 0", 0, 0},
        {"0 || -1", 1, 0},
        {"1 && 1 && 0", 0, 0},
        {"0 || 0 || 3", 1, 0},
        // A missing ":" reads the else-branch from where it should have stood.
        {"1 ? 2", 2, 1},
        {"1 ? 2 3", 2, 1},
        {"0 ? 2 3", 3, 1},
        {"1 & 1", 1, 1},
        {"0 | 1", 0, 1},
        {"1 & & 1", 1, 1},
    };
    ExpectRows(rows);
}

TEST(Evaluator, Comparison) {
    const Row rows[] = {
        {"1 <= 1", 1, 0},
        {"2 <= 1", 0, 0},
        {"2 >= 3", 0, 0},
        {"3 >= 3", 1, 0},
        {"1 == 1", 1, 0},
        {"1 != 1", 0, 0},
        {"1 < 2", 1, 0},
        {"2 < 2", 0, 0},
        {"2 > 1", 1, 0},
        {"0 == -0", 1, 0},
        {"x<y", 1, 0},
        {"x>=y", 0, 0},
        // No chaining, no single "=", no "!" without "=", no split operators.
        {"1 < 2 < 3", 1, 1},
        {"1 = 1", 1, 1},
        {"1 ! = 1", 1, 1},
        {"1 < = 2", 0, 1},
        {"1 = = 1", 1, 1},
    };
    ExpectRows(rows);
}

TEST(Evaluator, Numbers) {
    const Row rows[] = {
        {"1e3", 1000, 0},
        {".5", 0.5, 0},
        {"5.", 5, 0},
        {"007", 7, 0},
        {"1E-2", 0.01, 0},
        {"1e+2", 100, 0},
        {"0.1", 0.1, 0},
        {"0.30000000000000004", 0.30000000000000004, 0},
        {"123456789012345", 123456789012345.0, 0},
        {"9007199254740993", 9007199254740992.0, 0},
        {"0.0000000000000000000000001", 1e-25, 0},
        {"0x1A", 26, 0},
        {"0X1a", 26, 0},
        {"0x1p3", 8, 0},
        {"0x.8", 0.5, 0},
        {"1e-400 == 0", 1, 0},
        {"1e400", kInf, 1},
        {"1e400 > 1", 1, 0},
        {".", 0, 1},
        {". 5", 0, 1},
        {"2e", 2, 1},
        {"0x", 0, 1},
        {"1.5.3", 1.5, 1},
        {"1 .5", 1, 1},
    };
    ExpectRows(rows);
}

// The evaluator may read plain decimals without strtod; whatever path it
// takes, the double must be the one strtod gives, bit for bit.
TEST(Evaluator, DecimalLiteralsMatchStrtod) {
    uint64_t seed = 12345;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return static_cast<uint32_t>(seed >> 33) % bound;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const uint32_t length = 1 + next(24);
        const uint32_t point = next(length + 2);  // beyond the end: no point at all
        for (uint32_t k = 0; k < length; ++k) {
            if (k == point) text += '.';
            text += static_cast<char>('0' + next(10));
        }
        if (next(4) == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(next(40)) - 20);
        }
        SCOPED_TRACE("text: \"" + text + "\"");
        int32_t error = 42;
        const double value = Evaluate(text.c_str(), &error);
        EXPECT_EQ(error, 0);
        EXPECT_TRUE(SameDouble(value, std::strtod(text.c_str(), nullptr)));
    }
}

TEST(Evaluator, NamesAndLookup) {
    const std::string long_name = kLongName;
    const std::string too_long = long_name + "a";
    const std::string other_too_long = "q" + long_name;
    const Row rows[] = {
        {"x", 3, 0},
        {"x_1", 6, 0},
        {"_u", 8, 0},
        {"x + y * z", 23, 0},
        {"out1", 10, 0},
        {"late", 0, 0},
        // A parameter wins over an output of the same name, and the first of
        // two parameters of one name wins.
        {"dup", 7, 0},
        {kLongName, 63, 0},
        {"X", 0, 1},
        {"pi", 0, 1},
        {"e", 0, 1},
        {"abs", 0, 1},
        {"sqrt", 0, 1},
        {"nothing + 5", 5, 1},
        {"2 * nothing + 1", 1, 1},
        {"x y", 3, 1},
        // A name before "(" is a call even when it names a parameter.
        {"x(1)", 0, 1},
        // Bytes above 127 are no name characters in any locale.
        {"x\xC3\xA9", 3, 1},
        {"\xC3\xA9", 0, 1},
        // 63 characters are read; the rest of the run is leftover text.
        {too_long.c_str(), 63, 1},
        {other_too_long.c_str(), 0, 1},
    };
    ExpectRows(rows);
}

TEST(Evaluator, Functions) {
    const Row rows[] = {
        {"sqrt(9)", 3, 0},
        {"sqrt (9)", 3, 0},
        {"abs(-2.5)", 2.5, 0},
        {"abs(-0)", 0, 0},
        {"log(1)", 0, 0},
        {"log(exp(2))", std::log(std::exp(2.0)), 0},
        {"log10(1000)", 3, 0},
        {"exp(0)", 1, 0},
        {"floor(-1.5)", -2, 0},
        {"ceil(-1.5)", -1, 0},
        {"round(-2.5)", -2, 0},
        {"round(2.5)", 3, 0},
        {"round(-0.4)", 0, 0},
        {"round(0.49999999999999994)", 1, 0},
        {"cbrt(-8)", -2, 0},
        {"cbrt(64)", std::pow(64.0, 0.3333333333333333), 0},
        {"cbrt(-64)", -std::pow(64.0, 0.3333333333333333), 0},
        {"cbrt(0)", 0, 0},
        {"sign(-0)", 0, 0},
        {"sign(-3)", -1, 0},
        {"sign(2)", 1, 0},
        {"sign(qnan)", 0, 0},
        {"min(3, 1)", 1, 0},
        {"max(3, 1)", 3, 0},
        {"min( 1 , 2 )", 1, 0},
        {"pow(2, 10)", 1024, 0},
        {"mod(-7, 3)", -1, 0},
        {"mod(7.5, 2)", 1.5, 0},
        {"max(x, min(y, z))", 4, 0},
        {"(-8)^(1/3)", kNaN, 1},
        {"sqrt(-1)", 0, 1},
        {"sqrt(-1) + 2", 2, 1},
        {"log(0)", 0, 1},
        {"log(-1)", 0, 1},
        {"log10(0)", 0, 1},
        {"mod(5, 0)", 0, 1},
        {"mod(5, -0)", 0, 1},
        {"min(3)", 0, 1},
        {"sqrt(4, 2)", 0, 1},
        {"foo(1)", 0, 1},
        {"Sqrt(4)", 0, 1},
        // The third argument's "," counts as the missing ")"; the call still
        // runs with two arguments and the "," stays as leftover text.
        {"min(1, 2, 3)", 1, 1},
        {"sqrt(9", 3, 1},
        {"pow(2, 3", 8, 1},
        {"exp(1000)", kInf, 1},
        {"exp(1000) > 1", 1, 0},
    };
    ExpectRows(rows);
}

// Every row of the failure table, with the value each failing call returns.
TEST(Evaluator, FailuresReturnTheirValue) {
    const Row rows[] = {
        {"", 0, 1},
        {"   ", 0, 1},
        {"@", 0, 1},
        {"1 +", 1, 1},
        {"(", 0, 1},
        {"x + nothing", 3, 1},
        {"1/0", 0, 1},
        {"0/0", 0, 1},
        {"1/-0", 0, 1},
        {"6 % 0", 0, 1},
        {"6 % nzero", 0, 1},
        {"6/(1-1)", 0, 1},
        {"1 + 2/0 + 3", 4, 1},
        {"5*2/0", 0, 1},
        // The rest of the term stays unread: no "*", "/" or "%" after it
        // can change the lost term, and the additive level sees leftover text.
        {"5*2/0*7", 0, 1},
        {"1/0*inf", 0, 1},
        {"1/0/2 + 3", 0, 1},
        {"x - 1/0 * 2 + 3", 3, 1},
        {"8/0^2 + 1", 1, 1},
        {"(1+2", 3, 1},
        {"(1+2))", 3, 1},
        {"3 ** 2", 3, 1},
        {"2 3", 2, 1},
        {"0 && 1/0", 0, 1},
        {"1 ? 2 : 1/0", 2, 1},
        {"1 ? 2 : log(0)", 2, 1},
        {"-exp(1000)", -kInf, 1},
    };
    ExpectRows(rows);
    int32_t error = 42;
    EXPECT_EQ(Evaluate(nullptr, &error), 0.0);
    EXPECT_EQ(error, 1);
}

TEST(Evaluator, NaNAndInfinity) {
    const Row rows[] = {
        {"qnan", kNaN, 1},
        {"inf", kInf, 1},
        {"qnan == qnan", 0, 0},
        {"qnan != qnan", 1, 0},
        {"qnan < 1", 0, 0},
        {"qnan <= 1", 0, 0},
        {"qnan > 1", 0, 0},
        {"qnan >= 1", 0, 0},
        {"!qnan", 0, 0},
        {"qnan ? 1 : 2", 1, 0},
        {"qnan && 1", 1, 0},
        {"qnan || 0", 1, 0},
        {"min(qnan, 2)", 2, 0},
        {"max(qnan, 2)", 2, 0},
        {"min(2, qnan)", kNaN, 1},
        // NaN passes the domain tests and comes out as NaN.
        {"sqrt(qnan) != sqrt(qnan)", 1, 0},
        {"log(qnan) != 0", 1, 0},
        {"mod(qnan, 2) != 0", 1, 0},
        {"inf - inf", kNaN, 1},
        {"inf > 1e308", 1, 0},
        {"1/inf", 0, 0},
        {"-1/inf", -0.0, 0},
        {"x/inf == 0", 1, 0},
        {"exp(1000) * 0", kNaN, 1},
        {"1e308*10 > 0", 1, 0},
        {"(1e308*10 - 1e308*10) != 0", 1, 0},
    };
    ExpectRows(rows);
}

TEST(Evaluator, SignOfZero) {
    const Row rows[] = {
        {"-0", -0.0, 0},    {"-(0)", -0.0, 0},  {"--0", 0.0, 0},    {"0*-1", -0.0, 0},
        {"-zero", -0.0, 0}, {"-nzero", 0.0, 0}, {"nzero", -0.0, 0},
    };
    ExpectRows(rows);
}

TEST(Evaluator, Whitespace) {
    const Row rows[] = {
        {" \t\r\n1 + 2 \r\n", 3, 0},
        {"( 1 + 2 )", 3, 0},
        {"sqrt \t(9)", 3, 0},
        {"min(1 ,2)", 1, 0},
        {"+ + 5", 5, 0},
        {"- 3", -3, 0},
        {"! 0", 1, 0},
        {"x\n>\ny", 0, 0},
        {"1 ?\t2\r:\n3", 2, 0},
        {"1\v+2", 1, 1},
        {"1\f+2", 1, 1},
        {"\v1", 0, 1},
        {"1 <\t= 2", 0, 1},
        {"\t\r\n", 0, 1},
    };
    ExpectRows(rows);
}

}  // namespace
