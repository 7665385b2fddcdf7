// The rules a month is checked against, and the one checker that the month
// window, the printed page, the pasted table and the arrangement all share.
// Hard rules come from the rota's own hint and note; soft ones are reminders.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

enum MonthRule : uint8_t {
    kRuleDayAfterNight,  // (a) a day shift on the day after a night
    kRuleNightRun,       // (b) more nights in a row than the ward's limit
    kRuleNoNights,       // (c) a night for a nurse marked 不排夜班
    kRuleDayShort,       // (d) fewer day shifts on a day than the minimum
    kRuleNightShort,     // (d) fewer night shifts on a day than the minimum
    kRuleWorkRun,        // (e) more working days in a row than the ward's limit
    kRuleNightSpread,    // (f) soft: night counts differ by more than one
    kRuleNightGrade,     // (g) soft: a night without a nurse of N2 or above
    kMonthRuleCount,
};

bool IsHardRule(MonthRule rule);

// One breach: a nurse's run of days (first..last, inclusive), or a day's shift
// (nurse -1). For the night spread, nurse and other are the nurses with the
// most and the fewest nights, first and last unused (0).
struct MonthBreach {
    MonthRule rule;
    int8_t nurse;
    int8_t other;
    int8_t first;
    int8_t last;
    int16_t count;  // the run's length or the day's staff, as the words say it
};

// Every breach a month can have fits: at most one per cell for each of the
// cell rules, one per day and shift, one spread.
constexpr int32_t kMonthBreachCapacity =
    kMonthMaxNurses * kMonthMaxDays * 3 + kMonthMaxDays * 3 + 1;

// A breach's cells carry its rule's bit, so every view can mark them.
using RuleBits = uint16_t;
constexpr RuleBits RuleBit(MonthRule rule) {
    return static_cast<RuleBits>(1u << rule);
}

struct MonthCheck {
    int32_t hardCount;
    int32_t softCount;
    int32_t breachCount;  // hardCount + softCount, in the order below
    MonthBreach breach[kMonthBreachCapacity];
    RuleBits cellRules[kMonthMaxNurses][kMonthMaxDays];  // rules each cell takes part in
    RuleBits dayRules[kMonthMaxDays];                    // day-level rules (d), (g)
};

// Checks the whole month: breaches listed hard first, each kind by nurse then
// day, then the day rules by day, then the soft ones.
void CheckMonth(const RotaMonth& month, MonthCheck* check);

// The day-level breaches that a shift's staffing row under the grid shows for
// a day: the day shift's when short, the night's when short or without a
// senior nurse; none for rest and leave.
RuleBits StaffingRowRules(const MonthCheck& check, int32_t day, int32_t shift);

// A breach in words that name the nurse, the dates and the rule:
// "张三：1月3日夜班后，1月4日白班".
constexpr int32_t kBreachTextCapacity = 96;
void FormatBreach(const RotaMonth& month, const MonthBreach& breach, wchar_t* out,
                  int32_t capacity);

// "硬性违规 N 处，提醒 M 处"
void FormatBreachSummary(const MonthCheck& check, wchar_t* out, int32_t capacity);
