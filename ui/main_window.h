// The main window: its class, its procedure and its message loop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/tool_def.h"
#include "ui/window_state.h"

// Opens the window on the tool and runs its message loop: 0 when the window has
// been closed, 1 when it could not be created. A month file (or null) opens in
// the month window over it first.
int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool, const wchar_t* month_file = nullptr);

// Opens the window on the tool with the state given, which the window works on
// until the process ends: shown, its first field focused. nullptr when it could
// not be created. RunMainWindow's first half, for a caller with a loop of its own.
HWND OpenMainWindow(WindowState& state, HINSTANCE instance, const ToolDef* tool);
