// The month window (排班表): the ward's month as a grid that is edited like a
// spreadsheet and checked on every change, its breaches listed, its commands
// as buttons with keys. It is owned by the main window and modal to it.
#pragma once

#include "ui/window_state.h"

// The 排班表 button: the month made from the last result's rota, the user's
// roster and the first day of next month. Without a result, the "提示" box
// that copy shows. Returns once the month window is closed.
void MonthWindowCommand(WindowState& state);

// The month file named on the command line, in the month window over the main
// window; a file that cannot be read or is refused gets a box naming the line,
// and no month window opens.
void OpenMonthFileWindow(WindowState& state, const wchar_t* path);
