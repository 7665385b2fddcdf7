#include "engine/bounded_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/guarded_buffer.h"

namespace {

TEST(FormatText, WholeTextReturnsItsLength) {
    GuardedBuffer b(32);
    EXPECT_EQ(FormatText(b.data(), b.capacity, L"%d日%c ", 10, L'D'), 5);
    EXPECT_EQ(b.Text(), L"10日D ");
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(FormatText, ConversionsMatchPrintf) {
    GuardedBuffer b(128);
    FormatText(b.data(), b.capacity, L"%04lld-%02lld-%02lld", -1LL, 12LL, 31LL);
    EXPECT_EQ(b.Text(), L"-001-12-31");
    FormatText(b.data(), b.capacity, L"%.0f|%.2f|%g|%g|%g", 2.5, 0.125, 8.0, 1e-05, 1e6);
    EXPECT_EQ(b.Text(), L"2|0.12|8|1e-05|1e+06");
    FormatText(b.data(), b.capacity, L"%ls：%ls|%02d|%%|%5ls|%-3d|", L"护士", L"8", 7, L"ab", 1);
    EXPECT_EQ(b.Text(), L"护士：8|07|%|   ab|1  |");
    FormatText(b.data(), b.capacity, L"%hs|%x|%.6g|%.1f%%", "abc", 255u, 0.5, 12.345);
    EXPECT_EQ(b.Text(), L"abc|ff|0.5|12.3%");
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(FormatText, CutTextIsTerminatedAndReportsMinusOne) {
    for (int32_t capacity = 1; capacity <= 12; ++capacity) {
        GuardedBuffer b(capacity);
        const int32_t n = FormatText(b.data(), b.capacity, L"人员：%d 人；周期：%d 天", 40, 31);
        const std::wstring whole = L"人员：40 人；周期：31 天";
        EXPECT_EQ(b.Text(), whole.substr(0, capacity - 1)) << capacity;
        EXPECT_EQ(n, static_cast<int32_t>(whole.size()) < capacity ? 15 : -1);
        EXPECT_TRUE(b.GuardsIntact()) << capacity;
    }
}

TEST(FormatText, CapacityBelowOneWritesNothing) {
    wchar_t c = kGuardChar;
    EXPECT_EQ(FormatText(&c, 0, L"x"), -1);
    EXPECT_EQ(c, kGuardChar);
}

TEST(AppendText, AppendsOnlyWhileRoomIsLeft) {
    GuardedBuffer b(6);
    b.data()[0] = L'\0';
    EXPECT_EQ(AppendText(b.data(), b.capacity, L"abc"), 3);
    EXPECT_EQ(AppendText(b.data(), b.capacity, L"defg"), 5);
    EXPECT_EQ(b.Text(), L"abcde");
    EXPECT_EQ(AppendText(b.data(), b.capacity, L"z"), 5);
    EXPECT_EQ(b.Text(), L"abcde");
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(AppendText, TakesAPrefixWhenGivenALength) {
    GuardedBuffer b(16);
    CopyText(b.data(), b.capacity, L"ab");
    AppendText(b.data(), b.capacity, L"cdef", 2);
    EXPECT_EQ(b.Text(), L"abcd");
}

TEST(CopyText, CutsAndTreatsNullAsEmpty) {
    GuardedBuffer b(4);
    CopyText(b.data(), b.capacity, L"abcdef");
    EXPECT_EQ(b.Text(), L"abc");
    CopyText(b.data(), b.capacity, nullptr);
    EXPECT_EQ(b.Text(), L"");
    EXPECT_TRUE(b.GuardsIntact());
}

// Where a wchar_t is a UTF-16 unit, U+1F600 is the pair D83D DE00: a cut that
// falls between its halves ends before the pair.
TEST(Cuts, NeverSplitASurrogatePair) {
    if constexpr (sizeof(wchar_t) != 2) GTEST_SKIP() << "a wchar_t holds a whole character here";
    const std::wstring text = {L'a', L'b', wchar_t(0xD83D), wchar_t(0xDE00), L'c'};
    const size_t kept[] = {0, 0, 1, 2, 2, 4, 5};  // units kept at capacity 1 to 6
    for (int32_t capacity = 1; capacity <= 6; ++capacity) {
        const std::wstring expected = text.substr(0, kept[capacity]);
        GuardedBuffer formatted(capacity);
        FormatText(formatted.data(), capacity, L"%ls", text.c_str());
        EXPECT_EQ(formatted.Text(), expected) << capacity;
        GuardedBuffer copied(capacity);
        CopyText(copied.data(), capacity, text.c_str());
        EXPECT_EQ(copied.Text(), expected) << capacity;
        EXPECT_EQ(CutLength(text.c_str(), capacity - 1), static_cast<int32_t>(kept[capacity]));
        EXPECT_TRUE(formatted.GuardsIntact() && copied.GuardsIntact()) << capacity;
    }
}

}  // namespace
