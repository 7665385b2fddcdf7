// The month window's commands: the roster, the month file (open, save, save
// as), print, preview and copy, the arrangement, undo and redo, the holiday
// mark and closing; and the boxes they tell the user with.
#pragma once

#include "ui/month/month_window_state.h"

// Runs the command of the id (MonthCommandId); false for an id that is none.
bool RunMonthCommand(MonthWindowState& state, int32_t id);

// Reads the month file into the state (replacing its month, its history and
// its file); on failure a box over owner names the line and what is wrong,
// and the month shown stays as it was.
bool LoadMonthFile(MonthWindowState& state, HWND owner, const wchar_t* path);

// The ward's name and the limits as the fields hold them, taken into the
// month as one change; a limit out of range gets a box and its field shows
// the month's value again. False when a field was refused.
bool TakeFields(MonthWindowState& state);

// Unsaved changes are asked about (保存 / 不保存 / 取消): true when the month
// may be put away (saved, or not wanted), false when the user cancelled or
// the save failed.
bool MayPutMonthAway(MonthWindowState& state);

// Closes the window once unsaved changes are settled.
void CloseMonthWindow(MonthWindowState& state);
