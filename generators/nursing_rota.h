// Nursing rotation roster (SpecialKind 1).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

int32_t GenerateNursingRota(const ToolDef& tool, const double* values, wchar_t* report,
                            int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity);

// The rota's grid, shared by the report and any other view of the same rota
// (a spreadsheet table, say), so that both always show the same shifts.

constexpr int32_t kRotaMaxNurses = 40;
constexpr int32_t kRotaMaxDays = 31;

// The two counts as the rota reads them, whole numbers within these ranges.
constexpr IntParamRange kRotaNursesParam = {"nurses", 1, kRotaMaxNurses};
constexpr IntParamRange kRotaDaysParam = {"days", 1, kRotaMaxDays};
constexpr IntParamRange kNursingRotaIntParams[] = {kRotaNursesParam, kRotaDaysParam};

struct RotaSize {
    int32_t nurses;  // 1..kRotaMaxNurses
    int32_t days;    // 1..kRotaMaxDays
};

// Reads `nurses` and `days`, truncated toward zero and clamped; absent ones count as 0.
RotaSize ReadRotaSize(const ToolDef& tool, const double* values);

// The three shifts by number: 'D' day shift, 'N' night shift, 'R' rest.
constexpr int32_t kRotaShiftCount = 3;
constexpr wchar_t kRotaShiftLetters[kRotaShiftCount] = {L'D', L'N', L'R'};

// The shift number (0 to kRotaShiftCount - 1) of nurse i (from 0) on day j (from 0).
int32_t RotaShift(int32_t nurse_index, int32_t day_index);

// Its letter in kRotaShiftLetters.
wchar_t RotaShiftLetter(int32_t nurse_index, int32_t day_index);

// The shifts' names, in the order of kRotaShiftLetters.
constexpr wchar_t kRotaShiftNames[kRotaShiftCount][3] = {L"白班", L"夜班", L"休息"};

// Nurse i's label, "护士%02d" with i + 1 (护士01 to 护士40).
constexpr int32_t kRotaNurseLabelCapacity = 12;
void FormatRotaNurseLabel(int32_t nurse_index, wchar_t* out, int32_t capacity);

// The rota as a table: the one model that every view of it (the report aside)
// draws from, so that the pasted table and the printed page never disagree.
struct RotaTable {
    RotaSize size;
    uint8_t shift[kRotaMaxNurses][kRotaMaxDays];           // shift number per nurse and day
    int16_t nurseCounts[kRotaMaxNurses][kRotaShiftCount];  // days of each shift per nurse
    int16_t dayCounts[kRotaMaxDays][kRotaShiftCount];      // nurses on each shift per day
};

// Fills the table for the tool's `nurses` and `days` (read as ReadRotaSize does).
void BuildRotaTable(const ToolDef& tool, const double* values, RotaTable* table);

// Fixed lines of the rota report, literal text (never a format).
extern const wchar_t kRotaRuleLine[];
extern const wchar_t kRotaHintLine[];
extern const wchar_t kRotaVerdict[];
