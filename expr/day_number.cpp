#include "expr/day_number.h"

#include "engine/bounded_text.h"

namespace {

constexpr int64_t kDaysPerEra = 146097;          // 400 Gregorian years
constexpr int64_t kEpochFromMarchZero = 719468;  // 0000-03-01 to 1970-01-01

// Floor division and its remainder for a positive divisor, free of overflow.
int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b) < 0 ? 1 : 0);
}
int64_t FloorMod(int64_t a, int64_t b) {
    const int64_t r = a % b;
    return r < 0 ? r + b : r;
}

}  // namespace

DayNumber DaysFromCivil(int32_t year, int32_t month, int32_t day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = month > 2 ? month - 3 : month + 9;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * kDaysPerEra + doe - kEpochFromMarchZero;
}

CivilDate CivilFromDays(DayNumber z) {
    // z + 719468 split into whole eras and the day of era without forming the
    // sum, so that every 64-bit day number converts without overflow.
    const int64_t era =
        FloorDiv(z, kDaysPerEra) + (FloorMod(z, kDaysPerEra) + kEpochFromMarchZero) / kDaysPerEra;
    const int64_t doe = (FloorMod(z, kDaysPerEra) + kEpochFromMarchZero) % kDaysPerEra;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

int FormatDayNumber(DayNumber z, wchar_t* buffer, int32_t capacity) {
    const CivilDate date = CivilFromDays(z);
    return FormatText(buffer, capacity, L"%04lld-%02lld-%02lld", static_cast<long long>(date.year),
                      static_cast<long long>(date.month), static_cast<long long>(date.day));
}
