#include "month/arrange.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "month/month_rules.h"
#include "tests/month/month_test_support.h"

namespace {

// A small generator of its own, so that the wards are the same everywhere.
struct Random {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    int32_t Below(int32_t bound) { return static_cast<int32_t>(Next() % bound); }
    bool OneIn(int32_t odds) { return Below(odds) == 0; }
};

// A ward with random limits, minimums, leave, hand-set cells and marks; the
// free cells hold any letter, which the arrangement must overwrite.
std::unique_ptr<RotaMonth> RandomWard(uint32_t seed, bool small) {
    Random random = {seed * 2654435761ull + 1};
    auto month = std::make_unique<RotaMonth>();
    month->first = {2027, 1 + random.Below(12), 1};
    month->nurses = small ? 3 + random.Below(2) : 3 + random.Below(38);
    month->days = small ? 1 + random.Below(5) : 1 + random.Below(31);
    const int32_t staff = small ? 3 : 1 + month->nurses / 4;
    month->limits = {1 + random.Below(3), 1 + random.Below(6), random.Below(staff),
                     random.Below(staff)};
    const int32_t leave_odds = 4 + random.Below(30), hand_odds = 6 + random.Below(60);
    const bool graded = random.OneIn(2);
    for (int32_t i = 0; i < month->nurses; ++i) {
        FormatRotaNurseLabel(i, month->nurse[i].name, kNurseNameCapacity);
        month->nurse[i].grade = graded ? static_cast<int8_t>(random.Below(6) - 1) : kNoGrade;
        month->nurse[i].noNights = random.OneIn(6);
        for (int32_t t = 0; t < month->days; ++t) {
            const bool leave = random.OneIn(leave_odds);
            const bool hand = !leave && random.OneIn(hand_odds);
            month->cell[i][t] = {static_cast<uint8_t>(leave ? kShiftLeave : random.Below(3)), hand};
        }
    }
    for (int32_t t = 0; t < month->days; ++t)
        month->holiday[t] = random.OneIn(15);
    return month;
}

bool IsGivenCell(const MonthCell& cell) {
    return cell.byHand || cell.shift == kShiftLeave;
}

// Whether a month whose days up to last_day are filled (every later free
// cell at rest) may still be completed: a breach of a nurse's own rules
// stays whatever the later free cells take, since working more never mends
// one, and so does a short day among those filled.
bool PrefixMayComplete(const RotaMonth& month, int32_t last_day, MonthCheck* check) {
    CheckMonth(month, check);
    for (int32_t b = 0; b < check->hardCount; ++b) {
        const MonthBreach& breach = check->breach[b];
        const bool staffing = breach.rule == kRuleDayShort || breach.rule == kRuleNightShort;
        if (!staffing || breach.first <= last_day) return false;
    }
    return true;
}

// Every month of the ward, cell by cell, day after day: the exhaustive answer.
bool SomeMonthKeepsTheRules(RotaMonth* month, int32_t position, MonthCheck* check) {
    const int32_t t = position / month->nurses, i = position % month->nurses;
    if (i == 0 && !PrefixMayComplete(*month, t - 1, check)) return false;
    if (t == month->days) return true;
    if (IsGivenCell(month->cell[i][t])) return SomeMonthKeepsTheRules(month, position + 1, check);
    for (uint8_t shift : {kShiftDay, kShiftNight, kShiftRest}) {
        month->cell[i][t] = {shift, false};
        if (SomeMonthKeepsTheRules(month, position + 1, check)) return true;
    }
    return false;
}

bool ExhaustiveSaysSome(const RotaMonth& ward, MonthCheck* check) {
    RotaMonth month = ward;
    for (int32_t i = 0; i < month.nurses; ++i)
        for (int32_t t = 0; t < month.days; ++t)
            if (!IsGivenCell(month.cell[i][t])) month.cell[i][t] = {kShiftRest, false};
    return SomeMonthKeepsTheRules(&month, 0, check);
}

bool KeepsGivenCells(const RotaMonth& ward, const RotaMonth& arranged) {
    for (int32_t i = 0; i < ward.nurses; ++i)
        for (int32_t t = 0; t < ward.days; ++t) {
            const MonthCell before = ward.cell[i][t], after = arranged.cell[i][t];
            if (IsGivenCell(before) ? before.shift != after.shift || before.byHand != after.byHand
                                    : after.byHand || after.shift == kShiftLeave)
                return false;
        }
    return true;
}

// Which kind of reason: 0 the hand-set cells, 1 a day short, 2 the search
// gave up (rules drawn so tight that it ran out of steps), -1 none of them.
int32_t KindOfReason(const std::wstring& reason) {
    if (reason.find(L"手动设定）") != std::wstring::npos) return 0;
    if (reason.find(L"无法排满：可排") != std::wstring::npos) return 1;
    return reason.find(L"规则过紧") == 0 ? 2 : -1;
}

// Every seeded ward gives a month the checker passes, with its leave and
// hand-set cells as they were, the same month again on a second try; or a
// reason, the ward untouched. Small wards are checked against every month.
TEST(Arrange, RandomWardsKeepTheRulesOrSayWhy) {
    constexpr uint32_t kWards = 4000;
    auto check = std::make_unique<MonthCheck>();
    int32_t arranged = 0, refused[3] = {}, small_some = 0, small_none = 0;
    for (uint32_t seed = 0; seed < kWards; ++seed) {
        const bool small = seed % 2 == 0;
        const auto ward = RandomWard(seed, small);
        auto month = std::make_unique<RotaMonth>(*ward);
        const ArrangeOutcome outcome = ArrangeMonth(month.get());
        SCOPED_TRACE(testing::Message() << "seed " << seed << ": " << outcome.reason);
        if (outcome.arranged) {
            ++arranged;
            CheckMonth(*month, check.get());
            EXPECT_EQ(check->hardCount, 0);
            EXPECT_TRUE(KeepsGivenCells(*ward, *month));
            auto again = std::make_unique<RotaMonth>(*ward);
            ArrangeMonth(again.get());
            EXPECT_TRUE(SameMonth(*again, *month));
        } else {
            const int32_t kind = KindOfReason(outcome.reason);
            ASSERT_GE(kind, 0);
            ++refused[kind];
            EXPECT_TRUE(SameMonth(*ward, *month));
        }
        if (ward->nurses <= 4 && ward->days <= 5) {
            const bool some = ExhaustiveSaysSome(*ward, check.get());
            EXPECT_EQ(some, outcome.arranged);
            ++(some ? small_some : small_none);
        }
    }
    std::printf(
        "wards %u: arranged %d; no month: hand-set %d, day short %d; gave up %d; "
        "small wards searched exhaustively: %d with a month, %d without\n",
        kWards, arranged, refused[0], refused[1], refused[2], small_some, small_none);
}

// The reason names the rule the hand-set cells break, or the first day and
// shift that cannot be staffed.
struct ReasonCase {
    std::initializer_list<const wchar_t*> rows;
    MonthLimits limits;
    bool noNights;  // every nurse
    const wchar_t* reason;
};

const ReasonCase kReasonCases[] = {
    {{L"RRR", L"Rnd"}, {2, 5, 0, 0}, false, L"护士02：1月2日夜班后，1月3日白班（均为手动设定）"},
    {{L"nnnR", L"RRRR"},
     {2, 5, 0, 0},
     false,
     L"护士01：1月1日至1月3日连续夜班 3 个，超过上限 2 个（均为手动设定）"},
    {{L"RRRR", L"RRRR"}, {2, 5, 1, 1}, true, L"1月1日夜班无法排满：可排夜班的护士不足 1 人"},
    {{L"RRRR", L"RJJR"}, {2, 5, 2, 0}, false, L"1月2日白班无法排满：可排白班的护士不足 2 人"},
    {{L"RRR", L"RRR"}, {2, 2, 1, 1}, false, L"1月3日白班无法排满：可排白班的护士不足 1 人"},
};

TEST(Arrange, ReasonNamesTheRuleOrTheDay) {
    for (const ReasonCase& c : kReasonCases) {
        auto month = MonthOfRows(c.rows);
        month->limits = c.limits;
        for (int32_t i = 0; i < month->nurses; ++i)
            month->nurse[i].noNights = c.noNights;
        const ArrangeOutcome outcome = ArrangeMonth(month.get());
        EXPECT_FALSE(outcome.arranged);
        EXPECT_EQ(std::wstring(outcome.reason), c.reason);
    }
}

}  // namespace
