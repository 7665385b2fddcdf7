#include "ui/field_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double kUntouched = -12345.0;

struct AcceptedCase {
    const wchar_t* text;
    double value;
};

// Plain numbers, white space around them, and what a Chinese input method
// types in full width.
constexpr AcceptedCase kAccepted[] = {
    {L"8", 8.0},
    {L"7", 7.0},
    {L"0", 0.0},
    {L"-3.5", -3.5},
    {L"+2", 2.0},
    {L".5", 0.5},
    {L"5.", 5.0},
    {L"1e3", 1000.0},
    {L"2.5E-2", 0.025},
    {L"1e-999", 0.0},  // underflows to a finite number
    {L"  12  ", 12.0},
    {L"\t40\r\n", 40.0},
    {L"\x3000"
     L"31\x3000",
     31.0},  // ideographic spaces
    {L"１２", 12.0},
    {L"－３．５", -3.5},
    {L"＋７", 7.0},
    {L"１ｅ２", 100.0},
    {L"２Ｅ１", 20.0},
    {L"1２", 12.0},   // half and full width mixed
    {L"0x1A", 26.0},  // what the C locale's conversion reads, hexadecimal included
    {L"0X1a", 26.0},
    {L"0x1p3", 8.0},
};

// Each would otherwise become a number the user did not type (an empty field
// one that was never typed at all).
constexpr const wchar_t* kRefused[] = {
    L"",
    L"   ",
    L"\t",
    L"\x3000",
    L"abc",
    L"12abc",
    L"1e999",
    L"-1e999",
    L"inf",
    L"-inf",
    L"infinity",
    L"nan",
    L"NaN",
    L"0x",
    L"0xg",
    L"ff",
    L"1,5",
    L"1 2",
    L"12 abc",
    L"+",
    L"-",
    L".",
    L"e5",
    L"1e",
    L"1e+",
    L"--1",
    L"1.2.3",
    L"１２ａ",
    L"\x2212"
    L"3",  // U+2212 minus sign is not read as '-'
    L"12%",
    L"8人",
    L"٣",
    L"1_000",
};

TEST(FieldParser, AcceptsOneNumber) {
    for (const AcceptedCase& c : kAccepted) {
        SCOPED_TRACE(testing::Message() << "text #" << (&c - kAccepted));
        double value = kUntouched;
        ASSERT_TRUE(ParseFieldValue(c.text, &value));
        EXPECT_DOUBLE_EQ(c.value, value);
    }
}

TEST(FieldParser, RefusesAnythingElseAndKeepsTheValue) {
    for (size_t i = 0; i < sizeof kRefused / sizeof kRefused[0]; ++i) {
        const wchar_t* text = kRefused[i];
        SCOPED_TRACE(testing::Message() << "refused text #" << i);
        double value = kUntouched;
        EXPECT_FALSE(ParseFieldValue(text, &value));
        EXPECT_EQ(kUntouched, value);
    }
}

TEST(FieldParser, LengthLimit) {
    // 127 characters are read whole; one more is refused, never read cut.
    std::wstring longest(kFieldTextMaxLength, L'1');
    double value = kUntouched;
    ASSERT_TRUE(ParseFieldValue(longest.c_str(), &value));
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_NEAR(1.1111111111111111e126, value, 1e112);

    std::wstring padded = L"5" + std::wstring(kFieldTextMaxLength - 1, L' ');
    ASSERT_TRUE(ParseFieldValue(padded.c_str(), &value));
    EXPECT_EQ(5.0, value);

    const std::wstring too_long(kFieldTextMaxLength + 1, L'1');
    value = kUntouched;
    EXPECT_FALSE(ParseFieldValue(too_long.c_str(), &value));
    EXPECT_EQ(kUntouched, value);

    const std::wstring letters(kFieldTextMaxLength, L'a');
    EXPECT_FALSE(ParseFieldValue(letters.c_str(), &value));
    EXPECT_EQ(kUntouched, value);
}

TEST(FieldParser, NullArgumentsAreRefused) {
    double value = kUntouched;
    EXPECT_FALSE(ParseFieldValue(nullptr, &value));
    EXPECT_FALSE(ParseFieldValue(L"1", nullptr));
    EXPECT_EQ(kUntouched, value);
}

constexpr ParamDef kFormulaParams[] = {{"a", L"甲", nullptr, 1}, {"b", L"乙", nullptr, 2}};
constexpr ToolDef kFormulaTool = {1, L"公式", nullptr, L"",     L"", nullptr, 2, kFormulaParams,
                                  0, nullptr, 0,       nullptr, 0};

TEST(FieldTexts, AllTakenAreCommitted) {
    const wchar_t* texts[] = {L"-3.5", L"１e10"};
    double values[3] = {1, 2, kUntouched};
    EXPECT_EQ(-1, ParseFieldTexts(kFormulaTool, texts, values));
    EXPECT_EQ(-3.5, values[0]);
    EXPECT_EQ(1e10, values[1]);
    EXPECT_EQ(kUntouched, values[2]);  // beyond the tool's parameters
}

TEST(FieldTexts, ARefusedFieldLeavesEveryValueAsItWas) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        int32_t refused;
    };
    constexpr Case kCases[] = {
        {L"abc", L"14", 0},    {L"10", L"12abc", 1},
        {L"1e999", L"inf", 0},  // the first refused field is named
        {L"10", L"inf", 1},    {L"10", L" ", 1},
        {L"41", L"7", 0},  // the rota's counts: whole numbers within its ranges
        {L"8", L"3.5", 1},     {L"-5", L"1e10", 0},
    };
    for (const Case& c : kCases) {
        const wchar_t* texts[] = {c.first, c.second};
        double values[2] = {8.0, 7.0};
        EXPECT_EQ(c.refused, ParseFieldTexts(GetBuiltinTool(), texts, values));
        EXPECT_EQ(8.0, values[0]);
        EXPECT_EQ(7.0, values[1]);
    }
}

}  // namespace
