// The ward's month: the one model of a rota that is named, dated, edited by
// hand and checked. Every view of a rota (the month window, the printed page,
// the pasted table, the month file) reads a RotaMonth; the per-nurse counts,
// the per-day staffing and the breaches are derived from it on demand
// (month/month_rules.h), never stored beside it.
#pragma once

#include <cstdint>

#include "generators/nursing_rota.h"

constexpr int32_t kMonthMaxNurses = kRotaMaxNurses;  // 40
constexpr int32_t kMonthMaxDays = kRotaMaxDays;      // 31

// Texts in UTF-16 units, the terminator included.
constexpr int32_t kNurseNameMaxLength = 16;
constexpr int32_t kNurseNameCapacity = kNurseNameMaxLength + 1;
constexpr int32_t kWardNameMaxLength = 32;
constexpr int32_t kWardNameCapacity = kWardNameMaxLength + 1;

// A cell's shift. The first three are the computed rota's shift numbers
// (kRotaShiftLetters); leave is a day off that the head nurse sets.
enum MonthShift : uint8_t {
    kShiftDay = 0,    // D 白班
    kShiftNight = 1,  // N 夜班
    kShiftRest = 2,   // R 休息
    kShiftLeave = 3,  // 假
};
constexpr int32_t kMonthShiftCount = 4;
constexpr wchar_t kMonthShiftLetters[kMonthShiftCount] = {L'D', L'N', L'R', L'假'};
constexpr wchar_t kMonthShiftNames[kMonthShiftCount][3] = {L"白班", L"夜班", L"休息", L"假"};
// The staffing rows under a month's grid, one per shift, on every view of it.
constexpr wchar_t kMonthStaffingNames[kMonthShiftCount][5] = {L"白班人数", L"夜班人数", L"休息人数",
                                                              L"请假人数"};

// A shift as it is typed or written in a cell: D N R J (either case) or
// 白 夜 休 假; false for any other character.
bool ShiftOfSpelling(wchar_t character, uint8_t* shift);

inline bool IsWorkingShift(uint8_t shift) {
    return shift == kShiftDay || shift == kShiftNight;
}

// 能级 N0 to N4, or none.
constexpr int8_t kNoGrade = -1;
constexpr int8_t kMaxGrade = 4;
// The grade from which a nurse may lead a night shift.
constexpr int8_t kNightLeadGrade = 2;

struct MonthNurse {
    wchar_t name[kNurseNameCapacity];
    int8_t grade;   // kNoGrade or 0..kMaxGrade
    bool noNights;  // 不排夜班
};

struct MonthCell {
    uint8_t shift;  // MonthShift
    bool byHand;    // set by the head nurse, kept by the arrangement
};

// The ward's own limits, saved with the month.
struct MonthLimits {
    int32_t maxNightRun;  // 连续夜班上限
    int32_t maxWorkRun;   // 连续上班上限
    int32_t minDay;       // 白班每日最少
    int32_t minNight;     // 夜班每日最少
};
constexpr MonthLimits kDefaultMonthLimits = {2, 5, 1, 1};

// What each limit may be set to in the window and read from a file.
struct MonthLimitRange {
    int32_t low;
    int32_t high;
};
constexpr MonthLimitRange kMaxNightRunRange = {1, kMonthMaxDays};
constexpr MonthLimitRange kMaxWorkRunRange = {1, kMonthMaxDays};
constexpr MonthLimitRange kMinStaffRange = {0, kMonthMaxNurses};

struct MonthDate {
    int32_t year;   // 1900..9999
    int32_t month;  // 1..12
    int32_t day;    // 1..days in that month
};

struct RotaMonth {
    wchar_t ward[kWardNameCapacity];  // 科室, may be empty
    MonthDate first;                  // the date of day 0
    int32_t days;                     // 1..kMonthMaxDays
    int32_t nurses;                   // 1..kMonthMaxNurses
    MonthNurse nurse[kMonthMaxNurses];
    MonthCell cell[kMonthMaxNurses][kMonthMaxDays];
    bool holiday[kMonthMaxDays];
    MonthLimits limits;
};

// The ward's list of nurses (名单), kept per user so that next month starts
// with the same names. Longer than a month may be: a month takes the first.
constexpr int32_t kRosterMaxNurses = 100;
struct Roster {
    int32_t count;
    MonthNurse nurse[kRosterMaxNurses];
};

// A month made from the computed rota: its shifts as the report shows them,
// none set by hand, no holiday, the default limits; nurse i named after roster
// entry i (with its grade and mark), or 护士NN where the roster is shorter or
// absent (null).
void MakeMonthFromRota(const RotaTable& rota, const Roster* roster, const wchar_t* ward,
                       MonthDate first, RotaMonth* month);

// The date a month made from the computed rota alone carries, where no view
// shows a date (the main window's own table and page of the computed rota).
constexpr MonthDate kComputedRotaFirstDate = {2000, 1, 1};

// The first day of the month after today's.
MonthDate FirstOfNextMonth(int32_t year, int32_t month, int32_t day);

// Whether a date exists in the proleptic Gregorian calendar (years 1900..9999).
bool IsValidMonthDate(MonthDate date);

// The calendar date of day_index (from 0) of the month.
MonthDate DateOfDay(const RotaMonth& month, int32_t day_index);

// 0 Sunday .. 6 Saturday.
int32_t WeekdayOfDay(const RotaMonth& month, int32_t day_index);
bool IsWeekendDay(const RotaMonth& month, int32_t day_index);

// "日" "一" … "六" for a weekday from WeekdayOfDay.
const wchar_t* WeekdayName(int32_t weekday);

// "1月3日": the day's month and day, as breaches and the screen reader say it.
void FormatMonthDay(const RotaMonth& month, int32_t day_index, wchar_t* out, int32_t capacity);

// "<科室> <年>年<月>月护理排班表" (without a ward, from the year on): the
// title of the month's page, its pasted table and its window.
void FormatMonthTitle(const RotaMonth& month, wchar_t* out, int32_t capacity);

// "<科室><年>年<月>月排班表.csv": the name a month's file is first offered.
void FormatMonthFileName(const RotaMonth& month, wchar_t* out, int32_t capacity);

// A name or ward that starts as a spreadsheet formula does (= + - @): the
// month file and the pasted table would hand it to Excel or WPS to run, so
// it is refused wherever it is typed or read.
bool StartsAsAFormula(const wchar_t* text, int32_t length);
constexpr wchar_t kFormulaStartText[] = L"不能以 =、+、-、@ 开头（表格软件会把它当作公式）。";

// "N2" for a grade, "" for none.
const wchar_t* GradeName(int8_t grade);

// The letter the computed rota has in a cell: what Delete gives back.
uint8_t ComputedShift(int32_t nurse_index, int32_t day_index);

// Sets a cell as the head nurse does (marked as hers), or gives it back the
// computed rota's shift, unmarked.
void SetCellByHand(RotaMonth* month, int32_t nurse_index, int32_t day_index, uint8_t shift);
void ResetCell(RotaMonth* month, int32_t nurse_index, int32_t day_index);

// Whether two months are the same, field by field (texts up to their ends).
bool SameMonth(const RotaMonth& a, const RotaMonth& b);

// Per-nurse days of each shift and per-day nurses on each shift.
struct MonthCounts {
    int16_t nurse[kMonthMaxNurses][kMonthShiftCount];
    int16_t day[kMonthMaxDays][kMonthShiftCount];
};
void CountMonth(const RotaMonth& month, MonthCounts* counts);
