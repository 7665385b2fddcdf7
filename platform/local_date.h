// Today's date on the local calendar (not UTC).
#pragma once

#include <cstdint>

struct LocalCivilDate {
    int32_t year;
    int32_t month;
    int32_t day;
};

LocalCivilDate GetLocalCivilDate();
