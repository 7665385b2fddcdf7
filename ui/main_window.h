// The main window: its class, its procedure and its message loop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/tool_def.h"

// Opens the window on the tool and runs its message loop: 0 when the window has
// been closed, 1 when it could not be created.
int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool);
