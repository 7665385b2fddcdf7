#include "ui/month/month_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/month/month_test_support.h"

namespace {

// Whatever the client area and the scale, scrolling to a cell shows it whole,
// and a click in its middle finds it again.
TEST(MonthView, ScrollingToACellShowsItWholeAndAClickFindsIt) {
    const auto month = MonthOfRows({});
    month->nurses = 40;
    month->days = 31;
    const Scale scales[] = {{1, 1}, {3, 2}, {2, 1}};
    const int32_t sizes[][2] = {{700, 300}, {1500, 1200}, {200, 120}};
    for (const Scale scale : scales) {
        for (const auto& size : sizes) {
            GridScroll scroll = {0, 0};
            for (int32_t row = 0; row < month->nurses; row += 3) {
                for (int32_t column = kNameColumn; column < month->days; column += 2) {
                    SCOPED_TRACE(testing::Message()
                                 << scale.numerator << "/" << scale.denominator << " " << size[0]
                                 << " r" << row << " c" << column);
                    GridView view = ViewOfGrid(*month, scroll, size[0], size[1], scale);
                    scroll = ScrollToShow(*month, scroll, view, row, column);
                    view = ViewOfGrid(*month, scroll, size[0], size[1], scale);
                    const Box r = BodyRowBox(scroll, row, scale);
                    ASSERT_GE(r.y, view.frozenHeight);
                    if (size[1] - view.frozenHeight >= r.height) {
                        ASSERT_LE(r.y + r.height, size[1]);
                    }
                    int32_t x = view.frozenWidth / 2;
                    if (column != kNameColumn) {
                        const Box c = BodyColumnBox(*month, scroll, column, scale);
                        ASSERT_GE(c.x, view.frozenWidth);
                        if (size[0] - view.frozenWidth >= c.width) {
                            ASSERT_LE(c.x + c.width, size[0]);
                        }
                        x = c.x + c.width / 2;
                    }
                    const GridHit hit = HitTestGrid(*month, scroll, x, r.y + r.height / 2, scale);
                    EXPECT_EQ(hit.row, row);
                    EXPECT_EQ(hit.column, column);
                    scroll = ClampScroll(*month, scroll, view);
                }
            }
        }
    }
}

// The computed 3 x 4 rota in January 2027: nurse 2 has a night on the 1st and
// a day shift on the 2nd.
TEST(MonthView, TheScreenReaderHearsTheCellInOneSentence) {
    auto month = MonthOfRows({L"DRND", L"NDRN", L"RNDR"});
    month->nurse[1].grade = 2;
    month->holiday[1] = true;
    auto check = std::make_unique<MonthCheck>();
    CheckMonth(*month, check.get());
    wchar_t said[kCellSentenceCapacity];
    BuildCellSentence(*month, *check, 1, 1, said, kCellSentenceCapacity);
    EXPECT_EQ(std::wstring(said),
              L"护士02，1月2日 星期六，节假日，白班。违规：护士02：1月1日夜班后，1月2日白班。");
    month->limits.minDay = 0;
    SetCellByHand(month.get(), 1, 1, kShiftRest);
    CheckMonth(*month, check.get());
    BuildCellSentence(*month, *check, 1, 1, said, kCellSentenceCapacity);
    EXPECT_EQ(std::wstring(said), L"护士02，1月2日 星期六，节假日，休息，手工设置，无违规。");
    BuildCellSentence(*month, *check, 1, kNameColumn, said, kCellSentenceCapacity);
    EXPECT_EQ(std::wstring(said), L"护士02，能级 N2，姓名，按 F2 修改。");
}

TEST(MonthView, TheNamesFollowTheRosterAndTheRestAreNumbered) {
    auto month = MonthOfRows({L"D", L"N", L"R"});
    Roster roster{};
    roster.count = 1;
    roster.nurse[0] = {L"张三", 2, true};
    month->nurse[2] = {L"旧名", 1, true};
    ApplyRoster(roster, L"内科", month.get());
    EXPECT_EQ(std::wstring(month->ward), L"内科");
    EXPECT_EQ(std::wstring(month->nurse[0].name), L"张三");
    EXPECT_TRUE(month->nurse[0].noNights);
    EXPECT_EQ(std::wstring(month->nurse[2].name), L"护士03");
    EXPECT_EQ(month->nurse[2].grade, kNoGrade);
    EXPECT_FALSE(month->nurse[2].noNights);
    ApplyRoster(roster, L"", month.get());
    EXPECT_EQ(std::wstring(month->ward), L"内科");
}

TEST(MonthView, LimitsAreWholeNumbersInTheirRange) {
    struct Case {
        const wchar_t* text;
        MonthLimitField field;
        int32_t value;  // -1: refused
    };
    constexpr Case kCases[] = {
        {L"2", kMaxNightRunField, 2},  {L" 31 ", kMaxWorkRunField, 31},
        {L"0", kMinDayField, 0},       {L"40", kMinNightField, 40},
        {L"0", kMaxNightRunField, -1}, {L"32", kMaxWorkRunField, -1},
        {L"41", kMinDayField, -1},     {L"", kMinDayField, -1},
        {L"1.5", kMinDayField, -1},    {L"-1", kMinNightField, -1},
        {L"00002", kMinDayField, -1},  {L"2 3", kMinDayField, -1},
    };
    for (const Case& c : kCases) {
        int32_t value = -1;
        EXPECT_EQ(ParseLimitText(c.text, c.field, &value), c.value >= 0) << c.text;
        if (c.value >= 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    wchar_t message[kLimitErrorCapacity];
    BuildLimitErrorText(kMaxNightRunField, message, kLimitErrorCapacity);
    EXPECT_EQ(std::wstring(message), L"连续夜班上限须为 1 至 31 之间的整数。");
}

TEST(MonthView, TypedLettersAndCharactersSetTheirShift) {
    const std::wstring typed[kMonthShiftCount] = {L"Dd白", L"Nn夜", L"Rr休", L"Jj假"};
    for (int32_t shift = 0; shift < kMonthShiftCount; ++shift) {
        for (wchar_t c : typed[shift]) {
            uint8_t got = 99;
            EXPECT_TRUE(ShiftOfSpelling(c, &got));
            EXPECT_EQ(got, shift);
        }
    }
    uint8_t got = 99;
    for (wchar_t c : std::wstring(L"AXz 1\t班"))
        EXPECT_FALSE(ShiftOfSpelling(c, &got)) << static_cast<int>(c);
}

}  // namespace
