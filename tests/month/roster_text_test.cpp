#include "month/roster_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/bounded_text.h"

namespace {

std::wstring Format(const Roster& roster) {
    wchar_t text[kRosterTextCapacity];
    EXPECT_GE(FormatRosterText(roster, text, kRosterTextCapacity), 0);
    return text;
}

// A column pasted from a spreadsheet: CR LF, an empty grade column, spaces
// around cells, a blank line, the column heads.
const wchar_t kPasted[] =
    L"姓名\t能级\t不排夜班\r\n"
    L" 张三 \tN2\r\n"
    L"李四\t\t不排夜班\r\n"
    L"\r\n"
    L"王五\tn0\t\r\n"
    L"赵六";

TEST(RosterText, PastedColumnsReadAsNursesAndWriteBackPlainly) {
    Roster roster{};
    RosterError error{};
    ASSERT_TRUE(ParseRosterText(kPasted, &roster, &error)) << error.line;
    ASSERT_EQ(roster.count, 4);
    EXPECT_EQ(roster.nurse[1].grade, kNoGrade);
    EXPECT_TRUE(roster.nurse[1].noNights);
    const std::wstring text = Format(roster);
    EXPECT_EQ(text, L"张三\tN2\r\n李四\t\t不排夜班\r\n王五\tN0\r\n赵六\r\n");
    Roster again{};
    ASSERT_TRUE(ParseRosterText(text.c_str(), &again, &error));
    EXPECT_EQ(Format(again), text);
}

struct Refusal {
    const wchar_t* text;
    const wchar_t* box;
};

const Refusal kRefusals[] = {
    {L"张三\n李四\n一二三四五六七八九十一二三四五六七",
     L"第 3 行：“一二三四五六七八九十一二三四五六七”超过 16 个字。"},
    {L"张三\r\n李四\r\n 张三\tN1", L"第 3 行：“张三”与第 1 行重名。"},
    {L"张三\nN2", L"第 2 行：“N2”不是姓名（姓名应在第一列）。"},
    {L"张三\n@SUM(A1)",
     L"第 2 行：姓名“@SUM(A1)”不能以 =、+、-、@ 开头（表格软件会把它当作公式）。"},
    {L"张三\t主管护师", L"第 1 行：“主管护师”既不是能级（N0～N4）也不是“不排夜班”。"},
    {L"张三\tN5", L"第 1 行：“N5”既不是能级（N0～N4）也不是“不排夜班”。"},
    {L"张三\n\tN3", L"第 2 行：没有姓名。"},
};

TEST(RosterText, RefusesTheWholeTextNamingTheLine) {
    for (const Refusal& refusal : kRefusals) {
        Roster roster{};
        roster.count = 1;
        RosterError error{};
        EXPECT_FALSE(ParseRosterText(refusal.text, &roster, &error));
        EXPECT_EQ(std::wstring(error.text), refusal.box);
        EXPECT_EQ(roster.count, 1);
    }
    std::wstring crowded;
    for (int32_t n = 1; n <= kRosterMaxNurses + 1; ++n)
        crowded += L"护士" + std::to_wstring(n) + L"\n";
    Roster roster{};
    RosterError error{};
    EXPECT_FALSE(ParseRosterText(crowded.c_str(), &roster, &error));
    EXPECT_EQ(std::wstring(error.text), L"第 101 行：名单超过 100 人。");
}

TEST(RosterFileText, KeepsTheWardOnItsFirstLineAndCountsIt) {
    Roster roster{};
    RosterError error{};
    ASSERT_TRUE(ParseRosterText(L"张三\tN2\n李四", &roster, &error));
    wchar_t text[kRosterTextCapacity];
    ASSERT_GE(FormatRosterFileText(L"内科", roster, text, kRosterTextCapacity), 0);
    EXPECT_STREQ(text, L"科室\t内科\r\n张三\tN2\r\n李四\r\n");
    wchar_t ward[kWardNameCapacity] = L"";
    Roster read{};
    ASSERT_TRUE(ParseRosterFileText(text, ward, kWardNameCapacity, &read, &error));
    EXPECT_STREQ(ward, L"内科");
    EXPECT_EQ(Format(read), Format(roster));
    EXPECT_FALSE(
        ParseRosterFileText(L"科室\t内科\r\n张三\r\n张三", ward, kWardNameCapacity, &read, &error));
    EXPECT_EQ(std::wstring(error.text), L"第 3 行：“张三”与第 2 行重名。");
}

}  // namespace
