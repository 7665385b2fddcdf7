// Undo and redo of a month: every change is one step, from a single cell to a
// whole arrangement, kept as the month before and after it. A step the
// history has no room for pushes the oldest one out.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

constexpr int32_t kMonthHistoryDepth = 100;

struct MonthHistory {
    RotaMonth before[kMonthHistoryDepth];  // ring: the month before each step
    RotaMonth after[kMonthHistoryDepth];
    int32_t oldest;  // ring index of the oldest step
    int32_t count;   // steps held
    int32_t done;    // steps of those that are done (the rest can be redone)
};

void ClearHistory(MonthHistory* history);

// Records a change from before to after as one step; steps undone until now
// can no longer be redone. A change that changes nothing is not recorded.
void RecordStep(MonthHistory* history, const RotaMonth& before, const RotaMonth& after);

bool CanUndo(const MonthHistory& history);
bool CanRedo(const MonthHistory& history);

// Puts the month back as it was before the last done step, or as it was after
// the next undone one; false (the month untouched) when there is none.
bool UndoStep(MonthHistory* history, RotaMonth* month);
bool RedoStep(MonthHistory* history, RotaMonth* month);
