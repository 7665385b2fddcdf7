// 按规则排班: fills every cell that is neither leave nor set by hand so that
// every hard rule of the month holds, then makes the month as good as it can
// (nights spread evenly, rest days, weekend days off spread, a senior nurse on
// each night, the remaining working days as day shifts). The same month in
// gives the same month out.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

constexpr int32_t kArrangeReasonCapacity = 160;

struct ArrangeOutcome {
    bool arranged;
    wchar_t reason[kArrangeReasonCapacity];  // why no month can keep the hard rules
};

// On success month holds the arranged month; otherwise it is untouched and the
// reason names the first day and shift that cannot be staffed, or the nurse
// and dates whose hand-set cells break which rule; or, for rules drawn so
// tight that the search ran out of its steps before it settled either way,
// says just that (never that no month exists).
ArrangeOutcome ArrangeMonth(RotaMonth* month);
