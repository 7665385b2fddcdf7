#include "month/rota_month.h"

#include "engine/bounded_text.h"
#include "expr/day_number.h"

namespace {

constexpr wchar_t kWeekdayNames[7][2] = {L"日", L"一", L"二", L"三", L"四", L"五", L"六"};
constexpr wchar_t kGradeNames[kMaxGrade + 1][3] = {L"N0", L"N1", L"N2", L"N3", L"N4"};

DayNumber DayNumberOf(MonthDate date) {
    return DaysFromCivil(date.year, date.month, date.day);
}

bool SameText(const wchar_t* a, const wchar_t* b, int32_t capacity) {
    for (int32_t i = 0; i < capacity; ++i) {
        if (a[i] != b[i]) return false;
        if (a[i] == L'\0') return true;
    }
    return true;
}

bool IsNotForFileNames(wchar_t c) {
    for (const wchar_t* bad = L"\\/:*?\"<>|"; *bad != L'\0'; ++bad)
        if (c == *bad) return true;
    return c < 0x20;
}

}  // namespace

bool IsValidMonthDate(MonthDate date) {
    if (date.year < 1900 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1)
        return false;
    const CivilDate back = CivilFromDays(DayNumberOf(date));
    return back.year == date.year && back.month == date.month && back.day == date.day;
}

MonthDate FirstOfNextMonth(int32_t year, int32_t month, int32_t /*day*/) {
    return month >= 12 ? MonthDate{year + 1, 1, 1} : MonthDate{year, month + 1, 1};
}

MonthDate DateOfDay(const RotaMonth& month, int32_t day_index) {
    const CivilDate date = CivilFromDays(DayNumberOf(month.first) + day_index);
    return {static_cast<int32_t>(date.year), static_cast<int32_t>(date.month),
            static_cast<int32_t>(date.day)};
}

int32_t WeekdayOfDay(const RotaMonth& month, int32_t day_index) {
    // 1970-01-01 was a Thursday.
    const DayNumber z = DayNumberOf(month.first) + day_index;
    return static_cast<int32_t>(((z + 4) % 7 + 7) % 7);
}

bool IsWeekendDay(const RotaMonth& month, int32_t day_index) {
    const int32_t weekday = WeekdayOfDay(month, day_index);
    return weekday == 0 || weekday == 6;
}

const wchar_t* WeekdayName(int32_t weekday) {
    return weekday >= 0 && weekday < 7 ? kWeekdayNames[weekday] : L"";
}

void FormatMonthDay(const RotaMonth& month, int32_t day_index, wchar_t* out, int32_t capacity) {
    const MonthDate date = DateOfDay(month, day_index);
    FormatText(out, capacity, L"%d月%d日", date.month, date.day);
}

void FormatMonthTitle(const RotaMonth& month, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity,
               HasText(month.ward) ? L"%ls %d年%d月护理排班表" : L"%ls%d年%d月护理排班表",
               month.ward, month.first.year, month.first.month);
}

// A ward's name may hold what no file name can; those characters become "_".
void FormatMonthFileName(const RotaMonth& month, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"%ls%d年%d月排班表.csv", month.ward, month.first.year,
               month.first.month);
    const int32_t ward_length = TextLength(month.ward);
    for (int32_t i = 0; i < ward_length && i < capacity && out[i] != L'\0'; ++i)
        if (IsNotForFileNames(out[i])) out[i] = L'_';
}

bool StartsAsAFormula(const wchar_t* text, int32_t length) {
    if (length <= 0) return false;
    for (const wchar_t* start = L"=+-@＝＋－＠"; *start != L'\0'; ++start)
        if (text[0] == *start) return true;
    return false;
}

const wchar_t* GradeName(int8_t grade) {
    return grade >= 0 && grade <= kMaxGrade ? kGradeNames[grade] : L"";
}

