#include "month/month_history.h"

namespace {

int32_t RingIndex(const MonthHistory& history, int32_t step) {
    return (history.oldest + step) % kMonthHistoryDepth;
}

}  // namespace

void ClearHistory(MonthHistory* history) {
    history->oldest = 0;
    history->count = 0;
    history->done = 0;
}

void RecordStep(MonthHistory* history, const RotaMonth& before, const RotaMonth& after) {
    if (SameMonth(before, after)) return;
    history->count = history->done;  // what was undone can no longer be redone
    if (history->count == kMonthHistoryDepth) {
        history->oldest = RingIndex(*history, 1);
        --history->count;
    }
    const int32_t slot = RingIndex(*history, history->count);
    history->before[slot] = before;
    history->after[slot] = after;
    ++history->count;
    history->done = history->count;
}

bool CanUndo(const MonthHistory& history) {
    return history.done > 0;
}

bool CanRedo(const MonthHistory& history) {
    return history.done < history.count;
}

bool UndoStep(MonthHistory* history, RotaMonth* month) {
    if (!CanUndo(*history)) return false;
    --history->done;
    *month = history->before[RingIndex(*history, history->done)];
    return true;
}

bool RedoStep(MonthHistory* history, RotaMonth* month) {
    if (!CanRedo(*history)) return false;
    *month = history->after[RingIndex(*history, history->done)];
    ++history->done;
    return true;
}
