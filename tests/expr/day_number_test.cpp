#include "expr/day_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int64_t kDaysPerEra = 146097;
constexpr wchar_t kGuard = L'\x7777';

struct DateRow {
    int32_t year;
    int32_t month;
    int32_t day;
    DayNumber z;
};

bool IsLeapYear(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int64_t DaysInMonth(int64_t y, int64_t m) {
    constexpr int64_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// The calendar day after d, counted the plain way, as an oracle independent
// of the era arithmetic under test.
CivilDate NextDay(CivilDate d) {
    if (d.day < DaysInMonth(d.year, d.month)) return {d.year, d.month, d.day + 1};
    if (d.month < 12) return {d.year, d.month + 1, 1};
    return {d.year + 1, 1, 1};
}

bool SameDate(const CivilDate& a, const CivilDate& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::string Show(const CivilDate& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

// Floor division into whole eras and the day within the era, free of
// overflow at the ends of the 64-bit range.
int64_t FloorEras(int64_t z) {
    return z / kDaysPerEra - (z % kDaysPerEra < 0 ? 1 : 0);
}
int64_t FloorModEra(int64_t z) {
    const int64_t r = z % kDaysPerEra;
    return r < 0 ? r + kDaysPerEra : r;
}

TEST(DayNumber, KnownDates) {
    const DateRow rows[] = {
        {1970, 1, 1, 0},         {1969, 12, 31, -1},     {1970, 1, 2, 1},
        {2000, 2, 29, 11016},    {2000, 3, 1, 11017},    {1900, 2, 28, -25509},
        {1900, 3, 1, -25508},    {1, 1, 1, -719162},     {0, 3, 1, -719468},
        {0, 2, 29, -719469},     {0, 1, 1, -719528},     {-1, 12, 31, -719529},
        {9999, 12, 31, 2932896}, {10000, 1, 1, 2932897}, {2026, 1, 1, 20454},
        {1600, 2, 29, -135081},  {-400, 3, 1, -865565},
    };
    for (const DateRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.year) + "-" + std::to_string(row.month) + "-" +
                     std::to_string(row.day));
        EXPECT_EQ(DaysFromCivil(row.year, row.month, row.day), row.z);
        EXPECT_TRUE(SameDate(CivilFromDays(row.z), {row.year, row.month, row.day}))
            << Show(CivilFromDays(row.z));
    }
}

// Days outside the month count on linearly from its first day.
TEST(DayNumber, DaysOutsideTheMonthCountOn) {
    EXPECT_EQ(DaysFromCivil(2026, 1, 32), DaysFromCivil(2026, 2, 1));
    EXPECT_EQ(DaysFromCivil(2026, 3, 0), DaysFromCivil(2026, 2, 28));
    EXPECT_EQ(DaysFromCivil(2024, 3, 0), DaysFromCivil(2024, 2, 29));
    EXPECT_EQ(DaysFromCivil(2026, 1, 0), DaysFromCivil(2025, 12, 31));
    EXPECT_EQ(DaysFromCivil(2026, 12, 32), DaysFromCivil(2027, 1, 1));
    EXPECT_EQ(DaysFromCivil(2026, 2, 29), DaysFromCivil(2026, 3, 1));
}

// Every day of a wide range, negative day numbers included: each converts
// back to itself and is the calendar successor of the day before.
TEST(DayNumber, RoundTripEveryDay) {
    CivilDate previous = CivilFromDays(-800001);
    for (DayNumber z = -800000; z <= 3000000; ++z) {
        const CivilDate date = CivilFromDays(z);
        if (!SameDate(date, NextDay(previous))) {
            ADD_FAILURE() << "day " << z << " is " << Show(date) << " after " << Show(previous);
            return;
        }
        const DayNumber back =
            DaysFromCivil(static_cast<int32_t>(date.year), static_cast<int32_t>(date.month),
                          static_cast<int32_t>(date.day));
        if (back != z) {
            ADD_FAILURE() << "day " << z << " is " << Show(date) << " and converts back to "
                          << back;
            return;
        }
        previous = date;
    }
}

// Far from the epoch, a day lies a whole number of 400-year eras from a day
// near it, and the days around it follow each other as in the calendar.
TEST(DayNumber, LargeMagnitudesKeepTheEraCycle) {
    constexpr int64_t kTwoTo61 = int64_t{1} << 61;
    constexpr int64_t kTwoTo62 = int64_t{1} << 62;
    const int64_t centres[] = {kTwoTo61,
                               -kTwoTo61,
                               kTwoTo62 - 1,
                               -kTwoTo62,
                               std::numeric_limits<int64_t>::max() - 500,
                               std::numeric_limits<int64_t>::min() + 500,
                               int64_t{780000000000},
                               -int64_t{780000000000}};
    for (const int64_t centre : centres) {
        CivilDate previous = CivilFromDays(centre - 401);
        for (int64_t z = centre - 400; z <= centre + 400; ++z) {
            SCOPED_TRACE("day " + std::to_string(z));
            const CivilDate date = CivilFromDays(z);
            ASSERT_TRUE(SameDate(date, NextDay(previous))) << Show(date) << " " << Show(previous);
            const CivilDate near = CivilFromDays(FloorModEra(z));
            ASSERT_TRUE(SameDate(date, {near.year + 400 * FloorEras(z), near.month, near.day}))
                << Show(date);
            previous = date;
        }
    }
}

// Years up to the 32-bit limit of DaysFromCivil still convert both ways.
TEST(DayNumber, RoundTripAtThe32BitYearLimits) {
    const CivilDate dates[] = {{2147483647, 12, 31},
                               {2147483647, 1, 1},
                               {-2147483647, 3, 1},
                               {-2147483647 - 1, 1, 1},
                               {-2147483647 - 1, 2, 29}};
    for (const CivilDate& date : dates) {
        SCOPED_TRACE(Show(date));
        const DayNumber z =
            DaysFromCivil(static_cast<int32_t>(date.year), static_cast<int32_t>(date.month),
                          static_cast<int32_t>(date.day));
        const CivilDate back = CivilFromDays(z);
        if (date.month == 2 && date.day == 29 && !IsLeapYear(date.year)) {
            EXPECT_TRUE(SameDate(back, {date.year, 3, 1})) << Show(back);
        } else {
            EXPECT_TRUE(SameDate(back, date)) << Show(back);
        }
    }
}

// A buffer of the given capacity followed by guard characters.
struct GuardedBuffer {
    explicit GuardedBuffer(int32_t capacity) : capacity(capacity), storage(capacity + 8, kGuard) {}
    wchar_t* data() { return storage.data(); }
    bool GuardsIntact() const {
        for (size_t i = capacity; i < storage.size(); ++i) {
            if (storage[i] != kGuard) return false;
        }
        return true;
    }
    std::wstring Text() const { return std::wstring(storage.data()); }
    int32_t capacity;
    std::wstring storage;
};

TEST(DayNumber, FormatWritesPaddedYearMonthDay) {
    struct Row {
        DayNumber z;
        const wchar_t* text;
    };
    const Row rows[] = {
        {0, L"1970-01-01"},
        {-1, L"1969-12-31"},
        {-719162, L"0001-01-01"},
        {-719528, L"0000-01-01"},
        {-719529, L"-001-12-31"},
        {DaysFromCivil(-12, 6, 7), L"-012-06-07"},
        {DaysFromCivil(-12345, 1, 2), L"-12345-01-02"},
        {2932896, L"9999-12-31"},
        {2932897, L"10000-01-01"},
        {DaysFromCivil(123456, 7, 8), L"123456-07-08"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("day " + std::to_string(row.z));
        GuardedBuffer b(32);
        const std::wstring expected = row.text;
        EXPECT_EQ(FormatDayNumber(row.z, b.data(), b.capacity), static_cast<int>(expected.size()));
        EXPECT_EQ(b.Text(), expected);
        EXPECT_TRUE(b.GuardsIntact());
    }
}

TEST(DayNumber, FormatOfExtremeDayNumbersStaysInItsBuffer) {
    const DayNumber extremes[] = {std::numeric_limits<int64_t>::max(),
                                  std::numeric_limits<int64_t>::min()};
    for (const DayNumber z : extremes) {
        SCOPED_TRACE("day " + std::to_string(z));
        GuardedBuffer b(32);
        const int n = FormatDayNumber(z, b.data(), b.capacity);
        const CivilDate date = CivilFromDays(z);
        const std::string year = std::to_string(date.year);
        EXPECT_EQ(n, static_cast<int>(year.size() + 6));
        EXPECT_EQ(b.Text().substr(0, year.size()), std::wstring(year.begin(), year.end()));
        EXPECT_TRUE(b.GuardsIntact());
    }
}

TEST(DayNumber, FormatIntoSmallBufferCutsAndReportsMinusOne) {
    const std::wstring whole = L"1970-01-01";
    for (int32_t capacity = 1; capacity <= 12; ++capacity) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        GuardedBuffer b(capacity);
        const int n = FormatDayNumber(0, b.data(), b.capacity);
        EXPECT_EQ(n, capacity > 10 ? 10 : -1);
        EXPECT_EQ(b.Text(), whole.substr(0, capacity - 1));
        EXPECT_TRUE(b.GuardsIntact());
    }
    GuardedBuffer none(0);
    EXPECT_EQ(FormatDayNumber(0, none.data(), 0), -1);
    EXPECT_TRUE(none.GuardsIntact());
}

}  // namespace