bool ShiftOfSpelling(wchar_t character, uint8_t* shift) {
    struct Spelling {
        wchar_t character;
        uint8_t shift;
    };
    constexpr Spelling kSpellings[] = {
        {L'D', kShiftDay},   {L'd', kShiftDay},    {L'白', kShiftDay},  {L'N', kShiftNight},
        {L'n', kShiftNight}, {L'夜', kShiftNight}, {L'R', kShiftRest},  {L'r', kShiftRest},
        {L'休', kShiftRest}, {L'J', kShiftLeave},  {L'j', kShiftLeave}, {L'假', kShiftLeave},
    };
    for (const Spelling& spelling : kSpellings) {
        if (spelling.character != character) continue;
        *shift = spelling.shift;
        return true;
    }
    return false;
}

uint8_t ComputedShift(int32_t nurse_index, int32_t day_index) {
    return static_cast<uint8_t>(RotaShift(nurse_index, day_index));
}

void MakeMonthFromRota(const RotaTable& rota, const Roster* roster, const wchar_t* ward,
                       MonthDate first, RotaMonth* month) {
    *month = RotaMonth{};
    CopyText(month->ward, kWardNameCapacity, ward);
    month->first = first;
    month->days = rota.size.days;
    month->nurses = rota.size.nurses;
    month->limits = kDefaultMonthLimits;
    for (int32_t i = 0; i < month->nurses; ++i) {
        MonthNurse& nurse = month->nurse[i];
        if (roster != nullptr && i < roster->count) {
            nurse = roster->nurse[i];
        } else {
            FormatRotaNurseLabel(i, nurse.name, kNurseNameCapacity);
            nurse.grade = kNoGrade;
            nurse.noNights = false;
        }
        for (int32_t day = 0; day < month->days; ++day)
            month->cell[i][day] = MonthCell{rota.shift[i][day], false};
    }
}

void SetCellByHand(RotaMonth* month, int32_t nurse_index, int32_t day_index, uint8_t shift) {
    month->cell[nurse_index][day_index] = MonthCell{shift, true};
}

void ResetCell(RotaMonth* month, int32_t nurse_index, int32_t day_index) {
    month->cell[nurse_index][day_index] = MonthCell{ComputedShift(nurse_index, day_index), false};
}

bool SameMonth(const RotaMonth& a, const RotaMonth& b) {
    if (!SameText(a.ward, b.ward, kWardNameCapacity) || a.first.year != b.first.year ||
        a.first.month != b.first.month || a.first.day != b.first.day || a.days != b.days ||
        a.nurses != b.nurses || a.limits.maxNightRun != b.limits.maxNightRun ||
        a.limits.maxWorkRun != b.limits.maxWorkRun || a.limits.minDay != b.limits.minDay ||
        a.limits.minNight != b.limits.minNight)
        return false;
    for (int32_t day = 0; day < a.days; ++day)
        if (a.holiday[day] != b.holiday[day]) return false;
    for (int32_t i = 0; i < a.nurses; ++i) {
        const MonthNurse& x = a.nurse[i];
        const MonthNurse& y = b.nurse[i];
        if (!SameText(x.name, y.name, kNurseNameCapacity) || x.grade != y.grade ||
            x.noNights != y.noNights)
            return false;
        for (int32_t day = 0; day < a.days; ++day)
            if (a.cell[i][day].shift != b.cell[i][day].shift ||
                a.cell[i][day].byHand != b.cell[i][day].byHand)
                return false;
    }
    return true;
}

void CountMonth(const RotaMonth& month, MonthCounts* counts) {
    *counts = MonthCounts{};
    for (int32_t i = 0; i < month.nurses; ++i) {
        for (int32_t day = 0; day < month.days; ++day) {
            const uint8_t shift = month.cell[i][day].shift;
            if (shift >= kMonthShiftCount) continue;
            ++counts->nurse[i][shift];
            ++counts->day[day][shift];
        }
    }
}
