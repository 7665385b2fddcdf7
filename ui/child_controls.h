// The child controls of the main window: one row per parameter, the result
// area and the five buttons, in the order the keyboard visits them.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

// Builds the controls (the window's WM_CREATE) and keeps their handles in state.
void CreateChildControls(WindowState& state, HWND window);
