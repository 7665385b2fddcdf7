#include "month/month_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/generators/generator_test_support.h"
#include "tests/month/month_test_support.h"

namespace {

struct Checked {
    std::unique_ptr<MonthCheck> check = std::make_unique<MonthCheck>();
    std::vector<std::wstring> texts;
};

Checked Check(const RotaMonth& month) {
    Checked checked;
    CheckMonth(month, checked.check.get());
    for (int32_t i = 0; i < checked.check->breachCount; ++i) {
        wchar_t text[kBreachTextCapacity];
        FormatBreach(month, checked.check->breach[i], text, kBreachTextCapacity);
        checked.texts.emplace_back(text);
    }
    return checked;
}

// Each rule just inside and just past its limit. Minimums are 0 unless a case
// sets them, so that the cases see only their own rule.
struct RuleCase {
    const char* name;
    std::initializer_list<const wchar_t*> rows;
    MonthLimits limits;
    int8_t grades[3];
    bool noNights;  // for the first nurse
    std::vector<std::wstring> breaches;
};

const RuleCase kRuleCases[] = {
    {"day after night",
     {L"NDRN", L"DNRD"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     false,
     {L"护士01：1月1日夜班后，1月2日白班"}},
    {"rest between night and day", {L"NRDN"}, {2, 5, 0, 0}, {-1, -1, -1}, false, {}},
    {"nights up to the limit", {L"NNRNNR"}, {2, 5, 0, 0}, {-1, -1, -1}, false, {}},
    {"nights past the limit",
     {L"RNNNRR"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     false,
     {L"护士01：1月2日至1月4日连续夜班 3 个，超过上限 2 个"}},
    {"a night at the month's end counts",
     {L"RRRNNN"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     false,
     {L"护士01：1月4日至1月6日连续夜班 3 个，超过上限 2 个"}},
    {"nights of a nurse marked for none",
     {L"NRN", L"RRR"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     true,
     {L"护士01：1月1日夜班，已标记不排夜班", L"护士01：1月3日夜班，已标记不排夜班"}},
    {"working days up to the limit", {L"DDNRRDDDDN"}, {2, 5, 0, 0}, {-1, -1, -1}, false, {}},
    {"working days past the limit",
     {L"DDDDDDR"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     false,
     {L"护士01：1月1日至1月6日连续上班 6 天，超过上限 5 天"}},
    {"leave breaks a run", {L"DDDJDDD"}, {2, 5, 0, 0}, {-1, -1, -1}, false, {}},
    {"staffing at and under the minimums",
     {L"DNR", L"NRD"},
     {2, 5, 1, 1},
     {-1, -1, -1},
     false,
     {L"1月2日白班 0 人，少于每日最少 1 人", L"1月3日夜班 0 人，少于每日最少 1 人"}},
    {"nights spread by one", {L"NRN", L"NRR"}, {2, 5, 0, 0}, {-1, -1, -1}, false, {}},
    {"nights spread by two",
     {L"NRN", L"RRR", L"RNR"},
     {2, 5, 0, 0},
     {-1, -1, -1},
     false,
     {L"提醒：夜班数相差 2 个（护士01 最多，护士02 最少），宜不超过 1 个"}},
    {"a night led from N2",
     {L"NR", L"RN"},
     {2, 5, 0, 0},
     {2, 1, -1},
     false,
     {L"提醒：1月2日夜班无 N2 及以上能级护士"}},
};

TEST(MonthRules, EachRuleAtItsLimit) {
    for (const RuleCase& c : kRuleCases) {
        SCOPED_TRACE(c.name);
        auto month = MonthOfRows(c.rows);
        month->limits = c.limits;
        for (int32_t i = 0; i < month->nurses; ++i)
            month->nurse[i].grade = c.grades[i];
        month->nurse[0].noNights = c.noNights;
        const Checked checked = Check(*month);
        EXPECT_EQ(checked.texts, c.breaches);
        int32_t hard = 0;
        for (int32_t i = 0; i < checked.check->breachCount; ++i)
            hard += IsHardRule(checked.check->breach[i].rule) ? 1 : 0;
        EXPECT_EQ(checked.check->hardCount, hard);
        EXPECT_EQ(checked.check->softCount, checked.check->breachCount - hard);
    }
}

TEST(MonthRules, BreachCellsAreMarkedWithTheirRule) {
    auto month = MonthOfRows({L"RNDR", L"DRNN"});
    const Checked checked = Check(*month);
    const RuleBits after_night = RuleBit(kRuleDayAfterNight);
    EXPECT_EQ(checked.check->cellRules[0][1], after_night);
    EXPECT_EQ(checked.check->cellRules[0][2], after_night);
    EXPECT_EQ(checked.check->cellRules[0][0] | checked.check->cellRules[0][3], 0);
    EXPECT_EQ(checked.check->dayRules[1], RuleBit(kRuleDayShort));
}

TEST(MonthRules, ComputedRotasBreakOnlyTheDayAfterNight) {
    constexpr ParamDef kParams[] = {{"nurses", L"护士人数", L"人", 8},
                                    {"days", L"排班天数", L"天", 7}};
    const ToolDef tool = MakeTool(1, kParams, 2);
    struct Size {
        double nurses, days;
        int32_t breaches;
    };
    for (const Size size : {Size{8, 7, 16}, Size{40, 31, 400}}) {
        const double values[kMaxParams] = {size.nurses, size.days};
        auto rota = std::make_unique<RotaTable>();
        BuildRotaTable(tool, values, rota.get());
        auto month = std::make_unique<RotaMonth>();
        MakeMonthFromRota(*rota, nullptr, L"", {2027, 1, 1}, month.get());
        const Checked checked = Check(*month);
        EXPECT_EQ(checked.check->hardCount, size.breaches);
        for (int32_t i = 0; i < checked.check->breachCount; ++i) {
            if (IsHardRule(checked.check->breach[i].rule)) {
                EXPECT_EQ(checked.check->breach[i].rule, kRuleDayAfterNight);
            }
        }
        wchar_t summary[64];
        FormatBreachSummary(*checked.check, summary, 64);
        EXPECT_EQ(std::wstring(summary), L"硬性违规 " + std::to_wstring(size.breaches) +
                                             L" 处，提醒 " +
                                             std::to_wstring(checked.check->softCount) + L" 处");
    }
}

}  // namespace
