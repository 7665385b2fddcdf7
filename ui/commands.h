// The five commands behind the buttons, each working on the window's state.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

void ComputeCommand(WindowState& state);
void SaveRecordCommand(WindowState& state);
void CopyCommand(WindowState& state);
void ResetCommand(WindowState& state);
void AboutCommand(const WindowState& state);

// What every command, here or in a unit of its own (printing), tells the user
// with. A command's outcome: the status line says it, and the window is
// repainted with what the command changed.
void SetStatus(WindowState& state, const wchar_t* text);
// A message box owned by owner; the control that had the focus has it again
// once the box is closed.
void ShowBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT icon);
// Puts the text, and the "HTML Format" table when there is one, on the
// clipboard that the caller opened (opened false: it could not be opened),
// then closes it; the table is freed whenever the clipboard does not take it,
// the text is the caller's to free unless this returns true.
bool PlaceOnOpenedClipboard(bool opened, HGLOBAL text, HGLOBAL table);
// A non-empty saved report is the one mark that a result exists.
bool HasResult(const WindowState& state);
