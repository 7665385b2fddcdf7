#include "month/month_rules.h"

#include "engine/bounded_text.h"

namespace {

constexpr int32_t kDateTextCapacity = 16;

struct DateText {
    wchar_t text[kDateTextCapacity];
};

DateText DayText(const RotaMonth& month, int32_t day_index) {
    DateText date;
    FormatMonthDay(month, day_index, date.text, kDateTextCapacity);
    return date;
}

void AddBreach(MonthCheck* check, MonthRule rule, int32_t nurse, int32_t first, int32_t last,
               int32_t count, int32_t other = -1) {
    if (IsHardRule(rule))
        ++check->hardCount;
    else
        ++check->softCount;
    if (check->breachCount >= kMonthBreachCapacity) return;
    check->breach[check->breachCount++] = MonthBreach{rule,
                                                      static_cast<int8_t>(nurse),
                                                      static_cast<int8_t>(other),
                                                      static_cast<int8_t>(first),
                                                      static_cast<int8_t>(last),
                                                      static_cast<int16_t>(count)};
    if (nurse < 0 || rule == kRuleNightSpread) return;
    for (int32_t day = first; day <= last; ++day)
        check->cellRules[nurse][day] |= RuleBit(rule);
}

// A run of days on which is_in holds, longer than limit, is one breach.
template <typename IsIn>
void CheckRuns(const RotaMonth& month, int32_t nurse, MonthRule rule, int32_t limit,
               MonthCheck* check, IsIn is_in) {
    int32_t start = -1;
    for (int32_t day = 0; day <= month.days; ++day) {
        const bool in = day < month.days && is_in(month.cell[nurse][day].shift);
        if (in && start < 0) start = day;
        if (!in && start >= 0) {
            if (day - start > limit) AddBreach(check, rule, nurse, start, day - 1, day - start);
            start = -1;
        }
    }
}

// A nurse's own breaches, each rule in turn; then put in order of their first day.
void CheckNurse(const RotaMonth& month, int32_t nurse, MonthCheck* check) {
    const int32_t from = check->breachCount;
    const MonthCell* row = month.cell[nurse];
    for (int32_t day = 0; day + 1 < month.days; ++day)
        if (row[day].shift == kShiftNight && row[day + 1].shift == kShiftDay)
            AddBreach(check, kRuleDayAfterNight, nurse, day, day + 1, 2);
    CheckRuns(month, nurse, kRuleNightRun, month.limits.maxNightRun, check,
              [](uint8_t shift) { return shift == kShiftNight; });
    if (month.nurse[nurse].noNights)
        for (int32_t day = 0; day < month.days; ++day)
            if (row[day].shift == kShiftNight) AddBreach(check, kRuleNoNights, nurse, day, day, 1);
    CheckRuns(month, nurse, kRuleWorkRun, month.limits.maxWorkRun, check, IsWorkingShift);

    const int32_t to = check->breachCount;
    for (int32_t i = from + 1; i < to; ++i) {
        const MonthBreach moving = check->breach[i];
        int32_t j = i;
        for (; j > from && check->breach[j - 1].first > moving.first; --j)
            check->breach[j] = check->breach[j - 1];
        check->breach[j] = moving;
    }
}

void CheckStaffing(const RotaMonth& month, const MonthCounts& counts, MonthCheck* check) {
    for (int32_t day = 0; day < month.days; ++day) {
        const int32_t on_day = counts.day[day][kShiftDay];
        const int32_t on_night = counts.day[day][kShiftNight];
        if (on_day < month.limits.minDay) {
            AddBreach(check, kRuleDayShort, -1, day, day, on_day);
            check->dayRules[day] |= RuleBit(kRuleDayShort);
        }
        if (on_night < month.limits.minNight) {
            AddBreach(check, kRuleNightShort, -1, day, day, on_night);
            check->dayRules[day] |= RuleBit(kRuleNightShort);
        }
    }
}

void CheckNightSpread(const RotaMonth& month, const MonthCounts& counts, MonthCheck* check) {
    int32_t most = -1;
    int32_t fewest = -1;
    for (int32_t i = 0; i < month.nurses; ++i) {
        if (month.nurse[i].noNights) continue;
        const int32_t nights = counts.nurse[i][kShiftNight];
        if (most < 0 || nights > counts.nurse[most][kShiftNight]) most = i;
        if (fewest < 0 || nights < counts.nurse[fewest][kShiftNight]) fewest = i;
    }
    if (most < 0) return;
    const int32_t spread = counts.nurse[most][kShiftNight] - counts.nurse[fewest][kShiftNight];
    if (spread > 1) AddBreach(check, kRuleNightSpread, most, 0, 0, spread, fewest);
}

bool AnyGrade(const RotaMonth& month) {
    for (int32_t i = 0; i < month.nurses; ++i)
        if (month.nurse[i].grade != kNoGrade) return true;
    return false;
}

void CheckNightGrades(const RotaMonth& month, MonthCheck* check) {
    if (!AnyGrade(month)) return;
    for (int32_t day = 0; day < month.days; ++day) {
        bool staffed = false;
        bool led = false;
        for (int32_t i = 0; i < month.nurses; ++i) {
            if (month.cell[i][day].shift != kShiftNight) continue;
            staffed = true;
            led = led || month.nurse[i].grade >= kNightLeadGrade;
        }
        if (!staffed || led) continue;
        AddBreach(check, kRuleNightGrade, -1, day, day, 0);
        check->dayRules[day] |= RuleBit(kRuleNightGrade);
        for (int32_t i = 0; i < month.nurses; ++i)
            if (month.cell[i][day].shift == kShiftNight)
                check->cellRules[i][day] |= RuleBit(kRuleNightGrade);
    }
}

const wchar_t* NurseName(const RotaMonth& month, int32_t nurse) {
    return nurse >= 0 && nurse < month.nurses ? month.nurse[nurse].name : L"";
}

}  // namespace

