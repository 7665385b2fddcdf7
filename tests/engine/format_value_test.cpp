#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/compute.h"
#include "tests/engine/guarded_buffer.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::wstring Format(const char* code, double value, int32_t capacity = 128) {
    GuardedBuffer out(capacity);
    FormatValue(code, value, out.data(), out.capacity);
    EXPECT_TRUE(out.GuardsIntact()) << (code ? code : "null") << " " << value;
    return out.Text();
}

TEST(FormatValue, EveryCode) {
    struct Case {
        const char* code;
        double value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"f0", 12.3456, L"12"},
        {"f1", 12.3456, L"12.3"},
        {"f2", 12.3456, L"12.35"},
        {"f3", 12.3456, L"12.346"},
        {"int", 12.3456, L"12"},
        {"int", 2.7, L"3"},
        {"int", -2.7, L"-3"},
        {"pct", 12.3456, L"12.3%"},
        {"pct", 0.5, L"0.5%"},
        {"date", 12.3456, L"1970-01-13"},
        {nullptr, 12.3456, L"12.35"},
        {"F2", 12.3456, L"12.35"},
        {"", 1.0, L"1.00"},
        {"weird", -0.004, L"-0.00"},
        {"date", 0.0, L"1970-01-01"},
        {"date", -1.0, L"1969-12-31"},
        {"date", 19000.9, L"2022-01-08"},
        {"date", -0.9, L"1970-01-01"},
        {"date", -719529.0, L"-001-12-31"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.code, c.value), c.expected)
            << (c.code ? c.code : "null") << " " << c.value;
    }
}

TEST(FormatValue, NonFiniteIsTwoDashesUnderEveryCode) {
    for (const char* code :
         {"f0", "f1", "f2", "f3", "int", "pct", "date", "x", (const char*)nullptr}) {
        for (double value : {kInf, -kInf, kNaN}) {
            EXPECT_EQ(Format(code, value), L"--") << (code ? code : "null") << " " << value;
        }
    }
}

TEST(FormatValue, HugeMagnitudesStayInsideTheScratch) {
    // "%.3f" of 1e80 needs more than 79 characters: the value is shown in
    // exponent form rather than as a cut number.
    EXPECT_EQ(Format("f3", 1e80), L"1e+80");
    EXPECT_EQ(Format("f2", -1.234567890123456e300), L"-1.23456789012346e+300");
    EXPECT_EQ(Format("f0", 1e70),
              L"10000000000000000725314363815292351261583744096465219555182101554790400");
    // A date far outside any calendar cannot be shown.
    EXPECT_EQ(Format("date", 1e300), L"--");
    EXPECT_EQ(Format("date", 4.7e18), L"--");
}

TEST(FormatValue, IsCutToItsCapacityAndTerminated) {
    EXPECT_EQ(Format("f3", 12.3456, 4), L"12.");
    EXPECT_EQ(Format("date", 0.0, 5), L"1970");
    EXPECT_EQ(Format("f0", kNaN, 2), L"-");
    EXPECT_EQ(Format("f0", 5.0, 1), L"");
}

}  // namespace
