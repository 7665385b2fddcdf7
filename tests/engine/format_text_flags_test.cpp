// The printf-style formatter's less used parts: flags, "*" widths and
// precisions (negative and huge ones too), every length modifier, text
// precisions and the stop at an unknown conversion.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/bounded_text.h"
#include "tests/engine/guarded_buffer.h"

namespace {

constexpr int32_t kCapacity = 1024;

std::wstring Spaces(size_t n) {
    return std::wstring(n, L' ');
}

struct Formatted {
    std::wstring text;
    int32_t returned;
    bool guards_intact;
};

template <typename... Args>
Formatted Format(const wchar_t* format, Args... args) {
    GuardedBuffer b(kCapacity);
    const int32_t n = FormatText(b.data(), b.capacity, format, args...);
    return {b.Text(), n, b.GuardsIntact()};
}

void ExpectText(const Formatted& f, const std::wstring& expected) {
    EXPECT_EQ(f.text, expected);
    EXPECT_EQ(f.returned, static_cast<int32_t>(expected.size()));
    EXPECT_TRUE(f.guards_intact);
}

TEST(FormatTextFlags, SignSpaceAlternateAndCase) {
    ExpectText(Format(L"%+d|% d|%+d|%#x|%#o|%X|%o", 5, 5, -5, 255u, 8u, 255u, 8u),
               L"+5| 5|-5|0xff|010|FF|10");
    ExpectText(Format(L"%+.1f|% .2f|%#.0f", 1.25, 0.5, 3.0), L"+1.2| 0.50|3.");
    ExpectText(Format(L"%-5c|%3c|%c", L'x', L'y', 0x4E2D), L"x    |  y|\x4E2D");
}

TEST(FormatTextFlags, StarWidthAndPrecision) {
    ExpectText(Format(L"%*d|%-*d|%*d|", 4, 7, 3, 7, -3, 7), L"   7|7  |7  |");
    ExpectText(Format(L"%.*f|%.*f|%*.*f", 2, 3.14159, -1, 2.5, 6, 1, 2.25),
               L"3.14|2.500000|   2.2");
    ExpectText(Format(L"%.*ls|%*ls", 2, L"abc", 4, L"ab"), L"ab|  ab");
}

TEST(FormatTextFlags, WidthsAndPrecisionsAreCappedAt400) {
    // The cap keeps every number's text within the formatter's own scratch.
    ExpectText(Format(L"%*d", INT_MIN, 7), L"7" + Spaces(399));
    ExpectText(Format(L"%*d", 100000, 7), Spaces(399) + L"7");
    ExpectText(Format(L"%5000d", 7), Spaces(399) + L"7");
    ExpectText(Format(L"%.*f", 100000, 1.0), L"1." + std::wstring(400, L'0'));
    ExpectText(Format(L"%.9999f", 1.0), L"1." + std::wstring(400, L'0'));
}

TEST(FormatTextFlags, LengthModifiers) {
    ExpectText(Format(L"%zu|%jd|%td", size_t{7}, intmax_t{-8}, ptrdiff_t{9}), L"7|-8|9");
    ExpectText(Format(L"%lu|%ld|%llu|%lld", 7ul, -8l, ULLONG_MAX, LLONG_MIN),
               L"7|-8|18446744073709551615|-9223372036854775808");
    ExpectText(Format(L"%hd|%hu|%lx|%i", 5, 6u, 255ul, -3), L"5|6|ff|-3");
    // "L" is read and ignored: the argument is taken as a double.
    ExpectText(Format(L"%Lf", 0.5), L"0.500000");
}

TEST(FormatTextFlags, ShortLengthsNarrowTheArgumentAsPrintfDoes) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%hd|%hhd|%hu|%hhu|%hx|%hhi", 70000, 300, 70000u, 300u,
                  0xFFFFFu, -129);
    const std::string narrow = expected;
    ExpectText(Format(L"%hd|%hhd|%hu|%hhu|%hx|%hhi", 70000, 300, 70000u, 300u, 0xFFFFFu, -129),
               std::wstring(narrow.begin(), narrow.end()));
}

TEST(FormatTextFlags, TextPrecisionAndNullTexts) {
    ExpectText(Format(L"%.2ls|%.1hs|%-4hs|", L"abc", "abc", "ab"), L"ab|a|ab  |");
    const wchar_t* no_wide = nullptr;
    const char* no_narrow = nullptr;
    ExpectText(Format(L"%ls|%hs", no_wide, no_narrow), L"(null)|(null)");
}

TEST(FormatTextFlags, UnknownConversionEndsTheTextWrittenSoFar) {
    ExpectText(Format(L"ab%qcd", 1), L"ab");
    ExpectText(Format(L"x%", 1), L"x");
}

TEST(FormatTextFlags, NullFormatAndNullBuffer) {
    const wchar_t* no_format = nullptr;
    ExpectText(Format(no_format), L"");
    EXPECT_EQ(FormatText(nullptr, 10, L"x"), -1);
}

TEST(BoundedTextHelpers, NullTextsCountAsEmpty) {
    EXPECT_EQ(BoundedLength(nullptr, 10), 0);
    GuardedBuffer b(4);
    b.storage[0] = L'x';
    WidenAscii(b.data(), b.capacity, nullptr);
    EXPECT_EQ(b.Text(), L"");
    WidenAscii(nullptr, 4, "abc");
    WidenAscii(b.data(), 0, "abc");
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(FormatTextFlags, CutInsidePaddingReportsTheCut) {
    GuardedBuffer b(4);
    EXPECT_EQ(FormatText(b.data(), b.capacity, L"%-6d", 1), -1);
    EXPECT_EQ(b.Text(), L"1  ");
    EXPECT_TRUE(b.GuardsIntact());
}

}  // namespace