bool IsHardRule(MonthRule rule) {
    return rule != kRuleNightSpread && rule != kRuleNightGrade;
}

void CheckMonth(const RotaMonth& month, MonthCheck* check) {
    check->hardCount = 0;
    check->softCount = 0;
    check->breachCount = 0;
    for (auto& row : check->cellRules)
        for (RuleBits& bits : row)
            bits = 0;
    for (RuleBits& bits : check->dayRules)
        bits = 0;

    MonthCounts counts;
    CountMonth(month, &counts);
    for (int32_t nurse = 0; nurse < month.nurses; ++nurse)
        CheckNurse(month, nurse, check);
    CheckStaffing(month, counts, check);
    CheckNightGrades(month, check);
    CheckNightSpread(month, counts, check);
}

RuleBits StaffingRowRules(const MonthCheck& check, int32_t day, int32_t shift) {
    const RuleBits rules = check.dayRules[day];
    if (shift == kShiftDay) return rules & RuleBit(kRuleDayShort);
    if (shift == kShiftNight) return rules & (RuleBit(kRuleNightShort) | RuleBit(kRuleNightGrade));
    return 0;
}

void FormatBreach(const RotaMonth& month, const MonthBreach& breach, wchar_t* out,
                  int32_t capacity) {
    const wchar_t* name = NurseName(month, breach.nurse);
    const DateText first = DayText(month, breach.first);
    const DateText last = DayText(month, breach.last);
    switch (breach.rule) {
        case kRuleDayAfterNight:
            FormatText(out, capacity, L"%ls：%ls夜班后，%ls白班", name, first.text, last.text);
            return;
        case kRuleNightRun:
            FormatText(out, capacity, L"%ls：%ls至%ls连续夜班 %d 个，超过上限 %d 个", name,
                       first.text, last.text, breach.count, month.limits.maxNightRun);
            return;
        case kRuleNoNights:
            FormatText(out, capacity, L"%ls：%ls夜班，已标记不排夜班", name, first.text);
            return;
        case kRuleDayShort:
            FormatText(out, capacity, L"%ls白班 %d 人，少于每日最少 %d 人", first.text,
                       breach.count, month.limits.minDay);
            return;
        case kRuleNightShort:
            FormatText(out, capacity, L"%ls夜班 %d 人，少于每日最少 %d 人", first.text,
                       breach.count, month.limits.minNight);
            return;
        case kRuleWorkRun:
            FormatText(out, capacity, L"%ls：%ls至%ls连续上班 %d 天，超过上限 %d 天", name,
                       first.text, last.text, breach.count, month.limits.maxWorkRun);
            return;
        case kRuleNightSpread:
            FormatText(out, capacity,
                       L"提醒：夜班数相差 %d 个（%ls 最多，%ls 最少），宜不超过 1 个", breach.count,
                       name, NurseName(month, breach.other));
            return;
        case kRuleNightGrade:
            FormatText(out, capacity, L"提醒：%ls夜班无 N2 及以上能级护士", first.text);
            return;
        case kMonthRuleCount:
            break;
    }
    CopyText(out, capacity, L"");
}

void FormatBreachSummary(const MonthCheck& check, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"硬性违规 %d 处，提醒 %d 处", check.hardCount, check.softCount);
}
