// The child controls of the main window: one row per parameter, the result
// area, the five buttons and the status line, in the order the keyboard visits
// them.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

// Builds the controls (the window's WM_CREATE) and keeps their handles in state.
void CreateChildControls(WindowState& state, HWND window);

// Moves and sizes every control that CreateChildControls made to its box at
// the state's scale, and gives each the font of its role from fonts (redrawn
// later, with the window).
void RescaleChildControls(const WindowState& state, const HFONT* fonts);

// The status line shows the state's status text.
void ShowStatusText(const WindowState& state);
