// Calendar day numbers: days since 1970-01-01, proleptic Gregorian.
#pragma once

#include <cstdint>

using DayNumber = int64_t;

struct CivilDate { int64_t year; int64_t month; int64_t day; };

DayNumber DaysFromCivil(int32_t year, int32_t month, int32_t day);
CivilDate CivilFromDays(DayNumber z);
int       FormatDayNumber(DayNumber z, wchar_t* buffer, int32_t capacity);
