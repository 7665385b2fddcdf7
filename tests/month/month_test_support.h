// Months written as rows of letters, for the month's tests: D N R J (leave),
// lower case for a cell set by hand; nurses named 护士01, 护士02 and so on.
#pragma once

#include <initializer_list>
#include <memory>

#include "month/rota_month.h"

inline uint8_t ShiftOfLetter(wchar_t letter) {
    switch (letter | 0x20) {
        case L'd':
            return kShiftDay;
        case L'n':
            return kShiftNight;
        case L'r':
            return kShiftRest;
        default:
            return kShiftLeave;
    }
}

// On the heap: a test's stack need not hold a month (or a check) per case.
inline std::unique_ptr<RotaMonth> MonthOfRows(std::initializer_list<const wchar_t*> rows,
                                              MonthDate first = {2027, 1, 1}) {
    auto month = std::make_unique<RotaMonth>();
    month->first = first;
    month->limits = kDefaultMonthLimits;
    for (const wchar_t* row : rows) {
        const int32_t i = month->nurses++;
        FormatRotaNurseLabel(i, month->nurse[i].name, kNurseNameCapacity);
        month->nurse[i].grade = kNoGrade;
        int32_t day = 0;
        for (; row[day] != L'\0'; ++day)
            month->cell[i][day] = MonthCell{ShiftOfLetter(row[day]), row[day] >= L'a'};
        month->days = day;
    }
    return month;
}
