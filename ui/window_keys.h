// The keyboard of the main window as a dialog box has it: the shortcut that
// computes, and the keys that move the focus between the controls.
#pragma once

#include <windows.h>

// A key-down of F5 or Enter aimed at any control of the window, save Enter on
// a button that Enter presses.
bool IsComputeShortcut(const MSG& message, HWND main_window);

// A key-down of Enter on a button of the window that Enter presses rather
// than computing: the buttons beyond the five of the design (打印预览), which
// do on Enter what they say, as on Space.
bool IsEnterOnOwnButton(const MSG& message, HWND main_window);

// A key-down of Ctrl+P aimed at any control of the window.
bool IsPrintShortcut(const MSG& message, HWND window);

// Hands a message taken from the queue on. Tab and Shift+Tab move the focus
// through the controls that are tab stops, wrapping around (a field entered so
// has its whole text selected), the arrows move it within the buttons, and
// once such a key is used the window shows its keyboard cues (the focus mark);
// everything else is translated and dispatched.
void DispatchWithDialogKeys(HWND main_window, MSG& message);

// Gives the focus to the next or previous tab stop after the control that has
// it (the first one when none has it), its text selected: the procedure's
// answer to WM_NEXTDLGCTL, which a multi-line edit sends for Tab.
void MoveFocusToNextTabStop(HWND main_window, bool previous);
// Gives the focus to a control as the keyboard enters it: a field with its
// whole text selected, the report box at its start with nothing selected.
void EnterControl(HWND control);

// The first tab stop, its text selected, as a dialog box opens.
void EnterFirstTabStop(HWND main_window);

// The control to give the focus to when the window itself receives it: the
// one that had it before, if it is still a control of the window, else the
// first tab stop.
HWND ControlToFocus(HWND main_window, HWND had_focus);
