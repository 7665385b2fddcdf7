#include "month/month_history.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/month/month_test_support.h"

namespace {

// Steps that set cell (0, k) to leave one after another; undo and redo walk
// them back and forth, and the oldest steps fall out once the ring is full.
TEST(MonthHistory, UndoRedoAcrossAFullRing) {
    auto history = std::make_unique<MonthHistory>();
    ClearHistory(history.get());
    auto month = MonthOfRows({L"DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD"});
    const int32_t steps = kMonthHistoryDepth + 5;
    for (int32_t k = 0; k < steps; ++k) {
        const RotaMonth before = *month;
        month->cell[0][k % month->days].shift = static_cast<uint8_t>(k % 4);
        RecordStep(history.get(), before, *month);
    }
    const RotaMonth last = *month;
    int32_t undone = 0;
    while (UndoStep(history.get(), month.get()))
        ++undone;
    EXPECT_EQ(undone, history->count);
    EXPECT_LE(history->count, kMonthHistoryDepth);
    while (RedoStep(history.get(), month.get())) {
    }
    EXPECT_TRUE(SameMonth(*month, last));

    // A new step after an undo drops what could have been redone; no change, no step.
    ASSERT_TRUE(UndoStep(history.get(), month.get()));
    const RotaMonth before = *month;
    RecordStep(history.get(), before, *month);
    EXPECT_TRUE(CanRedo(*history));
    month->holiday[0] = true;
    RecordStep(history.get(), before, *month);
    EXPECT_FALSE(CanRedo(*history));
    ASSERT_TRUE(UndoStep(history.get(), month.get()));
    EXPECT_TRUE(SameMonth(*month, before));
}

}  // namespace
