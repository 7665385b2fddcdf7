#include "expr/day_number.h"

#include "engine/bounded_text.h"

DayNumber DaysFromCivil(int32_t, int32_t, int32_t) { return 0; }
CivilDate CivilFromDays(DayNumber) { return {1970, 1, 1}; }
int FormatDayNumber(DayNumber z, wchar_t* buffer, int32_t capacity) {
    const CivilDate d = CivilFromDays(z);
    return FormatText(buffer, capacity, L"%04lld-%02lld-%02lld", static_cast<long long>(d.year),
                      static_cast<long long>(d.month), static_cast<long long>(d.day));
}
