// The five commands behind the buttons, each working on the window's state.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

void ComputeCommand(WindowState& state);
void SaveRecordCommand(WindowState& state);
void CopyCommand(WindowState& state);
void ResetCommand(WindowState& state);
void AboutCommand(const WindowState& state);

// The status line's text, for commands kept in units of their own.
void SetCommandStatus(WindowState& state, const wchar_t* text);
// A message box owned by owner; the control that had the focus has it again
// once the box is closed.
void ShowCommandBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT icon);
